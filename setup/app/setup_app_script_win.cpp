// SetupApp: finding and opening the script, the password prompt, the
// language and its resource DLL, and files extracted into the temporary
// folder before any [Files] entry.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "setup/app/setup_app.h"
#include "setup/app/setup_app_rules.h"
#include "setup/app/setup_log.h"
#include "setup/app/setup_resource_ids.h"
#include "setup/engine/archive.h"
#include "setup/engine/setup_engine.h"
#include "setup/ui/dialog.h"
#include "setup/ui/window_services.h"

#define KV_SOURCE_ID 6102

namespace {

enum : uint32_t {
  kEventEntryNotFound = 0x02010031,
  kEventEntryExtractFailed = 0x04010032,
  kEventFileCopyFailed = 0x04010033,
  kEventLanguageLoaded = 0x01060001,
  kEventLanguageNotLoaded = 0x04060002,
};
constexpr uint32_t kArchiveHidePassword = 0x8;
constexpr int kMaxPassword = 255;

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ForceDelete(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  return n && n < MAX_PATH ? std::string(buffer, n) : path;
}

class PasswordDialog : public Dialog {
 public:
  PasswordDialog(std::string caption, std::string password, bool hide)
      : password(std::move(password)), caption_(std::move(caption)), hide_(hide) {}
  std::string password;

  bool OnInitDialog(HWND, LPARAM, LRESULT& result) override {
    SetWindowTextA(window, caption_.c_str());
    HWND edit = GetDlgItem(window, IDE_PASSWORD);
    SendMessageA(edit, EM_LIMITTEXT, kMaxPassword, 0);
    if (hide_) SendMessageA(edit, EM_SETPASSWORDCHAR, '*', 0);
    SetWindowTextA(edit, password.c_str());
    CentreWindow(window);
    result = TRUE;
    return true;
  }
  bool ExchangeData(bool save) override {
    if (save) {
      char text[kMaxPassword + 1] = {};
      GetDlgItemTextA(window, IDE_PASSWORD, text, sizeof text);
      password = text;
    }
    return true;
  }

 private:
  std::string caption_;
  bool hide_;
};

class LanguageDialog : public Dialog {
 public:
  LanguageDialog(std::string caption, std::vector<std::string> names, int selected)
      : selected(selected), caption_(std::move(caption)), names_(std::move(names)) {}
  int selected;

  bool OnInitDialog(HWND, LPARAM, LRESULT& result) override {
    SetWindowTextA(window, caption_.c_str());
    HWND list = GetDlgItem(window, IDL_LANGUAGES);
    for (const std::string& name : names_) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(name.c_str()));
    SendMessageA(list, LB_SETCURSEL, WPARAM(selected), 0);
    CentreWindow(window);
    result = TRUE;
    return true;
  }
  bool ExchangeData(bool save) override {
    if (save) {
      const LRESULT n = SendDlgItemMessageA(window, IDL_LANGUAGES, LB_GETCURSEL, 0, 0);
      if (n != LB_ERR) selected = int(n);
    }
    return true;
  }

 private:
  std::string caption_;
  std::vector<std::string> names_;
};

}  // namespace

bool SetupApp::OpenScript() {
  std::string lastTried;
  bool fallBack = true;
  scriptPath_ = settings_.scriptPath;
  if (scriptPath_.empty()) {
    lastTried = modulePath;
    if (!OpenStampedArchive(&fallBack) && !fallBack) {
      MessageBoxString(MB_ICONSTOP, IDS_BAD_DATABASE, lastTried.c_str());
      SetExitCode(3);
      return false;
    }
  }
  bool ok = false;
  if (archive_ && archive_->IsOpen()) {
    ok = LoadScriptFromArchive(modulePath);
  } else {
    if (scriptPath_.empty()) {
      char current[MAX_PATH] = {};
      GetCurrentDirectoryA(MAX_PATH, current);
      const std::string here = std::string(current) + (current[0] && current[strlen(current) - 1] == '\\' ? "" : "\\") + "Setup.ini";
      const std::string beside = moduleFolder + "\\Setup.ini";
      scriptPath_ = FileExists(here) ? here : beside;
    }
    scriptPath_ = FullPath(scriptPath_);
    lastTried = scriptPath_;
    switch (ScriptKindOf(scriptPath_)) {
      case ScriptKind::kArchive:
        archive_ = std::make_unique<SetupArchive>();
        ok = archive_->Open(scriptPath_.c_str(), 0, nullptr) == 0 &&
             LoadScriptFromArchive(scriptPath_);
        break;
      case ScriptKind::kPlainScript: {
        ScriptLoadFailure failure;
        ok = FileExists(scriptPath_) && engine_->LoadScriptFile(scriptPath_.c_str(), &failure);
        if (ok) engine_->SetSourceFolder(FolderOf(scriptPath_));
        break;
      }
      case ScriptKind::kUnknown:
        break;
    }
  }
  if (!ok) {
    MessageBoxString(MB_ICONSTOP, IDS_BAD_DATABASE, lastTried.c_str());
    SetExitCode(3);
    return false;
  }
  const std::string folder = FolderOf(scriptPath_);
  if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());
  return true;
}

bool SetupApp::OpenStampedArchive(bool* fallBack) {
  *fallBack = true;
  uint32_t offset = 0, end = 0;
  if (!ReadArchiveStamp(modulePath.c_str(), &offset, &end)) return false;
  *fallBack = false;
  scriptPath_ = modulePath;
  archive_ = std::make_unique<SetupArchive>();
  std::string password = settings_.password;
  for (;;) {
    const int result = archive_->Open(modulePath.c_str(), offset, password.c_str());
    if (result == 0) {
      settings_.password = password;
      return true;
    }
    if (result != 1) return false;
    // Encrypted and no usable password: ask, unless nobody may be asked.
    if (Quiet()) {
      SetExitCode(15);
      return false;
    }
    PasswordDialog prompt(title, password, (archive_->Flags() & kArchiveHidePassword) != 0);
    if (prompt.RunModalDialog(MAKEINTRESOURCEA(IDD_PASSWORD), nullptr) != IDOK) {
      SetExitCode(15);
      return false;
    }
    password = prompt.password;
  }
}

bool SetupApp::LoadScriptFromArchive(const std::string& name) {
  ArchiveEntryHeader header;
  std::unique_ptr<uint8_t[]> body(archive_->FindAndRead("Setup.ini", &header));
  if (!body) return false;
  ScriptLoadFailure failure;
  if (!engine_->LoadScript(body.get(), header.size, name.c_str(), &failure)) return false;
  engine_->SetArchive(archive_.get());
  engine_->SetSourceFolder(FolderOf(name));
  return true;
}

bool SetupApp::ExtractNamedFile(std::string& value, const char* fixedName) {
  std::string temp = engine_->Expand(engine_->Symbols().Value(kSymTempDir));
  if (!temp.empty() && temp.back() != '\\') temp += '\\';
  const std::string target = temp + fixedName;
  ForceDelete(target);
  if (archive_ && archive_->IsOpen()) {
    ArchiveEntryHeader header;
    if (!archive_->Find(value.c_str(), &header)) {
      SetupLog::Instance().Event(kEventEntryNotFound, {value.c_str()});
      return false;
    }
    if (!archive_->Extract(header, target.c_str())) {
      SetupLog::Instance().Event(kEventEntryExtractFailed, {value.c_str(), target.c_str()});
      return false;
    }
  } else if (!CopyFileA(value.c_str(), target.c_str(), FALSE)) {
    SetupLog::Instance().Event(kEventFileCopyFailed, {value.c_str(), target.c_str()});
    return false;
  }
  value = target;
  return true;
}

uint16_t SetupApp::ReadUserLanguage() const {
  char text[16] = {};
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTLANGUAGE, text, sizeof text))
    return 0x0409;
  return ParseUserLanguage(text);
}

void SetupApp::SelectLanguage() {
  // The engine keeps the entries; the chosen one is marked in place so that
  // the saved script records it.
  auto& languages = const_cast<std::vector<LanguageEntry>&>(engine_->Loaded().languages);
  const bool installedCopy = engine_->Install().IsInstalledCopy();
  std::vector<int> offered;
  int chosen = ::SelectLanguage(languages, userLanguage_, installedCopy, &offered);
  if (!installedCopy && offered.size() > 1 && !Quiet() &&
      !engine_->Install().Has(kOptNoLanguageDialog)) {
    std::vector<std::string> names;
    int preselected = 0;
    for (size_t i = 0; i < offered.size(); ++i) {
      names.push_back(languages[size_t(offered[i])].ListText());
      if (offered[i] == chosen) preselected = int(i);
    }
    LanguageDialog dialog(title, names, preselected);
    if (dialog.RunModalDialog(MAKEINTRESOURCEA(IDD_LANGUAGE), nullptr) == IDOK &&
        dialog.selected >= 0 && size_t(dialog.selected) < offered.size())
      chosen = offered[size_t(dialog.selected)];
  }
  if (chosen < 0) return;
  LanguageEntry& entry = languages[size_t(chosen)];
  if (LanguageResourcesOf(entry.flags) == LanguageResources::kOwn) return;
  if (!LoadLanguageDll(entry)) return;
  languageIndex_ = chosen;
  languageId_ = entry.id;
  entry.flags |= kLangUsed;
  rightToLeft_ = (entry.flags & kLangRightToLeft) != 0;
  // A language may bring its own readme and licence texts.
  LoadedScript& loaded = const_cast<LoadedScript&>(engine_->Loaded());
  if (!entry.readme.empty())
    if (ScriptSection* s = engine_->Script().Section(entry.readme)) loaded.readme = s->JoinValues();
  if (!entry.licence.empty())
    if (ScriptSection* s = engine_->Script().Section(entry.licence)) loaded.licence = s->JoinValues();
}

bool SetupApp::LoadLanguageDll(LanguageEntry& entry) {
  if (!engine_->Install().IsInstalledCopy()) {
    if (!ExtractNamedFile(entry.dll, "_Setup.dll")) return false;
    run_.tempLanguageDll = entry.dll;
  }
  // Only its resources are used: loaded as data, none of its code runs.
  HMODULE dll = LoadLibraryExA(entry.dll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!dll) {
    SetupLog::Instance().Event(kEventLanguageNotLoaded, {entry.dll.c_str()});
    ForceDelete(entry.dll);
    run_.tempLanguageDll.clear();
    return false;
  }
  languageDll_ = dll;
  resourceModule = reinterpret_cast<HINSTANCE>(dll);
  char id[8];
  snprintf(id, sizeof id, "%04X", entry.id);
  SetupLog::Instance().Event(kEventLanguageLoaded, {entry.dll.c_str(), id});
  return true;
}
