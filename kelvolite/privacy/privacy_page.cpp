// The privacy page: the strip that picks a sub-panel, the check boxes of
// each group with their select-all boxes, the summary of the chosen
// actions, and the Opera detection that gates the Opera boxes.
#include "kelvolite/app/main_form.h"

#include <utility>

namespace {

const COLORREF kFace = RGB(216, 216, 216);
const char kOperaKey[] = "\\Software\\Netscape\\Netscape Navigator\\5.0, Opera\\Main";

void PlaceBox(TCheckBox& box, TPanel& panel, int left, int top, const char* caption) {
  box.SetBounds(left, top, 240, 17);
  box.SetCaption(caption);
  box.SetShowHint(true);
  box.SetParent(&panel);
}

void PlaceLabel(TLabel& label, TPanel& panel, int left, int top, int width, int height, const TFont& font) {
  label.SetBounds(left, top, width, height);
  label.SetFont(font);
  label.SetTransparent(true);
  label.SetParent(&panel);
}

void PlaceSubPanel(TPanel& panel, TPanel& page) {
  panel.SetAlign(alClient);
  panel.SetColor(kFace);
  panel.SetParent(&page);
}

const TFont kBold{"MS Sans Serif", -11, true, RGB(0, 0, 0)};

// What both groups' panels carry besides their boxes: the summary on the
// right, the progress line of the cleaning run, and the group button, which
// this layout keeps hidden.
void PlaceGroupExtras(TPanel& panel, TLabel& heading, TLabel& list, TLabel& progress, TPSpeedButton& button,
                      int buttonTop, TNotifyEvent onButton) {
  PlaceLabel(heading, panel, 290, 8, 270, 14, kBold);
  heading.SetCaption("Selected Actions");
  PlaceLabel(list, panel, 290, 26, 270, 120, {"MS Sans Serif", -11, false, RGB(0, 0, 0)});
  PlaceLabel(progress, panel, 16, 200, 540, 16, {"MS Sans Serif", -11, true, RGB(255, 0, 0)});
  button.SetBounds(16, buttonTop, 111, 20);
  button.SetVisible(false);
  button.OnClick = std::move(onButton);
  button.SetParent(&panel);
}

}  // namespace

void TForm1::CreatePrivacyPage() {

  plPrivacySelect.SetBounds(0, 0, 573, 64);
  plPrivacySelect.SetAlign(alTop);
  plPrivacySelect.SetColor(kFace);
  plPrivacySelect.SetParent(&plPrivacy);
  struct Strip {
    TPSpeedButton* button;
    int left, first;
    void (TForm1::*click)(TObject*);
  };
  const Strip strip[] = {{&bbtIE, 8, 0, &TForm1::bbtIEClick},
                         {&bbtWindows, 72, 3, &TForm1::bbtWindowsClick},
                         {&bbtOpera, 136, 3, &TForm1::bbtOperaClick}};
  for (const Strip& s : strip) {
    s.button->SetBounds(s.left, 4, 56, 56);
    s.button->SetFlat(true);
    s.button->SetImages(&ilPrivacyIcons);
    s.button->SetImageIndexes(s.first, s.first + 1, s.first + 2);
    s.button->SetGroupIndex(1);
    s.button->SetShowHint(true);
    auto click = s.click;
    s.button->OnClick = [this, click](TObject* sender) { (this->*click)(sender); };
    s.button->SetParent(&plPrivacySelect);
  }
  bbtIE.SetDown(true);
  bbtOpera.SetVisible(false);

  // Created back to front: the Internet Explorer panel ends up in front.
  PlaceSubPanel(plPrivacyOpera, plPrivacy);
  PlaceSubPanel(plPrivacyWindows, plPrivacy);
  PlaceSubPanel(plPrivacyIE, plPrivacy);
  plPrivacyOpera.SetVisible(false);

  PlaceBox(cbInternetFiles, plPrivacyIE, 16, 8, "Delete Temporary Internet Files");
  PlaceBox(cbCookies, plPrivacyIE, 16, 30, "Delete Cookies");
  PlaceBox(cbHistory, plPrivacyIE, 16, 52, "Delete History files");
  PlaceBox(cbFavorites, plPrivacyIE, 16, 74, "Delete Favorites");
  PlaceBox(cbURLs, plPrivacyIE, 16, 96, "Delete Typed URLs");
  PlaceBox(cbPrivacyIESelectAll, plPrivacyIE, 16, 128, "Select/Unselect all");
  for (TCheckBox* cb : {&cbInternetFiles, &cbCookies, &cbHistory, &cbFavorites, &cbURLs})
    cb->OnClick = [this](TObject* s) { cbAllIECheckBoxClick(s); };
  cbPrivacyIESelectAll.OnClick = [this](TObject* s) { cbPrivacyIESelectAllClick(s); };
  PlaceGroupExtras(plPrivacyIE, lPrivacyIESelected, lPrivacyIEList, lIEDeleteProcess, bbtPrivacyIESelectAll, 150,
                   [this](TObject* s) { bbtPrivacyIESelectAllClick(s); });
  PlaceLabel(lPrivacyWarning, plPrivacyIE, 290, 150, 270, 44, kBold);

  PlaceBox(cbRecycleBin, plPrivacyWindows, 16, 8, "Delete Windows Recycle Bin");
  PlaceBox(cbWinTemp, plPrivacyWindows, 16, 30, "Delete Windows Temporary Files");
  PlaceBox(cbRecent, plPrivacyWindows, 16, 52, "Delete Recent documents");
  PlaceBox(cbPrivacyWindowsSelectAll, plPrivacyWindows, 16, 84, "Select/Unselect all");
  for (TCheckBox* cb : {&cbRecycleBin, &cbWinTemp, &cbRecent})
    cb->OnClick = [this](TObject* s) { cbAllWindowsCheckBoxClick(s); };
  cbPrivacyWindowsSelectAll.OnClick = [this](TObject* s) { cbPrivacyWindowsSelectAllClick(s); };
  PlaceGroupExtras(plPrivacyWindows, lPrivacyWindowsSelected, lPrivacyWindowsList, lWindowsDeleteProcess,
                   bbtPrivacyWindowsSelectAll, 106, [this](TObject* s) { bbtPrivacyWindowsSelectAllClick(s); });

  PlaceBox(cbOperaInternetFiles, plPrivacyOpera, 16, 8, "Delete Temporary Internet Files");
  PlaceBox(cbOperaCookies, plPrivacyOpera, 16, 30, "Delete Cookies");
  PlaceBox(cbOperaHistory, plPrivacyOpera, 16, 52, "Delete History files");
  PlaceBox(cbOperaFavorites, plPrivacyOpera, 16, 74, "Delete Favorites");
  PlaceBox(cbOperaURLs, plPrivacyOpera, 16, 96, "Delete Typed URLs");
  PlaceBox(cbOperaDownloadHistory, plPrivacyOpera, 16, 118, "Delete Download history");
  PlaceBox(cbOperaDownloadList, plPrivacyOpera, 16, 140, "Delete Download list");
  bbtPrivacyOperaSelectAll.SetBounds(16, 170, 111, 20);
  bbtPrivacyOperaSelectAll.SetImages(&ilPanelButtons);
  bbtPrivacyOperaSelectAll.SetImageIndexes(27, 28, 29);
  bbtPrivacyOperaSelectAll.SetFlat(true);
  bbtPrivacyOperaSelectAll.OnClick = [this](TObject* s) { bbtPrivacyOperaSelectAllClick(s); };
  bbtPrivacyOperaSelectAll.SetParent(&plPrivacyOpera);
}

void TForm1::DetectOpera() {
  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  FOperaInstalled = FRegistry->OpenKeyReadOnly(kOperaKey);
  FRegistry->CloseKey();
}

void TForm1::bbtIEClick(TObject*) {
  plPrivacyIE.Show();
  plPrivacyIE.BringToFront();
  FBrowserName = "Internet Explorer";
  lMessage.SetCaption(PageHeader(pgPrivacy));
}

void TForm1::bbtWindowsClick(TObject*) {
  plPrivacyWindows.Show();
  plPrivacyWindows.BringToFront();
  FBrowserName = "Windows";
  lMessage.SetCaption(PageHeader(pgPrivacy));
}

void TForm1::bbtOperaClick(TObject*) {
  plPrivacyOpera.Show();
  plPrivacyWindows.Hide();
  plPrivacyIE.Hide();
  FBrowserName = "Opera";
  for (TCheckBox* cb : {&cbOperaInternetFiles, &cbOperaCookies, &cbOperaHistory, &cbOperaFavorites, &cbOperaURLs,
                        &cbOperaDownloadHistory})
    cb->SetEnabled(FOperaInstalled);
  lMessage.SetCaption(PageHeader(pgPrivacy));
}

namespace {

// After a member's click: the select-all box follows "all ticked". The tag
// tells the select-all handler that the change is ours, not the user's.
void FollowMembers(TCheckBox& selectAll, std::initializer_list<TCheckBox*> members) {
  bool all = true;
  for (TCheckBox* cb : members) all = all && cb->Checked();
  if (all == selectAll.Checked()) return;
  selectAll.Tag = 1;
  selectAll.SetChecked(all);
  selectAll.Tag = 0;
}

// After a click on the select-all box: the members follow it, unless the
// change came from a member (false then, and nothing is done).
bool SetMembers(TCheckBox& selectAll, std::initializer_list<TCheckBox*> members) {
  if (selectAll.Tag != 0) {
    selectAll.Tag = 0;
    return false;
  }
  const bool on = selectAll.Checked();
  for (TCheckBox* cb : members) cb->SetChecked(on);
  selectAll.Tag = 0;
  return true;
}

}  // namespace

void TForm1::cbAllIECheckBoxClick(TObject*) {
  FollowMembers(cbPrivacyIESelectAll, {&cbInternetFiles, &cbCookies, &cbHistory, &cbFavorites, &cbURLs});
  GenerateSelectedList();
}

void TForm1::cbAllWindowsCheckBoxClick(TObject*) {
  FollowMembers(cbPrivacyWindowsSelectAll, {&cbRecycleBin, &cbRecent, &cbWinTemp});
  GenerateSelectedList();
}

void TForm1::cbPrivacyIESelectAllClick(TObject*) {
  if (SetMembers(cbPrivacyIESelectAll, {&cbInternetFiles, &cbCookies, &cbHistory, &cbFavorites, &cbURLs}))
    GenerateSelectedList();
}

void TForm1::cbPrivacyWindowsSelectAllClick(TObject*) {
  if (SetMembers(cbPrivacyWindowsSelectAll, {&cbRecycleBin, &cbRecent, &cbWinTemp})) GenerateSelectedList();
}

void TForm1::bbtPrivacyIESelectAllClick(TObject*) {
  for (TCheckBox* cb : {&cbInternetFiles, &cbCookies, &cbHistory, &cbFavorites, &cbURLs}) cb->SetChecked(true);
}

void TForm1::bbtPrivacyWindowsSelectAllClick(TObject*) {
  for (TCheckBox* cb : {&cbRecycleBin, &cbRecent, &cbWinTemp}) cb->SetChecked(true);
}

void TForm1::bbtPrivacyOperaSelectAllClick(TObject*) {
  for (TCheckBox* cb : {&cbOperaInternetFiles, &cbOperaCookies, &cbOperaHistory, &cbOperaFavorites, &cbOperaURLs})
    cb->SetChecked(true);
}

void TForm1::GenerateSelectedList() {
  const struct {
    const TCheckBox* box;
    const char* line;
  } lines[] = {
      {&cbInternetFiles, "    Delete Temporary Internet Files\n"},
      {&cbCookies, "    Delete Cookies\n"},
      {&cbHistory, "    Delete History\n"},
      {&cbFavorites, "    Delete Favorites\n"},
      {&cbURLs, "    Delete typed URL's\n"},
      {&cbRecycleBin, "    Empty Recycle Bin\n"},
      {&cbRecent, "    Delete Recent Documents\n"},
      {&cbWinTemp, "    Delete Windows Temporary Files\n"},
  };
  std::string text;
  for (const auto& l : lines)
    if (l.box->Checked()) text += l.line;
  lPrivacyIEList.SetCaption(text);
  lPrivacyWindowsList.SetCaption(text);
}
