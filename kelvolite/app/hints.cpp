#include "kelvolite/app/hints.h"

#include <windows.h>

#include "kelvolite/app/main_form.h"

bool RegisteredLanguage(TRegistry& registry, std::string& section) {
  const char kKey[] = "\\Software\\Quorlan Soft\\Kelvo Remover 2004 Lite";
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.KeyExists(kKey)) return false;
  // Reading only: an installation by another user leaves the key read-only to us.
  if (!registry.OpenKeyReadOnly(kKey)) return false;
  if (!registry.ValueExists("Language")) {
    registry.CloseKey();
    return false;
  }
  section = registry.ReadString("Language");
  registry.CloseKey();
  return true;
}

std::string LanguageFileName() {
  char folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  return std::string(folder) + "\\lang.lng";
}

std::string ReadHintText(const std::string& file, const std::string& section, const char* key,
                         const char* fallback) {
  char text[500] = {};
  GetPrivateProfileStringA(section.c_str(), key, fallback, text, sizeof text, file.c_str());
  return text;
}

void TForm1::LoadHints() {
  std::string section;
  if (!RegisteredLanguage(*FRegistry, section)) return;
  const std::string file = LanguageFileName();
  struct Hint {
    const char* key;
    std::function<void(const std::string&)> apply;
    const char* fallback;
  };
  auto control = [](TControl& c) { return [&c](const std::string& t) { c.SetHint(t); }; };
  auto item = [](TMenuItem& m) { return [&m](const std::string& t) { m.SetHint(t); }; };
  const Hint hints[] = {
      {"bbtUninstallIcon", control(bbtUninstallIcon), "Uninstall Programs"},
      {"bbtUninstall", control(bbtUninstall), "Uninstall the selected program"},
      {"bbtUninstallRefresh", control(bbtUninstallRefresh), "Refresh"},
      {"edUninstallFilter", control(edUninstallFilter), "Insert characters to filter programs"},
      {"pmiListViewDelete", item(pmiListViewDelete), "Uninstall the selected program"},
      {"pmiListViewRefresh", item(pmiListViewRefresh), "Refresh"},
      {"pmiListViewIcon", item(pmiListViewIcon), "Change to Icon view"},
      {"pmiListViewList", item(pmiListViewList), "Change to List view"},
      {"pmiListViewReport", item(pmiListViewReport), "Change to Report view"},
      {"bbtStartupIcon", control(bbtStartupIcon), "Startup Manager"},
      {"bbtStartupApply", control(bbtStartupApply), "Save your settings"},
      {"bbtStartupRefresh", control(bbtStartupRefresh), "Refresh"},
      {"bbtStartupRemove", control(bbtStartupRemove), "Remove the selected program from the Startup list"},
      {"bbtStartupAdd", control(bbtStartupAdd), "Add a new program to Startup"},
      {"lvStartup", control(lvStartup),
       "In order to Inactivate a Startup item uncheck it, to Activate one check it"},
      {"bbtTaskManIcon", control(bbtTaskManIcon), "Task Manager"},
      {"bbtTaskManKill", control(bbtTaskManKill), "Kill the selected process"},
      {"bbtTaskManRefresh", control(bbtTaskManRefresh), "Refresh"},
      {"bbtPrivacyIcon", control(bbtPrivacyIcon), "Privacy Manager"},
      {"cbInternetFiles", control(cbInternetFiles), "Select to delete all your Temporary Internet Files"},
      {"cbCookies", control(cbCookies), "Select to delete all your Cookies"},
      {"cbHistory", control(cbHistory), "Select to delete all your History files"},
      {"cbFavorites", control(cbFavorites), "Select to delete all your Favorites"},
      {"cbRecent", control(cbRecent), "Select to delete all your Recent Documents"},
      {"cbURLs", control(cbURLs), "Select to delete all your Typed URLs"},
      {"cbWinTemp", control(cbWinTemp), "Select to delete all your Windows Temporary Files"},
      {"bbtPrivacySelectAll",
       [this](const std::string& t) {
         bbtPrivacyIESelectAll.SetHint(t);
         bbtPrivacyWindowsSelectAll.SetHint(t);
       },
       "Select all actions"},
      {"bbtPrivacyConfirm", control(bbtPrivacyConfirm), "Execute the selected actions"},
      {"bbtHelpIcon", control(bbtHelpIcon), "Help"},
      {"bbtAboutIcon", control(bbtAboutIcon), "About"},
      {"bbtExitIcon", control(bbtExitIcon), "Minimize the program"},
      {"pmiUninstallprograms", item(pmiUninstallprograms), "Uninstall programs"},
      {"pmiStartupManager", item(pmiStartupManager), "Startup manager"},
      {"pmiTaskManager", item(pmiTaskManager), "Task manager"},
      {"pmiPrivacymanager", item(pmiPrivacymanager), "Privacy manager"},
      {"pmiHelp", item(pmiHelp), "Help"},
      {"pmiExit", item(pmiExit), "Exit program"},
      {"TrayIcon", [this](const std::string& t) { TrayIcon.SetHint(t); }, "Kelvo Remover 2004"},
  };
  for (const Hint& h : hints) h.apply(ReadHintText(file, section, h.key, h.fallback));
}
