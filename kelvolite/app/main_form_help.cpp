// The banner's About and Help buttons.
#include "kelvolite/app/main_form.h"

#include <shellapi.h>

#include "kelvolite/controls/about_box.h"
#include "kelvolite/controls/system_error.h"

void TForm1::bbtAboutIconClick(TObject*) {
  TAboutBox box(this);
  AboutBox = &box;
  box.ShowModal();
  AboutBox = nullptr;
}

void TForm1::bbtHelpIconClick(TObject*) {
  HINSTANCE rc = ShellExecuteA(Handle(), nullptr, "hh", "Kelvo Remover 2004.chm", nullptr, SW_SHOW);
  if (reinterpret_cast<INT_PTR>(rc) <= 32) ShowSystemError(GetLastError());
}
