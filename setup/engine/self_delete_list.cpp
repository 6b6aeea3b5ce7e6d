#include "setup/engine/self_delete_list.h"

#include "setup/engine/install_run.h"
#include "setup/engine/script_languages.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/symbol.h"
#include "setup/engine/uninstall_records.h"

namespace {
std::string WithoutTrailingBackslash(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}
}  // namespace

bool HelperEnvironment::Add(char letter, const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  // letter + path + NUL, and the closing NUL after it.
  if (text_.size() + path.size() + 2 + 1 > kHelperBlockSize) return false;
  text_ += letter;
  text_ += path;
  text_ += '\0';
  return true;
}

bool HelperEnvironment::AddFile(const std::string& path) { return Add('F', path); }

bool HelperEnvironment::AddFolder(const std::string& folder) {
  return Add('D', WithoutTrailingBackslash(folder));
}

HelperList CollectHelperList(SetupEngine& engine, const InstallRun& run) {
  HelperList list;
  list.setupExe = run.setupExePath;
  list.appFolder = WithoutTrailingBackslash(engine.Expand(engine.Symbols().Value(kSymAppFolder)));
  list.bitmap1 = engine.Expand(engine.Install().bmp1);
  list.bitmap2 = engine.Expand(engine.Install().bmp2);
  const uint16_t language = engine.LanguageId();
  for (const LanguageEntry& entry : engine.Loaded().languages) {
    const bool selected = language ? entry.id == language : (entry.flags & kLangUsed) != 0;
    if (selected && (entry.flags & kLangHasDll) && !entry.dll.empty()) {
      list.languageDll = run.languageDll.empty() ? engine.Expand(entry.dll) : run.languageDll;
      break;
    }
  }
  const ExtrasSettings& extras = engine.Loaded().extras;
  if ((extras.options & kExtrasUseDll) && !extras.dllPath.empty())
    list.extensionDll = engine.Expand(extras.dllPath);
  list.pending = engine.UnremovedFiles();
  // Recorded as they were created: already expanded.
  list.folders = ReadUninstallDirs(engine.Script());
  return list;
}

std::string BuildHelperEnvironment(const HelperList& list,
                                   std::vector<std::string>* handedFolders) {
  HelperEnvironment block;
  block.AddFile(list.setupExe);
  const std::string appFolder = WithoutTrailingBackslash(list.appFolder);
  if (!appFolder.empty()) block.AddFile(appFolder + "\\Setup.ini");
  block.AddFile(list.bitmap1);
  block.AddFile(list.bitmap2);
  block.AddFile(list.languageDll);
  block.AddFile(list.extensionDll);
  for (const std::string& file : list.pending) block.AddFile(file);
  for (const std::string& folder : list.folders) {
    if (block.AddFolder(folder) && handedFolders)
      handedFolders->push_back(WithoutTrailingBackslash(folder));
  }
  return block.Block();
}
