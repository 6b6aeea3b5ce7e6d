// The installation as every run mode performs it: the requirement check,
// then five steps, each with its check box, its extension notifications
// and its [Action] phase, and its share of the bar (files 0-800, then 50
// for each of the next three steps, 1000 at the end). The wizard's
// progress page and the quiet run's progress window both run it.
#pragma once

#include <cstdint>
#include <functional>

class ApplicationBase;
class SetupEngine;
class WindowProgressSink;
struct InstallRun;

enum InstallStep {
  kStepFiles = 0,         // "Installing files..."
  kStepRegister = 1,      // "Registering files..."
  kStepShortcuts = 2,     // "Creating application shortcuts..."
  kStepSettings = 3,      // "Updating system settings..."
  kStepCleanUp = 4,       // "Cleaning up..."
  kInstallStepCount = 5,
};

constexpr int kFilesShare = 800;
constexpr int kStepShare = 50;

// What an installation needs besides the engine, its run and the display.
struct InstallRequest {
  ApplicationBase& app;  // title, exit code and message box of the requirement check
  bool quiet = false;    // message 138 is not shown
  // The extension DLL's answer to notification 3; empty: no extension.
  std::function<int(int)> notifyExtension;
  uint32_t shortcutChoice = 0;  // kLinkUserChoices bits
};

// Windows builds. True when the installation completed (engine state 2);
// the script, which every step has written its results into, is then
// marked changed so that the exit saves it as the installed copy.
// Unmet requirements stop it before anything is done (engine state left
// as it is, exit code 11).
bool RunInstallSequence(SetupEngine& engine, InstallRun& run, WindowProgressSink& progress,
                        const InstallRequest& request);

// The registry script, App Paths, environment and INI values of the
// script. False when a failure that [Install] Ignore does not cover
// stops the installation.
bool ApplySystemSettings(SetupEngine& engine);
