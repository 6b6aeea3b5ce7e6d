// WizardSheet: the install wizard's modeless sheet. Its template loses the
// system menu and gives the pages the whole width above the separator; it
// carries an extra About button mirroring Cancel, takes its button texts
// from the string table and sits in the middle of the screen.
#pragma once
#include "setup/ui/property_sheet.h"

class SetupEngine;
struct WizardContext;

// The sheet's own controls.
enum WizardSheetControl {
  kSheetPageFrame = 0x3020,
  kSheetBack = 0x3023,
  kSheetNext = 0x3024,
  kSheetFinish = 0x3025,
  kSheetSeparator = 0x3026,
  kSheetHelp = 9,
};

class WizardSheet : public PropertySheetWindow {
 public:
  WizardSheet(SetupEngine& engine, WizardContext& context);

  void OnPreCreate(DLGTEMPLATE* dialogTemplate) override;
  void OnInitialised() override;
  bool OnCommand(UINT code, UINT id, HWND control) override;
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void AddAboutButton();
  SetupEngine& engine_;
  WizardContext& context_;
};

// Adjusts a sheet template (plain or extended): no system menu; the page
// frame at 0,0 as wide as the template and as high as the separator's top;
// the separator at x 0 as wide as the template. Exposed for tests.
void AdjustWizardTemplate(DLGTEMPLATE* dialogTemplate);
