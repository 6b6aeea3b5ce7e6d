// Free space on the drive of a folder, for the wizard's comparison with
// the engine's required size. Windows builds.
#pragma once

#include <cstdint>
#include <string>

// GetDiskFreeSpaceExA where the system has it (looked up by name, as the
// first Windows 95 lacks it), else free clusters x sectors x bytes.
bool FreeDiskSpace(const std::string& folder, uint64_t* bytes);

// The root GetDiskFreeSpaceA wants: "C:\" or "\\server\share\"; "" when
// the path names neither.
std::string DiskRootOf(const std::string& path);
