// The installation as the progress page runs it: five steps, each with its
// check box and its share of the bar (files 0-800, then 50 for each of the
// next three steps, 1000 at the end).
#pragma once

#include <cstdint>

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

// Windows builds. True when the installation completed (engine state 2).
bool RunInstallSequence(SetupEngine& engine, InstallRun& run, WindowProgressSink& progress,
                        uint32_t shortcutChoice);

// The registry script, App Paths, environment and INI values of the
// script. False when a failure that [Install] Ignore does not cover
// stops the installation.
bool ApplySystemSettings(SetupEngine& engine);
