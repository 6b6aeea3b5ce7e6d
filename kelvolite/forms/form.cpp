#include "kelvolite/forms/form.h"

#include "kelvolite/forms/application.h"

TForm::TForm(TForm* owner, const char* windowClass) : owner_(owner), windowClass_(windowClass) {
  visible_ = false;
  color_ = GetSysColor(COLOR_BTNFACE);
  SetBounds(0, 0, 320, 240);
  CreateHandle();
}

TForm::~TForm() { Destroying(); }

void TForm::CreateParams(TCreateParams& params) {
  params.ClassName = windowClass_;
  // No border and no caption bar; the system menu carries minimise only.
  params.Style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
  params.ParentWindow = owner_ && owner_->Handle() ? owner_->Handle()
                                                    : (Application ? Application->Handle() : nullptr);
}

void TForm::SetClientSize(int width, int height) { SetBounds(left_, top_, width, height); }

void TForm::SetConstraints(int minWidth, int minHeight) {
  minWidth_ = minWidth;
  minHeight_ = minHeight;
}

void TForm::PlaceOnFirstShow() {
  if (placed_ || !hwnd_) return;
  placed_ = true;
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (position_ == poOwnerFormCenter && owner_ && owner_->Handle()) GetWindowRect(owner_->Handle(), &area);
  if (position_ == poDesigned) return;
  int x = area.left + (area.right - area.left - width_) / 2;
  int y = area.top + (area.bottom - area.top - height_) / 2;
  SetBounds(x, y, width_, height_);
}

void TForm::Show() {
  if (!hwnd_) return;
  PlaceOnFirstShow();
  visible_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void TForm::Hide() {
  visible_ = false;
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void TForm::Close() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (!canClose) return;
  if (modal_) {
    modalResult_ = mrCancel;
  } else if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else {
    Hide();
  }
}

namespace {

struct DisabledWindows {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<DisabledWindows*>(lp);
  if (hwnd != d->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    EnableWindow(hwnd, FALSE);
    d->list.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

TModalResult TForm::ShowModal() {
  if (!hwnd_) return mrCancel;
  TForm* previousForm = Application ? Application->ActiveForm() : nullptr;
  HWND previousWindow = GetActiveWindow();
  if (GetCapture()) ReleaseCapture();
  DisabledWindows disabled{hwnd_, {}};
  EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&disabled));
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  MSG msg;
  while (modalResult_ == mrNone) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      modalResult_ = mrCancel;
      break;
    }
    Application->HandleMessage(msg);
  }
  TModalResult result = modalResult_;
  for (HWND h : disabled.list)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  // The window that was active before gets its focus back, without a new
  // activation event.
  if (Application) Application->RestoreActiveForm(previousForm);
  if (previousWindow && IsWindow(previousWindow)) SetActiveWindow(previousWindow);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  visible_ = false;
  modal_ = false;
  return result;
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::DoActivate() {
  if (OnActivate) OnActivate(this);
}

void TForm::Destroying() {
  if (destroyed_) return;
  destroyed_ = true;
  if (OnDestroy) OnDestroy(this);
  DestroyHandle();
  if (Application) Application->FormDestroyed(this);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd_, f)) focusedWindow_ = f;
      } else {
        if (focusedWindow_ && IsWindow(focusedWindow_) && IsChild(hwnd_, focusedWindow_) &&
            IsWindowVisible(focusedWindow_))
          ::SetFocus(focusedWindow_);
        else
          ::SetFocus(hwnd_);
        if (Application && !HIWORD(wp)) Application->FormActivated(this);
      }
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
      if (minWidth_) mm->ptMinTrackSize.x = minWidth_;
      if (minHeight_) mm->ptMinTrackSize.y = minHeight_;
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE && Application) {
        Application->Minimize();
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED: {
      auto* wpos = reinterpret_cast<WINDOWPOS*>(lp);
      if (!(wpos->flags & SWP_NOMOVE)) {
        left_ = wpos->x;
        top_ = wpos->y;
      }
      if (!(wpos->flags & SWP_NOSIZE)) {
        width_ = wpos->cx;
        height_ = wpos->cy;
      }
      break;
    }
    default:
      break;
  }
  return TWinControl::WndProc(msg, wp, lp);
}
