#include "setup/engine/uninstall_removal.h"

#include "setup/app/setup_log.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/symbol.h"
#include "setup/engine/uninstall_records.h"

bool RunRemovalSteps(SetupEngine& engine, InstallRun& run, RemovalSteps& steps, bool partial) {
  RunHooks& hooks = run.Hooks();
  const std::string title = engine.Expand(engine.Symbols().Value(kSymAppTitle));
  if (partial) SetupLog::Instance().Event(kEventRemovalOfPartial, {title.c_str()});
  SetupLog::Instance().Event(kEventRemovalStart, {title.c_str()});
  hooks.Notify(kNotifyWorkBegins);
  engine.SetState(kEngineRunning);
  if (run.setupExePath.empty()) run.setupExePath = run.executable;
  if (!hooks.RunActions(kPhaseRemovalStart)) return false;

  struct Step {
    void (RemovalSteps::*op)();
    int before, after;
    uint32_t phase;
  };
  static const Step kOrder[] = {
      {&RemovalSteps::RemoveShortcuts, kNotifyRemoveShortcutsBefore, kNotifyRemoveShortcutsAfter,
       kPhaseAfterRemoveShortcuts},
      {&RemovalSteps::UnregisterFiles, kNotifyUnregisterBefore, kNotifyUnregisterAfter,
       kPhaseAfterUnregister},
      {&RemovalSteps::RestoreSettings, kNotifyRestoreSettingsBefore, kNotifyRestoreSettingsAfter,
       kPhaseAfterRestoreSettings},
      {&RemovalSteps::RemoveFiles, kNotifyRemoveFilesBefore, kNotifyRemoveFilesAfter,
       kPhaseAfterRemoveFiles},
  };
  for (const Step& step : kOrder) {
    hooks.Notify(step.before);
    (steps.*step.op)();
    hooks.Notify(step.after);
    const bool goOn = hooks.RunActions(step.phase);
    if (step.op == &RemovalSteps::RemoveFiles) {
      run.filesRemoved = true;
      SetupLog::Instance().Event(kEventFilesRemoved);
    }
    if (!goOn) return false;
  }
  return true;
}
