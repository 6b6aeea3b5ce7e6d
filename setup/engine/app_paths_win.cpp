// App Paths with the running system: short paths from the file system.
#include <windows.h>

#include "setup/engine/app_paths.h"
#include "setup/engine/regscript_context.h"
#include "setup/engine/script.h"
#include "setup/engine/win_paths.h"

namespace {

constexpr uint32_t kOptionAppPaths = 0x100;

}  // namespace

bool RegisterAppPathsFromScript(const ScriptSection& install, SettingsContext& context) {
  if (!(install.GetUInt("Options", 0) & kOptionAppPaths)) return true;
  std::string program = context.Expand(install.GetText("Path"));
  if (program.empty()) return true;
  std::string list = context.Expand(install.GetText("PathList"));
  ShortPathFn shortPath;
  if (context.Is9xFamily()) shortPath = ShortPathName;
  return RegisterAppPaths(SystemRegistry(), program, list, shortPath);
}

bool RemoveAppPathsEntryForFile(const std::string& filePath) {
  return RemoveAppPathsEntry(SystemRegistry(), filePath, ShortPathName(filePath));
}
