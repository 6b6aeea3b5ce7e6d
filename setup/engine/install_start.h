// The first step of an installation: the previous version goes, the
// application folder is made, and setup leaves a copy of itself there as
// Setup.exe (without the package archive) for the removal to run.
#pragma once

#include <string>

class SetupEngine;
struct InstallRun;

// Windows builds. False when the installation stops (the engine state and
// run.exitCode say why).
bool StartInstallation(SetupEngine& engine, InstallRun& run);

// Copies the running setup to target: only the program in front of the
// archive when the stamp is valid, with the source's attributes and
// last-write time, then read-only, hidden and system. A failed copy
// leaves no partial file.
bool CopySetupProgram(const std::string& source, const std::string& target);
