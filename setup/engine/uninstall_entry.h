// The end of an installation and what undoes it: the uninstall entry, the
// RunOnce registration for after a restart, the copies of the removal's
// own files in the application folder, the saved Setup.ini; and the run
// that finishes registrations after the restart. Windows builds.
#pragma once

class SetupEngine;
struct InstallRun;

// The last installation step. False when the uninstall entry or the
// RunOnce value cannot be written (the installation has failed).
bool FinishInstallation(SetupEngine& engine, InstallRun& run);

// setup started by the RunOnce entry: registers what waited for the
// restart. False when a registration failed.
bool RunRegistrationAfterRestart(SetupEngine& engine, InstallRun& run);

// Writes the script to <AppFolder>\Setup.ini (read-only, hidden, system).
// A failure shows string 133 and sets exit code 4.
bool SaveInstalledScript(SetupEngine& engine, InstallRun& run);

// The removal's registry records: the uninstall key with its subkeys
// (when the installation made one) and this run's RunOnce value.
void DeleteUninstallRegistration(SetupEngine& engine, InstallRun& run);
