// Linux stand-in: there is nothing to start.
#include "setup/app/program_launch.h"

#include "setup/app/program_action.h"

namespace {
class NoLauncher : public ProgramLauncher {
 public:
  bool Run(const ProgramLaunch&) override { return false; }
};
}  // namespace

std::unique_ptr<ProgramLauncher> MakeSystemLauncher(SetupEngine&, void*) {
  return std::make_unique<NoLauncher>();
}
