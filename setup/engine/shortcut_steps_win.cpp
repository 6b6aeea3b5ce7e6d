#include <windows.h>

#include <string>

#include "setup/engine/folder_path.h"
#include "setup/engine/install_run.h"
#include "setup/engine/path_clean.h"
#include "setup/engine/script.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_item.h"
#include "setup/engine/shortcut_link.h"
#include "setup/engine/shortcut_steps.h"
#include "setup/engine/uninstall_records.h"
#include "setup/engine/win_handles.h"

namespace {
bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ExpandedSymbol(SetupEngine& engine, int32_t id) {
  return engine.Expand(engine.Symbols().Value(id));
}

// Expands one section's values, writes them back, and creates its links.
void CreateShortcut(SetupEngine& engine, ScriptSection& section, const std::string& group,
                    uint32_t userMask) {
  const ShortcutItem item = ReadShortcutItem(section);
  LinkFields fields;
  fields.target = CleanPath(engine.Expand(item.path));
  // Nothing to point at: no link, and the line stays as the package had it.
  if (!FileExists(fields.target)) return;
  section.SetText("Path", fields.target);

  std::string icon;
  int32_t iconIndex = 0;
  if (!item.iconPath.empty()) {
    icon = engine.Expand(item.iconPath);
    iconIndex = item.iconIndex;
  }
  if (icon.empty() || !FileExists(CleanPath(icon))) {
    icon = fields.target;
    iconIndex = 0;
  }
  fields.iconPath = CleanPath(icon);
  fields.iconIndex = iconIndex;
  section.SetText("IconPath", fields.iconPath);
  section.SetInt("IconIndex", fields.iconIndex);

  const std::string title = engine.Expand(item.title);
  fields.description = engine.Expand(item.description);
  fields.workDir = CleanPath(engine.Expand(item.workDir));
  fields.arguments = engine.Expand(item.arguments);
  fields.showCmd = item.showCmd;
  section.SetText("Title", title);
  section.SetText("Description", fields.description);
  section.SetText("WorkDir", fields.workDir);
  section.SetText("Arguments", fields.arguments);

  const bool haveGroup = engine.Install().Has(kOptProgramGroup) && !group.empty();
  for (ShortcutLocation where :
       ShortcutFolders(item.locations, userMask, haveGroup, !item.customDir.empty())) {
    switch (where) {
      case kLinkProgramGroup:
        CreateLink(group, title, fields);
        break;
      case kLinkPrograms:
        CreateLink(ExpandedSymbol(engine, kSymPrograms), title, fields);
        break;
      case kLinkStartMenu:
        CreateLink(ExpandedSymbol(engine, kSymStartMenu), title, fields);
        break;
      case kLinkDesktop:
        CreateLink(ExpandedSymbol(engine, kSymDesktop), title, fields);
        break;
      case kLinkCustomDir: {
        const std::string custom = CleanPath(engine.Expand(item.customDir));
        section.SetText("CustomDir", custom);
        std::string folder;
        if (CreateFolderPath(engine, custom, &folder) != kFolderFailed)
          CreateLink(folder, title, fields);
        break;
      }
      default:
        break;
    }
  }
}

bool SameFolder(const std::string& a, const std::string& b) {
  return !a.empty() && !b.empty() && lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}
}  // namespace

bool CreateProgramGroupAndShortcuts(SetupEngine& engine, uint32_t userMask) {
  ComScope com;
  std::string group;
  bool ok = true;
  if (engine.Install().Has(kOptProgramGroup)) {
    const std::string wanted = ExpandedSymbol(engine, kSymProgGroupDir);
    if (!wanted.empty()) {
      if (CreateFolderPath(engine, wanted, &group) == kFolderFailed) {
        group.clear();
        ok = engine.StepFailed(kErrorClassShortcuts);
        if (!ok) return false;
      } else {
        engine.Symbols().SetValue(kSymProgGroupDir, group);
      }
    }
  }
  for (ScriptSection* section : ShortcutSections(engine.Script()))
    CreateShortcut(engine, *section, group, userMask);
  return ok;
}

bool CreateShortcutsStep(SetupEngine& engine, InstallRun& run, uint32_t userMask) {
  RunHooks& hooks = run.Hooks();
  hooks.Notify(kNotifyShortcutsBefore);
  if (!CreateProgramGroupAndShortcuts(engine, userMask)) return false;
  hooks.Notify(kNotifyShortcutsAfter);
  return hooks.RunActions(kPhaseAfterShortcuts) || engine.StepFailed(kErrorClassFatal);
}

void RemoveShortcutsAndGroup(SetupEngine& engine) {
  ComScope com;
  const std::string group = WithoutTrailingSlash(ExpandedSymbol(engine, kSymProgGroupDir));
  const std::string programs = WithoutTrailingSlash(ExpandedSymbol(engine, kSymPrograms));
  const std::string startMenu = WithoutTrailingSlash(ExpandedSymbol(engine, kSymStartMenu));
  const std::string desktop = WithoutTrailingSlash(ExpandedSymbol(engine, kSymDesktop));
  for (ScriptSection* section : ShortcutSections(engine.Script())) {
    // Path and CustomDir hold what the installation expanded.
    const std::string target = section->GetText("Path");
    const std::string custom = section->GetText("CustomDir");
    for (const std::string* folder : {&group, &custom, &programs, &startMenu, &desktop}) {
      if (!folder->empty()) DeleteLinksTo(target, *folder);
    }
  }
  if (group.empty()) return;
  // The group and then its emptied parents; never the shell's own folders
  // the group lives in, even when they happen to be empty.
  std::string folder = group;
  for (;;) {
    if (SameFolder(folder, programs) || SameFolder(folder, startMenu) ||
        SameFolder(folder, desktop))
      break;
    if (!RemoveDirectoryA(folder.c_str())) break;
    const size_t slash = folder.find_last_of('\\');
    if (slash == std::string::npos || slash < 3) break;
    folder.resize(slash);
  }
}
