#include "shell_fixture.h"

#include <string>

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    if (Application)
      Application->HandleMessage(msg);
    else
      DispatchMessageA(&msg);
  }
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(ms);) {
    Pump();
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  Pump();
  return done();
}

namespace {

HWND HostWindow(TControl& control, POINT& pt) {
  TWinControl* host = control.IsWindowed() ? static_cast<TWinControl*>(&control) : control.Parent();
  if (!control.IsWindowed()) {
    pt.x += control.Left();
    pt.y += control.Top();
  }
  POINT screen = pt;
  ClientToScreen(host->Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  return host->Handle();
}

void SendMouse(TControl& control, UINT msg, WPARAM keys, int x, int y) {
  POINT pt = {x, y};
  HWND h = HostWindow(control, pt);
  SendMessageA(h, msg, keys, MAKELPARAM(pt.x, pt.y));
  Pump();
}

struct PendingAnswer {
  std::string windowClass;
  WORD key;
  std::function<void(HWND)> onShown;
  int ticks = 0;
  UINT_PTR timer = 0;
};
PendingAnswer* pending = nullptr;

void CALLBACK AnswerTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!pending) return;
  HWND box = FindWindowA(pending->windowClass.c_str(), nullptr);
  if (box && IsWindowVisible(box)) {
    KillTimer(nullptr, pending->timer);
    if (pending->onShown) pending->onShown(box);
    PostMessageA(box, WM_KEYDOWN, pending->key, 0);
    delete pending;
    pending = nullptr;
  } else if (++pending->ticks > 500) {
    KillTimer(nullptr, pending->timer);
    ADD_FAILURE() << "no " << pending->windowClass << " appeared";
    delete pending;
    pending = nullptr;
  }
}

}  // namespace

void MoveMouseTo(TControl& control, int x, int y) { SendMouse(control, WM_MOUSEMOVE, 0, x, y); }
void PressMouse(TControl& control, int x, int y) { SendMouse(control, WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
void ReleaseMouse(TControl& control, int x, int y) { SendMouse(control, WM_LBUTTONUP, 0, x, y); }

void ClickControl(TControl& control) {
  int x = control.Width() / 2, y = control.Height() / 2;
  MoveMouseTo(control, x, y);
  PressMouse(control, x, y);
  ReleaseMouse(control, x, y);
}

void PressKey(HWND window, WORD key) {
  PostMessageA(window, WM_KEYDOWN, key, 0);
  PostMessageA(window, WM_KEYUP, key, 0xC0000000);
  Pump();
}

void AnswerNextBox(const char* windowClass, WORD key, std::function<void(HWND)> onShown) {
  delete pending;
  pending = new PendingAnswer{windowClass, key, std::move(onShown)};
  pending->timer = SetTimer(nullptr, 0, 10, &AnswerTick);
}

void MainFormTest::SetUp() {
  // The real cursor stays where the last test left it: park it off every
  // window a test opens, so no control starts out hovered.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  app_ = std::make_unique<TApplication>();
  app_->Initialize();
  app_->SetTitle("Kelvo Remover 2004 Lite (test)");
}

void MainFormTest::OpenMainForm() {
  form_ = std::make_unique<TForm1>();
  app_->SetMainForm(form_.get());
  ShowWindow(app_->Handle(), SW_SHOWNOACTIVATE);
  form_->Show();
  Pump();
}

void MainFormTest::TearDown() {
  form_.reset();
  app_.reset();
  Pump();
}
