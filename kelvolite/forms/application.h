// The application object: the hidden top-level window of class
// "TApplication" that carries the taskbar button and owns every form, the
// message loop with Enter/Esc dialog keys, minimise/restore of the whole
// program, the mouse-over tracking and the default exception handler.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "kelvolite/forms/types.h"

class TControl;
class TForm;

class TApplication : public TObject {
public:
  TApplication();
  ~TApplication() override;

  void Initialize();
  HWND Handle() const { return hwnd_; }

  void SetTitle(const std::string& title);
  const std::string& Title() const { return title_; }

  // Takes ownership; the first form created becomes the main form.
  template <typename T>
  T* CreateForm() {
    auto form = std::make_unique<T>();
    T* raw = form.get();
    AddForm(std::move(form));
    return raw;
  }
  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* form) { mainForm_ = form; }

  // Shows the main form and runs the message loop until it closes.
  void Run();
  // Retrieves and handles every waiting message.
  void ProcessMessages();
  // Handles one message: dialog keys first, then the window's own handling.
  void HandleMessage(MSG& msg);
  void Terminate();
  bool Terminated() const { return terminated_; }

  void Minimize();
  void Restore();
  bool Minimized() const { return minimized_; }
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

  // The framework's default handler: a message box with the text.
  void HandleException(const std::exception& e);
  void ShowException(const std::exception& e);

  // The form that last became active (OnActivate runs when this changes).
  TForm* ActiveForm() const { return activeForm_; }
  void FormActivated(TForm* form);
  // Hands the active-form role back silently (end of a modal dialog).
  void RestoreActiveForm(TForm* form) { activeForm_ = form; }
  void FormDestroyed(TForm* form);

  // Hover tracking: the control under the pointer.
  TControl* MouseControl() const { return mouseControl_; }
  void SetMouseControl(TControl* control);
  TControl* ControlAtCursor() const;
  void ControlDestroyed(TControl* control);

private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT AppProc(UINT msg, WPARAM wp, LPARAM lp);
  void AddForm(std::unique_ptr<TForm> form);
  bool IsDialogKey(const MSG& msg);

  HWND hwnd_ = nullptr;
  std::string title_;
  std::vector<std::unique_ptr<TForm>> forms_;
  TForm* mainForm_ = nullptr;
  TForm* activeForm_ = nullptr;
  TControl* mouseControl_ = nullptr;
  std::vector<HWND> hiddenForms_;
  bool minimized_ = false;
  bool terminated_ = false;
};

extern TApplication* Application;
