#include "setup/ui/wizard_install_sequence.h"

#include "setup/engine/app_paths.h"
#include "setup/engine/environment.h"
#include "setup/engine/ini_values.h"
#include "setup/engine/install_run.h"
#include "setup/engine/install_start.h"
#include "setup/engine/regscript_apply.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_steps.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/ui/wizard_progress_sink.h"

bool ApplySystemSettings(SetupEngine& engine) {
  SetupScript& script = engine.Script();
  if (ScriptGroup* registry = script.FindGroup("Registry")) {
    bool changed = false;
    if (!ApplyRegScript(*registry, engine.Reg(), engine, &changed).ok() &&
        !engine.StepFailed(kErrorClassRegistry))
      return false;
  }
  if (engine.Install().Has(kOptAppPaths))
    if (ScriptSection* install = script.Section("Install")) RegisterAppPathsFromScript(*install, engine);
  if (ScriptSection* env = script.Section("Environment"))
    ApplyEnvironment(*env, engine.Reg(), engine, engine.Expand(engine.Symbols().Value(kSymWinDrive)));
  if (ScriptSection* ini = script.Section("INI Values")) ApplyIniValues(*ini, SystemIniFiles(), engine);
  return true;
}

namespace {

// Runs one step with its check box; false ends the installation, as does
// a cancel seen after the step.
template <typename Step>
bool RunStep(WindowProgressSink& progress, SetupEngine& engine, int n, Step step) {
  progress.BeginStep(n);
  if (!step()) return false;
  if (progress.Poll()) return engine.StepCancelled();
  progress.EndStep(n);
  return true;
}

}  // namespace

bool RunInstallSequence(SetupEngine& engine, InstallRun& run, WindowProgressSink& progress,
                        uint32_t shortcutChoice) {
  const bool ok =
      RunStep(progress, engine, kStepFiles,
              [&] {
                if (!StartInstallation(engine, run)) return false;
                progress.BeginSubTask(engine.RequiredSize(), kFilesShare);
                if (!engine.InstallFiles()) return false;
                progress.SetPosition(kFilesShare);
                return true;
              }) &&
      RunStep(progress, engine, kStepRegister,
              [&] {
                if (!engine.RegisterFiles()) return false;
                progress.Advance(kStepShare);
                return true;
              }) &&
      RunStep(progress, engine, kStepShortcuts,
              [&] {
                if (!CreateShortcutsStep(engine, run, shortcutChoice)) return false;
                progress.Advance(kStepShare);
                return true;
              }) &&
      RunStep(progress, engine, kStepSettings,
              [&] {
                if (!ApplySystemSettings(engine)) return false;
                progress.Advance(kStepShare);
                return true;
              }) &&
      RunStep(progress, engine, kStepCleanUp, [&] {
        if (!FinishInstallation(engine, run)) return false;
        progress.SetPosition(kProgressEnd);
        return true;
      });
  // A step that stopped without saying why leaves the engine failed.
  if (!ok && engine.State() < kEngineFailed) engine.SetState(kEngineCancelled);
  return ok && engine.State() == kEngineDone;
}
