#include "setup/ui/wizard_sheet.h"

#include <cstdint>

#include "setup/engine/setup_engine.h"
#include "setup/ui/application_base.h"
#include "setup/ui/wizard.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/window_services.h"

namespace {

// Skips a menu, class or title field: none, an ordinal or a string.
const uint8_t* SkipNameOrOrdinal(const uint8_t* p) {
  const uint16_t* w = reinterpret_cast<const uint16_t*>(p);
  if (*w == 0xFFFF) return p + 4;
  while (*w) ++w;
  return reinterpret_cast<const uint8_t*>(w + 1);
}

const uint8_t* AlignToDword(const uint8_t* p, const uint8_t* base) {
  return base + ((p - base + 3) & ~std::ptrdiff_t(3));
}

struct ItemRect {
  int16_t* x;  // x, y, cx, cy follow each other
  uint16_t id;
};

}  // namespace

void AdjustWizardTemplate(DLGTEMPLATE* dialogTemplate) {
  uint8_t* base = reinterpret_cast<uint8_t*>(dialogTemplate);
  const bool extended = reinterpret_cast<uint16_t*>(base)[1] == 0xFFFF;
  DWORD* style;
  uint16_t count;
  int16_t* size;  // x, y, cx, cy of the dialog
  const uint8_t* p;
  if (extended) {
    style = reinterpret_cast<DWORD*>(base + 12);
    count = *reinterpret_cast<uint16_t*>(base + 16);
    size = reinterpret_cast<int16_t*>(base + 18);
    p = base + 26;
  } else {
    style = reinterpret_cast<DWORD*>(base);
    count = *reinterpret_cast<uint16_t*>(base + 8);
    size = reinterpret_cast<int16_t*>(base + 10);
    p = base + 18;
  }
  *style &= ~DWORD(WS_SYSMENU);
  p = SkipNameOrOrdinal(p);  // menu
  p = SkipNameOrOrdinal(p);  // class
  p = SkipNameOrOrdinal(p);  // title
  if (*style & (DS_SETFONT | DS_SHELLFONT)) {
    p += extended ? 6 : 2;
    p = SkipNameOrOrdinal(p);
  }
  int16_t* frame = nullptr;
  int16_t* separator = nullptr;
  for (uint16_t i = 0; i < count; ++i) {
    p = AlignToDword(p, base);
    uint8_t* item = const_cast<uint8_t*>(p);
    int16_t* rect = reinterpret_cast<int16_t*>(item + (extended ? 12 : 8));
    const uint16_t id = extended ? uint16_t(*reinterpret_cast<uint32_t*>(item + 20))
                                 : *reinterpret_cast<uint16_t*>(item + 16);
    if (id == kSheetPageFrame) frame = rect;
    if (id == kSheetSeparator) separator = rect;
    p = item + (extended ? 24 : 18);
    p = SkipNameOrOrdinal(p);  // class
    p = SkipNameOrOrdinal(p);  // title
    p += 2 + *reinterpret_cast<const uint16_t*>(p);  // creation data
  }
  const int16_t width = size[2];
  if (separator) {
    separator[0] = 0;
    separator[2] = width;
  }
  if (frame) {
    frame[0] = 0;
    frame[1] = 0;
    frame[2] = width;
    if (separator) frame[3] = separator[1];
  }
}

WizardSheet::WizardSheet(SetupEngine& engine, WizardContext& context)
    : engine_(engine), context_(context) {
  header.dwFlags = PSH_WIZARD | PSH_NOAPPLYNOW;
  flags |= kWindowMain;
}

void WizardSheet::OnPreCreate(DLGTEMPLATE* dialogTemplate) { AdjustWizardTemplate(dialogTemplate); }

void WizardSheet::AddAboutButton() {
  HWND cancel = GetDlgItem(window, IDCANCEL);
  HWND separator = GetDlgItem(window, kSheetSeparator);
  if (!cancel || !separator) return;
  RECT c, s;
  GetWindowRect(cancel, &c);
  GetWindowRect(separator, &s);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&c), 2);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&s), 2);
  // Mirrored about the separator's centre: Cancel's right margin on the left.
  const int x = s.left + (s.right - c.right);
  std::string text;
  if (!LoadStringText(IDS_ABOUT, text)) text = "&About...";
  HWND about = CreateWindowExA(0, "BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                               x, c.top, c.right - c.left, c.bottom - c.top, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDB_ABOUT)),
                               GetModuleHandleA(nullptr), nullptr);
  if (about) SendMessageA(about, WM_SETFONT, SendMessageA(window, WM_GETFONT, 0, 0), TRUE);
}

void WizardSheet::OnInitialised() {
  HMODULE module = GetModuleHandleA(nullptr);
  if (HICON icon = LoadIconA(module, MAKEINTRESOURCEA(1)))
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  AddAboutButton();
  static const struct { int control; UINT string; } kTexts[] = {
      {kSheetBack, IDS_BACK}, {kSheetNext, IDS_NEXT}, {kSheetFinish, IDS_FINISH},
      {IDCANCEL, IDS_CANCEL}, {kSheetHelp, IDS_HELP}};
  for (const auto& t : kTexts) {
    std::string text;
    HWND button = GetDlgItem(window, t.control);
    if (button && LoadStringText(t.string, text)) SetWindowTextA(button, text.c_str());
  }
  // The screen size is read once per process.
  static const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  static const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT r;
  GetWindowRect(window, &r);
  SetWindowPos(window, nullptr, (screenWidth - (r.right - r.left)) / 2,
               (screenHeight - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WizardSheet::OnCommand(UINT code, UINT id, HWND control) {
  if (id == IDB_ABOUT && code == BN_CLICKED) {
    context_.app.ShowAbout();
    return true;
  }
  return PropertySheetWindow::OnCommand(code, id, control);
}

bool WizardSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_QUERYENDSESSION) {
    // Ending the session would cut the installation short: refuse, and
    // restart once setup has finished.
    engine_.SetRestartNeeded();
    context_.app.exitCode = 12;
    result = 0;
    return true;
  }
  return PropertySheetWindow::WindowProc(message, wParam, lParam, result);
}
