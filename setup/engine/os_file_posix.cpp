// osfile on POSIX: the Linux tools (kvzpack) and the native tests. Windows
// attributes have no home here: read-only maps to the write bits, the rest
// is ignored.
#include "setup/engine/os_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace osfile {
namespace {

// FILETIME counts 100 ns ticks from 1601-01-01; Unix time from 1970-01-01.
constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ull;

timespec ToTimespec(uint64_t fileTime) {
  timespec ts{};
  if (fileTime < kUnixEpochAsFileTime) return ts;
  const uint64_t ticks = fileTime - kUnixEpochAsFileTime;
  ts.tv_sec = time_t(ticks / 10000000u);
  ts.tv_nsec = long(ticks % 10000000u) * 100;
  return ts;
}

int Fd(Handle file) { return int(file); }

}  // namespace

Handle Open(const char* path, FileOpen mode) {
  int fd = -1;
  switch (mode) {
    case FileOpen::ReadExisting:
      fd = ::open(path, O_RDONLY | O_CLOEXEC);
      break;
    case FileOpen::WriteCreateAlways:
      fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      break;
    case FileOpen::AppendOpenAlways:
      fd = ::open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
      if (fd >= 0 && ::lseek(fd, 0, SEEK_END) < 0) {
        ::close(fd);
        fd = -1;
      }
      break;
  }
  if (fd >= 0) {
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      ::close(fd);
      return kNoFile;
    }
  }
  return fd < 0 ? kNoFile : Handle(fd);
}

void Close(Handle file) {
  if (file != kNoFile) ::close(Fd(file));
}

bool Read(Handle file, void* dst, size_t n, size_t* got) {
  *got = 0;
  for (;;) {
    const ssize_t r = ::read(Fd(file), dst, n);
    if (r >= 0) {
      *got = size_t(r);
      return true;
    }
    if (errno != EINTR) return false;
  }
}

bool Write(Handle file, const void* src, size_t n) {
  const char* p = static_cast<const char*>(src);
  while (n > 0) {
    const ssize_t w = ::write(Fd(file), p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= size_t(w);
  }
  return true;
}

bool Seek(Handle file, uint64_t offset) {
  return ::lseek(Fd(file), off_t(offset), SEEK_SET) == off_t(offset);
}

bool SeekEnd(Handle file, uint64_t* offset) {
  const off_t end = ::lseek(Fd(file), 0, SEEK_END);
  if (end < 0) return false;
  *offset = uint64_t(end);
  return true;
}

bool Size(Handle file, uint64_t* size) {
  struct stat st;
  if (::fstat(Fd(file), &st) != 0) return false;
  *size = uint64_t(st.st_size);
  return true;
}

bool SetLastWriteTime(Handle file, uint64_t fileTime) {
  timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = ToTimespec(fileTime);
  return ::futimens(Fd(file), times) == 0;
}

bool ForceDelete(const char* path) {
  struct stat st;
  if (::lstat(path, &st) != 0) return errno == ENOENT || errno == ENOTDIR;
  if (S_ISDIR(st.st_mode)) return false;
  return ::unlink(path) == 0 || errno == ENOENT;
}

bool SetAttributes(const char* path, uint32_t attributes) {
  struct stat st;
  if (::stat(path, &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttrReadOnly) {
    mode &= mode_t(~0222);
  } else {
    mode |= 0200;
  }
  return ::chmod(path, mode) == 0;
}

uint32_t GetAttributes(const char* path) {
  struct stat st;
  if (::stat(path, &st) != 0) return kNoAttributes;
  uint32_t attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= kAttrDirectory;
  if ((st.st_mode & 0222) == 0) attributes |= kAttrReadOnly;
  return attributes ? attributes : kAttrNormal;
}

bool GetLastWriteTime(const char* path, uint64_t* fileTime) {
  struct stat st;
  if (::stat(path, &st) != 0) return false;
  const int64_t secs = int64_t(st.st_mtim.tv_sec);
  if (secs < 0) {
    *fileTime = 0;
    return true;
  }
  *fileTime = kUnixEpochAsFileTime + uint64_t(secs) * 10000000u + uint64_t(st.st_mtim.tv_nsec) / 100u;
  return true;
}

}  // namespace osfile
