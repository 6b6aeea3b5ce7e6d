#include "setup/ui/wizard_options_page.h"

#include "setup/engine/disk_space.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/symbol_runtime.h"
#include "setup/ui/application_base.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/wizard_rules.h"
#include "setup/ui/window_services.h"

namespace {
constexpr int kNotifyOptionsShown = 10;
constexpr int kNotifyOptionsChosen = 11;
constexpr UINT kFolderQuestionStyle = MB_ICONEXCLAMATION | MB_OKCANCEL | MB_DEFBUTTON2;  // 305
constexpr int kMaxFolder = 255;

struct ShortcutBox {
  int id;
  uint32_t bit;
};
constexpr ShortcutBox kShortcutBoxes[] = {{IDX_DESKTOP, 0x1}, {IDX_START_MENU, 0x2}, {IDX_PROGRAMS_MENU, 0x4}};
}  // namespace

WizardOptionsPage::WizardOptionsPage(SetupEngine& engine, WizardContext& context)
    : WizardPage(IDD_OPTIONS, PSWIZB_BACK | PSWIZB_NEXT, engine, context) {}

bool WizardOptionsPage::OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) {
  WizardPage::OnInitDialog(focus, lParam, result);
  SendDlgItemMessageA(window, IDE_FOLDER, EM_LIMITTEXT, kMaxFolder, 0);
  if (engine_.Install().Has(kOptFixedFolder)) {
    HWND edit = Item(IDE_FOLDER);
    SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    SetWindowLongPtrA(edit, GWL_STYLE, GetWindowLongPtrA(edit, GWL_STYLE) & ~LONG_PTR(WS_TABSTOP));
    if (HWND label = Item(-1)) {
      char text[256];
      GetWindowTextA(label, text, sizeof(text));
      std::string plain;
      for (const char* c = text; *c; ++c)
        if (*c != '&') plain += *c;
      SetWindowTextA(label, plain.c_str());
    }
    Show(IDB_BROWSE, false);
  }
  return true;
}

std::string WizardOptionsPage::Folder() const {
  char text[kMaxFolder + 1] = "";
  GetDlgItemTextA(window, IDE_FOLDER, text, sizeof(text));
  return text;
}

void WizardOptionsPage::RefreshAvailable() {
  const std::string root = DiskRootOf(Folder());
  if (rootKnown_ && root == lastRoot_) return;
  rootKnown_ = true;
  lastRoot_ = root;
  available_ = 0;
  if (!root.empty() && !FreeDiskSpace(root, &available_)) available_ = 0;
  SetDlgItemTextA(window, IDT_SPACE_AVAILABLE, KilobyteText(available_).c_str());
}

bool WizardOptionsPage::ExchangeData(bool save) {
  if (!save) {
    context_.Notify(kNotifyOptionsShown);
    required_ = engine_.RequiredSize();
    SetDlgItemTextA(window, IDE_FOLDER, engine_.Expand(engine_.Symbols().Value(kSymAppFolder)).c_str());
    SetDlgItemTextA(window, IDT_SPACE_REQUIRED, KilobyteText(required_).c_str());
    rootKnown_ = false;
    RefreshAvailable();
    for (const ShortcutBox& box : kShortcutBoxes)
      CheckDlgButton(window, box.id, (context_.shortcutChoice & box.bit) ? BST_CHECKED : BST_UNCHECKED);
    ReplaceNextText(IDS_INSTALL);
    return true;
  }

  const std::string folder = TrimTrailingBackslashes(Folder());
  const std::string root = DiskRootOf(folder);
  const UINT type = root.empty() ? DRIVE_NO_ROOT_DIR : GetDriveTypeA(root.c_str());
  if (type != DRIVE_FIXED && type != DRIVE_REMOTE) {
    // A folder without a drive or share cannot be installed into at all.
    if (!ConfirmFolder(IDS_NOT_A_HARD_DISK, folder) || root.empty()) return false;
  }
  RefreshAvailable();
  if (required_ >= available_ && !ConfirmFolder(IDS_NOT_ENOUGH_SPACE, folder)) return false;

  engine_.Symbols().SetValue(kSymAppFolder, folder);
  uint32_t choice = 0;
  for (const ShortcutBox& box : kShortcutBoxes)
    if (IsDlgButtonChecked(window, box.id) == BST_CHECKED) choice |= box.bit;
  context_.shortcutChoice = choice;
  const int answer = context_.Notify(kNotifyOptionsChosen);
  return answer == 0 || answer == 1;
}

bool WizardOptionsPage::ConfirmFolder(UINT stringId, const std::string& folder) {
  const std::string text = FillText(LoadStringText(stringId), {folder});
  if (context_.app.MessageBoxF(kFolderQuestionStyle, "%s", text.c_str()) == IDOK) return true;
  HWND edit = Item(IDE_FOLDER);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  return false;
}

bool WizardOptionsPage::OnKillActive() {
  const bool stay = WizardPage::OnKillActive();
  if (!stay) RestoreNextText();
  return stay;
}

void WizardOptionsPage::Browse() {
  std::string picked;
  if (!BrowseForFolder(window, IDS_BROWSE_TITLE, Folder().c_str(), picked)) return;
  const std::string defaultFolder = engine_.Expand(engine_.DefaultAppFolder());
  SetDlgItemTextA(window, IDE_FOLDER, BrowsedFolder(picked, defaultFolder).c_str());
  RefreshAvailable();
}

void WizardOptionsPage::RestoreDefaults() {
  engine_.Symbols().SetValue(kSymAppFolder, engine_.DefaultAppFolder());
  context_.shortcutChoice = context_.defaultShortcutChoice;
  ExchangeData(false);
}

bool WizardOptionsPage::OnCommand(UINT code, UINT id, HWND control) {
  switch (id) {
    case IDE_FOLDER:
      if (code == EN_CHANGE) RefreshAvailable();
      return true;
    case IDB_BROWSE:
      if (code == BN_CLICKED) Browse();
      return true;
    case IDB_DEFAULT:
      if (code == BN_CLICKED) RestoreDefaults();
      return true;
  }
  return WizardPage::OnCommand(code, id, control);
}
