// The quiet and register runs: the small progress window (dialog 73) and
// the work it starts at once: installation, removal or registration run.
#include <windows.h>

#include <string>

#include "setup/app/app_run_hooks.h"
#include "setup/app/extension_host.h"
#include "setup/app/setup_app.h"
#include "setup/app/setup_app_progress.h"
#include "setup/app/setup_resource_ids.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_item.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/ui/install_sequence.h"
#include "setup/ui/uninstall_dialog.h"
#include "setup/ui/wizard_page.h"
#include "setup/ui/window_services.h"

namespace {

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

}  // namespace

// ---- ProgressDialog

bool ProgressDialog::OnInitDialog(HWND, LPARAM, LRESULT& result) {
  SetupApp& app = *SetupApp::Instance();
  if (app.resourceModule != app.moduleHandle) {
    HICON icon = LoadIconA(app.moduleHandle, MAKEINTRESOURCEA(IDI_SETUP));
    SendDlgItemMessageA(window, IDC_PROGRESS_ICON, STM_SETICON, WPARAM(icon), 0);
  }
  SetWindowTextA(window, app.title.c_str());
  FillTitleText(GetDlgItem(window, IDT_PROGRESS_WINDOW_TEXT), app.title);
  sink_.Attach(window, {IDT_PROGRESS_WINDOW_STATUS, IDC_PROGRESS_WINDOW_BAR, -1}, 0);
  CentreWindow(window);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  result = TRUE;
  return true;
}

void ProgressDialog::OnOK() {
  if (started_) return;
  started_ = true;
  SetupApp::Instance()->RunWork(sink_);
  Close(IDOK);
}

void ProgressDialog::OnCancel() {}  // the work ends the window, nothing else does

void ProgressDialog::OnDestroy() {
  sink_.Detach();
  Dialog::OnDestroy();
}

// ---- SetupApp

void SetupApp::RunWork(WindowProgressSink& progress) {
  if (!CheckAdministrator()) return;
  PumpFor(kStartDelay);
  switch (runMode_) {
    case kRunInstall:
      RunInstallation(progress);
      break;
    case kRunRemove:
      RunRemovalWithProgress(*engine_, run_, progress);
      RunFinalRemovalStep();
      break;
    case kRunRegister:
      if (hooks_) hooks_->SetStatusText([&progress](const std::string& text) { progress.Status(text); });
      if (RunRegistrationAfterRestart(*engine_, run_)) engine_->SetScriptChanged();
      else if (engine_->State() < kEngineFailed) engine_->SetState(kEngineFailed);
      if (hooks_) hooks_->SetStatusText(nullptr);
      break;
    case kRunAuto:
      break;
  }
  if (run_.exitCode) SetExitCode(run_.exitCode);
}

bool SetupApp::RunInstallation(WindowProgressSink& progress) {
  InstallRequest request{*this, Quiet(), ExtensionAnswers(), ShortcutChoices(engine_->Script())};
  return RunInstallSequence(*engine_, run_, progress, request);
}

std::function<int(int)> SetupApp::ExtensionAnswers() {
  ExtensionHost* extension = extension_.get();
  if (!extension) return nullptr;
  return [extension](int code) { return int(extension->Notify(uint32_t(code))); };
}
