// Hyperlink: a one-line static control that reads "visible text\ntarget".
// Clicking it posts WM_COMMAND with the number after a leading '#' to its
// parent ("Help\n#1006" posts command 1006), or opens any other target with
// the shell ("mailto:...", "http://..."). The parent must be a framework
// window, which reflects the control's colour request to it.
#pragma once
#include "setup/ui/gdi_handles.h"
#include "setup/ui/window_base.h"

class Hyperlink : public WindowBase {
 public:
  // Turns the static control id of parent into a hyperlink.
  bool Create(HWND parent, int id);

  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT& result) override;

 private:
  void Follow();

  FontHandle underlined_;
  HCURSOR hand_ = nullptr;
};
