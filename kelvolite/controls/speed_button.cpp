#include "kelvolite/controls/speed_button.h"

#include <cctype>

#include "kelvolite/forms/application.h"
#include "kelvolite/forms/form.h"

TPSpeedButton::TPSpeedButton() { SetBounds(0, 0, 75, 22); }

void TPSpeedButton::SetAllowAllUp(bool value) {
  if (allowAllUp_ == value) return;
  allowAllUp_ = value;
  UpdateExclusive();
}

void TPSpeedButton::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  UpdateExclusive();
}

// A down button of an exclusive group cannot be raised by itself.
void TPSpeedButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = value;
  if (value) {
    if (state_ == bsUp) Invalidate();
    state_ = bsExclusive;
    UpdateExclusive();
  } else {
    state_ = bsUp;
    Repaint();
  }
}

void TPSpeedButton::SetDrawBorderInFlatMode(bool value) {
  drawBorder_ = value;
  Invalidate();
}

void TPSpeedButton::SetFlat(bool value) {
  flat_ = value;
  Invalidate();
}

void TPSpeedButton::SetImages(TImageList* images) {
  images_ = images;
  Invalidate();
}

void TPSpeedButton::SetImageIndexIDLE(int index) {
  imageIdle_ = index;
  Invalidate();
}

void TPSpeedButton::SetImageIndexDisabled(int index) {
  imageDisabled_ = index;
  Invalidate();
}

void TPSpeedButton::SetImageIndexUp(int index) {
  imageUp_ = index;
  Invalidate();
}

void TPSpeedButton::SetImageIndexDown(int index) {
  imageDown_ = index;
  Invalidate();
}

void TPSpeedButton::SetImageIndexes(int idle, int hover, int pressed) {
  imageIdle_ = idle;
  imageUp_ = hover;
  imageDown_ = pressed;
  Invalidate();
}

void TPSpeedButton::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}

void TPSpeedButton::SetColor(COLORREF color) {
  color_ = color;
  Invalidate();
}

void TPSpeedButton::SyncState() {
  if (!enabled_) {
    state_ = bsDisabled;
    dragging_ = false;
  } else if (state_ == bsDisabled) {
    state_ = (down_ && groupIndex_ != 0) ? bsExclusive : bsUp;
  }
}

int TPSpeedButton::FaceImageIndex() const {
  const_cast<TPSpeedButton*>(this)->SyncState();
  if (state_ == bsDown || state_ == bsExclusive) return imageDown_;
  if (!flat_) return state_ == bsDisabled ? imageDisabled_ : imageIdle_;
  if (mouseInControl_ && state_ != bsDisabled) return imageUp_;
  return state_ == bsDisabled ? imageDisabled_ : imageIdle_;
}

void TPSpeedButton::Paint(HDC dc) {
  SyncState();
  RECT r = {0, 0, width_, height_};
  int index = FaceImageIndex();
  int at = 0;
  UINT fill = transparent_ ? 0 : BF_MIDDLE;
  if (flat_) {
    if (state_ == bsDown || state_ == bsExclusive) {
      if (drawBorder_) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | fill);
    } else if (mouseInControl_ && state_ != bsDisabled) {
      if (drawBorder_) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | fill);
    } else if (!transparent_) {
      FillRect(dc, &r, SolidBrushFor(color_));
    }
    at = drawBorder_ ? 1 : 0;
  } else {
    UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (state_ == bsDown || state_ == bsExclusive) flags |= DFCS_PUSHED;
    DrawFrameControl(dc, &r, DFC_BUTTON, flags);
    at = 2;
  }
  if (images_) images_->Draw(dc, at, at, index);
}

void TPSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !enabled_) return;
  if (!down_) {
    state_ = bsDown;
    Repaint();
  }
  dragging_ = true;
}

void TPSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TControl::MouseMove(shift, x, y);
  if (dragging_) {
    TButtonState s = down_ ? bsExclusive : bsUp;
    if (!down_ && x >= 0 && x < width_ && y >= 0 && y <= height_) s = bsDown;
    if (s != state_) {
      state_ = s;
      Invalidate();
    }
  } else if (!mouseInControl_) {
    UpdateTracking();
  }
}

void TPSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  bool inside = x >= 0 && x < width_ && y >= 0 && y <= height_;
  if (groupIndex_ == 0) {
    // The hover flag is left to the tracking below: clearing it here would
    // swallow the leave of a release outside the button.
    state_ = bsUp;
    Invalidate();
  } else if (inside) {
    SetDown(!down_);
    if (down_) state_ = bsExclusive;
    Repaint();
  } else {
    if (down_) state_ = bsExclusive;
    Repaint();
  }
  UpdateTracking();
}

void TPSpeedButton::DblClick() {
  if (down_) TControl::DblClick();
}

void TPSpeedButton::CancelMode() {
  dragging_ = false;
  state_ = down_ ? bsExclusive : bsUp;
  Invalidate();
}

void TPSpeedButton::UpdateTracking() {
  if (!flat_ || !enabled_) return;
  bool over = Application && Application->ControlAtCursor() == this;
  if (over == mouseInControl_) return;
  if (over)
    MouseEnter();
  else
    MouseLeave();
}

void TPSpeedButton::MouseEnter() {
  if (!flat_ || !enabled_ || mouseInControl_ || GetCapture()) return;
  mouseInControl_ = true;
  if (OnMouseEnter) OnMouseEnter(this);
  Repaint();
}

void TPSpeedButton::MouseLeave() {
  if (!flat_ || !enabled_ || !mouseInControl_ || dragging_) return;
  mouseInControl_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
  Invalidate();
}

void TPSpeedButton::EnabledChanged() {
  if (!enabled_) mouseInControl_ = false;
  UpdateTracking();
  Repaint();
}

void TPSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !parent_) return;
  for (TControl* c : parent_->Controls())
    if (auto* b = dynamic_cast<TPSpeedButton*>(c)) b->ButtonPressed(this);
}

void TPSpeedButton::ButtonPressed(TPSpeedButton* sender) {
  if (sender == this || sender->groupIndex_ != groupIndex_) return;
  allowAllUp_ = sender->allowAllUp_;
  if (sender->down_ && down_) {
    down_ = false;
    state_ = bsUp;
    Invalidate();
  }
}

bool TPSpeedButton::ParentCanFocus() const { return parent_ && parent_->CanFocus(); }

bool TPSpeedButton::DialogKey(WORD key) {
  bool mine = (key == VK_RETURN && default_) || (key == VK_ESCAPE && cancel_);
  if (!mine || !ParentCanFocus() || !enabled_ || !visible_) return false;
  Click();
  return true;
}

bool TPSpeedButton::DialogChar(char c) {
  size_t amp = caption_.find('&');
  if (amp == std::string::npos || amp + 1 >= caption_.size()) return false;
  unsigned char accel = static_cast<unsigned char>(caption_[amp + 1]);
  if (std::toupper(accel) != std::toupper(static_cast<unsigned char>(c))) return false;
  if (!enabled_ || !visible_ || !Showing()) return false;
  Click();
  return true;
}
