// TForm1: the main window. Its controls are created in main_form_layout.cpp;
// the window events, navigation, tray and help live in the other
// main_form_*.cpp files, and each page's operations in its own folder
// (uninstall/, startup/, taskman/, privacy/).
#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include "kelvolite/controls/speed_button.h"
#include "kelvolite/forms/check_box.h"
#include "kelvolite/forms/edit.h"
#include "kelvolite/forms/form.h"
#include "kelvolite/forms/image.h"
#include "kelvolite/forms/image_list.h"
#include "kelvolite/forms/label.h"
#include "kelvolite/forms/list_view.h"
#include "kelvolite/forms/menu.h"
#include "kelvolite/forms/panel.h"
#include "kelvolite/forms/registry.h"
#include "kelvolite/forms/string_list.h"
#include "kelvolite/forms/tray_icon.h"

class TPRegistryEntry;

// Pages, as FCurrentPage holds them.
constexpr int pgUninstall = 1, pgStartup = 2, pgTaskMan = 4, pgPrivacy = 8;

class TForm1 : public TForm {
public:
  TForm1();
  ~TForm1() override;

  // Banner.
  TPanel plMenu, Panel1;
  TImage Image1;
  TPSpeedButton bbtAboutIcon, bbtHelpIcon, bbtExitIcon;
  TLabel lMessage;
  // Navigation bar.
  TPanel plLeft;
  TImage Image8;
  TPSpeedButton bbtUninstallIcon, bbtStartupIcon, bbtTaskManIcon, bbtPrivacyIcon;
  TPanel plRight;
  TImage Image2;
  // Button bars.
  TPanel plButtonHolder;
  TPanel plUninstallButtons;
  TPSpeedButton bbtUninstall, bbtUninstallRefresh;
  TLabel lUninstallFilter;
  TEdit edUninstallFilter;
  TPanel plStartupButtons;
  TPSpeedButton bbtStartupApply, bbtStartupRefresh, bbtStartupRemove, bbtStartupAdd;
  TLabel lStartupFilter;
  TEdit edStartupFilter;
  TPanel plTaskManButtons;
  TPSpeedButton bbtTaskManKill, bbtTaskManRefresh;
  TEdit edTaskManFilter;
  TPanel plPrivacyButtons;
  TPSpeedButton bbtPrivacyConfirm;
  // Pages.
  TPanel plUninstall;
  TListView lvUninstall;
  TPanel Panel2;
  TLabel lUninstallNumber;
  TPanel plStartup;
  TListView lvStartup;
  TPanel plTaskMan;
  TListView lvTaskMan;
  TPanel plPrivacy;
  TPanel plPrivacySelect, plPrivacyIE, plPrivacyWindows, plPrivacyOpera;
  TPSpeedButton bbtIE, bbtWindows, bbtOpera;
  TCheckBox cbInternetFiles, cbCookies, cbHistory, cbFavorites, cbURLs, cbPrivacyIESelectAll;
  TLabel lPrivacyIESelected, lPrivacyIEList, lIEDeleteProcess, lPrivacyWarning;
  TPSpeedButton bbtPrivacyIESelectAll;
  TCheckBox cbRecycleBin, cbWinTemp, cbRecent, cbPrivacyWindowsSelectAll;
  TLabel lPrivacyWindowsSelected, lPrivacyWindowsList, lWindowsDeleteProcess;
  TPSpeedButton bbtPrivacyWindowsSelectAll;
  TCheckBox cbOperaInternetFiles, cbOperaCookies, cbOperaHistory, cbOperaFavorites, cbOperaURLs,
      cbOperaDownloadHistory, cbOperaDownloadList;
  TPSpeedButton bbtPrivacyOperaSelectAll;
  TPanel plWait;
  TLabel lWait;
  // Non-visual components.
  TImageList ilBigButtons, ilPanelButtons, ilHelpButtons, ilPrivacyIcons, ilUninstallLargeIcons,
      ilUninstallSmallIcons, ilNoIconNagy, ilNoIconKicsi, ilTrayMenu;
  TPopupMenu pmTray;
  TMenuItem pmiUninstallprograms, pmiStartupManager, pmiTaskManager, pmiPrivacymanager, N1, pmiHelp, N2,
      pmiExit;
  TPopupMenu pmUninstallListView;
  TMenuItem pmiListViewDelete, N3, pmiListViewRefresh, N4, pmiListViewIcon, pmiListViewList,
      pmiListViewReport;
  TTrayIcon TrayIcon;

  // State shared by the pages.
  std::unique_ptr<TRegistry> FRegistry;
  std::unique_ptr<TStringList> FNameList;
  std::string FUninstallKeyPath;
  int FCurrentPage = 0;
  TPRegistryEntry* FCurrentEntry = nullptr;
  std::string FFoundShortcut;
  std::string FBrowserName;
  std::string FStartupFolder, FCommonStartupFolder, FDisabledStartupFolder, FCommonDisabledStartupFolder;
  bool FOperaInstalled = false;

  // Window events.
  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormResize(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormDestroy(TObject* sender);
  void Panel1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void Image1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

  // Navigation (main_form_navigation.cpp).
  void HidePages();
  void bbtUninstallIconClick(TObject* sender);
  void bbtStartupIconClick(TObject* sender);
  void bbtTaskManIconClick(TObject* sender);
  void bbtPrivacyIconClick(TObject* sender);
  void bbtUninstallIconMouseEnter(TObject* sender);
  void bbtStartupIconMouseEnter(TObject* sender);
  void bbtTaskManIconMouseEnter(TObject* sender);
  void bbtPrivacyIconMouseEnter(TObject* sender);
  void bbtUninstallIconMouseLeave(TObject* sender);
  void bbtStartupIconMouseLeave(TObject* sender);
  void bbtTaskManIconMouseLeave(TObject* sender);
  void bbtPrivacyIconMouseLeave(TObject* sender);
  // The header text of a page.
  std::string PageHeader(int page) const;

  // Tray icon and menus (main_form_tray.cpp).
  void bbtExitIconClick(TObject* sender);
  void RestoreFromTray();
  void pmiUninstallprogramsClick(TObject* sender);
  void pmiStartupManagerClick(TObject* sender);
  void pmiTaskManagerClick(TObject* sender);
  void pmiPrivacymanagerClick(TObject* sender);
  void pmiHelpClick(TObject* sender);
  void pmiExitClick(TObject* sender);
  void pmiListViewIconClick(TObject* sender);
  void pmiListViewListClick(TObject* sender);
  void pmiListViewReportClick(TObject* sender);

  // About box and help (main_form_help.cpp).
  void bbtAboutIconClick(TObject* sender);
  void bbtHelpIconClick(TObject* sender);

  // Hint texts (hints.cpp).
  void LoadHints();

  // Uninstall page (uninstall/).
  void FillUninstallList();
  void bbtUninstallClick(TObject* sender);
  void bbtUninstallRefreshClick(TObject* sender);
  void edUninstallFilterChange(TObject* sender);
  void edUninstallFilterKeyPress(TObject* sender, char& key);
  void lvUninstallSelectItem(TObject* sender, TListItem* item, bool selected);
  void pmUninstallListViewPopup(TObject* sender);
  // Leaves the path of the first shortcut under `folder` whose name starts
  // with `name` and whose target has an icon in FFoundShortcut.
  void FindStartMenuShortcut(const std::string& folder, const std::string& name);
  // The target of a shortcut, or `path` itself when it is none.
  std::string ResolveShortcut(const std::string& path);
  // Startup page (startup/).
  void FillStartupList();
  bool StartupChangesPending();
  void bbtStartupApplyClick(TObject* sender);
  void bbtStartupRefreshClick(TObject* sender);
  void bbtStartupRemoveClick(TObject* sender);
  void bbtStartupAddClick(TObject* sender);
  void edStartupFilterChange(TObject* sender);
  void edStartupFilterKeyPress(TObject* sender, char& key);
  // Task manager page (taskman/).
  void FillProcessList();
  void bbtTaskManKillClick(TObject* sender);
  void bbtTaskManRefreshClick(TObject* sender);
  void edTaskManFilterChange(TObject* sender);
  void edTaskManFilterKeyPress(TObject* sender, char& key);
  void lvTaskManDblClick(TObject* sender);
  // Privacy page (privacy/).
  void CreatePrivacyPage();
  void DetectOpera();
  void bbtPrivacyConfirmClick(TObject* sender);
  void bbtIEClick(TObject* sender);
  void bbtWindowsClick(TObject* sender);
  void bbtOperaClick(TObject* sender);
  void cbAllIECheckBoxClick(TObject* sender);
  void cbAllWindowsCheckBoxClick(TObject* sender);
  void cbPrivacyIESelectAllClick(TObject* sender);
  void cbPrivacyWindowsSelectAllClick(TObject* sender);
  void bbtPrivacyIESelectAllClick(TObject* sender);
  void bbtPrivacyWindowsSelectAllClick(TObject* sender);
  void bbtPrivacyOperaSelectAllClick(TObject* sender);
  void GenerateSelectedList();
  // Deletion now or at the next restart (privacy/deferred_delete_*.cpp):
  // true when nothing matching was left behind.
  bool CleanFolder(const std::string& folder, const std::string& mask);
  bool DeleteMatching(const std::string& folder, const std::string& mask);
#ifdef KV_BUILD_NT
  bool CleanFile(const std::string& path);
#endif
  // Offers the restart that carries out the scheduled deletions.
  void AskRestart();
  // First error of an entry that could neither be deleted nor scheduled
  // (0: none) since the last cleaning run began.
  DWORD FUnscheduledError = 0;
#ifndef KV_BUILD_NT
  // wininit.ini being rewritten while CleanFolder runs, and the temporary
  // copy it is read from.
  FILE* FWininitCopy = nullptr;
  FILE* FWininit = nullptr;
  std::string FWininitCopyPath;
#endif

private:
  void CreateComponents();
  void SelectFirstItem(TListView& list);
  // The first row selected, and the list focused.
  void FocusFirstItem(TListView& list);
  // The rest of a switch to a list page, once FCurrentPage is set: its
  // button bar, its scan, the page, the first row focused, the header.
  void ShowListPage(TPanel& buttons, void (TForm1::*scan)(), TPanel& page, TListView& list);
  // A list page's Refresh: the filter emptied, the list scanned anew.
  void RefreshListPage(TEdit& filter, void (TForm1::*scan)(), TListView& list);
  // A tray menu item of a page: the window back, its button down, its page.
  void ShowPageFromTray(TPSpeedButton& navigationButton, void (TForm1::*click)(TObject*));
};
