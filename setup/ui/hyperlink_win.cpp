#include "setup/ui/hyperlink.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>

namespace {

// The text is read into a buffer of this many characters.
constexpr int kMaxLinkText = 388;
constexpr int kHandCursor = 32649;

}  // namespace

bool Hyperlink::Create(HWND parent, int id) {
  if (!SubclassDialogItem(parent, id))
    return false;
  HFONT current = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (!current)
    current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA lf = {};
  GetObjectA(current, sizeof(lf), &lf);
  lf.lfUnderline = TRUE;
  underlined_.reset(CreateFontIndirectA(&lf));
  if (underlined_)
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(underlined_.get()), TRUE);
  hand_ = LoadCursorResource(MAKEINTRESOURCEA(kHandCursor));
  if (!hand_)
    hand_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(kHandCursor));
  if (!hand_)  // Windows 95 and NT 4 have no hand cursor
    hand_ = LoadCursorA(nullptr, IDC_ARROW);
  return true;
}

bool Hyperlink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT& result) {
  switch (message) {
    case WM_NCHITTEST:
      result = HTCLIENT;
      return true;
    case WM_SETCURSOR:
      SetCursor(hand_);
      result = TRUE;
      return true;
    case WM_CTLCOLORSTATIC + kReflectedMessage: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 255));
      SetBkMode(dc, TRANSPARENT);
      result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    }
    case WM_LBUTTONUP:
      Follow();
      return false;
    case WM_DESTROY:
      // The control must not keep a deleted font for its last moments.
      SendMessageA(window, WM_SETFONT, 0, FALSE);
      underlined_.reset();
      return false;
  }
  return WindowBase::WindowProc(message, wParam, lParam, result);
}

void Hyperlink::Follow() {
  char text[kMaxLinkText + 1] = {};
  GetWindowTextA(window, text, sizeof(text));
  const char* lineFeed = std::strchr(text, '\n');
  if (!lineFeed || !lineFeed[1])
    return;
  const char* target = lineFeed + 1;
  HWND parent = GetParent(window);
  if (*target == '#') {
    const int command = std::atoi(target + 1);
    PostMessageA(parent, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return;
  }
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof(info);
  info.hwnd = parent;
  info.lpVerb = "open";
  info.lpFile = target;
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExA(&info);
}
