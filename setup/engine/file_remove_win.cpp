// Removing installed files: the removal decision per line, deletion (with
// wildcards), help index side files, and deletion at restart for files
// that cannot go now.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "setup/app/setup_log.h"
#include "setup/engine/app_paths.h"
#include "setup/engine/file_protection.h"
#include "setup/engine/file_remove_decision.h"
#include "setup/engine/os_file.h"
#include "setup/engine/replace_at_restart.h"
#include "setup/engine/script_text.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shared_count.h"
#include "setup/engine/symbol_runtime.h"

#define KV_SOURCE_ID 7303

namespace {

void Log(uint32_t code, std::initializer_list<const char*> args) {
  SetupLog::Instance().Event(code, args);
}

bool EndsWith(const std::string& s, const char* tail) {
  const size_t n = std::strlen(tail);
  return s.size() >= n && scripttext::EqualsNoCase(std::string_view(s).substr(s.size() - n), tail);
}

}  // namespace

void SetupEngine::CleanHelpFiles(const std::string& target) {
  if (!EndsWith(target, ".hlp") && !EndsWith(target, ".cnt")) return;
  Log(kEventHelpFilesDeleted, {target.c_str()});
  const std::string name(FileNamePart(target));
  const std::string base = name.substr(0, name.size() - 4);
  std::string folders[2] = {FolderOfPath(target), Expand(symbols_.Value(kSymHelpDir))};
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    for (const char* ext : {".gid", ".fts", ".ftg", ".bmk", ".ann"})
      osfile::ForceDelete((folder + "\\" + base + ext).c_str());
  }
}

bool SetupEngine::DeleteInstalledFile(FileItem& item) {
  const std::string& target = item.target;
  Log(kEventDeleting, {target.c_str()});
  if (EndsWith(target, ".exe") && !item.HasWildcard()) RemoveAppPathsEntryForFile(target);
  CleanHelpFiles(target);

  std::vector<std::string> files;
  if (item.HasWildcard()) {
    Log(kEventWildcardTarget, {target.c_str()});
    const std::string folder = FolderOfPath(target);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(target.c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          files.push_back(folder + "\\" + found.cFileName);
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
  } else {
    files.push_back(target);
  }

  bool all = true;
  for (const std::string& file : files) {
    if (osfile::ForceDelete(file.c_str())) {
      if (item.HasWildcard()) Log(kEventWildcardDeleted, {file.c_str()});
      continue;
    }
    char number[16];
    std::snprintf(number, sizeof(number), "%lu", static_cast<unsigned long>(GetLastError()));
    Log(kEventDeleteFailed, {file.c_str(), number});
    unremoved_.push_back(file);
    if (!upgradeRemoval_ && ReplaceAtRestart(file.c_str(), nullptr)) {
      SetRestartNeeded();
    } else {
      all = false;
    }
  }
  return all;
}

void SetupEngine::RemoveFiles() {
  BeginRun();
  for (auto& section : fileSections_) {
    for (auto& owned : section->items) {
      FileItem& item = *owned;
      ResolveTarget(*section, item);
      const RemovalDecision d = DecideRemoval(item, RemovalMode::kCounting, *counts_,
                                              item.status > 0 && IsFileProtected(item.target));
      if (d.event == kEventNoRemoveFlag) Log(d.event, {item.source.c_str()});
      else if (d.event) Log(d.event, {item.target.c_str()});
      if (d.remove) DeleteInstalledFile(item);
      osfile::ForceDelete(item.temp.c_str());
    }
  }
}
