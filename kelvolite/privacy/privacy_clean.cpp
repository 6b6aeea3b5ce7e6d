// The privacy page's execute button: every ticked action in a fixed order,
// then the restart question when something was left for the restart.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "kelvolite/app/main_form.h"
#include "kelvolite/controls/system_error.h"
#include "kelvolite/privacy/clean_paths.h"

namespace {

const char kShellFolders[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kTypedUrls[] = "\\Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char kOperaKey[] = "\\Software\\Netscape\\Netscape Navigator\\5.0, Opera\\Main";

// The last part of a folder path ("C:\Program Files\Opera7\" gives "Opera7").
std::string LastPart(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  std::string::size_type slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void TForm1::bbtPrivacyConfirmClick(TObject*) {
  bool restart = false;
  FUnscheduledError = 0;
  // The work that follows blocks the window: the text must show first.
  auto progress = [this](const char* text) {
    lIEDeleteProcess.SetCaption(text);
    lWindowsDeleteProcess.SetCaption(text);
    lIEDeleteProcess.Repaint();
    lWindowsDeleteProcess.Repaint();
  };

  FRegistry->SetRootKey(HKEY_CURRENT_USER);
  if (FRegistry->OpenKeyReadOnly(kShellFolders)) {
    const struct {
      TCheckBox* box;
      const char* progress;
      const char* value;
    } folders[] = {
        {&cbCookies, "Deleting: Cookies", "Cookies"},
        {&cbInternetFiles, "Deleting: Temporary Internet Files", "Cache"},
        {&cbHistory, "Deleting: History", "History"},
        {&cbFavorites, "Deleting: Favorites", "Favorites"},
        {&cbRecent, "Deleting: Recent Documents", "Recent"},
    };
    for (const auto& action : folders) {
      if (!action.box->Checked()) continue;
      progress(action.progress);
      const std::string folder = FRegistry->ReadString(action.value);
      if (!folder.empty() && !CleanFolder(folder, "*.*")) restart = true;
      action.box->SetChecked(false);
    }
    FRegistry->CloseKey();
  }

  if (cbURLs.Checked()) {
    progress("Deleting: Typed URL's");
    if (FRegistry->OpenKey(kTypedUrls, false)) {
      FRegistry->CloseKey();
      FRegistry->DeleteKey(kTypedUrls);
    }
    cbURLs.SetChecked(false);
  }
  if (cbWinTemp.Checked()) {
    progress("Deleting: Windows Temporary Files");
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n > 0 && n < MAX_PATH && !CleanFolder(temp, "*.*")) restart = true;
    const std::string windows = WindowsFolder();
    if (!windows.empty() && !CleanFolder(windows + "\\Temp", "*.*")) restart = true;
    cbWinTemp.SetChecked(false);
  }
  if (cbRecycleBin.Checked()) {
    progress("Deleting: RecycleBin");
    SHEmptyRecycleBinA(Handle(), nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    cbRecycleBin.SetChecked(false);
  }
  lIEDeleteProcess.SetCaption("");
  lWindowsDeleteProcess.SetCaption("");

  if (FOperaInstalled) {
    FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
    std::string install;
    if (FRegistry->OpenKeyReadOnly(kOperaKey)) {
      install = LastPart(FRegistry->ReadString("Install Directory"));
      FRegistry->CloseKey();
    }
    char appData[MAX_PATH] = "";
    if (!install.empty() && SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData)) &&
        appData[0] != '\0') {
      const std::string profile = JoinPath(appData, "Opera\\" + install + "\\Profile\\");
      const struct {
        TCheckBox* box;
        const char* files[2];
      } opera[] = {
          {&cbOperaCookies, {"Cookies4.dat", nullptr}},
          {&cbOperaInternetFiles, {nullptr, nullptr}},
          {&cbOperaHistory, {"Global.dat", nullptr}},
          {&cbOperaFavorites, {"Opera6.adr", "Opera6.adr.bak"}},
          {&cbOperaURLs, {"Opera.dir", nullptr}},
          {&cbOperaDownloadHistory, {"Download.dat", nullptr}},
      };
      for (const auto& action : opera) {
        if (!action.box->Checked()) continue;
        action.box->SetChecked(false);
        if (action.box == &cbOperaInternetFiles) {
          if (!CleanFolder(profile + "CACHE4", "*.*")) restart = true;
          continue;
        }
        for (const char* file : action.files) {
          if (!file) continue;
#ifdef KV_BUILD_NT
          if (!CleanFile(profile + file)) restart = true;
#else
          if (!CleanFolder(profile, file)) restart = true;
#endif
        }
      }
    }
  }
  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);

  // What could neither be deleted nor scheduled is told once, with the
  // system's reason; it is no cause to restart.
  if (FUnscheduledError != 0) ShowSystemError(FUnscheduledError);
  if (restart) AskRestart();
}
