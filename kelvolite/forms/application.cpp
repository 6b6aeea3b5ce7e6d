#include "kelvolite/forms/application.h"

#include <commctrl.h>

#include "kelvolite/forms/form.h"

TApplication* Application = nullptr;

namespace {

const UINT kActivateForm = WM_APP + 0x100;

struct OwnedWindows {
  HWND owner;
  std::vector<HWND> list;
};

BOOL CALLBACK CollectVisibleOwned(HWND hwnd, LPARAM lp) {
  auto* o = reinterpret_cast<OwnedWindows*>(lp);
  if (hwnd == o->owner || !IsWindowVisible(hwnd)) return TRUE;
  for (HWND h = GetWindow(hwnd, GW_OWNER); h; h = GetWindow(h, GW_OWNER)) {
    if (h == o->owner) {
      o->list.push_back(hwnd);
      break;
    }
  }
  return TRUE;
}

TForm* FormOfWindow(HWND hwnd) {
  HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  return dynamic_cast<TForm*>(TWinControl::FromHandle(root));
}

}  // namespace

TApplication::TApplication() { Application = this; }

TApplication::~TApplication() {
  while (!forms_.empty()) {
    forms_.back()->Destroying();
    forms_.pop_back();
  }
  if (hwnd_) DestroyWindow(hwnd_);
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  if (hwnd_) return;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &WndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "TApplication";
  RegisterClassA(&wc);
  // Zero-sized and in the middle of the screen: it only carries the
  // taskbar button and owns the forms.
  hwnd_ = CreateWindowExA(0, "TApplication", title_.c_str(),
                          WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                          GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                          nullptr, nullptr, wc.hInstance, nullptr);
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (hwnd_) SetWindowTextA(hwnd_, title.c_str());
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
  if (!mainForm_) mainForm_ = form.get();
  forms_.push_back(std::move(form));
}

void TApplication::Run() {
  if (mainForm_) {
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    mainForm_->Show();
  }
  MSG msg;
  while (!terminated_ && GetMessageA(&msg, nullptr, 0, 0) > 0) HandleMessage(msg);
  terminated_ = true;
  while (!forms_.empty()) {
    forms_.back()->Destroying();
    forms_.pop_back();
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    HandleMessage(msg);
  }
}

void TApplication::HandleMessage(MSG& msg) {
  if (IsDialogKey(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool TApplication::IsDialogKey(const MSG& msg) {
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
    if (CurrentShiftState() != 0) return false;
    TForm* form = FormOfWindow(msg.hwnd);
    return form && IsWindowEnabled(form->Handle()) &&
           form->BroadcastDialogKey(static_cast<WORD>(msg.wParam));
  }
  if (msg.message == WM_SYSCHAR) {
    TForm* form = FormOfWindow(msg.hwnd);
    return form && IsWindowEnabled(form->Handle()) &&
           form->BroadcastDialogChar(static_cast<char>(msg.wParam));
  }
  return false;
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::Minimize() {
  if (minimized_) return;
  OwnedWindows owned{hwnd_, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectVisibleOwned, reinterpret_cast<LPARAM>(&owned));
  hiddenForms_ = owned.list;
  minimized_ = true;
  ShowWindow(hwnd_, SW_MINIMIZE);
  for (HWND h : hiddenForms_) ShowWindow(h, SW_HIDE);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (!minimized_) return;
  minimized_ = false;
  if (IsIconic(hwnd_) || !IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  for (HWND h : hiddenForms_)
    if (IsWindow(h)) ShowWindow(h, SW_SHOW);
  hiddenForms_.clear();
  if (OnRestore) OnRestore(this);
  TForm* f = activeForm_ ? activeForm_ : mainForm_;
  if (f && f->Handle()) SetForegroundWindow(f->Handle());
}

void TApplication::HandleException(const std::exception& e) { ShowException(e); }

void TApplication::ShowException(const std::exception& e) {
  HWND owner = GetActiveWindow();
  MessageBoxA(owner ? owner : hwnd_, e.what(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::FormActivated(TForm* form) {
  if (activeForm_ == form) return;
  activeForm_ = form;
  form->DoActivate();
}

void TApplication::FormDestroyed(TForm* form) {
  if (activeForm_ == form) activeForm_ = nullptr;
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::SetMouseControl(TControl* control) {
  if (control == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = control;
  if (old) old->MouseLeave();
  if (control && control == mouseControl_) control->MouseEnter();
}

TControl* TApplication::ControlAtCursor() const {
  POINT pt;
  if (!GetCursorPos(&pt)) return nullptr;
  HWND h = WindowFromPoint(pt);
  TWinControl* w = TWinControl::FromHandle(h);
  if (!w) return nullptr;
  ScreenToClient(h, &pt);
  TControl* c = w->ControlAtPoint(pt);
  return c ? c : w;
}

void TApplication::ControlDestroyed(TControl* control) {
  if (mouseControl_ == control) mouseControl_ = nullptr;
}

LRESULT CALLBACK TApplication::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!Application || (Application->hwnd_ && Application->hwnd_ != hwnd))
    return DefWindowProcA(hwnd, msg, wp, lp);
  // The creation messages arrive before CreateWindowExA returns the handle;
  // answering them for a null window would make the creation fail.
  if (!Application->hwnd_) Application->hwnd_ = hwnd;
  try {
    return Application->AppProc(msg, wp, lp);
  } catch (const std::exception& e) {
    Application->HandleException(e);
  } catch (...) {
    Application->HandleException(Exception("Unknown exception"));
  }
  return 0;
}

LRESULT TApplication::AppProc(UINT msg, WPARAM wp, LPARAM lp) {
  HWND self = hwnd_;
  switch (msg) {
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        return 0;
      }
      if ((wp & 0xFFF0) == SC_RESTORE) {
        Restore();
        return 0;
      }
      break;
    case WM_SIZE:
      // Restored from outside (another copy of the program showing us).
      if (wp == SIZE_RESTORED && minimized_) PostMessageA(self, WM_SYSCOMMAND, SC_RESTORE, 0);
      break;
    case WM_SHOWWINDOW:
      if (wp && minimized_) PostMessageA(self, WM_SYSCOMMAND, SC_RESTORE, 0);
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !minimized_) PostMessageA(self, kActivateForm, 0, 0);
      return 0;
    case WM_CLOSE:
      if (mainForm_) mainForm_->Close();
      return 0;
    default:
      if (msg == kActivateForm) {
        TForm* f = activeForm_ ? activeForm_ : mainForm_;
        if (f && f->Handle() && IsWindowVisible(f->Handle()) && IsWindowEnabled(f->Handle()))
          SetForegroundWindow(f->Handle());
        return 0;
      }
      break;
  }
  return DefWindowProcA(self, msg, wp, lp);
}
