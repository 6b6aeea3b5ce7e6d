#include "setup/ui/application_base.h"
#include "setup/ui/window_base.h"
#include "setup/ui/window_services.h"

namespace {

// The system's message box, bound while it is shown: it lays itself out in
// its own WM_INITDIALOG, then is centred like setup's other windows.
class MessageBoxWindow : public WindowBase {
 public:
  bool OnInitDialog(HWND, LPARAM, LRESULT& result) override {
    result = DefaultProcessing();
    CentreWindow(window);
    return true;
  }
};

}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
  ApplicationBase* app = ApplicationBase::Instance();
  if (!caption)
    caption = app ? app->title.c_str() : "";
  MessageBoxWindow box;
  if (!WindowBase::BeginCreation(&box))
    return IDCANCEL;
  const int answer = MessageBoxA(owner, text, caption, style);
  WindowBase::EndCreation(&box);
  return answer;
}
