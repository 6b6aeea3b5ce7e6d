// The App Paths entry of the main program: HKLM\...\App Paths\<name.exe>
// with the program's path as default value and its folders as "Path".
// On the 9x family both are written as short paths.
#pragma once

#include <functional>
#include <string>

#include "setup/engine/registry_access.h"

class ScriptSection;
class SettingsContext;

extern const char kAppPathsKey[];

enum : uint32_t { kEventAppPathsRemoved = 0x02010035 };

// The short form of an existing path; "" when the system gives none.
using ShortPathFn = std::function<std::string(const std::string&)>;

// programPath and pathList expanded; shortPath null: long paths (NT).
bool RegisterAppPaths(Registry& registry, const std::string& programPath,
                      const std::string& pathList, const ShortPathFn& shortPath);

// For a removed file ending in .exe: deletes the App Paths key of its name
// when its default value is the file's long or short path. shortOfFile is
// the file's short path taken before it was deleted ("" if unknown).
// True when the key was deleted (event 0x02010035).
bool RemoveAppPathsEntry(Registry& registry, const std::string& filePath,
                         const std::string& shortOfFile);

// With the running system: [Install] Options 0x100, Path and PathList.
// Windows builds only.
bool RegisterAppPathsFromScript(const ScriptSection& install, SettingsContext& context);
// Before a removed .exe is deleted (its short path is read from disk).
bool RemoveAppPathsEntryForFile(const std::string& filePath);
