// The shortcut steps: the program group and each [ShellLink] section's
// links at installation, and at removal every link to the installed
// targets in those folders, then the emptied program group.
#pragma once

#include <cstdint>

class SetupEngine;
struct InstallRun;

// The installation step after file registration: extension notifications
// 16 and 17 around it, [Action] phase 0x30000 after it. userMask: the
// options page's three check boxes (kLinkUserChoices bits). False when
// the installation stops (program group failed and not ignored).
bool CreateShortcutsStep(SetupEngine& engine, InstallRun& run, uint32_t userMask);

// The step's own work, without notifications and actions.
bool CreateProgramGroupAndShortcuts(SetupEngine& engine, uint32_t userMask);
void RemoveShortcutsAndGroup(SetupEngine& engine);
