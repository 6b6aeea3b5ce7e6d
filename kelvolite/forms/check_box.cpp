#include "kelvolite/forms/check_box.h"

void TCheckBox::CreateParams(TCreateParams& params) {
  params.ClassName = "BUTTON";
  params.StandardClass = true;
  params.Style = WS_TABSTOP | BS_AUTOCHECKBOX;
}

void TCheckBox::HandleCreated() {
  SendMessageA(hwnd_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == Checked()) return;
  checked_ = checked;
  if (hwnd_) SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  Click();
}

bool TCheckBox::Checked() const {
  if (hwnd_) return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return checked_;
}

bool TCheckBox::CommandNotify(WORD code) {
  if (code != BN_CLICKED) return false;
  checked_ = Checked();
  Click();
  return true;
}

HBRUSH TCheckBox::ControlColor(HDC dc) {
  COLORREF back = parent_ ? parent_->Color() : color_;
  SetBkColor(dc, back);
  SetTextColor(dc, Font().Color);
  return SolidBrushFor(back);
}
