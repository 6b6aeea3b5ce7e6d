// A one-line edit box. OnChange runs when the text really changes (typing,
// or SetText with a different text); OnKeyPress sees each typed character.
#pragma once
#include "kelvolite/forms/control.h"

class TEdit : public TWinControl {
public:
  void SetText(const std::string& text) override;
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  bool CommandNotify(WORD code) override;
  HBRUSH ControlColor(HDC) override { return nullptr; }
};
