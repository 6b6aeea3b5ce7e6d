// FileSection: one [Files] section: the target folder InstallDir, an
// optional ID and its File= lines, in script order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup/engine/file_item.h"

class ScriptSection;
struct ScriptLoadFailure;

struct FileSection {
  ScriptSection* section = nullptr;
  std::string installDir;  // as written (written back expanded)
  int32_t id = -1;
  std::vector<std::unique_ptr<FileItem>> items;

  // Run-time state.
  std::string expandedDir;  // expanded and cleaned, once
  bool dirExpanded = false;
  bool dirCreated = false;
  uint32_t filesInstalled = 0;
};

// Reads InstallDir (required), ID and every File= line. False, with the
// failure filled in, for a section without InstallDir or a line with too
// few fields.
bool ReadFileSection(ScriptSection& section, FileSection* files, ScriptLoadFailure* failure);

// Writes InstallDir (expanded once it was) and ID when positive back into
// the section.
void StoreFileSectionValues(const FileSection& files);
// The same, and every line.
void StoreFileSection(const FileSection& files);
