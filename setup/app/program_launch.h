// Starting a program for setup and waiting for it while the windows stay
// alive. The [Action] items and other steps that run programs go through
// a ProgramLauncher so that tests can watch what would start.
#pragma once

#include <cstdint>
#include <memory>

struct ProgramLaunch;
class SetupEngine;

class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // False when the program could not be started. With kActionWait the
  // call returns once it has ended, its timeout has passed or the user
  // cancelled; a program outliving its timeout is left running.
  virtual bool Run(const ProgramLaunch& launch) = 0;
};

// The real one (Windows builds; elsewhere every start fails). It pumps
// messages through the engine's progress sink every 100 ms of a wait.
// mainWindow: the HWND that owns ShellExecuteEx and is hidden with
// kActionHideWindow; may be null.
std::unique_ptr<ProgramLauncher> MakeSystemLauncher(SetupEngine& engine, void* mainWindow);

