// The removal run: the installation's records replayed backwards, each
// step wrapped in its extension notifications and [Action] phase. The
// steps themselves come from their own areas through RemovalSteps.
#pragma once

#include "setup/engine/install_run.h"

class SetupEngine;

class RemovalSteps {
 public:
  virtual ~RemovalSteps() = default;
  virtual void RemoveShortcuts() = 0;
  virtual void UnregisterFiles() = 0;
  virtual void RestoreSettings() = 0;  // INI values, environment, registry script
  virtual void RemoveFiles() = 0;
};

// Runs the steps in their order and sets run.filesRemoved. partial: the
// removal of an installation that did not finish (logged first). False
// when an action stopped the removal.
bool RunRemovalSteps(SetupEngine& engine, InstallRun& run, RemovalSteps& steps, bool partial);

// Windows builds: the engine's own steps (shortcuts, file registrations,
// settings, files).
bool RunRemoval(SetupEngine& engine, InstallRun& run, bool partial);
