// SetupApp: the main window for the run mode, and the places where the
// interactive windows plug in.
#include "setup/app/setup_app.h"
#include "setup/app/setup_app_progress.h"
#include "setup/app/setup_resource_ids.h"
#include "setup/engine/setup_engine.h"
#include "setup/ui/window_base.h"

bool SetupApp::CreateMainWindow() {
  WindowBase* window = nullptr;
  if (Quiet() || runMode_ == kRunRegister) {
    auto progress = std::make_unique<ProgressDialog>();
    progress->flags |= kWindowMain;
    if (progress->CreateModelessDialog(MAKEINTRESOURCEA(IDD_PROGRESS_WINDOW), nullptr))
      window = progress.release();
  } else if (runMode_ == kRunInstall) {
    window = CreateInstallWizard();
  } else {
    window = CreateUninstallDialog();
  }
  if (!window) return false;
  window_.reset(window);
  mainWindow = window;
  return true;
}

// The install wizard (the sheet with its pages) joins here: it takes the
// engine, Installation(), the bitmaps and the extension, and reports the cancelled
// page's choice through SetRemovePartialInstallation.
WindowBase* SetupApp::CreateInstallWizard() { return nullptr; }

// The interactive removal dialog joins here; its Finish ends with
// RunFinalRemovalStep.
WindowBase* SetupApp::CreateUninstallDialog() { return nullptr; }

// The self-delete helper's step joins here. Until then a removal that got
// through its steps counts as complete, leaving Setup.exe, Setup.ini and
// the folders they are in.
void SetupApp::RunFinalRemovalStep() {
  if (!Installation().filesRemoved && !removePartial_ && !Settings().rollback) return;
  if (Engine().State() == kEngineRunning) Engine().SetState(kEngineDone);
}
