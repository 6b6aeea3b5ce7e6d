#include "setup/ui/dialog.h"

bool Dialog::OnCommand(UINT, UINT id, HWND) {
  switch (id) {
    case IDOK:
      OnOK();
      return true;
    case IDCANCEL:
      OnCancel();
      return true;
  }
  return false;
}

void Dialog::OnOK() {
  if (ExchangeData(true))
    Close(IDOK);
}

void Dialog::OnCancel() { Close(IDCANCEL); }

void Dialog::Close(INT_PTR result) {
  if (flags & kWindowModal)
    EndDialog(result);
  else
    DestroyWindow();
}
