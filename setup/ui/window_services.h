// Small services of the window framework: resources, centring, message
// boxes, the folder browser and the wait cursor.
#pragma once
#include <windows.h>

#include <string>

// The module that holds a resource: the resource module (a language DLL
// when one is loaded) first, then the program module when that is another
// file. Null when neither has it.
HMODULE FindResourceModule(const char* type, const char* name);
// The string from the resource module, else the program module; false when
// neither has it.
bool LoadStringText(UINT id, std::string& text);
std::string LoadStringText(UINT id);
HCURSOR LoadCursorResource(const char* id);

// Centres window over its parent, or over the screen when it has none or
// the parent is minimised, then keeps it inside the work area.
void CentreWindow(HWND window);

// A message box bound to a framework object while it is shown (so that it
// is centred like every other window). An absent caption takes the
// application title. IDCANCEL, without showing anything, while another
// window creation is pending.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// The shell's folder browser, rooted at the desktop, with the title string
// titleId and initialFolder preselected. False when the user cancels or
// the choice is not a file-system folder. A missing title string is a
// fatal internal failure (cException).
bool BrowseForFolder(HWND owner, UINT titleId, const char* initialFolder,
                     std::string& folder);

// Shows a cursor (the hourglass by default) until it goes out of scope.
class WaitCursor {
 public:
  explicit WaitCursor(HCURSOR cursor = LoadCursorA(nullptr, IDC_WAIT))
      : previous_(SetCursor(cursor)) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};
