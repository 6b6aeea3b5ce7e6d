// TAboutBox: the skinned about box with the home-page link.
#pragma once
#include "kelvolite/controls/speed_button.h"
#include "kelvolite/forms/form.h"
#include "kelvolite/forms/image.h"
#include "kelvolite/forms/image_list.h"
#include "kelvolite/forms/label.h"

class TAboutBox : public TForm {
public:
  explicit TAboutBox(TForm* owner);
  ~TAboutBox() override { Destroying(); }

  TImageList ImageList1;
  TImage ProgramIcon;
  TLabel lCredits;
  TImage Image1;
  TPSpeedButton bbtOKButton;

  void OKButtonClick(TObject* sender);
  void Image1Click(TObject* sender);
  void ProgramIconMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void lCreditsClick(TObject* sender);

private:
  void CreateComponents();
};

// The box while it is shown.
extern TAboutBox* AboutBox;

// The maker's home page, opened by the link on the box.
extern const char kHomePage[];
