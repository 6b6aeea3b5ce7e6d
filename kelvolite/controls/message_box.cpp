#include "kelvolite/controls/message_box.h"

TfmMessageBox* fmMessageBox = nullptr;

void DragWindow(HWND hwnd) {
  ReleaseCapture();
  SendMessageA(hwnd, WM_SYSCOMMAND, 0xF012, 0);
}

TfmMessageBox::TfmMessageBox(TForm* owner) : TForm(owner, "TfmMessageBox") {
  CreateComponents();
}

void TfmMessageBox::CreateComponents() {
  SetCaption("Confirmation");
  SetClientSize(308, 130);
  SetColor(RGB(216, 216, 216));
  SetPosition(poOwnerFormCenter);
  OnActivate = [this](TObject* s) { FormActivate(s); };

  ImageList1.SetSize(88, 20);
  ImageList1.LoadStrip("ilMessageBoxButtons");

  Image1.SetBounds(0, 0, 308, 130);
  Image1.SetPicture("imgMessageBox");
  Image1.OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Image1MouseDown(s, b, sh, x, y);
  };
  Image1.SetParent(this);

  lMessage.SetBounds(0, 0, 308, 130);
  lMessage.SetAlign(alClient);
  lMessage.SetAlignment(taCenter);
  lMessage.SetTransparent(true);
  lMessage.SetFont({"Arial", -11, true, RGB(61, 71, 97)});
  lMessage.OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    lMessageMouseDown(s, b, sh, x, y);
  };
  lMessage.SetParent(this);

  struct ButtonDesign {
    TPSpeedButton* button;
    int idle, hover, pressed;
    bool isDefault, isCancel;
    void (TfmMessageBox::*handler)(TObject*);
    int left, top;
  };
  const ButtonDesign design[] = {
      {&bbtYes, 0, 2, 1, true, false, &TfmMessageBox::bbtYesClick, 20, 100},
      {&bbtNo, 6, 8, 7, false, true, &TfmMessageBox::bbtNoClick, 68, 100},
      {&bbtOk, 12, 14, 13, true, false, &TfmMessageBox::bbtOkClick, 148, 100},
      {&bbtCancel, 15, 17, 16, false, true, &TfmMessageBox::bbtCancelClick, 220, 100},
      {&bbtYes2, 3, 5, 4, true, false, &TfmMessageBox::bbtYesClick, 20, 76},
      {&bbtNo2, 9, 11, 10, false, true, &TfmMessageBox::bbtNoClick, 68, 76},
      {&bbtOk2, 21, 23, 22, true, false, &TfmMessageBox::bbtOkClick, 148, 76},
      {&bbtCancel2, 18, 20, 19, false, true, &TfmMessageBox::bbtCancelClick, 220, 76},
  };
  for (const auto& d : design) {
    d.button->SetBounds(d.left, d.top, 88, 20);
    d.button->SetFlat(true);
    d.button->SetImages(&ImageList1);
    d.button->SetImageIndexes(d.idle, d.hover, d.pressed);
    d.button->SetDefault(d.isDefault);
    d.button->SetCancel(d.isCancel);
    auto handler = d.handler;
    d.button->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    d.button->SetParent(this);
  }
}

void TfmMessageBox::FormActivate(TObject*) {
  struct Place {
    TPSpeedButton* button;
    int left, top;
  };
  struct Layout {
    int kind;
    Place places[3];
  };
  const Layout layouts[] = {
      {mbkOk, {{&bbtOk2, 109, 101}, {nullptr, 0, 0}, {nullptr, 0, 0}}},
      {mbkOkCancel, {{&bbtOk, 40, 101}, {&bbtCancel2, 176, 101}, {nullptr, 0, 0}}},
      {mbkYesNoCancel, {{&bbtYes2, 11, 102}, {&bbtNo2, 110, 102}, {&bbtCancel, 209, 102}}},
      {mbkYesNo, {{&bbtYes, 40, 102}, {&bbtNo, 176, 102}, {nullptr, 0, 0}}},
  };
  const Layout* layout = nullptr;
  for (const Layout& l : layouts)
    if (l.kind == Tag) layout = &l;
  if (!layout) return;  // any other kind keeps the design
  for (TPSpeedButton* b : {&bbtYes, &bbtNo, &bbtOk, &bbtCancel, &bbtYes2, &bbtNo2, &bbtOk2, &bbtCancel2}) {
    bool shown = false;
    for (const Place& p : layout->places) shown = shown || p.button == b;
    b->SetVisible(shown);
  }
  for (const Place& p : layout->places) {
    if (!p.button) continue;
    p.button->SetLeft(p.left);
    p.button->SetTop(p.top);
  }
}

void TfmMessageBox::Image1MouseDown(TObject*, TMouseButton, TShiftState, int, int) { DragWindow(Handle()); }

void TfmMessageBox::lMessageMouseDown(TObject*, TMouseButton, TShiftState, int, int) { DragWindow(Handle()); }

void TfmMessageBox::bbtYesClick(TObject*) { SetModalResult(mrYes); }
void TfmMessageBox::bbtNoClick(TObject*) { SetModalResult(mrNo); }
void TfmMessageBox::bbtOkClick(TObject*) { SetModalResult(mrOk); }
void TfmMessageBox::bbtCancelClick(TObject*) { SetModalResult(mrCancel); }

int ShowMessageBox(TForm* owner, const std::string& text, const std::string& caption, int kind) {
  TfmMessageBox box(owner);
  fmMessageBox = &box;
  box.Tag = kind;
  box.SetCaption(caption);
  box.lMessage.SetCaption("\n\n" + text);
  box.lMessage.SetAlignment(taCenter);
  int result = box.ShowModal();
  fmMessageBox = nullptr;
  return result;
}
