// A check box with its caption; OnClick runs when the user or Checked
// changes the tick.
#pragma once
#include "kelvolite/forms/control.h"

class TCheckBox : public TWinControl {
public:
  void SetCaption(const std::string& caption) { SetText(caption); }
  void SetChecked(bool checked);
  bool Checked() const;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  bool CommandNotify(WORD code) override;
  HBRUSH ControlColor(HDC dc) override;

private:
  bool checked_ = false;
};
