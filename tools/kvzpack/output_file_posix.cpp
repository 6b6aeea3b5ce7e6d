#include "tools/kvzpack/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/kvzpack/file_time.h"

namespace kvzpack {
namespace {

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size,
                         const OutputFileOptions& options, std::string* error) {
  std::string temp = path + ".kvzpack-XXXXXX";
  const int fd = ::mkstemp(&temp[0]);
  if (fd < 0) {
    *error = path + ": " + std::strerror(errno);
    return false;
  }
  auto fail = [&](int err) {
    ::close(fd);
    ::unlink(temp.c_str());
    *error = path + ": " + std::strerror(err);
    return false;
  };
  for (size_t done = 0; done < size;) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail(n < 0 ? errno : ENOSPC);
    done += size_t(n);
  }
  if (::fsync(fd) != 0) return fail(errno);
  if (options.setTime) {
    int64_t seconds;
    uint32_t nanoseconds;
    UnixFromFileTime(options.lastWrite, &seconds, &nanoseconds);
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(seconds);
    times[1].tv_nsec = long(nanoseconds);
    if (::futimens(fd, times) != 0) return fail(errno);
  }
  if (::fchmod(fd, options.mode & ~CurrentUmask()) != 0) return fail(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    *error = path + ": " + std::strerror(err);
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    *error = path + ": " + std::strerror(err);
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* data, std::string* error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    *error = path + ": " + std::strerror(errno);
    return false;
  }
  data->clear();
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data->insert(data->end(), buffer, buffer + n);
  const bool failed = std::ferror(f) != 0;
  const int err = errno;
  std::fclose(f);
  if (failed) {
    *error = path + ": " + std::strerror(err);
    return false;
  }
  return true;
}

}  // namespace kvzpack
