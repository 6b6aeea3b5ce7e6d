// The removal's final step: the uninstall key and this run's RunOnce value
// go, and the self-delete helper _QexDel (resource RCDATA 1 of the program)
// is written into the temporary folder and started with the list of what
// setup cannot delete while it runs: its own Setup.exe, Setup.ini and the
// recorded folders (self_delete_list.h). Windows builds.
#pragma once

#include <cstdint>

class SetupEngine;
struct InstallRun;

// Resource type and id of the helper program inside setup.
constexpr int kHelperResourceId = 1;
constexpr char kHelperFileName[] = "_QexDel.exe";

// Does nothing unless the files were removed (run.filesRemoved) or the
// user chose to remove a partial installation. True when the helper was
// started; its process id then goes to *helperProcessId (may be null).
// On success the helper waits at idle priority while this process runs at
// high priority, so setup should end promptly.
bool RunFinalRemovalStep(SetupEngine& engine, InstallRun& run, bool removePartial,
                         uint32_t* helperProcessId = nullptr);
