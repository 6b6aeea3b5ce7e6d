#include "tools/kvzpack/stream_diagnosis.h"

#include <memory>

#include "setup/engine/archive_cipher.h"
#include "setup/engine/archive_format.h"
#include "setup/engine/buffered_file.h"
#include "setup/engine/inflate_stream.h"

namespace kvzpack {
namespace {

const char* FaultText(InflateStream::Fault fault) {
  using F = InflateStream::Fault;
  switch (fault) {
    case F::kChecksum: return "the Adler-32 checksum does not match the data";
    case F::kBlockType: return "invalid block type";
    case F::kStoredLength: return "stored block length check fails";
    case F::kCodeLengthCode:
    case F::kOversubscribed:
    case F::kIncomplete:
    case F::kRepeatWithoutPrevious:
    case F::kRepeatPastEnd:
    case F::kMissingEndOfBlock: return "invalid Huffman code table";
    case F::kInvalidCode:
    case F::kLengthSymbol:
    case F::kDistanceSymbol: return "invalid code in the compressed data";
    case F::kDistanceTooFar:
    case F::kDistanceBeforeStart: return "back-reference before the start of the data";
    case F::kTruncated:
    case F::kNone: break;
  }
  return "invalid compressed data";
}

}  // namespace

std::string DiagnoseStream(const std::string& path, const ArchiveLocation& location,
                           const std::string& password) {
  BufferedFile file;
  if (!file.Open(path.c_str(), FileOpen::ReadExisting)) return "damaged: cannot read the file again";
  const bool kvz2 = location.kvz2;
  if (!file.Seek(uint64_t(location.offset) + kvz::kArchiveHeaderSize))
    return "truncated: the archive header is incomplete";
  if (location.encrypted) {
    ArchiveCipher* cipher = new ArchiveCipher;
    cipher->SetKey(password.data(), password.size());
    file.AttachCipher(cipher);
  }
  uint8_t check[kvz::kCheckBlockSize];
  if (kvz2 && file.Read(check, sizeof check) != sizeof check)
    return "truncated: the check block is incomplete";

  InflateStream inflate;
  const int opened = inflate.Open(&file);
  if (opened == -5) return "truncated: the compressed stream's header is missing";
  if (opened != 0) return "damaged: the compressed stream's header is invalid";
  int result;
  while ((result = inflate.Run(nullptr, 1 << 20)) == 0) {
  }
  if (result == 1) return "damaged: the entries do not fit the decoded data";
  if (inflate.LastFault() == InflateStream::Fault::kTruncated)
    return "truncated: the file ends inside the compressed stream (after " +
           std::to_string(inflate.TotalOut()) + " decoded bytes)";
  return std::string("damaged: ") + FaultText(inflate.LastFault()) + " (after " +
         std::to_string(inflate.TotalOut()) + " decoded bytes)";
}

}  // namespace kvzpack
