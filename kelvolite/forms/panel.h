// A panel: a plain container with a background colour, optionally a
// background picture drawn at its top-left corner, and a single border.
#pragma once
#include "kelvolite/forms/control.h"

class TPanel : public TWinControl {
public:
  void SetPicture(const char* resourceName);
  const TPicture& Picture() const { return picture_; }
  void SetBorder(bool single) { border_ = single; }

protected:
  void CreateParams(TCreateParams& params) override;
  void PaintBackground(HDC dc, const RECT& area) override;

private:
  TPicture picture_;
  bool border_ = false;
};
