#include "kelvolite/forms/label.h"

void TLabel::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  AdjustSize();
  Invalidate();
}

void TLabel::SetFont(const TFont& font) {
  font_ = font;
  AdjustSize();
  Invalidate();
}

void TLabel::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void TLabel::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void TLabel::SetColor(COLORREF color) {
  color_ = color;
  Invalidate();
}

void TLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  AdjustSize();
}

void TLabel::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  Invalidate();
}

UINT TLabel::DrawFlags() const {
  UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  return flags;
}

void TLabel::AdjustSize() {
  if (!autoSize_) return;
  HDC dc = GetDC(nullptr);
  RECT r = {0, 0, 0, 0};
  {
    SelectObjectScope sel(dc, font_.Handle());
    DrawTextA(dc, caption_.empty() ? " " : caption_.c_str(), -1, &r, DrawFlags() | DT_CALCRECT);
  }
  ReleaseDC(nullptr, dc);
  int left = alignment_ == taRightJustify ? left_ + width_ - r.right : left_;
  SetBounds(left, top_, r.right, r.bottom);
}

void TLabel::Paint(HDC dc) {
  RECT r = {0, 0, width_, height_};
  if (!transparent_) FillRect(dc, &r, SolidBrushFor(color_));
  SelectObjectScope sel(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled_ ? font_.Color : GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, caption_.c_str(), -1, &r, DrawFlags());
}
