#include "kelvolite/forms/edit.h"

void TEdit::CreateParams(TCreateParams& params) {
  params.ClassName = "EDIT";
  params.StandardClass = true;
  params.Style = WS_TABSTOP | ES_AUTOHSCROLL;
  params.ExStyle = WS_EX_CLIENTEDGE;
}

void TEdit::SetText(const std::string& text) {
  if (text == Text()) return;
  TWinControl::SetText(text);
  // Without a window there is no EN_CHANGE to tell us.
  if (!hwnd_ && OnChange) OnChange(this);
}

bool TEdit::CommandNotify(WORD code) {
  if (code != EN_CHANGE) return false;
  if (OnChange) OnChange(this);
  return true;
}
