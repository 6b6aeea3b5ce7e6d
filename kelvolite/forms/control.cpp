#include "kelvolite/forms/control.h"

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "kelvolite/forms/application.h"
#include "kelvolite/forms/form.h"
#include "kelvolite/forms/menu.h"

namespace {

const char kControlProp[] = "KvControl";

bool EnsureClass(const char* name, WNDPROC proc) {
  static std::set<std::string> registered;
  if (registered.count(name)) return true;
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  wc.lpszClassName = name;
  if (!RegisterClassA(&wc)) return false;
  registered.insert(name);
  return true;
}

int NextChildId() {
  static int id = 100;
  return ++id;
}

POINT PointFromLParam(LPARAM lp) {
  return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

}  // namespace

// ---------------------------------------------------------------- TControl

TControl::TControl() = default;

TControl::~TControl() {
  if (Application) Application->ControlDestroyed(this);
  if (parent_) {
    if (!IsWindowed() && visible_) {
      RECT r = BoundsRect();
      if (parent_->HandleAllocated()) InvalidateRect(parent_->Handle(), &r, FALSE);
    }
    if (!IsWindowed() && parent_->tooltip_) {
      TTTOOLINFOA ti = {};
      ti.cbSize = TTTOOLINFOA_V1_SIZE;
      ti.hwnd = parent_->Handle();
      ti.uId = reinterpret_cast<UINT_PTR>(this);
      SendMessageA(parent_->tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    parent_->RemoveChild(this);
  }
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) parent_->RemoveChild(this);
  parent_ = parent;
  if (parent_) parent_->AddChild(this);
  ParentChanged();
  UpdateHintTool();
  if (parent_ && align_ != alNone) parent_->Realign();
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  BoundsChanged();
  UpdateHintTool();
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  VisibleChanged();
  UpdateHintTool();
  if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
    if (!c->parent_ && c->IsWindowed()) {
      HWND h = static_cast<const TWinControl*>(c)->Handle();
      return h && IsWindowVisible(h);
    }
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::SetHint(const std::string& hint) {
  hint_ = hint;
  UpdateHintTool();
}

void TControl::SetShowHint(bool show) {
  showHint_ = show;
  UpdateHintTool();
}

void TControl::UpdateHintTool() {
  TForm* form = ParentForm();
  if (!form || !parent_ || !parent_->HandleAllocated()) return;
  if (IsWindowed() && !static_cast<TWinControl*>(this)->HandleAllocated()) return;
  HWND tip = form->TooltipWindow();
  if (!tip) return;
  TTTOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.uFlags = TTF_SUBCLASS;
  if (IsWindowed()) {
    ti.uFlags |= TTF_IDISHWND;
    ti.hwnd = parent_->Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(static_cast<TWinControl*>(this)->Handle());
  } else {
    ti.hwnd = parent_->Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(this);
    ti.rect = BoundsRect();
  }
  SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  if (!showHint_ || hint_.empty() || !visible_) return;
  ti.lpszText = const_cast<char*>(hint_.c_str());
  SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void TControl::Invalidate() {}

void TControl::Repaint() {
  Invalidate();
  TWinControl* w = IsWindowed() ? static_cast<TWinControl*>(this) : parent_;
  if (w && w->HandleAllocated()) UpdateWindow(w->Handle());
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (IsWindowed()) {
    HWND h = static_cast<TWinControl*>(this)->Handle();
    if (h) SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

// --------------------------------------------------------- TGraphicControl

void TGraphicControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, FALSE);
}

void TGraphicControl::InvalidateArea() {
  if (!parent_ || !parent_->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, FALSE);
  InvalidateRect(parent_->Handle(), &lastArea_, FALSE);
  lastArea_ = r;
}

void TGraphicControl::BoundsChanged() { InvalidateArea(); }

// ------------------------------------------------------------- TWinControl

TWinControl::TWinControl() { color_ = GetSysColor(COLOR_BTNFACE); }

TWinControl::~TWinControl() {
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
  DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<TWinControl*>(GetPropA(hwnd, kControlProp)) : nullptr;
}

void TWinControl::AddChild(TControl* c) {
  controls_.push_back(c);
  if (c->IsWindowed()) {
    auto* w = static_cast<TWinControl*>(c);
    if (hwnd_) w->CreateHandle();
  } else {
    c->Invalidate();
  }
}

void TWinControl::RemoveChild(TControl* c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (captureControl_ == c) captureControl_ = nullptr;
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.ClassName = "TPanel";
  params.Style = WS_CLIPCHILDREN;
}

void TWinControl::CreateHandle() {
  if (hwnd_) return;
  if (parent_ && !parent_->hwnd_) return;  // created with the parent
  TCreateParams p;
  CreateParams(p);
  HWND parentWnd = p.ParentWindow;
  DWORD style = p.Style;
  HMENU id = nullptr;
  if (parent_) {
    parentWnd = parent_->hwnd_;
    style |= WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0);
    id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextChildId()));
  }
  if (!enabled_) style |= WS_DISABLED;
  if (!p.StandardClass && !EnsureClass(p.ClassName, &StaticWndProc)) return;
  HWND h = CreateWindowExA(p.ExStyle, p.ClassName, p.Caption.empty() ? text_.c_str() : p.Caption.c_str(),
                           style, left_, top_, width_, height_, parentWnd, id,
                           GetModuleHandleA(nullptr), this);
  if (!h) return;
  // The system adds a child below its siblings; the control list has the
  // last control in front (as BringToFront keeps it), so the window goes
  // on top.
  if (parent_) SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (p.StandardClass) {
    hwnd_ = h;
    SetPropA(h, kControlProp, this);
    oldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
  }
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
  HandleCreated();
  for (TControl* c : controls_)
    if (c->IsWindowed()) static_cast<TWinControl*>(c)->CreateHandle();
  for (TControl* c : controls_) c->UpdateHintTool();
  UpdateHintTool();
  Realign();
}

void TWinControl::DestroyHandle() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = FromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetPropA(hwnd, kControlProp, self);
    self->hwnd_ = hwnd;
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  LRESULT result = 0;
  try {
    result = self->WndProc(msg, wp, lp);
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(e);
  } catch (...) {
    if (Application) Application->HandleException(Exception("Unknown exception"));
  }
  if (msg == WM_NCDESTROY) {
    if (self->oldProc_)
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->oldProc_));
    RemovePropA(hwnd, kControlProp);
    self->hwnd_ = nullptr;
    self->oldProc_ = nullptr;
    self->tooltip_ = nullptr;
  }
  return result;
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
  if (oldProc_) return CallWindowProcA(oldProc_, hwnd_, msg, wp, lp);
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      if (oldProc_) break;
      PaintMessage();
      return 0;
    case WM_ERASEBKGND:
      if (oldProc_) break;
      return 1;
    case WM_COMMAND:
      if (lp) {
        if (auto* c = FromHandle(reinterpret_cast<HWND>(lp))) {
          if (c->CommandNotify(HIWORD(wp))) return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lp);
      if (auto* c = FromHandle(nm->hwndFrom)) {
        LRESULT r = 0;
        if (c->Notify(nm, r)) return r;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (auto* c = FromHandle(reinterpret_cast<HWND>(lp))) {
        if (HBRUSH b = c->ControlColor(reinterpret_cast<HDC>(wp)))
          return reinterpret_cast<LRESULT>(b);
      }
      break;
    case WM_SIZE:
      Realign();
      if (OnResize) OnResize(this);
      break;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd_) {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(hwnd_, &pt);
        TControl* c = ControlAtPoint(pt);
        HCURSOR cur = c ? c->Cursor() : cursor_;
        if (!cur) cur = cursor_;
        if (cur) {
          ::SetCursor(cur);
          return TRUE;
        }
      }
      break;
    case WM_CHAR:
      if (OnKeyPress) {
        char key = static_cast<char>(wp);
        OnKeyPress(this, key);
        if (!key) return 0;
        wp = static_cast<unsigned char>(key);
      }
      break;
    case WM_CONTEXTMENU:
      if (PopupMenu) {
        POINT pt = PointFromLParam(lp);
        if (pt.x == -1 && pt.y == -1) {
          pt = {0, 0};
          ClientToScreen(hwnd_, &pt);
        }
        PopupMenu->Popup(pt.x, pt.y, hwnd_);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (captureControl_ && reinterpret_cast<HWND>(lp) != hwnd_) {
        TControl* c = captureControl_;
        captureControl_ = nullptr;
        c->clickPending_ = false;
        c->CancelMode();
      }
      break;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      if (Application) Application->SetMouseControl(Application->ControlAtCursor());
      break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK: case WM_MOUSEMOVE: {
      bool handled = false;
      LRESULT r = HandleMouse(msg, wp, lp, handled);
      if (handled) return r;
      break;
    }
    default:
      break;
  }
  return DefaultHandler(msg, wp, lp);
}

LRESULT TWinControl::HandleMouse(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  POINT pt = PointFromLParam(lp);
  TShiftState shift = ShiftStateFromKeys(wp);
  if (msg == WM_MOUSEMOVE) {
    if (!trackingLeave_) {
      TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, hwnd_, 0};
      trackingLeave_ = TrackMouseEvent(&tme) != FALSE;
    }
    TControl* over = ControlAtPoint(pt);
    if (Application) Application->SetMouseControl(over ? over : this);
  }
  TControl* target = captureControl_ ? captureControl_ : ControlAtPoint(pt);
  TMouseButton button = mbLeft;
  if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) button = mbRight;
  if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP) button = mbMiddle;

  if (!target) {
    // The window's own events.
    switch (msg) {
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, button, shift, pt.x, pt.y);
        break;
      case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, button, shift, pt.x, pt.y);
        break;
      case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(this, shift, pt.x, pt.y);
        break;
      default:
        break;
    }
    return 0;
  }

  handled = true;
  int x = pt.x - target->Left(), y = pt.y - target->Top();
  switch (msg) {
    case WM_LBUTTONDOWN:
      captureControl_ = target;
      SetCapture(hwnd_);
      target->clickPending_ = true;
      target->MouseDown(mbLeft, shift | ssLeft, x, y);
      break;
    case WM_LBUTTONDBLCLK:
      captureControl_ = target;
      SetCapture(hwnd_);
      target->DblClick();
      target->MouseDown(mbLeft, shift | ssLeft | ssDouble, x, y);
      break;
    case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      target->MouseDown(button, shift, x, y);
      break;
    case WM_MOUSEMOVE:
      target->MouseMove(shift, x, y);
      break;
    case WM_LBUTTONUP: {
      bool inside = x >= 0 && y >= 0 && x < target->Width() && y < target->Height();
      bool click = target->clickPending_;
      target->clickPending_ = false;
      if (captureControl_ == target) {
        captureControl_ = nullptr;
        ReleaseCapture();
      }
      target->MouseUp(mbLeft, shift, x, y);
      if (click && inside) target->Click();
      break;
    }
    case WM_RBUTTONUP: case WM_MBUTTONUP:
      target->MouseUp(button, shift, x, y);
      break;
    default:
      break;
  }
  return 0;
}

void TWinControl::PaintMessage() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  int w = client.right > 0 ? client.right : 1, h = client.bottom > 0 ? client.bottom : 1;
  HDC mem = CreateCompatibleDC(dc);
  GdiObject<HBITMAP> bmp(CreateCompatibleBitmap(dc, w, h));
  {
    SelectObjectScope sel(mem, bmp.get());
    PaintWindow(mem, ps.rcPaint);
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  }
  DeleteDC(mem);
  EndPaint(hwnd_, &ps);
}

void TWinControl::PaintBackground(HDC dc, const RECT& area) {
  FillRect(dc, &area, SolidBrushFor(color_));
}

void TWinControl::PaintWindow(HDC dc, const RECT& area) {
  PaintBackground(dc, area);
  for (TControl* c : controls_) {
    if (c->IsWindowed() || !c->Visible()) continue;
    RECT r = c->BoundsRect(), tmp;
    if (!IntersectRect(&tmp, &r, &area)) continue;
    int saved = SaveDC(dc);
    SetViewportOrgEx(dc, r.left, r.top, nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    SelectObject(dc, Font().Handle());
    static_cast<TGraphicControl*>(c)->Paint(dc);
    RestoreDC(dc, saved);
  }
}

void TWinControl::Realign() {
  if (!hwnd_) return;
  RECT r;
  GetClientRect(hwnd_, &r);
  static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign a : order) {
    for (TControl* c : controls_) {
      if (c->align_ != a || !c->visible_) continue;
      int w = c->width_, h = c->height_;
      switch (a) {
        case alTop: c->SetBounds(r.left, r.top, r.right - r.left, h); r.top += h; break;
        case alBottom: c->SetBounds(r.left, r.bottom - h, r.right - r.left, h); r.bottom -= h; break;
        case alLeft: c->SetBounds(r.left, r.top, w, r.bottom - r.top); r.left += w; break;
        case alRight: c->SetBounds(r.right - w, r.top, w, r.bottom - r.top); r.right -= w; break;
        case alClient: c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); break;
        default: break;
      }
    }
  }
}

TControl* TWinControl::ControlAtPoint(POINT pt) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    // Disabled controls get no mouse input (it goes to the parent).
    if (c->IsWindowed() || !c->Visible() || !c->Enabled()) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, pt)) return c;
  }
  return nullptr;
}

bool TWinControl::BroadcastDialogKey(WORD key) {
  for (TControl* c : controls_) {
    if (c->DialogKey(key)) return true;
    if (c->IsWindowed() && static_cast<TWinControl*>(c)->BroadcastDialogKey(key)) return true;
  }
  return false;
}

bool TWinControl::BroadcastDialogChar(char ch) {
  for (TControl* c : controls_) {
    if (c->DialogChar(ch)) return true;
    if (c->IsWindowed() && static_cast<TWinControl*>(c)->BroadcastDialogChar(ch)) return true;
  }
  return false;
}

void TWinControl::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

HWND TWinControl::TooltipWindow() {
  if (!tooltip_ && hwnd_) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  }
  return tooltip_;
}

void TWinControl::SetColor(COLORREF color) {
  color_ = color;
  Invalidate();
}

void TWinControl::SetFont(const TFont& font) {
  font_ = font;
  parentFont_ = false;
  if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
}

const TFont& TWinControl::Font() const {
  if (parentFont_ && parent_) return parent_->Font();
  return font_;
}

void TWinControl::SetText(const std::string& text) {
  text_ = text;
  if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

std::string TWinControl::Text() const {
  if (!hwnd_) return text_;
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(hwnd_, &s[0], n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

void TWinControl::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

bool TWinControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  const TForm* f = ParentForm();
  return f && f->HandleAllocated() && IsWindowVisible(f->Handle());
}

void TWinControl::BoundsChanged() {
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::VisibleChanged() {
  if (hwnd_ && parent_) ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (hwnd_) EnableWindow(hwnd_, enabled_);
}

void TWinControl::ParentChanged() {
  if (hwnd_ && parent_ && parent_->hwnd_ && GetParent(hwnd_) != parent_->hwnd_)
    ::SetParent(hwnd_, parent_->hwnd_);
}
