#include "setup/ui/install_sequence.h"

#include "setup/app/extension_host.h"
#include "setup/app/program_action.h"
#include "setup/engine/app_paths.h"
#include "setup/engine/environment.h"
#include "setup/engine/ini_values.h"
#include "setup/engine/install_run.h"
#include "setup/engine/install_start.h"
#include "setup/engine/regscript_apply.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_steps.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/ui/progress_run_hooks.h"
#include "setup/ui/wizard_progress_sink.h"
#include "setup/ui/wizard_requirements.h"

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

// One step with its check box; false ends the installation, as does a
// failure the extension reported or a cancel seen after the step.
template <typename Step>
bool RunStep(WindowProgressSink& progress, SetupEngine& engine, int n, Step step) {
  progress.BeginStep(n);
  if (!step() || engine.State() >= kEngineFailed) return false;
  if (progress.Poll()) return engine.StepCancelled();
  progress.EndStep(n);
  return true;
}

// The step's work between its two notifications (before, before + 1),
// then the actions of its phase (0: none).
template <typename Work>
bool Notified(SetupEngine& engine, RunHooks& hooks, int before, uint32_t phase, Work work) {
  hooks.Notify(before);
  if (!work()) return false;
  hooks.Notify(before + 1);
  if (phase && !hooks.RunActions(phase)) return engine.StepFailed(kErrorClassFatal);
  return true;
}

bool RunSteps(SetupEngine& engine, InstallRun& run, WindowProgressSink& progress, uint32_t shortcutChoice) {
  RunHooks& hooks = run.Hooks();
  return RunStep(progress, engine, kStepFiles,
                 [&] {
                   if (!StartInstallation(engine, run)) return false;
                   return Notified(engine, hooks, kExtInstallFilesBefore, kPhaseAfterFiles, [&] {
                     progress.BeginSubTask(engine.RequiredSize(), kFilesShare);
                     if (!engine.InstallFiles()) return false;
                     progress.SetPosition(kFilesShare);
                     return true;
                   });
                 }) &&
         RunStep(progress, engine, kStepRegister,
                 [&] {
                   // Registrations that wait for replaced files run after the restart.
                   const uint32_t phase = engine.PendingReplacements().empty() ? uint32_t(kPhaseAfterRegisterFiles) : 0u;
                   if (!Notified(engine, hooks, kExtRegisterBefore, phase, [&] { return engine.RegisterFiles(); }))
                     return false;
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
                   if (!Notified(engine, hooks, kExtSettingsBefore, kPhaseAfterSettings,
                                 [&] { return ApplySystemSettings(engine); }))
                     return false;
                   progress.Advance(kStepShare);
                   return true;
                 }) &&
         RunStep(progress, engine, kStepCleanUp, [&] {
           if (!FinishInstallation(engine, run)) return false;
           progress.SetPosition(kProgressEnd);
           return true;
         });
}

}  // namespace

bool RunInstallSequence(SetupEngine& engine, InstallRun& run, WindowProgressSink& progress,
                        const InstallRequest& request) {
  if (!CheckRequirements(engine, request.app, request.quiet, request.notifyExtension)) return false;

  RunHooks* inner = run.hooks;
  ProgressRunHooks hooks(run.Hooks(), progress);
  run.hooks = &hooks;
  ProgressSink* previous = &engine.Progress();
  engine.SetProgress(&progress);
  const bool ok = RunSteps(engine, run, progress, request.shortcutChoice);
  if (!ok) {
    // A step that stopped without saying why leaves the engine failed.
    if (engine.State() < kEngineFailed) engine.SetState(kEngineCancelled);
    hooks.Notify(kExtWorkStopped);
  }
  engine.SetProgress(previous);
  run.hooks = inner;
  const bool done = ok && engine.State() == kEngineDone;
  // Every step wrote its results into the script: the installed copy.
  if (done) engine.SetScriptChanged();
  return done;
}
