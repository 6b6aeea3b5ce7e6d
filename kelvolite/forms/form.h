// A borderless top-level form: client size, colour, centring, the form
// events, modal showing with a modal result, and the tooltip window that
// shows its controls' hints.
//
// A derived form calls Destroying() first in its destructor, so that
// OnDestroy and the window's last messages still see its controls alive.
#pragma once
#include "kelvolite/forms/control.h"

enum TPosition { poDesigned, poScreenCenter, poOwnerFormCenter };

class TForm : public TWinControl {
public:
  // The owner's window owns the form's window (the application window
  // when null).
  explicit TForm(TForm* owner = nullptr, const char* windowClass = "TForm");
  ~TForm() override;

  TForm* Owner() const { return owner_; }
  void SetCaption(const std::string& caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  void SetClientSize(int width, int height);
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }
  void SetPosition(TPosition position) { position_ = position; }
  void SetConstraints(int minWidth, int minHeight);
  std::string HelpFile;

  void Show();
  void Hide();
  // Closes through OnCloseQuery; the main form ends the program.
  void Close();
  TModalResult ShowModal();
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  TModalResult ModalResult() const { return modalResult_; }
  bool Modal() const { return modal_; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnActivate;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnDestroy;

  // Runs OnCreate (called by the derived form once its controls exist).
  void DoCreate();
  void DoActivate();
  // Runs OnDestroy and destroys the window while the controls still exist.
  void Destroying();

protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void PlaceOnFirstShow();

private:
  TForm* owner_;
  const char* windowClass_;
  TPosition position_ = poDesigned;
  int minWidth_ = 0, minHeight_ = 0;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool placed_ = false;
  bool destroyed_ = false;
  HWND focusedWindow_ = nullptr;
};
