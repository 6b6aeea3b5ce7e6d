#include "kelvolite/forms/tray_icon.h"

#include <shellapi.h>

#include "kelvolite/forms/application.h"
#include "kelvolite/forms/form.h"
#include "kelvolite/forms/menu.h"

namespace {
const UINT kTrayMessage = WM_APP + 0x200;
const char kTrayClass[] = "TTrayIconWindow";
}  // namespace

TTrayIcon::TTrayIcon() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &WndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kTrayClass;
  RegisterClassA(&wc);
  hwnd_ = CreateWindowExA(0, kTrayClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, this);
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  if (Application) {
    Application->OnMinimize = [this](TObject*) {
      if (visible_) ShowWindow(Application->Handle(), SW_HIDE);
    };
  }
}

TTrayIcon::~TTrayIcon() {
  SetVisible(false);
  if (Application) Application->OnMinimize = nullptr;
  if (hwnd_) DestroyWindow(hwnd_);
}

bool TTrayIcon::Notify(DWORD action) {
  NOTIFYICONDATAA nid = {};
  nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
  nid.hWnd = hwnd_;
  nid.uID = 1;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kTrayMessage;
  nid.hIcon = icon_;
  lstrcpynA(nid.szTip, hint_.c_str(), sizeof nid.szTip);
  return Shell_NotifyIconA(action, &nid) != FALSE;
}

void TTrayIcon::SetIcon(HICON icon) {
  icon_ = icon;
  if (visible_) Notify(NIM_MODIFY);
}

void TTrayIcon::SetHint(const std::string& hint) {
  hint_ = hint;
  if (visible_) Notify(NIM_MODIFY);
}

void TTrayIcon::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Notify(visible ? NIM_ADD : NIM_DELETE);
}

void TTrayIcon::Restore() {
  if (!Application) return;
  Application->Restore();
  ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
  if (TForm* f = Application->MainForm()) {
    f->Show();
    SetForegroundWindow(f->Handle());
  }
}

LRESULT CALLBACK TTrayIcon::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<TTrayIcon*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcA(hwnd, msg, wp, lp);
  try {
    return self->Message(msg, wp, lp);
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(e);
  } catch (...) {
    if (Application) Application->HandleException(Exception("Unknown exception"));
  }
  return 0;
}

LRESULT TTrayIcon::Message(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kTrayMessage) {
    switch (static_cast<UINT>(lp)) {
      case WM_LBUTTONDBLCLK:
        Restore();
        if (OnDblClick) OnDblClick(this);
        break;
      case WM_RBUTTONUP:
        if (menu_) {
          POINT pt;
          GetCursorPos(&pt);
          HWND owner = Application && Application->MainForm() ? Application->MainForm()->Handle() : hwnd_;
          menu_->Popup(pt.x, pt.y, owner);
        }
        break;
      default:
        break;
    }
    return 0;
  }
  if (msg == taskbarCreated_ && visible_) {
    Notify(NIM_ADD);
    return 0;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}
