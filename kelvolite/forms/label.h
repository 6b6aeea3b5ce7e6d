// A text label (windowless): its own font and colour, transparent or filled
// with its colour, left/right/centred, several lines at "\n".
#pragma once
#include "kelvolite/forms/control.h"

class TLabel : public TGraphicControl {
public:
  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  void SetFont(const TFont& font);
  const TFont& Font() const { return font_; }
  void SetAlignment(TAlignment alignment);
  TAlignment Alignment() const { return alignment_; }
  void SetTransparent(bool transparent);
  void SetColor(COLORREF color);
  // Grows or shrinks to the text (keeping the left edge, or the right edge
  // when right-aligned).
  void SetAutoSize(bool autoSize);
  void SetWordWrap(bool wrap);
  void Paint(HDC dc) override;

private:
  void AdjustSize();
  UINT DrawFlags() const;

  std::string caption_;
  TFont font_;
  TAlignment alignment_ = taLeftJustify;
  bool transparent_ = true;
  COLORREF color_ = GetSysColor(COLOR_BTNFACE);
  bool autoSize_ = false;
  bool wordWrap_ = false;
};
