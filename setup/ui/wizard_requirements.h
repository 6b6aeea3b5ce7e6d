// The checks made before an installation starts: the system requirements
// ([Install] Hardware, Software, IE; message 138, exit code 11) and the
// administrator rights ([Install] Options 0x2; message 129, exit code 10).
// Windows builds; the decisions themselves are in wizard_rules.h.
#pragma once

#include <functional>

#include "setup/app/system_info.h"

class ApplicationBase;
class SetupEngine;
struct SystemMeasure;

// The running system: class and service level, browser, display.
SystemMeasure MeasureSystem();

// False (with exit code 11) when the system falls short or the extension
// answers 2 to notification 3. Message 138 unless quiet.
bool CheckRequirements(SetupEngine& engine, ApplicationBase& app, bool quiet,
                       const std::function<int(int)>& notifyExtension);

// Drops the uninstall entry when its key is not writable; false (with exit
// code 10 and message 129 unless quiet) when administrator rights are
// required and missing. `isAdministrator` answers for the running user.
bool CheckAdministrator(SetupEngine& engine, ApplicationBase& app, bool quiet,
                        bool (*isAdministrator)() = UserIsAdministrator);
