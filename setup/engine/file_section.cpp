#include "setup/engine/file_section.h"

#include "setup/engine/script.h"
#include "setup/engine/script_load.h"
#include "setup/engine/script_text.h"

bool ReadFileSection(ScriptSection& section, FileSection* files, ScriptLoadFailure* failure) {
  files->section = &section;
  const ScriptItem* dir = section.Find("InstallDir");
  if (!dir || !dir->hasValue) {
    if (failure) {
      failure->error = ScriptLoadError::kFilesWithoutInstallDir;
      failure->line = section.line;
      failure->detail = "[" + section.name + "] has no InstallDir";
    }
    return false;
  }
  files->installDir = dir->value;
  files->id = section.GetInt("ID", -1);
  for (const auto& item : section.items) {
    if (!scripttext::EqualsNoCase(item->key, "File")) continue;
    auto file = std::make_unique<FileItem>();
    if (!item->hasValue || !ParseFileLine(item->value, file.get())) {
      if (failure) {
        failure->error = ScriptLoadError::kBadSection;
        failure->line = item->line;
        failure->detail = "File= line with fewer than 12 fields";
      }
      return false;
    }
    file->item = item.get();
    files->items.push_back(std::move(file));
  }
  return true;
}

void StoreFileSectionValues(const FileSection& files) {
  if (!files.section) return;
  if (files.dirExpanded) files.section->SetText("InstallDir", files.expandedDir);
  if (files.id > 0) files.section->SetInt("ID", files.id);
}

void StoreFileSection(const FileSection& files) {
  StoreFileSectionValues(files);
  for (const auto& item : files.items) StoreFileItem(*item);
}
