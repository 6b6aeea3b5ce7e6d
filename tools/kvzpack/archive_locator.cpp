#include "tools/kvzpack/archive_locator.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "setup/engine/archive_format.h"
#include "tools/kvzpack/archive_encryption.h"
#include "tools/kvzpack/exit_codes.h"
#include "tools/kvzpack/stamp.h"

namespace kvzpack {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

size_t ReadAt(std::FILE* f, uint64_t offset, uint8_t* buffer, size_t size) {
  if (std::fseek(f, long(offset), SEEK_SET) != 0) return 0;
  return std::fread(buffer, 1, size, f);
}

}  // namespace

int LocateArchive(const std::string& path, const std::string& password,
                  ArchiveLocation* location, std::string* error) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  struct stat st;
  if (!file || ::fstat(fileno(file.get()), &st) != 0) {
    *error = path + ": " + std::strerror(errno);
    return kExitInput;
  }
  const uint64_t size = uint64_t(st.st_size);
  uint8_t head[kvz::kStampMinFileSize] = {};
  const size_t got = ReadAt(file.get(), 0, head, sizeof head);

  StampWords words;
  switch (ReadStamp(head, got, size, &words)) {
    case StampState::Valid:
      location->stamped = true;
      location->offset = words.offset;
      location->end = words.end;
      break;
    case StampState::Truncated:
      *error = path + ": truncated: the archive should end at byte " + std::to_string(words.end) +
               " but the file has " + std::to_string(size);
      return kExitDamaged;
    case StampState::Invalid:
      *error = path + ": damaged stamp: the archive would start at or after its end";
      return kExitDamaged;
    case StampState::None:
      if (got >= 4 && (std::memcmp(head, kvz::kMagicKvz1, 4) == 0 ||
                       std::memcmp(head, kvz::kMagicKvz2, 4) == 0)) {
        location->offset = 0;
        location->end = size;
        break;
      }
      *error = path + (got >= 2 && head[0] == 'M' && head[1] == 'Z'
                           ? ": no archive: the executable carries no stamp"
                           : ": no archive: neither a stamped executable nor a .kvz archive");
      return kExitNoArchive;
  }

  uint8_t header[kvz::kArchiveHeaderSize + kvz::kCheckBlockSize];
  const size_t have = ReadAt(file.get(), location->offset, header, sizeof header);
  const bool kvz2 = have >= 4 && std::memcmp(header, kvz::kMagicKvz2, 4) == 0;
  if (have < 4 || (!kvz2 && std::memcmp(header, kvz::kMagicKvz1, 4) != 0)) {
    *error = path + ": damaged: no archive header at offset " + std::to_string(location->offset);
    return kExitDamaged;
  }
  if (have < (kvz2 ? sizeof header : kvz::kArchiveHeaderSize)) {
    *error = path + ": truncated: the archive header is incomplete";
    return kExitDamaged;
  }
  location->flags = kvz::GetU32(header + 4);
  location->kvz2 = kvz2;
  location->encrypted = kvz2 && (location->flags & kvz::kFlagEncrypted);
  if (location->encrypted && password.empty()) {
    *error = path + ": the archive is encrypted: give --password";
    return kExitNeedsPassword;
  }
  if (kvz2 && !CheckBlockPasses(header + kvz::kArchiveHeaderSize,
                                location->encrypted ? password : std::string())) {
    *error = location->encrypted ? path + ": wrong password"
                                 : path + ": damaged: the archive's check block is wrong";
    return location->encrypted ? kExitWrongPassword : kExitDamaged;
  }
  return kExitOk;
}

}  // namespace kvzpack
