#include "setup/ui/property_sheet.h"

#include "setup/ui/application_base.h"
#include "setup/ui/window_services.h"

PropertyPageWindow::PropertyPageWindow(UINT templateId) : page() {
  page.dwSize = PROPSHEETPAGEA_V1_SIZE;
  page.pszTemplate = MAKEINTRESOURCEA(templateId);
  page.pfnDlgProc = FrameworkDialogProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
  page.pfnCallback = PageCallback;
  flags |= kWindowDeleteOnDestroy;
}

HPROPSHEETPAGE PropertyPageWindow::Create() {
  page.dwFlags |= PSP_USECALLBACK;
  if (page.dwFlags & PSP_DLGINDIRECT) {
    ApplicationBase* app = ApplicationBase::Instance();
    page.hInstance = app && app->resourceModule ? app->resourceModule
                                                : GetModuleHandleA(nullptr);
  } else {
    page.hInstance = FindResourceModule(RT_DIALOG, page.pszTemplate);
  }
  flags = (flags | kWindowDialog) & ~kWindowModal;
  // The sheet owns the page window; the object goes when the page is
  // released, not when its window is destroyed.
  if (flags & kWindowDeleteOnDestroy)
    flags = (flags & ~kWindowDeleteOnDestroy) | kPageDeleteOnRelease;
  handle = CreatePropertySheetPageA(&page);
  return handle;
}

HWND PropertyPageWindow::Sheet() const { return window ? GetParent(window) : nullptr; }

UINT CALLBACK PropertyPageWindow::PageCallback(HWND, UINT message, LPPROPSHEETPAGEA sheetPage) {
  auto* object = reinterpret_cast<PropertyPageWindow*>(sheetPage->lParam);
  if (!object)
    return 0;
  switch (message) {
    case PSPCB_ADDREF:
      object->OnPageAddRef();
      return 1;
    case PSPCB_CREATE:
      return object->OnPageCreate() && BeginCreation(object) ? 1 : 0;
    case PSPCB_RELEASE:
      EndCreation(object);
      object->OnPageRelease();
      object->handle = nullptr;
      if (object->flags & kPageDeleteOnRelease)
        delete object;
      return 0;
  }
  return 0;
}

bool PropertyPageWindow::OnNotify(UINT id, NMHDR* header, LRESULT& result) {
  if (!header || header->hwndFrom != Sheet())
    return WindowBase::OnNotify(id, header, result);
  switch (header->code) {
    case PSN_SETACTIVE:
      result = OnSetActive();
      if (result == 0)
        SendMessageA(Sheet(), kSheetPageActivated, 0, 0);
      return true;
    case PSN_KILLACTIVE:
      result = OnKillActive() ? TRUE : FALSE;
      return true;
    case PSN_APPLY:
      OnApply();
      result = PSNRET_NOERROR;
      return true;
    case PSN_RESET:
      OnReset();
      result = 0;
      return true;
    case PSN_QUERYCANCEL: {
      const bool refuse = OnQueryCancel();
      result = refuse ? TRUE : FALSE;
      if (!refuse)
        CloseModelessSheet();
      return true;
    }
    case PSN_HELP:
      OnHelp();
      result = 0;
      return true;
    case PSN_WIZBACK:
      result = OnWizardBack();
      return true;
    case PSN_WIZNEXT:
      result = OnWizardNext();
      return true;
    case PSN_WIZFINISH: {
      const bool refuse = OnWizardFinish();
      result = refuse ? TRUE : FALSE;
      if (!refuse)
        CloseModelessSheet();
      return true;
    }
  }
  return WindowBase::OnNotify(id, header, result);
}

// The common controls still use the sheet when the notification returns,
// so the sheet is destroyed from its own queue, not from here.
void PropertyPageWindow::CloseModelessSheet() {
  auto* sheet = dynamic_cast<PropertySheetWindow*>(FromHandle(Sheet()));
  if (sheet && sheet->modeless())
    PostMessageA(sheet->window, kSheetDestroyLater, 0, 0);
}

void PropertyPageWindow::OnPageAddRef() {}
bool PropertyPageWindow::OnPageCreate() { return true; }
void PropertyPageWindow::OnPageRelease() {}

void PropertyPageWindow::OnApply() {
  if (flags & kPageCancelToClose)
    SendMessageA(Sheet(), PSM_CANCELTOCLOSE, 0, 0);
}

void PropertyPageWindow::OnReset() {}
bool PropertyPageWindow::OnQueryCancel() { return false; }

LRESULT PropertyPageWindow::OnSetActive() {
  flags &= ~kPageLeaving;
  return ExchangeData(false) ? 0 : -1;
}

bool PropertyPageWindow::OnKillActive() {
  return !((flags & kPageLeaving) || ExchangeData(true));
}

void PropertyPageWindow::OnHelp() {}

LRESULT PropertyPageWindow::OnWizardBack() {
  flags |= kPageLeaving;
  return 0;
}

LRESULT PropertyPageWindow::OnWizardNext() {
  if (!ExchangeData(true))
    return -1;
  flags |= kPageLeaving;
  return 0;
}

bool PropertyPageWindow::OnWizardFinish() { return false; }
