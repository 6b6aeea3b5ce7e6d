// list, test and extract: everything is decoded by setup's own reader, so
// these commands see an archive exactly as setup will.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "setup/engine/archive.h"
#include "tools/kvzpack/archive_locator.h"
#include "tools/kvzpack/commands.h"
#include "tools/kvzpack/entry_path.h"
#include "tools/kvzpack/exit_codes.h"
#include "tools/kvzpack/file_time.h"
#include "tools/kvzpack/output_file.h"
#include "tools/kvzpack/stream_diagnosis.h"
#include "tools/kvzpack/terminal_progress.h"

namespace kvzpack {
namespace {

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "kvzpack: %s\n", message.c_str());
  return code;
}

// The reader and what is needed to explain its failures.
struct Opened {
  std::string path;
  std::string password;
  ArchiveLocation location;
  SetupArchive reader;
};

int OpenArchive(const std::string& path, const std::string& password, Opened* archive) {
  archive->path = path;
  archive->password = password;
  std::string error;
  const int located = LocateArchive(path, password, &archive->location, &error);
  if (located != kExitOk) return Fail(located, error);
  switch (archive->reader.Open(path.c_str(), archive->location.offset,
                               archive->location.encrypted ? password.c_str() : nullptr)) {
    case 0:
      return kExitOk;
    case 1:
      return Fail(kExitNeedsPassword, path + ": the archive is encrypted: give --password");
    default:
      return Fail(kExitDamaged, path + ": damaged: the compressed stream's header is invalid");
  }
}

// The reader cannot say why it failed: ask the decoder alone.
int Damaged(const Opened& archive, const std::string& where) {
  return Fail(kExitDamaged, archive.path + ": " +
                                DiagnoseStream(archive.path, archive.location, archive.password) +
                                ", " + where);
}

std::string Describe(size_t index, const ArchiveEntryHeader& header) {
  return "in entry " + std::to_string(index + 1) + " (" + header.name + ")";
}

// Visits every entry in order. visit() gets each header with the reader
// standing at its body and must consume the body (or return an exit code).
// Ends when the stream ends cleanly, which is also when the reader checks
// the stream's Adler-32.
template <typename Visit>
int ForEachEntry(Opened* archive, Visit visit) {
  for (size_t index = 0;; ++index) {
    ArchiveEntryHeader header;
    bool end = false;
    if (!archive->reader.ReadHeader(&header, &end)) {
      if (end) return kExitOk;
      return Damaged(*archive, index == 0 ? std::string("at the first entry")
                                          : "after entry " + std::to_string(index));
    }
    const int result = visit(index, header);
    if (result != kExitOk) return result;
  }
}

bool SkipBody(SetupArchive* reader, const ArchiveEntryHeader& header, ProgressSink* progress) {
  // The reader reports an empty body as nothing to skip.
  return header.size == 0 || reader->SkipBody(header, nullptr, progress);
}

std::string Version(const ArchiveEntryHeader& h) {
  char text[64];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", h.fileVersionMS >> 16, h.fileVersionMS & 0xFFFF,
                h.fileVersionLS >> 16, h.fileVersionLS & 0xFFFF);
  return text;
}

bool MakeFolder(const std::string& path, std::string* error) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  struct stat st;
  if (errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  *error = path + ": " + (errno == EEXIST ? std::string("exists and is not a folder")
                                          : std::string(std::strerror(errno)));
  return false;
}

}  // namespace

int RunList(const std::string& file, const std::string& password) {
  Opened archive;
  const int opened = OpenArchive(file, password, &archive);
  if (opened != kExitOk) return opened;
  TerminalProgress progress("kvzpack list");
  return ForEachEntry(&archive, [&](size_t index, const ArchiveEntryHeader& h) {
    std::printf("%s\t%u\t%s\t%s\t0x%04X\n", h.name, h.size, FormatFileTime(h.lastWrite).c_str(),
                Version(h).c_str(), h.attributes);
    if (!SkipBody(&archive.reader, h, &progress)) return Damaged(archive, Describe(index, h));
    return int(kExitOk);
  });
}

int RunTest(const std::string& file, const std::string& password) {
  Opened archive;
  const int opened = OpenArchive(file, password, &archive);
  if (opened != kExitOk) return opened;
  TerminalProgress progress("kvzpack test");
  size_t entries = 0;
  uint64_t bytes = 0;
  const int result = ForEachEntry(&archive, [&](size_t index, const ArchiveEntryHeader& h) {
    if (!SkipBody(&archive.reader, h, &progress)) return Damaged(archive, Describe(index, h));
    ++entries;
    bytes += h.size;
    return int(kExitOk);
  });
  if (result != kExitOk) return result;
  progress.Done();
  std::printf("%s: OK, %zu entries, %llu bytes\n", file.c_str(), entries, (unsigned long long)bytes);
  return kExitOk;
}

int RunExtract(const std::string& file, const std::string& dir, const std::string& password) {
  // First pass: every name and the whole stream must be sound before
  // anything is written, so a bad archive leaves DIR as it was.
  {
    Opened archive;
    const int opened = OpenArchive(file, password, &archive);
    if (opened != kExitOk) return opened;
    TerminalProgress progress("kvzpack extract (checking)");
    const int checked = ForEachEntry(&archive, [&](size_t index, const ArchiveEntryHeader& h) {
      std::vector<std::string> parts;
      std::string error;
      if (!SplitEntryName(h.name, &parts, &error) || std::strlen(h.name) != h.nameLength)
        return Fail(kExitUnsafeName, file + ": " + (error.empty() ? "entry name with a NUL byte" : error));
      if (!SkipBody(&archive.reader, h, &progress)) return Damaged(archive, Describe(index, h));
      return int(kExitOk);
    });
    if (checked != kExitOk) return checked;
  }

  std::string error;
  if (!MakeFolder(dir, &error)) return Fail(kExitOutput, error);
  Opened archive;
  const int opened = OpenArchive(file, password, &archive);
  if (opened != kExitOk) return opened;
  TerminalProgress progress("kvzpack extract");
  size_t entries = 0;
  const int result = ForEachEntry(&archive, [&](size_t index, const ArchiveEntryHeader& h) {
    std::vector<std::string> parts;
    if (!SplitEntryName(h.name, &parts, &error)) return Fail(kExitUnsafeName, file + ": " + error);
    std::string target = dir;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
      target += "/" + parts[i];
      if (!MakeFolder(target, &error)) return Fail(kExitOutput, error);
    }
    target += "/" + parts.back();

    std::unique_ptr<uint8_t[]> body;
    if (h.size != 0) {
      body.reset(archive.reader.ReadBody(h, nullptr, &progress));
      if (!body) return Damaged(archive, Describe(index, h));
    }
    OutputFileOptions options;
    options.mode = (h.attributes & kAttributeReadOnly) ? 0444 : 0666;
    options.setTime = true;
    options.lastWrite = h.lastWrite;
    if (!WriteFileAtomically(target, body.get(), h.size, options, &error))
      return Fail(kExitOutput, error);
    ++entries;
    return int(kExitOk);
  });
  if (result != kExitOk) return result;
  progress.Done();
  std::printf("%s: %zu entries extracted to %s\n", file.c_str(), entries, dir.c_str());
  return kExitOk;
}

}  // namespace kvzpack
