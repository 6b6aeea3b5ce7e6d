#include "setup/ui/uninstall_dialog.h"

#include "setup/engine/install_run.h"
#include "setup/engine/self_delete.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/uninstall_records.h"
#include "setup/engine/uninstall_removal.h"
#include "setup/ui/application_base.h"
#include "setup/ui/progress_run_hooks.h"
#include "setup/ui/wizard_about_box.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/wizard_page.h"
#include "setup/ui/wizard_requirements.h"

namespace {

// Where each step leaves the bar (out of 1000).
constexpr int kStepEndPosition[kRemovalStepCount] = {100, 200, 300, 900};

// The engine's removal reports its steps through the extension
// notifications around them; this follows them with the check boxes and
// the bar and passes everything on to the run's own hooks.
class RemovalProgressHooks : public ProgressRunHooks {
 public:
  using ProgressRunHooks::ProgressRunHooks;

  void Notify(int message) override {
    inner_.Notify(message);
    for (int n = 0; n < kRemovalStepCount; ++n) {
      if (message == kSteps[n].before) progress_.BeginStep(n);
      if (message == kSteps[n].after) {
        progress_.EndStep(n);
        progress_.SetPosition(kStepEndPosition[n]);
      }
    }
    progress_.Poll();
  }

 private:
  struct StepNotifications {
    int before, after;
  };
  static constexpr StepNotifications kSteps[kRemovalStepCount] = {
      {kNotifyRemoveShortcutsBefore, kNotifyRemoveShortcutsAfter},
      {kNotifyUnregisterBefore, kNotifyUnregisterAfter},
      {kNotifyRestoreSettingsBefore, kNotifyRestoreSettingsAfter},
      {kNotifyRemoveFilesBefore, kNotifyRemoveFilesAfter},
  };
};

HBITMAP HeaderBitmap() {
  static HBITMAP loaded = nullptr;
  if (!loaded) {
    HMODULE module = FindResourceModule(reinterpret_cast<const char*>(RT_BITMAP), MAKEINTRESOURCEA(IDB_WIZARD2));
    if (module) loaded = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_WIZARD2));
  }
  return loaded;
}

}  // namespace

bool RunRemovalWithProgress(SetupEngine& engine, InstallRun& run, WindowProgressSink& progress) {
  progress.Reset();
  progress.BeginStep(kStepRemoveShortcuts);
  RunHooks* inner = run.hooks;
  RemovalProgressHooks hooks(run.Hooks(), progress);
  run.hooks = &hooks;
  ProgressSink* previous = &engine.Progress();
  engine.SetProgress(&progress);
  const bool ok = RunRemoval(engine, run, false);
  engine.SetProgress(previous);
  run.hooks = inner;
  progress.SetPosition(kProgressEnd);
  return ok;
}

UninstallDialog::UninstallDialog(SetupEngine& engine, RemovalContext& context)
    : engine_(engine), context_(context) {
  flags |= kWindowMain | kWindowCentreOnInit;
}

UninstallDialog::~UninstallDialog() {
  if (smallIcon_) DestroyIcon(smallIcon_);
}

bool UninstallDialog::OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) {
  Dialog::OnInitDialog(focus, lParam, result);
  HBITMAP header = context_.bitmap2 ? context_.bitmap2 : HeaderBitmap();
  if (header)
    SendDlgItemMessageA(window, IDC_HEADER_BITMAP, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(header));
  HINSTANCE module = context_.app.moduleHandle ? context_.app.moduleHandle : GetModuleHandleA(nullptr);
  if (HICON large = LoadIconA(module, MAKEINTRESOURCEA(1)))
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  smallIcon_ = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0));
  if (smallIcon_) SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  const std::string& title = context_.app.title;
  FillTitleText(window, title);
  FillTitleText(GetDlgItem(window, IDT_PAGE_TITLE), title);
  FillTitleText(GetDlgItem(window, IDT_PAGE_TEXT), title);
  progress_.Attach(window, {IDT_STATUS, IDC_PROGRESS_BAR, IDX_FIRST_STEP}, kRemovalStepCount);
  return true;
}

bool UninstallDialog::OnCommand(UINT code, UINT id, HWND control) {
  if (id == IDB_ABOUT) {
    ShowAboutBox(engine_, window);
    return true;
  }
  // No second removal, and no closing, while one runs.
  if (removing_ && (id == IDOK || id == IDCANCEL)) return true;
  return Dialog::OnCommand(code, id, control);
}

void UninstallDialog::OnOK() {
  if (!CheckAdministrator(engine_, context_.app, false)) return;
  removing_ = true;
  HWND uninstall = GetDlgItem(window, IDOK);
  HWND cancel = GetDlgItem(window, IDCANCEL);
  ShowWindow(uninstall, SW_HIDE);
  SendMessageA(uninstall, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  SendMessageA(window, DM_SETDEFID, IDCANCEL, 0);
  EnableWindow(cancel, FALSE);
  ShowWindow(GetDlgItem(window, IDT_UNINSTALL_PROMPT), SW_HIDE);
  RunRemovalWithProgress(engine_, context_.run, progress_);
  std::string finish;
  if (LoadStringText(IDS_FINISH, finish)) SetWindowTextA(cancel, finish.c_str());
  EnableWindow(cancel, TRUE);
  SetFocus(cancel);
  ShowWindow(GetDlgItem(window, IDT_UNINSTALL_DONE), SW_SHOW);
  removing_ = false;
}

void UninstallDialog::OnDestroy() {
  progress_.Detach();
  // The object goes with its window: the application must not keep it.
  if (context_.app.mainWindow == this) context_.app.mainWindow = nullptr;
  uint32_t helper = 0;
  if (RunFinalRemovalStep(engine_, context_.run, context_.removePartial, &helper))
    context_.helperProcessId = helper;
  Dialog::OnDestroy();
}

UninstallDialog* CreateUninstallDialog(SetupEngine& engine, RemovalContext& context) {
  auto* dialog = new UninstallDialog(engine, context);
  if (!dialog->CreateModelessDialog(MAKEINTRESOURCEA(IDD_UNINSTALL), nullptr)) {
    delete dialog;
    return nullptr;
  }
  dialog->flags |= kWindowDeleteOnDestroy;
  context.app.mainWindow = dialog;
  return dialog;
}
