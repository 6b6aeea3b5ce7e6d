// The main window's controls, as the form is designed: names, positions,
// pictures, and the events wired to their handlers.
#include "kelvolite/app/main_form.h"

namespace {

const COLORREF kFace = RGB(216, 216, 216);
const COLORREF kListColor = RGB(229, 229, 229);
const COLORREF kHeaderColor = RGB(61, 71, 97);

void PlaceButton(TPSpeedButton& b, TWinControl& parent, TImageList& images, int left, int top, int width,
                 int height, int idle, int hover, int pressed) {
  b.SetBounds(left, top, width, height);
  b.SetFlat(true);
  b.SetImages(&images);
  b.SetImageIndexes(idle, hover, pressed);
  b.SetShowHint(true);
  b.SetParent(&parent);
}

void PlaceButtonBar(TPanel& bar, TPanel& holder) {
  bar.SetAlign(alClient);
  bar.SetColor(kFace);
  bar.SetPicture("imgButtonBar");
  bar.SetParent(&holder);
}

void PlacePage(TPanel& page, TForm& form) {
  page.SetAlign(alClient);
  page.SetColor(kFace);
  page.SetParent(&form);
}

void AddItem(TPopupMenu& menu, TMenuItem& item, const char* name, const std::string& caption) {
  item.Name = name;
  item.SetCaption(caption);
  menu.Add(&item);
}

}  // namespace

void TForm1::CreateComponents() {
  SetCaption("Kelvo Remover 2004");
  SetClientSize(688, 443);
  SetColor(kFace);
  SetPosition(poScreenCenter);
  SetConstraints(160, 31);
  SetFont({"MS Sans Serif", -11, false, RGB(0, 0, 0)});
  HelpFile = "Kelvo Remover 2004.chm";

  ilBigButtons.SetSize(65, 65);
  ilBigButtons.LoadStrip("ilBigButtons");
  ilPanelButtons.SetSize(111, 20);
  ilPanelButtons.LoadStrip("ilPanelButtons");
  ilHelpButtons.SetSize(29, 20);
  ilHelpButtons.LoadStrip("ilHelpButtons");
  ilPrivacyIcons.SetSize(56, 56);
  ilPrivacyIcons.LoadStrip("ilPrivacyIcons");
  ilUninstallLargeIcons.SetSize(32, 32, true);
  ilUninstallSmallIcons.SetSize(16, 16, true);
  ilNoIconNagy.SetSize(32, 32, true);
  ilNoIconNagy.LoadStrip("ilNoIconNagy");
  ilNoIconKicsi.SetSize(16, 16, true);
  ilNoIconKicsi.LoadStrip("ilNoIconKicsi");
  ilTrayMenu.SetSize(16, 16, true);
  ilTrayMenu.LoadStrip("ilTrayMenu");

  // Banner.
  plMenu.SetBounds(0, 0, 688, 84);
  plMenu.SetAlign(alTop);
  plMenu.SetColor(kFace);
  plMenu.SetParent(this);
  Panel1.SetAlign(alClient);
  Panel1.SetColor(kFace);
  Panel1.OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Panel1MouseDown(s, b, sh, x, y);
  };
  Panel1.SetParent(&plMenu);
  Image1.SetBounds(0, 0, 691, 84);
  Image1.SetAlign(alLeft);
  Image1.SetPicture("imgBanner");
  Image1.OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Image1MouseDown(s, b, sh, x, y);
  };
  Image1.SetParent(&Panel1);
  PlaceButton(bbtAboutIcon, Panel1, ilHelpButtons, 513, 5, 29, 20, 6, 7, 8);
  bbtAboutIcon.OnClick = [this](TObject* s) { bbtAboutIconClick(s); };
  PlaceButton(bbtHelpIcon, Panel1, ilHelpButtons, 544, 5, 29, 20, 3, 4, 5);
  bbtHelpIcon.OnClick = [this](TObject* s) { bbtHelpIconClick(s); };
  PlaceButton(bbtExitIcon, Panel1, ilHelpButtons, 575, 5, 29, 20, 0, 1, 2);
  bbtExitIcon.SetCancel(true);
  bbtExitIcon.OnClick = [this](TObject* s) { bbtExitIconClick(s); };
  lMessage.SetBounds(112, 56, 560, 20);
  lMessage.SetTransparent(true);
  lMessage.SetFont({"Arial", -15, true, kHeaderColor});
  lMessage.SetAutoSize(true);
  lMessage.SetParent(&Panel1);

  // Navigation bar: one page button down at a time.
  plLeft.SetBounds(0, 84, 108, 313);
  plLeft.SetAlign(alLeft);
  plLeft.SetColor(kFace);
  plLeft.SetParent(this);
  Image8.SetAlign(alClient);
  Image8.SetPicture("imgNavBar");
  Image8.SetParent(&plLeft);
  struct Nav {
    TPSpeedButton* button;
    int top, first;
    void (TForm1::*click)(TObject*);
    void (TForm1::*enter)(TObject*);
    void (TForm1::*leave)(TObject*);
  };
  const Nav nav[] = {
      {&bbtUninstallIcon, 4, 0, &TForm1::bbtUninstallIconClick, &TForm1::bbtUninstallIconMouseEnter,
       &TForm1::bbtUninstallIconMouseLeave},
      {&bbtStartupIcon, 84, 3, &TForm1::bbtStartupIconClick, &TForm1::bbtStartupIconMouseEnter,
       &TForm1::bbtStartupIconMouseLeave},
      {&bbtTaskManIcon, 165, 6, &TForm1::bbtTaskManIconClick, &TForm1::bbtTaskManIconMouseEnter,
       &TForm1::bbtTaskManIconMouseLeave},
      {&bbtPrivacyIcon, 245, 9, &TForm1::bbtPrivacyIconClick, &TForm1::bbtPrivacyIconMouseEnter,
       &TForm1::bbtPrivacyIconMouseLeave},
  };
  for (const Nav& n : nav) {
    PlaceButton(*n.button, plLeft, ilBigButtons, 19, n.top, 65, 65, n.first, n.first + 1, n.first + 2);
    n.button->SetGroupIndex(1);
    auto click = n.click, enter = n.enter, leave = n.leave;
    n.button->OnClick = [this, click](TObject* s) { (this->*click)(s); };
    n.button->OnMouseEnter = [this, enter](TObject* s) { (this->*enter)(s); };
    n.button->OnMouseLeave = [this, leave](TObject* s) { (this->*leave)(s); };
  }
  bbtUninstallIcon.SetDown(true);

  plRight.SetBounds(0, 84, 7, 313);
  plRight.SetAlign(alRight);
  plRight.SetColor(kFace);
  plRight.SetParent(this);
  Image2.SetAlign(alClient);
  Image2.SetPicture("imgRightEdge");
  Image2.SetParent(&plRight);

  // Button bars.
  plButtonHolder.SetBounds(0, 397, 688, 46);
  plButtonHolder.SetAlign(alBottom);
  plButtonHolder.SetColor(kFace);
  plButtonHolder.SetParent(this);

  PlaceButtonBar(plUninstallButtons, plButtonHolder);
  PlaceButton(bbtUninstall, plUninstallButtons, ilPanelButtons, 142, 12, 111, 20, 12, 13, 14);
  bbtUninstall.OnClick = [this](TObject* s) { bbtUninstallClick(s); };
  PlaceButton(bbtUninstallRefresh, plUninstallButtons, ilPanelButtons, 268, 12, 111, 20, 3, 4, 5);
  bbtUninstallRefresh.OnClick = [this](TObject* s) { bbtUninstallRefreshClick(s); };
  lUninstallFilter.SetBounds(519, 15, 30, 13);
  lUninstallFilter.SetFont({"MS Sans Serif", -11, true, RGB(0, 0, 0)});
  lUninstallFilter.SetAlignment(taRightJustify);
  lUninstallFilter.SetCaption("Filter");
  lUninstallFilter.SetParent(&plUninstallButtons);
  edUninstallFilter.SetBounds(558, 10, 123, 21);
  edUninstallFilter.SetShowHint(true);
  edUninstallFilter.OnChange = [this](TObject* s) { edUninstallFilterChange(s); };
  edUninstallFilter.OnKeyPress = [this](TObject* s, char& k) { edUninstallFilterKeyPress(s, k); };
  edUninstallFilter.SetParent(&plUninstallButtons);

  PlaceButtonBar(plStartupButtons, plButtonHolder);
  PlaceButton(bbtStartupApply, plStartupButtons, ilPanelButtons, 142, 12, 111, 20, 0, 1, 2);
  bbtStartupApply.OnClick = [this](TObject* s) { bbtStartupApplyClick(s); };
  PlaceButton(bbtStartupRefresh, plStartupButtons, ilPanelButtons, 268, 12, 111, 20, 3, 4, 5);
  bbtStartupRefresh.OnClick = [this](TObject* s) { bbtStartupRefreshClick(s); };
  PlaceButton(bbtStartupRemove, plStartupButtons, ilPanelButtons, 394, 12, 111, 20, 6, 7, 8);
  bbtStartupRemove.OnClick = [this](TObject* s) { bbtStartupRemoveClick(s); };
  PlaceButton(bbtStartupAdd, plStartupButtons, ilPanelButtons, 520, 12, 111, 20, 9, 10, 11);
  bbtStartupAdd.OnClick = [this](TObject* s) { bbtStartupAddClick(s); };
  lStartupFilter.SetBounds(519, 15, 30, 13);
  lStartupFilter.SetFont({"MS Sans Serif", -11, true, RGB(0, 0, 0)});
  lStartupFilter.SetCaption("Filter");
  lStartupFilter.SetVisible(false);
  lStartupFilter.SetParent(&plStartupButtons);
  edStartupFilter.SetBounds(558, 10, 123, 21);
  edStartupFilter.SetVisible(false);
  edStartupFilter.OnChange = [this](TObject* s) { edStartupFilterChange(s); };
  edStartupFilter.OnKeyPress = [this](TObject* s, char& k) { edStartupFilterKeyPress(s, k); };
  edStartupFilter.SetParent(&plStartupButtons);

  PlaceButtonBar(plTaskManButtons, plButtonHolder);
  PlaceButton(bbtTaskManKill, plTaskManButtons, ilPanelButtons, 142, 12, 111, 20, 15, 16, 17);
  bbtTaskManKill.OnClick = [this](TObject* s) { bbtTaskManKillClick(s); };
  PlaceButton(bbtTaskManRefresh, plTaskManButtons, ilPanelButtons, 268, 12, 111, 20, 3, 4, 5);
  bbtTaskManRefresh.OnClick = [this](TObject* s) { bbtTaskManRefreshClick(s); };
  edTaskManFilter.SetBounds(558, 10, 123, 21);
  edTaskManFilter.SetVisible(false);
  edTaskManFilter.OnChange = [this](TObject* s) { edTaskManFilterChange(s); };
  edTaskManFilter.OnKeyPress = [this](TObject* s, char& k) { edTaskManFilterKeyPress(s, k); };
  edTaskManFilter.SetParent(&plTaskManButtons);

  PlaceButtonBar(plPrivacyButtons, plButtonHolder);
  PlaceButton(bbtPrivacyConfirm, plPrivacyButtons, ilPanelButtons, 142, 12, 111, 20, 18, 19, 20);
  bbtPrivacyConfirm.OnClick = [this](TObject* s) { bbtPrivacyConfirmClick(s); };

  // Pages: each fills the area between the bars; at most one is visible.
  PlacePage(plUninstall, *this);
  Panel2.SetBounds(0, 293, 573, 20);
  Panel2.SetAlign(alBottom);
  Panel2.SetBorder(true);
  Panel2.SetColor(kListColor);
  Panel2.SetParent(&plUninstall);
  lUninstallNumber.SetBounds(2, 2, 560, 15);
  lUninstallNumber.SetFont({"Arial", -12, true, kHeaderColor});
  lUninstallNumber.SetParent(&Panel2);
  lvUninstall.SetAlign(alClient);
  lvUninstall.SetReadOnly(true);
  lvUninstall.SetRowSelect(true);
  lvUninstall.SetSortType(stText);
  lvUninstall.SetViewStyle(vsIcon);
  lvUninstall.SetColor(kListColor);
  lvUninstall.SetLargeImages(&ilUninstallLargeIcons);
  lvUninstall.SetSmallImages(&ilUninstallSmallIcons);
  lvUninstall.PopupMenu = &pmUninstallListView;
  lvUninstall.OnDblClick = [this](TObject* s) { bbtUninstallClick(s); };
  lvUninstall.OnSelectItem = [this](TObject* s, TListItem* i, bool sel) { lvUninstallSelectItem(s, i, sel); };
  lvUninstall.SetParent(&plUninstall);

  PlacePage(plStartup, *this);
  lvStartup.SetAlign(alClient);
  lvStartup.SetViewStyle(vsReport);
  lvStartup.SetCheckboxes(true);
  lvStartup.SetRowSelect(true);
  lvStartup.SetShowHint(true);
  lvStartup.SetParent(&plStartup);

  PlacePage(plTaskMan, *this);
  lvTaskMan.SetAlign(alClient);
  lvTaskMan.SetViewStyle(vsReport);
  lvTaskMan.SetRowSelect(true);
  lvTaskMan.SetSortType(stText);
  lvTaskMan.SetColor(kListColor);
  lvTaskMan.OnDblClick = [this](TObject* s) { lvTaskManDblClick(s); };
  lvTaskMan.SetParent(&plTaskMan);

  PlacePage(plPrivacy, *this);
  CreatePrivacyPage();

  PlacePage(plWait, *this);
  lWait.SetAlign(alClient);
  lWait.SetAlignment(taCenter);
  lWait.SetFont({"MS Sans Serif", -21, true, RGB(0, 0, 0)});
  lWait.SetParent(&plWait);
  for (TPanel* page : {&plUninstall, &plStartup, &plTaskMan, &plPrivacy, &plWait}) page->SetVisible(false);
  for (TPanel* bar : {&plUninstallButtons, &plStartupButtons, &plTaskManButtons, &plPrivacyButtons})
    bar->SetVisible(false);

  // Tray icon and menus.
  AddItem(pmTray, pmiUninstallprograms, "pmiUninstallprograms", "Uninstall Programs");
  AddItem(pmTray, pmiStartupManager, "pmiStartupManager", "Startup Manager");
  AddItem(pmTray, pmiTaskManager, "pmiTaskManager", "Task Manager");
  AddItem(pmTray, pmiPrivacymanager, "pmiPrivacymanager", "Privacy Manager");
  AddItem(pmTray, N1, "N1", "-");
  AddItem(pmTray, pmiHelp, "pmiHelp", "Help");
  AddItem(pmTray, N2, "N2", "-");
  AddItem(pmTray, pmiExit, "pmiExit", "Exit");
  int picture = 0;
  for (TMenuItem* item : {&pmiUninstallprograms, &pmiStartupManager, &pmiTaskManager, &pmiPrivacymanager,
                          &pmiHelp, &pmiExit})
    item->SetPicture(&ilTrayMenu, picture++);
  pmiUninstallprograms.OnClick = [this](TObject* s) { pmiUninstallprogramsClick(s); };
  pmiStartupManager.OnClick = [this](TObject* s) { pmiStartupManagerClick(s); };
  pmiTaskManager.OnClick = [this](TObject* s) { pmiTaskManagerClick(s); };
  pmiPrivacymanager.OnClick = [this](TObject* s) { pmiPrivacymanagerClick(s); };
  pmiHelp.OnClick = [this](TObject* s) { pmiHelpClick(s); };
  pmiExit.OnClick = [this](TObject* s) { pmiExitClick(s); };

  AddItem(pmUninstallListView, pmiListViewDelete, "pmiListViewDelete", "Uninstall");
  pmiListViewDelete.SetHint("Uninstall selected program");
  AddItem(pmUninstallListView, N3, "N3", "-");
  AddItem(pmUninstallListView, pmiListViewRefresh, "pmiListViewRefresh", "Refresh");
  pmiListViewRefresh.SetHint("Refresh");
  AddItem(pmUninstallListView, N4, "N4", "-");
  AddItem(pmUninstallListView, pmiListViewIcon, "pmiListViewIcon", "Icon");
  pmiListViewIcon.SetHint("Change to Icon view");
  AddItem(pmUninstallListView, pmiListViewList, "pmiListViewList", "List");
  pmiListViewList.SetHint("Change to List view");
  AddItem(pmUninstallListView, pmiListViewReport, "pmiListViewReport", "Report");
  pmiListViewReport.SetHint("Change to Report view");
  for (TMenuItem* item : {&pmiListViewIcon, &pmiListViewList, &pmiListViewReport}) item->SetRadioItem(true, 1);
  pmiListViewIcon.SetChecked(true);
  pmiListViewDelete.OnClick = [this](TObject* s) { bbtUninstallClick(s); };
  pmiListViewRefresh.OnClick = [this](TObject* s) { bbtUninstallRefreshClick(s); };
  pmiListViewIcon.OnClick = [this](TObject* s) { pmiListViewIconClick(s); };
  pmiListViewList.OnClick = [this](TObject* s) { pmiListViewListClick(s); };
  pmiListViewReport.OnClick = [this](TObject* s) { pmiListViewReportClick(s); };
  pmUninstallListView.OnPopup = [this](TObject* s) { pmUninstallListViewPopup(s); };

  TrayIcon.SetHint("Kelvo Remover 2004");
  TrayIcon.SetPopupMenu(&pmTray);
  TrayIcon.SetIcon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "TRAYICON", IMAGE_ICON, 16, 16, 0)));

  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  OnResize = [this](TObject* s) { FormResize(s); };
}
