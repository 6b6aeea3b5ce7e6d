#include "setup/ui/wizard_about_box.h"

#include <memory>
#include <string>
#include <vector>

#include "setup/engine/setup_engine.h"
#include "setup/ui/application_base.h"
#include "setup/ui/dialog.h"
#include "setup/ui/hyperlink.h"
#include "setup/ui/wizard_ids.h"

namespace {

constexpr char kInstallerVersion[] = "2.67.1412";
constexpr char kInstallerBuild[] = "2003.11.12.1559A";
constexpr char kInstallerDescription[] = "QEX Setup - Professional";
constexpr char kInstallerCopyright[] = "Copyright (C) 2003 Brannoc Software";
constexpr char kInstallerSite[] = "www.brannoc.com\nhttp://www.brannoc.com/";

class AboutBox : public Dialog {
 public:
  explicit AboutBox(SetupEngine& engine) : engine_(engine) { flags |= kWindowCentreOnInit; }

  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override {
    Dialog::OnInitDialog(focus, lParam, result);
    ApplicationBase* app = ApplicationBase::Instance();
    SetDlgItemTextA(window, IDT_ABOUT_TITLE, app ? app->title.c_str() : "");
    SetDlgItemTextA(window, IDT_ABOUT_COMPANY, Symbol(kSymCompany).c_str());
    SetDlgItemTextA(window, IDT_ABOUT_COPYRIGHT, Symbol(kSymCopyright).c_str());
    const InstallSettings& install = engine_.Install();
    const std::string site = install.Has(kOptShowWebSite) ? Symbol(kSymWebSite) : "";
    const std::string email = install.Has(kOptShowEmail) ? Symbol(kSymEmail) : "";
    const std::string telephone = install.Has(kOptShowTelephone) ? Symbol(kSymTelephone) : "";
    Link(IDL_ABOUT_WEB_SITE, IDT_ABOUT_WEB_SITE_LABEL, site, site);
    Link(IDL_ABOUT_EMAIL, IDT_ABOUT_EMAIL_LABEL, email, "mailto:" + email);
    if (telephone.empty()) {
      ShowWindow(GetDlgItem(window, IDT_ABOUT_TELEPHONE), SW_HIDE);
      ShowWindow(GetDlgItem(window, IDT_ABOUT_TELEPHONE_LABEL), SW_HIDE);
    } else {
      SetDlgItemTextA(window, IDT_ABOUT_TELEPHONE, telephone.c_str());
    }
    // The version line's own text is the pattern.
    char pattern[128] = "";
    GetDlgItemTextA(window, IDT_ABOUT_VERSION, pattern, sizeof(pattern));
    char version[256];
    wsprintfA(version, pattern, kInstallerVersion, kInstallerBuild);
    SetDlgItemTextA(window, IDT_ABOUT_VERSION, version);
    SetDlgItemTextA(window, IDT_ABOUT_DESCRIPTION, kInstallerDescription);
    SetDlgItemTextA(window, IDT_ABOUT_MAKER_COPYRIGHT, kInstallerCopyright);
    SetDlgItemTextA(window, IDL_ABOUT_MAKER_SITE, kInstallerSite);
    AddLink(IDL_ABOUT_MAKER_SITE);
    return true;
  }

 private:
  std::string Symbol(int id) { return engine_.Expand(engine_.Symbols().Value(id)); }
  void Link(int id, int labelId, const std::string& text, const std::string& target) {
    if (text.empty()) {
      ShowWindow(GetDlgItem(window, id), SW_HIDE);
      ShowWindow(GetDlgItem(window, labelId), SW_HIDE);
      return;
    }
    SetDlgItemTextA(window, id, (text + "\n" + target).c_str());
    AddLink(id);
  }
  void AddLink(int id) {
    auto link = std::make_unique<Hyperlink>();
    if (link->Create(window, id)) links_.push_back(std::move(link));
  }

  SetupEngine& engine_;
  std::vector<std::unique_ptr<Hyperlink>> links_;
};

}  // namespace

void ShowAboutBox(SetupEngine& engine, HWND owner) {
  AboutBox box(engine);
  box.RunModalDialog(MAKEINTRESOURCEA(IDD_ABOUT), owner);
}
