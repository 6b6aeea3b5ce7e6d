// The privacy page's controls and operations. The panels and the cleaning
// actions are still to come; until then the controls exist (the hint texts
// name them) inside an empty page.
#include "kelvolite/app/main_form.h"

void TForm1::CreatePrivacyPage() {
  for (TCheckBox* cb : {&cbInternetFiles, &cbCookies, &cbHistory, &cbFavorites, &cbURLs, &cbRecycleBin,
                        &cbWinTemp, &cbRecent}) {
    cb->SetVisible(false);
    cb->SetShowHint(true);
    cb->SetParent(&plPrivacy);
  }
  lPrivacyWarning.SetVisible(false);
  lPrivacyWarning.SetParent(&plPrivacy);
}
void TForm1::DetectOpera() { FOperaInstalled = false; }
void TForm1::bbtPrivacyConfirmClick(TObject*) {}
