#include "kelvolite/startup/startup_create_dialog.h"

#include <objbase.h>
#include <shlobj.h>

#include "kelvolite/app/hints.h"
#include "kelvolite/controls/message_box.h"
#include "kelvolite/controls/system_error.h"
#include "kelvolite/forms/win_handle.h"

TfmStartupCreateDialog* fmStartupCreateDialog = nullptr;

namespace {

const char kShellFolders[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// Characters a file name cannot hold; "\" and "/" would also lead the link
// out of the Startup folder.
const char kBadNameCharacters[] = "\\/:*?\"<>|";

void Warn(HWND owner, const std::string& text) { MessageBoxA(owner, text.c_str(), "WARNING", MB_OK); }

}  // namespace

std::string ProposedDisplayName(const std::string& path) {
  std::string::size_type slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string::size_type dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

HRESULT CreateStartupShortcut(const std::string& target, const std::string& linkPath,
                              const std::string& description) {
  TComPtr<IShellLinkA> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Receive());
  if (FAILED(hr)) return hr;
  link->SetPath(target.c_str());
  link->SetDescription(description.c_str());
  std::string::size_type slash = target.find_last_of('\\');
  link->SetWorkingDirectory(slash == std::string::npos ? "" : target.substr(0, slash + 1).c_str());
  TComPtr<IPersistFile> file;
  hr = link->QueryInterface(IID_IPersistFile, file.Receive());
  if (FAILED(hr)) return hr;
  WCHAR widePath[MAX_PATH];
  if (!MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH))
    return HRESULT_FROM_WIN32(GetLastError());
  return file->Save(widePath, FALSE);
}

TfmStartupCreateDialog::TfmStartupCreateDialog(TForm* owner) : TForm(owner, "TfmStartupCreateDialog") {
  CreateComponents();
  DoCreate();
}

void TfmStartupCreateDialog::CreateComponents() {
  SetCaption("Create new entry");
  SetClientSize(386, 156);
  SetColor(RGB(216, 216, 216));
  SetPosition(poOwnerFormCenter);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };

  ilStartupCreateButtons.SetSize(88, 20);
  ilStartupCreateButtons.LoadStrip("ilStartupCreateButtons");

  Image1.SetBounds(0, 0, 386, 156);
  Image1.SetPicture("imgStartupCreate");
  Image1.OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Image1MouseDown(s, b, sh, x, y);
  };
  Image1.SetParent(this);

  const TFont labelFont{"Arial", -11, true, RGB(61, 71, 97)};
  const struct {
    TLabel* label;
    const char* caption;
    int top;
    bool visible;
  } labels[] = {{&lFileName, "File name", 45, true},
                {&lDisplayName, "Display name", 79, true},
                {&lRunFrom, "Run from", 102, false}};
  for (const auto& l : labels) {
    l.label->SetBounds(14, l.top, 80, 14);
    l.label->SetFont(labelFont);
    l.label->SetCaption(l.caption);
    l.label->SetVisible(l.visible);
    l.label->SetParent(this);
  }

  edFileName.SetBounds(96, 42, 184, 21);
  edFileName.SetShowHint(true);
  edFileName.SetParent(this);
  edDisplayName.SetBounds(96, 76, 184, 21);
  edDisplayName.SetShowHint(true);
  edDisplayName.SetParent(this);

  const struct {
    TPSpeedButton* button;
    int left, top, firstImage;
    bool cancel;
    void (TfmStartupCreateDialog::*handler)(TObject*);
  } buttons[] = {{&bbtBrowse, 286, 42, 0, false, &TfmStartupCreateDialog::bbtBrowseClick},
                 {&bbtCreate, 190, 126, 3, false, &TfmStartupCreateDialog::bbtCreateClick},
                 {&bbtCancel, 286, 126, 6, true, &TfmStartupCreateDialog::bbtCancelClick}};
  for (const auto& b : buttons) {
    b.button->SetBounds(b.left, b.top, 88, 20);
    b.button->SetFlat(true);
    b.button->SetImages(&ilStartupCreateButtons);
    b.button->SetImageIndexes(b.firstImage, b.firstImage + 1, b.firstImage + 2);
    b.button->SetCancel(b.cancel);
    b.button->SetShowHint(true);
    auto handler = b.handler;
    b.button->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    b.button->SetParent(this);
  }

  odStartupCreateNew.Filter = "Executable files (*.exe;*lnk)|*.exe|Link files (*.lnk)|*.lnk|All files (*.*)|*.*";
  odStartupCreateNew.Options = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;
}

void TfmStartupCreateDialog::FormCreate(TObject*) {
  FRegistry = std::make_unique<TRegistry>();
  std::string section;
  if (RegisteredLanguage(*FRegistry, section)) {
    const std::string file = LanguageFileName();
    const struct {
      TControl* control;
      const char* key;
      const char* fallback;
    } hints[] = {
        {&edFileName, "edFileName", "Name of the application you want to insert in Startup"},
        {&edDisplayName, "edDisplayName", "Insert the Display Name for the application you want to insert in Startup"},
        {&bbtBrowse, "bbtBrowse", "Browse the application you want to insert in Startup"},
        {&bbtCreate, "bbtCreate", "Create new Startup item"},
        {&bbtCancel, "bbtCancel", "Cancel"},
    };
    for (const auto& h : hints) h.control->SetHint(ReadHintText(file, section, h.key, h.fallback));
  }
  FRegistry->SetRootKey(HKEY_CURRENT_USER);
}

void TfmStartupCreateDialog::FormDestroy(TObject*) { FRegistry.reset(); }

void TfmStartupCreateDialog::Image1MouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  DragWindow(Handle());
}

void TfmStartupCreateDialog::bbtBrowseClick(TObject*) {
  if (!odStartupCreateNew.Execute(Handle())) return;
  edFileName.SetText(odStartupCreateNew.FileName);
  edDisplayName.SetText(ProposedDisplayName(odStartupCreateNew.FileName));
}

void TfmStartupCreateDialog::bbtCreateClick(TObject*) {
  const std::string fileName = edFileName.Text();
  DWORD attributes = GetFileAttributesA(fileName.c_str());
  if (fileName.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    Warn(Handle(), fileName + "\nFile not found.\nPlease verify the correct path and filename was given.");
    edFileName.SetFocus();
    return;
  }
  // Without the Startup folder there is nowhere to put the link: a path
  // built from an empty folder would land in the root of the drive.
  std::string startupFolder;
  if (FRegistry->OpenKeyReadOnly(kShellFolders)) {
    startupFolder = FRegistry->ReadString("Startup");
    FRegistry->CloseKey();
  }
  if (startupFolder.empty()) {
    ShowSystemError(ERROR_PATH_NOT_FOUND);
    return;
  }
  const std::string displayName = edDisplayName.Text();
  if (displayName.empty()) {
    Warn(Handle(), "No display name was given.\nPlease give one.");
    edDisplayName.SetFocus();
    return;
  }
  if (displayName.find_first_of(kBadNameCharacters) != std::string::npos) {
    Warn(Handle(), "A display name cannot contain any of the characters\n\\ / : * ? \" < > |");
    edDisplayName.SetFocus();
    return;
  }
  const std::string linkPath = startupFolder + "\\" + displayName + ".lnk";
  // Another item of that name would be lost without a word.
  if (GetFileAttributesA(linkPath.c_str()) != INVALID_FILE_ATTRIBUTES &&
      ShowMessageBox(this, "A Startup item named \n" + displayName + " already exists. Replace it?", "Confirm",
                     mbkYesNo) != mrYes) {
    edDisplayName.SetFocus();
    return;
  }
  HRESULT hr;
  {
    TComScope com;
    hr = CreateStartupShortcut(fileName, linkPath, "Shortcut to " + fileName);
  }
  // The dialog stays open on failure, so nothing the user typed is lost.
  if (FAILED(hr)) {
    ShowSystemError(static_cast<DWORD>(hr));
    return;
  }
  edFileName.SetText("");
  edDisplayName.SetText("");
  Close();
}

void TfmStartupCreateDialog::bbtCancelClick(TObject*) {
  edFileName.SetText("");
  edDisplayName.SetText("");
  Close();
}
