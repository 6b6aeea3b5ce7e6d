// SetupApp: the main window for the run mode: the progress window of quiet
// and register runs, the install wizard, or the removal dialog; and the
// removal's final step.
#include "setup/app/app_run_hooks.h"
#include "setup/app/setup_app.h"
#include "setup/app/setup_app_progress.h"
#include "setup/app/setup_resource_ids.h"
#include "setup/engine/self_delete.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_item.h"
#include "setup/ui/uninstall_dialog.h"
#include "setup/ui/window_base.h"
#include "setup/ui/wizard.h"
#include "setup/ui/wizard_sheet.h"

bool SetupApp::CreateMainWindow() {
  if (Quiet() || runMode_ == kRunRegister) {
    auto progress = std::make_unique<ProgressDialog>();
    progress->flags |= kWindowMain;
    if (!progress->CreateModelessDialog(MAKEINTRESOURCEA(IDD_PROGRESS_WINDOW), nullptr)) return false;
    window_ = std::move(progress);
    mainWindow = window_.get();
    return true;
  }
  if (runMode_ == kRunInstall) {
    WindowBase* wizard = CreateInstallWizard();
    if (!wizard) return false;
    window_.reset(wizard);
    mainWindow = wizard;
    return true;
  }
  mainWindow = CreateUninstallDialog();
  return mainWindow != nullptr;
}

WindowBase* SetupApp::CreateInstallWizard() {
  wizard_ = std::make_unique<WizardContext>(*this, run_);
  WizardContext& context = *wizard_;
  context.bitmap1 = bitmap1_;
  context.bitmap2 = bitmap2_;
  context.shortcutChoice = context.defaultShortcutChoice = ShortcutChoices(engine_->Script());
  context.notifyExtension = ExtensionAnswers();
  return ::CreateInstallWizard(*engine_, context).release();
}

WindowBase* SetupApp::CreateUninstallDialog() {
  removal_ = std::make_unique<RemovalContext>(*this, run_);
  removal_->bitmap2 = bitmap2_;
  removal_->removePartial = removePartial_;
  return ::CreateUninstallDialog(*engine_, *removal_);
}

void SetupApp::RunFinalRemovalStep() {
  ::RunFinalRemovalStep(*engine_, run_, removePartial_);
}
