// The quiet and register runs: the small progress window (dialog 73) and
// the work it starts at once: installation, removal or registration run.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "setup/app/app_run_hooks.h"
#include "setup/app/extension_host.h"
#include "setup/app/program_action.h"
#include "setup/app/setup_app.h"
#include "setup/app/setup_app_progress.h"
#include "setup/app/setup_resource_ids.h"
#include "setup/engine/app_paths.h"
#include "setup/engine/environment.h"
#include "setup/engine/ini_values.h"
#include "setup/engine/install_start.h"
#include "setup/engine/progress_sink.h"
#include "setup/engine/regscript_apply.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_item.h"
#include "setup/engine/shortcut_steps.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/engine/uninstall_removal.h"
#include "setup/ui/window_services.h"

namespace {

constexpr int kBarEnd = 1000;
constexpr DWORD kStartDelay = 500;

// Handles messages for the given time, so the window paints meanwhile.
void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (SetupApp* app = SetupApp::Instance()) app->ProcessMessages();
    const DWORD spent = GetTickCount() - start;
    if (spent >= milliseconds) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - spent, QS_ALLINPUT);
  }
}

// The registry script, App Paths, environment and INI values.
bool ApplySettings(SetupEngine& engine) {
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

// A step between its extension notifications, then its [Action] phase.
template <typename Work>
bool Step(SetupEngine& engine, RunHooks& hooks, int before, Work work, uint32_t phase) {
  hooks.Notify(before);
  if (!work()) return false;
  hooks.Notify(before + 1);
  if (phase && !hooks.RunActions(phase)) return engine.StepFailed(kErrorClassFatal);
  return engine.State() < kEngineFailed;
}

}  // namespace

// ---- ProgressWindowSink

void ProgressWindowSink::Attach(HWND window) {
  window_ = window;
  SendDlgItemMessageA(window_, IDC_PROGRESS_WINDOW_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, kBarEnd));
  SetPosition(0);
}

void ProgressWindowSink::SetPosition(int position) {
  position_ = position < 0 ? 0 : position > kBarEnd ? kBarEnd : position;
  if (window_) SendDlgItemMessageA(window_, IDC_PROGRESS_WINDOW_BAR, PBM_SETPOS, WPARAM(position_), 0);
}

void ProgressWindowSink::Status(const std::string& text) {
  if (window_) SetDlgItemTextA(window_, IDT_PROGRESS_WINDOW_STATUS, text.c_str());
}

void ProgressWindowSink::Add(uint32_t n) {
  done_ += n;
  if (total_) SetPosition(int(done_ >= total_ ? kBarEnd : done_ * kBarEnd / total_));
}

bool ProgressWindowSink::Poll() {
  if (SetupApp* app = SetupApp::Instance()) app->ProcessMessages();
  return false;  // the window has no Cancel
}

void ProgressWindowSink::SetRange(uint64_t total) {
  total_ = total;
  done_ = 0;
}

// ---- ProgressDialog

bool ProgressDialog::OnInitDialog(HWND, LPARAM, LRESULT& result) {
  SetupApp& app = *SetupApp::Instance();
  if (app.resourceModule != app.moduleHandle) {
    HICON icon = LoadIconA(app.moduleHandle, MAKEINTRESOURCEA(IDI_SETUP));
    SendDlgItemMessageA(window, IDC_PROGRESS_ICON, STM_SETICON, WPARAM(icon), 0);
  }
  SetWindowTextA(window, app.title.c_str());
  char format[512] = {};
  GetDlgItemTextA(window, IDT_PROGRESS_WINDOW_TEXT, format, sizeof format);
  char text[1024];
  snprintf(text, sizeof text, format, app.title.c_str());
  SetDlgItemTextA(window, IDT_PROGRESS_WINDOW_TEXT, text);
  sink_.Attach(window);
  CentreWindow(window);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  result = TRUE;
  return true;
}

void ProgressDialog::OnOK() {
  if (started_) return;
  started_ = true;
  SetupApp::Instance()->RunWork(&sink_, this);
  Close(IDOK);
}

void ProgressDialog::OnCancel() {}  // the work ends the window, nothing else does

// ---- SetupApp

void SetupApp::RunWork(ProgressSink* progress, ProgressStatus* status) {
  if (!CheckAdministrator()) return;
  PumpFor(kStartDelay);
  if (status && hooks_) hooks_->SetStatusText([status](const std::string& text) { status->Status(text); });
  engine_->SetProgress(progress);
  switch (runMode_) {
    case kRunInstall:
      RunInstallation();
      break;
    case kRunRemove:
      RunRemoval(*engine_, run_, false);
      RunFinalRemovalStep();
      break;
    case kRunRegister:
      if (RunRegistrationAfterRestart(*engine_, run_)) engine_->SetScriptChanged();
      else if (engine_->State() < kEngineFailed) engine_->SetState(kEngineFailed);
      break;
    case kRunAuto:
      break;
  }
  engine_->SetProgress(nullptr);
  if (hooks_) hooks_->SetStatusText(nullptr);
  if (run_.exitCode) SetExitCode(run_.exitCode);
}

bool SetupApp::RunInstallation() {
  SetupEngine& engine = *engine_;
  RunHooks& hooks = run_.Hooks();
  const uint32_t shortcuts = ShortcutChoices(engine.Script());
  const bool ok =
      StartInstallation(engine, run_) &&
      Step(engine, hooks, kExtInstallFilesBefore, [&] { return engine.InstallFiles(); },
           kPhaseAfterFiles) &&
      Step(engine, hooks, kExtRegisterBefore, [&] { return engine.RegisterFiles(); }, 0) &&
      CreateShortcutsStep(engine, run_, shortcuts) &&
      Step(engine, hooks, kExtSettingsBefore, [&] { return ApplySettings(engine); },
           kPhaseAfterSettings) &&
      FinishInstallation(engine, run_);
  // A step that stopped without saying why leaves the engine failed.
  if (!ok && engine.State() < kEngineFailed) engine.SetState(kEngineCancelled);
  // Every step wrote its results into the script: the installed copy.
  if (ok && engine.State() == kEngineDone) engine.SetScriptChanged();
  return ok && engine.State() == kEngineDone;
}
