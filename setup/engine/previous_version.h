// Removing a previous installation before installing: its registered
// uninstall command runs (quietly, as an upgrade removal, when it is one
// of ours) and is waited for, then its self-delete helper.
#pragma once

class SetupEngine;
struct InstallRun;

// Windows builds. False when the previous version stays and so the
// installation stops (exit code 14, the engine failed).
bool RemovePreviousInstallation(SetupEngine& engine, InstallRun& run);
