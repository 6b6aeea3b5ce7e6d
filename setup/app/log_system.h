// The few system services the log needs: where it lives, the size of an
// existing one, deleting it, and the local time. Win32 in setup, POSIX
// stand-ins for the Linux builds.
#pragma once

#include <cstdint>
#include <string>

namespace logsys {

// Full path of the running executable.
std::string ModulePath();
// Folder the log goes to, ending in a separator: the temporary folder, or
// the Windows folder when there is none.
std::string LogFolder();
// False when the file does not exist or cannot be asked.
bool FileSize(const char* path, uint64_t* size);
bool DeleteLogFile(const char* path);

struct LocalTime {
  unsigned year, month, day, hour, minute, second;
};
LocalTime Now();

}  // namespace logsys
