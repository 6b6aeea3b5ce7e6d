#include "setup/ui/property_sheet.h"

#include "setup/ui/application_base.h"
#include "setup/ui/window_services.h"

PropertySheetWindow::PropertySheetWindow() : header() {
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
}

bool PropertySheetWindow::AddPage(PropertyPageWindow& page) {
  HPROPSHEETPAGE handle = page.handle ? page.handle : page.Create();
  if (!handle)
    return false;
  if (window)
    return SendMessageA(window, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle)) != 0;
  if (pages.size() == pages.capacity())
    pages.reserve(pages.size() + 10);
  pages.push_back(handle);
  return true;
}

HWND PropertySheetWindow::RunModeless(HWND parent) {
  const INT_PTR result = Run(parent, true);
  return result == -1 ? nullptr : reinterpret_cast<HWND>(result);
}

INT_PTR PropertySheetWindow::RunModal(HWND parent) { return Run(parent, false); }

INT_PTR PropertySheetWindow::Run(HWND parent, bool asModeless) {
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  header.dwFlags = (header.dwFlags | PSH_USECALLBACK) & ~PSH_PROPSHEETPAGE;
  if (asModeless)
    header.dwFlags |= PSH_MODELESS;
  else
    header.dwFlags &= ~PSH_MODELESS;
  header.hwndParent = parent;
  ApplicationBase* app = ApplicationBase::Instance();
  HMODULE resources = app && app->resourceModule ? app->resourceModule
                                                 : GetModuleHandleA(nullptr);
  if (header.pszCaption && IS_INTRESOURCE(header.pszCaption)) {
    // Strings live in blocks of 16, named after the block number plus 1.
    const UINT id = LOWORD(reinterpret_cast<ULONG_PTR>(header.pszCaption));
    HMODULE holder = FindResourceModule(RT_STRING, MAKEINTRESOURCEA(id / 16 + 1));
    header.hInstance = holder ? holder : resources;
  } else {
    header.hInstance = resources;
  }
  header.nPages = UINT(pages.size());
  header.phpage = pages.data();
  header.pfnCallback = SheetCallback;

  if (!BeginCreation(this))
    return -1;
  flags |= kWindowCreating;
  const INT_PTR result = PropertySheetA(&header);
  flags &= ~kWindowCreating;
  EndCreation(this);
  // The sheet owns the page handles now (or has destroyed them).
  pages.clear();
  header.phpage = nullptr;
  header.nPages = 0;
  return asModeless && result == 0 ? -1 : result;
}

int CALLBACK PropertySheetWindow::SheetCallback(HWND sheetWindow, UINT message, LPARAM lParam) {
  if (message == PSCB_PRECREATE) {
    auto* sheet = dynamic_cast<PropertySheetWindow*>(PendingObject());
    if (sheet && lParam)
      sheet->OnPreCreate(reinterpret_cast<DLGTEMPLATE*>(lParam));
  } else if (message == PSCB_INITIALIZED) {
    auto* sheet = dynamic_cast<PropertySheetWindow*>(FromHandle(sheetWindow));
    if (sheet)
      sheet->OnInitialised();
  }
  return 0;
}

void PropertySheetWindow::OnPreCreate(DLGTEMPLATE*) {}
void PropertySheetWindow::OnInitialised() {}

void PropertySheetWindow::EndDialog(INT_PTR) {
  if (window)
    SendMessageA(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

bool PropertySheetWindow::PreTranslateMessage(MSG& msg) {
  return window &&
         SendMessageA(window, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg));
}

bool PropertySheetWindow::OnSysCommand(UINT command, int, int) {
  if (command == SC_CLOSE && modeless() && window) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    return true;
  }
  return false;
}

bool PropertySheetWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
  switch (message) {
    case kSheetPageActivated: {
      HWND tabs = reinterpret_cast<HWND>(SendMessageA(window, PSM_GETTABCONTROL, 0, 0));
      if (tabs)
        activeIndex = int(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
      result = 0;
      return true;
    }
    case kSheetDestroyLater:
      DestroyWindow();
      result = 0;
      return true;
  }
  return WindowBase::WindowProc(message, wParam, lParam, result);
}
