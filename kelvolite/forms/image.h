// A picture control (windowless): a bitmap from the resources, drawn at its
// natural size or stretched; also serves as an invisible click area.
#pragma once
#include "kelvolite/forms/control.h"

class TImage : public TGraphicControl {
public:
  void SetPicture(const char* resourceName);
  const TPicture& Picture() const { return picture_; }
  void SetStretch(bool stretch) { stretch_ = stretch; }
  void Paint(HDC dc) override;

private:
  TPicture picture_;
  bool stretch_ = false;
};
