#include "tools/kvzpack/archive_writer.h"

#include <libdeflate.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "setup/engine/archive_format.h"
#include "tools/kvzpack/archive_encryption.h"
#include "tools/kvzpack/file_time.h"

namespace kvzpack {
namespace {

// libdeflate's strongest level: slow, but packages are built once.
constexpr int kCompressionLevel = 12;

struct CompressorDeleter {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// FNV-1a: a cheap, stable digest so the check block is deterministic yet
// differs between archives.
uint32_t Digest(const std::vector<uint8_t>& data, uint32_t seed) {
  uint32_t h = 2166136261u ^ seed;
  for (uint8_t b : data) h = (h ^ b) * 16777619u;
  return h;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string CheckEntryName(const std::string& name) {
  if (name.empty()) return "empty entry name";
  if (name.size() > kvz::kMaxEntryName)
    return "entry name is " + std::to_string(name.size()) + " bytes, at most " +
           std::to_string(kvz::kMaxEntryName) + " are allowed: " + name;
  if (name.find('\0') != std::string::npos) return "entry name contains a NUL byte";
  return std::string();
}

bool ArchiveWriter::AddFile(const std::string& name, const std::string& path,
                            const EntryOverrides& overrides, std::string* error) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    *error = path + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    *error = path + ": not a regular file";
    return false;
  }
  if (uint64_t(st.st_size) > 0xFFFFFFFFu) {
    *error = path + ": 4 GB or larger, which an entry cannot hold";
    return false;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    *error = path + ": " + std::strerror(errno);
    return false;
  }
  std::vector<uint8_t> body(size_t(st.st_size));
  if (!body.empty() && std::fread(body.data(), 1, body.size(), file.get()) != body.size()) {
    *error = path + ": read failed" + (std::ferror(file.get()) ? std::string(": ") + std::strerror(errno) : " (file shrank)");
    return false;
  }

  EntryInfo info;
  info.name = name;
#if defined(_WIN32)
  info.lastWrite = FileTimeFromUnix(int64_t(st.st_mtime), 0);
#else
  info.lastWrite = FileTimeFromUnix(int64_t(st.st_mtim.tv_sec), uint32_t(st.st_mtim.tv_nsec));
#endif
  if (overrides.setAttributes) {
    info.attributes = overrides.attributes;
  } else {
    // Windows marks a freshly written file for backup; read-only follows
    // the owner's write permission.
    info.attributes = kAttributeArchive;
    if (!(st.st_mode & S_IWUSR)) info.attributes |= kAttributeReadOnly;
  }
  ReadPeVersion(body.data(), body.size(), &info.version);
  return AddData(info, body.data(), body.size(), error);
}

bool ArchiveWriter::AddData(const EntryInfo& info, const uint8_t* body, size_t size,
                            std::string* error) {
  const std::string problem = CheckEntryName(info.name);
  if (!problem.empty()) {
    *error = problem;
    return false;
  }
  if (uint64_t(size) > 0xFFFFFFFFu) {
    *error = info.name + ": 4 GB or larger, which an entry cannot hold";
    return false;
  }
  uint8_t header[kvz::kEntryHeaderSize];
  std::memcpy(header, kvz::kMagicEntry, 4);
  kvz::PutU32(header + 4, 0);  // reserved
  kvz::PutU32(header + 8, uint32_t(size));
  kvz::PutU64(header + 12, info.lastWrite);
  kvz::PutU32(header + 20, info.version.productVersionLS);
  kvz::PutU32(header + 24, info.version.productVersionMS);
  kvz::PutU32(header + 28, info.version.fileVersionLS);
  kvz::PutU32(header + 32, info.version.fileVersionMS);
  kvz::PutU16(header + 36, info.attributes);
  kvz::PutU16(header + 38, uint16_t(info.name.size()));
  stream_.insert(stream_.end(), header, header + sizeof header);
  stream_.insert(stream_.end(), info.name.begin(), info.name.end());
  stream_.insert(stream_.end(), body, body + size);
  ++entries_;
  return true;
}

bool ArchiveWriter::Finish(const ArchiveOptions& options, std::vector<uint8_t>* archive,
                           std::string* error) const {
  const bool encrypt = !options.password.empty();
  if (encrypt && options.format != ArchiveFormat::Kvz2) {
    *error = "only kvz2 archives can be encrypted";
    return false;
  }
  if (options.password.size() > kMaxPasswordLength) {
    *error = "the password is longer than " + std::to_string(kMaxPasswordLength) + " bytes";
    return false;
  }

  uint32_t flags = kvz::kFlagWriter;
  if (encrypt) flags |= kvz::kFlagEncrypted;
  if (options.hidePassword) flags |= kvz::kFlagHidePassword;

  std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
      libdeflate_alloc_compressor(kCompressionLevel));
  if (!compressor) {
    *error = "out of memory for the compressor";
    return false;
  }
  const size_t start = options.format == ArchiveFormat::Kvz2
                           ? kvz::kArchiveHeaderSize + kvz::kCheckBlockSize
                           : kvz::kArchiveHeaderSize;
  const size_t bound = libdeflate_zlib_compress_bound(compressor.get(), stream_.size());
  archive->assign(start + bound, 0);
  const size_t packed = libdeflate_zlib_compress(compressor.get(), stream_.data(), stream_.size(),
                                                 archive->data() + start, bound);
  if (packed == 0) {
    *error = "compression failed";
    return false;
  }
  archive->resize(start + packed);

  uint8_t* p = archive->data();
  std::memcpy(p, options.format == ArchiveFormat::Kvz2 ? kvz::kMagicKvz2 : kvz::kMagicKvz1, 4);
  kvz::PutU32(p + 4, flags);
  if (options.format == ArchiveFormat::Kvz2) {
    const uint32_t w0 = Digest(stream_, flags);
    kvz::PutU32(p + 8, w0);
    kvz::PutU32(p + 12, w0 ^ kvz::kCheckConstant);
  }
  if (encrypt)
    EncryptArchiveBody(options.password, p + kvz::kArchiveHeaderSize,
                       archive->size() - kvz::kArchiveHeaderSize);
  return true;
}

}  // namespace kvzpack
