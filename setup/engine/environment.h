// [Environment]: NAME=flags|OS flags|mode|separator|applied|value.
// On the NT family the variables live in the system environment key of
// the registry; on the 9x family they are SET lines of AUTOEXEC.BAT. Lines
// are rewritten with applied = 1 once done; removal undoes only those.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/registry_access.h"
#include "setup/engine/regscript_context.h"
#include "setup/engine/regscript_list.h"

class ScriptSection;
class SetupScript;

struct EnvironmentLine : ListLineHead {
  std::string value;  // unexpanded; may itself contain '|'
};

// False for fewer than six fields or an empty value.
bool ParseEnvironmentLine(std::string_view text, EnvironmentLine* line);
// "%lu|%lu|%d|%d|%d|%s".
std::string FormatEnvironmentLine(const EnvironmentLine& line);

// The system environment key (HKEY_LOCAL_MACHINE).
extern const char kEnvironmentKeyPath[];

struct EnvironmentPass {
  bool ok = true;          // false: the environment could not be reached
  int linesDone = 0;       // lines applied or undone
  bool scriptChanged = false;
};

// NT family. ok is false only when the environment key cannot be opened.
EnvironmentPass ApplyEnvironmentRegistry(ScriptSection& section, Registry& registry,
                                         SettingsContext& context);
EnvironmentPass UndoEnvironmentRegistry(ScriptSection& section, Registry& registry,
                                        SettingsContext& context);

// 9x family, on AUTOEXEC.BAT read as a script (one item per line).
// linesDone > 0 means the document changed and has to be written back.
EnvironmentPass ApplyEnvironmentAutoexec(ScriptSection& section, SetupScript& autoexec,
                                         SettingsContext& context);
EnvironmentPass UndoEnvironmentAutoexec(ScriptSection& section, SetupScript& autoexec,
                                        SettingsContext& context);

// The whole step against the running system: the registry and a
// WM_SETTINGCHANGE broadcast on NT, AUTOEXEC.BAT in the root of the
// Windows drive (winDrive: "C:") on 9x. Windows builds only.
// ok is false when the step failed (environment key or AUTOEXEC.BAT not
// reachable); single lines that fail are skipped.
EnvironmentPass ApplyEnvironment(ScriptSection& section, Registry& registry,
                                 SettingsContext& context, const std::string& winDrive);
EnvironmentPass UndoEnvironment(ScriptSection& section, Registry& registry,
                                SettingsContext& context, const std::string& winDrive);
// The AUTOEXEC.BAT passes on a given file (tests use their own copy).
EnvironmentPass UpdateAutoexecFile(ScriptSection& section, SettingsContext& context,
                                   const std::string& path, bool install);
