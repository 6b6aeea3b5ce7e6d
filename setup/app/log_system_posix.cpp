#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "setup/app/log_system.h"

namespace logsys {

std::string ModulePath() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return std::string();
  return std::string(path, size_t(n));
}

std::string LogFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = tmp && *tmp ? tmp : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

bool FileSize(const char* path, uint64_t* size) {
  struct stat st;
  if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  *size = uint64_t(st.st_size);
  return true;
}

bool DeleteLogFile(const char* path) { return unlink(path) == 0; }

LocalTime Now() {
  const time_t now = time(nullptr);
  struct tm t = {};
  localtime_r(&now, &t);
  return LocalTime{unsigned(t.tm_year + 1900), unsigned(t.tm_mon + 1),
                   unsigned(t.tm_mday),        unsigned(t.tm_hour),
                   unsigned(t.tm_min),         unsigned(t.tm_sec)};
}

}  // namespace logsys
