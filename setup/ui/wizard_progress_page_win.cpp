#include "setup/ui/wizard_progress_page.h"

#include "setup/engine/setup_engine.h"
#include "setup/ui/application_base.h"
#include "setup/ui/install_sequence.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/wizard_rules.h"
#include "setup/ui/window_services.h"

namespace {
constexpr UINT kCancelQuestionStyle = MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2;  // 292
}

WizardProgressPage::WizardProgressPage(SetupEngine& engine, WizardContext& context)
    : WizardPage(IDD_PROGRESS, 0, engine, context) {}

bool WizardProgressPage::OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) {
  WizardPage::OnInitDialog(focus, lParam, result);
  context_.progress.Attach(window, {IDT_STATUS, IDC_PROGRESS_BAR, IDX_FIRST_STEP}, kInstallStepCount);
  engine_.SetProgress(&context_.progress);
  return true;
}

void WizardProgressPage::OnDestroy() {
  context_.progress.Detach();
  WizardPage::OnDestroy();
}

LRESULT WizardProgressPage::OnSetActive() {
  const LRESULT r = WizardPage::OnSetActive();
  if (r == 0 && !started_) PostMessageA(window, WM_COMMAND, IDC_RUN_INSTALLATION, 0);
  return r;
}

bool WizardProgressPage::OnCommand(UINT code, UINT id, HWND control) {
  if (id == IDC_RUN_INSTALLATION && !started_) {
    started_ = true;
    RunInstallation();
    return true;
  }
  return WizardPage::OnCommand(code, id, control);
}

void WizardProgressPage::RunInstallation() {
  RedrawWindow(Sheet(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  InstallRequest request{context_.app, false, context_.notifyExtension, context_.shortcutChoice};
  const bool done = RunInstallSequence(engine_, context_.run, context_.progress, request);
  nextPage = done ? IDD_COMPLETED : IDD_CANCELLED;
  // Lets the full bar show for a moment.
  Sleep(500);
  SendMessageA(Sheet(), PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
  PostMessageA(Sheet(), PSM_PRESSBUTTON, PSBTN_NEXT, 0);
}

bool WizardProgressPage::OnQueryCancel() {
  if (!context_.progress.Cancelled()) {
    const std::string text = FillText(LoadStringText(IDS_CANCEL_INSTALLATION), {Title()});
    if (context_.app.MessageBoxF(kCancelQuestionStyle, "%s", text.c_str()) == IDYES) context_.progress.Cancel();
  }
  return true;  // the sheet stays; the engine ends at its next poll
}
