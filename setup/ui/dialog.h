// Dialog: a modal or modeless dialog made from a template. OK saves the
// dialog's data and closes it with 1 when that succeeds; Cancel closes it
// with 2. The look (fonts and colours by control id) comes with the dialog
// flag, see WindowBase.
#pragma once
#include "setup/ui/window_base.h"

class Dialog : public WindowBase {
 public:
  bool OnCommand(UINT code, UINT id, HWND control) override;
  virtual void OnOK();
  virtual void OnCancel();

  // Ends a modal dialog with result; destroys a modeless one.
  void Close(INT_PTR result);
};
