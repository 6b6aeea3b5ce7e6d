#include "kelvolite/controls/about_box.h"

#include <shellapi.h>

#include "kelvolite/controls/message_box.h"
#include "kelvolite/controls/system_error.h"

TAboutBox* AboutBox = nullptr;
const char kHomePage[] = "http://www.quorlansoft.com/";

TAboutBox::TAboutBox(TForm* owner) : TForm(owner, "TAboutBox") { CreateComponents(); }

void TAboutBox::CreateComponents() {
  SetCaption("About");
  SetClientSize(399, 240);
  SetColor(RGB(216, 216, 216));
  SetPosition(poOwnerFormCenter);

  ImageList1.SetSize(88, 20);
  ImageList1.LoadStrip("ilAboutButtons");

  ProgramIcon.SetBounds(0, 0, 400, 250);
  ProgramIcon.SetStretch(true);
  ProgramIcon.SetPicture("imgAbout");
  ProgramIcon.OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    ProgramIconMouseDown(s, b, sh, x, y);
  };
  ProgramIcon.SetParent(this);

  lCredits.SetBounds(24, 232, 40, 13);
  lCredits.SetCaption("Credits");
  lCredits.SetCursor(LoadCursor(nullptr, IDC_HAND));
  lCredits.SetVisible(false);
  lCredits.OnClick = [this](TObject* s) { lCreditsClick(s); };
  lCredits.SetParent(this);

  Image1.SetBounds(96, 176, 209, 25);
  Image1.SetCursor(LoadCursor(nullptr, IDC_HAND));
  Image1.OnClick = [this](TObject* s) { Image1Click(s); };
  Image1.SetParent(this);

  bbtOKButton.SetBounds(158, 210, 88, 20);
  bbtOKButton.SetFlat(true);
  bbtOKButton.SetCancel(true);
  bbtOKButton.SetImages(&ImageList1);
  bbtOKButton.SetImageIndexes(0, 2, 1);
  bbtOKButton.SetShowHint(true);
  bbtOKButton.OnClick = [this](TObject* s) { OKButtonClick(s); };
  bbtOKButton.SetParent(this);
}

void TAboutBox::OKButtonClick(TObject*) { SetModalResult(mrOk); }

void TAboutBox::Image1Click(TObject*) {
  HINSTANCE rc = ShellExecuteA(Handle(), nullptr, "iexplore", kHomePage, nullptr, SW_SHOWMAXIMIZED);
  if (reinterpret_cast<INT_PTR>(rc) <= 32) ShowSystemError(GetLastError());
}

void TAboutBox::ProgramIconMouseDown(TObject*, TMouseButton, TShiftState, int, int) { DragWindow(Handle()); }

void TAboutBox::lCreditsClick(TObject*) {}
