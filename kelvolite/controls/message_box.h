// TfmMessageBox: the program's own skinned question box, and ShowMessageBox,
// through which every page asks and informs.
#pragma once
#include "kelvolite/controls/speed_button.h"
#include "kelvolite/forms/form.h"
#include "kelvolite/forms/image.h"
#include "kelvolite/forms/image_list.h"
#include "kelvolite/forms/label.h"

// Kinds of box (the buttons it shows).
constexpr int mbkOk = 0, mbkOkCancel = 1, mbkYesNoCancel = 3, mbkYesNo = 4;

class TfmMessageBox : public TForm {
public:
  explicit TfmMessageBox(TForm* owner);
  ~TfmMessageBox() override { Destroying(); }

  TImageList ImageList1;
  TImage Image1;
  TLabel lMessage;
  TPSpeedButton bbtYes, bbtNo, bbtOk, bbtCancel, bbtYes2, bbtNo2, bbtOk2, bbtCancel2;

  void FormActivate(TObject* sender);
  void Image1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void lMessageMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void bbtYesClick(TObject* sender);
  void bbtNoClick(TObject* sender);
  void bbtOkClick(TObject* sender);
  void bbtCancelClick(TObject* sender);

private:
  void CreateComponents();
};

// The box while it is shown.
extern TfmMessageBox* fmMessageBox;

// Shows `text` with `caption` in a modal box of `kind` owned by `owner`;
// returns 1 (OK), 2 (Cancel), 6 (Yes) or 7 (No).
int ShowMessageBox(TForm* owner, const std::string& text, const std::string& caption, int kind);

// Starts moving a borderless window with the mouse, as if by its caption.
void DragWindow(HWND hwnd);
