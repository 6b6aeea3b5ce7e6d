// Applying and undoing a registry script against a Registry.
//
// The package's [[Registry]] group honours each line's prefix: flags
// (0x1 install, 0x2 remove, 0x40000000 no expansion), OS flags, mode (0 set
// when missing, 1 replace, 2 append) and separator. Undo takes out exactly
// what installation added:
// - mode 2 removes the appended element again and keeps what was there;
// - a mode 0 value that already existed is left alone: installation clears
//   the line's remove flag in the script, which is the removal's record;
// - keys are deleted upwards only while they are empty.
//
// A file's registry group is applied as written: no prefix test, no
// expansion; undo deletes every value and then the emptied keys.
#pragma once

#include "setup/engine/registry_access.h"
#include "setup/engine/regscript_context.h"
#include "setup/engine/regscript_walk.h"

class ScriptGroup;

// *scriptChanged is set when a line was rewritten (the script needs saving).
RegScriptResult ApplyRegScript(ScriptGroup& group, Registry& registry, SettingsContext& context,
                               bool* scriptChanged);
RegScriptResult UndoRegScript(ScriptGroup& group, Registry& registry, SettingsContext& context);

RegScriptResult ApplyFileRegGroup(ScriptGroup& group, Registry& registry);
RegScriptResult UndoFileRegGroup(ScriptGroup& group, Registry& registry);

// Text of a walk status for the log.
const char* RegScriptStatusText(RegScriptStatus status);
