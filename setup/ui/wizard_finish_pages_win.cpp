#include "setup/ui/wizard_finish_pages.h"

#include <shellapi.h>

#include "setup/engine/setup_engine.h"
#include "setup/ui/wizard_ids.h"

namespace {
void HideCancel(HWND sheet) {
  if (HWND cancel = GetDlgItem(sheet, IDCANCEL)) ShowWindow(cancel, SW_HIDE);
}
}  // namespace

WizardCompletedPage::WizardCompletedPage(SetupEngine& engine, WizardContext& context)
    : WizardPage(IDD_COMPLETED, PSWIZB_FINISH, engine, context) {}

LRESULT WizardCompletedPage::OnSetActive() {
  Show(IDX_START_APPLICATION, false);
  Show(IDX_SHOW_README, false);
  const bool restart = engine_.RestartNeeded();
  Show(IDT_RESTART_QUESTION, restart);
  Show(IDR_RESTART_NOW, restart);
  Show(IDR_RESTART_LATER, restart);
  if (!restart) {
    // A restart comes first: the application is not offered before it.
    Show(IDX_START_APPLICATION, !engine_.Install().runAppPath.empty());
    Show(IDX_SHOW_README, !engine_.Install().readmePath.empty());
  }
  HideCancel(Sheet());
  return WizardPage::OnSetActive();
}

bool WizardCompletedPage::ExchangeData(bool save) {
  const bool restart = engine_.RestartNeeded();
  if (!save) {
    if (restart) {
      CheckRadioButton(window, IDR_RESTART_NOW, IDR_RESTART_LATER, IDR_RESTART_NOW);
    } else {
      CheckDlgButton(window, IDX_START_APPLICATION, BST_CHECKED);
      CheckDlgButton(window, IDX_SHOW_README, BST_CHECKED);
    }
    return true;
  }
  if (restart) {
    if (IsDlgButtonChecked(window, IDR_RESTART_NOW) != BST_CHECKED) engine_.ClearRestartNeeded();
    return true;
  }
  const InstallSettings& install = engine_.Install();
  // Only what is shown is acted on: a hidden box names no file.
  if (IsWindowVisible(Item(IDX_START_APPLICATION)) && IsDlgButtonChecked(window, IDX_START_APPLICATION)) {
    const std::string path = engine_.Expand(install.runAppPath);
    const std::string args = engine_.Expand(install.runAppArgs);
    ShellExecuteA(window, "open", path.c_str(), args.empty() ? nullptr : args.c_str(), nullptr, SW_SHOWNORMAL);
  }
  if (IsWindowVisible(Item(IDX_SHOW_README)) && IsDlgButtonChecked(window, IDX_SHOW_README)) {
    const std::string path = engine_.Expand(install.readmePath);
    ShellExecuteA(window, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  return true;
}

WizardCancelledPage::WizardCancelledPage(SetupEngine& engine, WizardContext& context)
    : WizardPage(IDD_CANCELLED, PSWIZB_FINISH, engine, context) {}

LRESULT WizardCancelledPage::OnSetActive() {
  Show(IDT_REMOVE_QUESTION, true);
  Show(IDR_REMOVE_PARTIAL, true);
  Show(IDR_KEEP_PARTIAL, true);
  HideCancel(Sheet());
  return WizardPage::OnSetActive();
}

bool WizardCancelledPage::ExchangeData(bool save) {
  if (!save) {
    CheckRadioButton(window, IDR_REMOVE_PARTIAL, IDR_KEEP_PARTIAL, IDR_REMOVE_PARTIAL);
    return true;
  }
  context_.removePartialInstallation = IsDlgButtonChecked(window, IDR_REMOVE_PARTIAL) == BST_CHECKED;
  return true;
}
