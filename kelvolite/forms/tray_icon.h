// The notification-area icon: tooltip, pop-up menu on right-button release,
// and restore of the application on double click. While the program sits
// in the notification area its taskbar button is hidden.
#pragma once
#include <windows.h>

#include "kelvolite/forms/types.h"

class TPopupMenu;

class TTrayIcon : public TObject {
public:
  TTrayIcon();
  ~TTrayIcon() override;

  void SetIcon(HICON icon);
  void SetHint(const std::string& hint);
  const std::string& Hint() const { return hint_; }
  void SetPopupMenu(TPopupMenu* menu) { menu_ = menu; }
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  // Restores the application and brings the main form to the front.
  void Restore();
  // The window that receives the icon's messages (for tests and menus).
  HWND Handle() const { return hwnd_; }

  TNotifyEvent OnDblClick;

private:
  static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Message(UINT msg, WPARAM wp, LPARAM lp);
  bool Notify(DWORD action);

  HWND hwnd_ = nullptr;
  HICON icon_ = nullptr;
  std::string hint_;
  TPopupMenu* menu_ = nullptr;
  bool visible_ = false;
  UINT taskbarCreated_ = 0;
};
