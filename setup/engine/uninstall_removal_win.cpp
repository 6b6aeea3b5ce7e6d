#include "setup/engine/environment.h"
#include "setup/engine/ini_values.h"
#include "setup/engine/regscript_apply.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_steps.h"
#include "setup/engine/uninstall_removal.h"

namespace {
class EngineRemovalSteps : public RemovalSteps {
 public:
  explicit EngineRemovalSteps(SetupEngine& engine) : engine_(engine) {}
  void RemoveShortcuts() override { RemoveShortcutsAndGroup(engine_); }
  void UnregisterFiles() override { engine_.UnregisterFiles(); }
  void RestoreSettings() override {
    SetupScript& script = engine_.Script();
    if (ScriptSection* ini = script.Section("INI Values")) UndoIniValues(*ini, SystemIniFiles(), engine_);
    if (ScriptSection* env = script.Section("Environment"))
      UndoEnvironment(*env, engine_.Reg(), engine_,
                      engine_.Expand(engine_.Symbols().Value(kSymWinDrive)));
    if (ScriptGroup* registry = script.FindGroup("Registry"))
      UndoRegScript(*registry, engine_.Reg(), engine_);
  }
  void RemoveFiles() override { engine_.RemoveFiles(); }

 private:
  SetupEngine& engine_;
};
}  // namespace

bool RunRemoval(SetupEngine& engine, InstallRun& run, bool partial) {
  EngineRemovalSteps steps(engine);
  return RunRemovalSteps(engine, run, steps, partial);
}
