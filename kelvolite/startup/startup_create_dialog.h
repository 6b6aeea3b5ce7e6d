// TfmStartupCreateDialog: adds a program to the user's Startup folder as a
// shortcut.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "kelvolite/controls/speed_button.h"
#include "kelvolite/forms/edit.h"
#include "kelvolite/forms/form.h"
#include "kelvolite/forms/image.h"
#include "kelvolite/forms/image_list.h"
#include "kelvolite/forms/label.h"
#include "kelvolite/forms/open_dialog.h"
#include "kelvolite/forms/registry.h"

class TfmStartupCreateDialog : public TForm {
public:
  explicit TfmStartupCreateDialog(TForm* owner);
  ~TfmStartupCreateDialog() override { Destroying(); }

  TImageList ilStartupCreateButtons;
  TImage Image1;
  TLabel lFileName, lDisplayName, lRunFrom;
  TEdit edFileName, edDisplayName;
  TPSpeedButton bbtBrowse, bbtCreate, bbtCancel;
  TOpenDialog odStartupCreateNew;

  void FormCreate(TObject* sender);
  void FormDestroy(TObject* sender);
  void Image1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void bbtBrowseClick(TObject* sender);
  void bbtCreateClick(TObject* sender);
  void bbtCancelClick(TObject* sender);

private:
  void CreateComponents();

  std::unique_ptr<TRegistry> FRegistry;
};

// The dialog while it is shown.
extern TfmStartupCreateDialog* fmStartupCreateDialog;

// Creates the shell link `linkPath` to `target`, working in the target's
// folder, replacing a link of that name. Returns the system's result.
HRESULT CreateStartupShortcut(const std::string& target, const std::string& linkPath,
                              const std::string& description);

// The display name proposed for a chosen program: its file name without
// folder and without the part from its last ".".
std::string ProposedDisplayName(const std::string& path);
