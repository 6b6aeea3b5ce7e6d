// Shortcut (.lnk) files through the system's shell-link object. Windows
// builds; COM must be initialised on the calling thread.
#pragma once

#include <cstdint>
#include <string>

struct LinkFields {
  std::string target, workDir, arguments, description, iconPath;
  int32_t iconIndex = 0;
  int32_t showCmd = 1;
};

// Creates <folder>\<title>.lnk (read-only). False when the folder, title
// or target is empty, the name is over 260 characters, or the link cannot
// be made. An older link of the same name is replaced.
bool CreateLink(const std::string& folder, const std::string& title, const LinkFields& fields);

// Reads a link's fields; false when it cannot be loaded.
bool ReadLink(const std::string& linkPath, LinkFields* fields);

// Deletes every .lnk in the folder whose target is this one (case does not
// matter; names and arguments are not compared). The number deleted.
int DeleteLinksTo(const std::string& target, const std::string& folder);
