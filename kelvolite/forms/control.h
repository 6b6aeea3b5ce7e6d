// The control tree: TControl (position, visibility, hint, mouse), the
// windowless TGraphicControl painted by its parent, and TWinControl, a
// control with a window that hosts children, aligns them and reflects
// notifications back to them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "kelvolite/forms/graphics.h"
#include "kelvolite/forms/types.h"

class TWinControl;
class TForm;
class TPopupMenu;

class TControl : public TObject {
public:
  TControl();
  ~TControl() override;

  std::string Name;
  int Tag = 0;

  void SetParent(TWinControl* parent);
  TWinControl* Parent() const { return parent_; }
  TForm* ParentForm() const;

  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }

  void SetAlign(TAlign align);
  TAlign Align() const { return align_; }

  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to the form is visible too.
  bool Showing() const;

  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

  void SetHint(const std::string& hint);
  const std::string& Hint() const { return hint_; }
  void SetShowHint(bool show);
  bool ShowHint() const { return showHint_; }

  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  HCURSOR Cursor() const { return cursor_; }

  virtual void Invalidate();
  // Invalidates and paints at once.
  void Repaint();
  void BringToFront();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  virtual void Click();
  virtual bool IsWindowed() const { return false; }

  // Called by the parent window for windowless controls, with coordinates
  // relative to the control.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DblClick();
  // The pointer entered or left the control (the application tracks it).
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // The mouse capture was taken away while the control held it.
  virtual void CancelMode() {}
  // Enter and Esc, and accelerator characters: true when the control took it.
  virtual bool DialogKey(WORD) { return false; }
  virtual bool DialogChar(char) { return false; }

  // Bookkeeping of the parent's mouse capture for windowless controls.
  bool clickPending_ = false;

protected:
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void ParentChanged() {}
  void UpdateHintTool();

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool showHint_ = false;
  std::string hint_;
  HCURSOR cursor_ = nullptr;

  friend class TWinControl;
};

class TGraphicControl : public TControl {
public:
  // Paints on the parent's DC, whose origin has been moved to the
  // control's top-left corner and which is clipped to the control.
  virtual void Paint(HDC dc) = 0;
  void Invalidate() override;

protected:
  void BoundsChanged() override;
  void VisibleChanged() override { InvalidateArea(); }
  void InvalidateArea();

private:
  RECT lastArea_ = {};
};

struct TCreateParams {
  const char* ClassName = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  HWND ParentWindow = nullptr;
  std::string Caption;
  bool StandardClass = false;  // a system class we subclass
};

class TWinControl : public TControl {
public:
  TWinControl();
  ~TWinControl() override;

  HWND Handle() const { return hwnd_; }
  bool HandleAllocated() const { return hwnd_ != nullptr; }
  bool IsWindowed() const override { return true; }

  void SetColor(COLORREF color);
  COLORREF Color() const { return color_; }
  void SetFont(const TFont& font);
  const TFont& Font() const;
  void SetParentFont(bool parentFont) { parentFont_ = parentFont; }

  virtual void SetText(const std::string& text);
  std::string Text() const;

  void SetFocus();
  bool Focused() const;
  bool CanFocus() const;

  const std::vector<TControl*>& Controls() const { return controls_; }
  // Lays the aligned children out again (runs on every resize).
  void Realign();
  TControl* ControlAtPoint(POINT client) const;
  // Enter/Esc and accelerators, depth first over the children.
  bool BroadcastDialogKey(WORD key);
  bool BroadcastDialogChar(char c);

  void Invalidate() override;
  HWND TooltipWindow();

  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnResize;
  TPopupMenu* PopupMenu = nullptr;

  static TWinControl* FromHandle(HWND hwnd);

protected:
  void CreateHandle();
  void DestroyHandle();
  virtual void CreateParams(TCreateParams& params);
  virtual void HandleCreated() {}
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
  // Fills the background and paints the windowless children.
  virtual void PaintWindow(HDC dc, const RECT& area);
  virtual void PaintBackground(HDC dc, const RECT& area);
  // Reflected WM_COMMAND / WM_NOTIFY from the parent.
  virtual bool CommandNotify(WORD) { return false; }
  virtual bool Notify(NMHDR*, LRESULT&) { return false; }
  // Answer to WM_CTLCOLOR* for this control; nullptr for the default.
  virtual HBRUSH ControlColor(HDC) { return nullptr; }
  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void ParentChanged() override;

  HWND hwnd_ = nullptr;
  COLORREF color_ = GetSysColor(COLOR_BTNFACE);
  TFont font_;
  bool parentFont_ = true;
  std::string text_;

private:
  static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMouse(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  void AddChild(TControl* c);
  void RemoveChild(TControl* c);
  void PaintMessage();

  WNDPROC oldProc_ = nullptr;
  std::vector<TControl*> controls_;
  TControl* captureControl_ = nullptr;
  HWND tooltip_ = nullptr;
  bool trackingLeave_ = false;

  friend class TControl;
  friend class TApplication;
};
