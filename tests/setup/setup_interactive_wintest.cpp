// The built setup.exe run interactively, driven from outside by posted
// messages as a user would click: the install wizard page by page, a
// failure in the middle of an installation and the removal of what it
// left, and the removal dialog of "Setup.exe /remove". Every page and the
// removal dialog are saved as PNG under screens/ beside the test program.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "setup/setup_package_fixture.h"
#include "setup/ui/wizard_ids.h"
#include "support/wine_persona.h"
#include "ui/window_screenshot.h"

namespace {

using kvtest::Bytes;
using kvtest::Exists;
using kvtest::WaitUntil;

constexpr int kPageFrame = 0x3020;  // the sheet's tab control
constexpr int kMessageText = 0xFFFF;  // the text of a message box

std::string Text(HWND window) {
  char text[2048] = "";
  DWORD_PTR n = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &n);
  return text;
}

void Shot(HWND window, const std::string& name) {
  CreateDirectoryA("screens", nullptr);
  kvtest::SaveWindowPng(window, "screens\\" + kvtest::Persona() + "_" + name + ".png");
}

// setup.exe started and not waited for; ended by force if a test leaves it.
class Program {
 public:
  Program(const std::string& exe, const std::string& arguments, const std::string& folder) {
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi_))
      pi_ = {};
  }
  ~Program() {
    if (!pi_.hProcess) return;
    if (Running()) TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  bool Started() const { return pi_.hProcess != nullptr; }
  bool Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
  // The exit code once it has ended (-1000 when it runs on).
  int ExitCode(DWORD timeoutMs = 60000) const {
    DWORD code = DWORD(-1000);
    if (WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi_.hProcess, &code);
    return int(code);
  }
  // Its visible top-level window that has a child with that id.
  HWND Dialog(int childId) const {
    Search search{pi_.dwProcessId, childId, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

 private:
  struct Search {
    DWORD process;
    int childId;
    HWND found;
  };
  static BOOL CALLBACK Match(HWND w, LPARAM context) {
    auto* s = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != s->process || !IsWindowVisible(w) || !GetDlgItem(w, s->childId)) return TRUE;
    s->found = w;
    return FALSE;
  }

  PROCESS_INFORMATION pi_ = {};
};

// The wizard page showing, by its title line; 0 while none is.
int CurrentPage(HWND sheet) {
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  if (!page) return 0;
  const std::string title = Text(GetDlgItem(page, IDT_PAGE_TITLE));
  static const struct {
    const char* start;
    int page;
  } kTitles[] = {{"Welcome to", IDD_WELCOME},       {"Readme", IDD_README},
                 {"License", IDD_LICENCE},          {"Installation Options", IDD_OPTIONS},
                 {"Installing", IDD_PROGRESS},      {"Completing", IDD_COMPLETED},
                 {"Installation Cancelled", IDD_CANCELLED}};
  for (const auto& t : kTitles)
    if (title.rfind(t.start, 0) == 0) return t.page;
  return 0;
}

class Interactive : public SetupRun {
 protected:
  std::map<int, std::function<void(HWND sheet, HWND page)>> onPage;
  std::vector<int> pagesSeen;
  std::vector<std::string> messages;  // message boxes, answered with OK

  static void Press(HWND sheet, int button) { PostMessageA(sheet, PSM_PRESSBUTTON, WPARAM(button), 0); }

  // Calls the page's action once each time a page becomes current, until
  // setup has ended; false when it did not end within two minutes.
  bool DriveWizard(const Program& setup) {
    int last = 0;
    return WaitUntil(
        [&] {
          if (!setup.Running()) return true;
          if (HWND box = setup.Dialog(kMessageText)) {
            messages.push_back(Text(GetDlgItem(box, kMessageText)));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
            return false;
          }
          HWND sheet = setup.Dialog(kPageFrame);
          const int page = sheet ? CurrentPage(sheet) : 0;
          if (!page || page == last) return false;
          last = page;
          pagesSeen.push_back(page);
          auto action = onPage.find(page);
          if (action != onPage.end())
            action->second(sheet, reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)));
          return false;
        },
        120000);
  }
};

TEST_F(Interactive, WizardWalksEveryPageAndInstalls) {
  const std::string script = Script() + "[Readme]\n=Read me first.\n[License]\n=You agree.\n";
  const std::string package = WritePackage(kvtest::SetupPackage(kvtest::BuildArchive(Entries(script))));
  Program setup(package, "/b0", PackageFolder());
  ASSERT_TRUE(setup.Started());
  std::string nextOnLicence, folderShown;
  bool installedBeforeFinish = false, registeredBeforeFinish = false;
  onPage[IDD_WELCOME] = [&](HWND sheet, HWND) {
    EXPECT_EQ(Text(sheet), "Kelvo Run 1.0 Setup");
    Shot(sheet, "wizard-welcome");
    Press(sheet, PSBTN_NEXT);
  };
  onPage[IDD_README] = [&](HWND sheet, HWND) {
    Shot(sheet, "wizard-readme");
    Press(sheet, PSBTN_NEXT);
  };
  onPage[IDD_LICENCE] = [&](HWND sheet, HWND) {
    nextOnLicence = Text(GetDlgItem(sheet, 0x3024));
    Shot(sheet, "wizard-licence");
    Press(sheet, PSBTN_NEXT);
  };
  onPage[IDD_OPTIONS] = [&](HWND sheet, HWND page) {
    folderShown = Text(GetDlgItem(page, IDE_FOLDER));
    Shot(sheet, "wizard-options");
    Press(sheet, PSBTN_NEXT);
  };
  onPage[IDD_PROGRESS] = [&](HWND sheet, HWND) { Shot(sheet, "wizard-progress"); };
  onPage[IDD_COMPLETED] = [&](HWND sheet, HWND) {
    installedBeforeFinish = Exists(app + "\\kelvo.exe") && Exists(app + "\\lang.lng");
    registeredBeforeFinish = kvtest::KeyExists(HKEY_LOCAL_MACHINE, uninstallKey);
    Shot(sheet, "wizard-completed");
    Press(sheet, PSBTN_FINISH);
  };
  ASSERT_TRUE(DriveWizard(setup)) << "the wizard never finished";
  EXPECT_EQ(setup.ExitCode(), 0);
  EXPECT_EQ(pagesSeen, (std::vector<int>{64, 65, 66, 68, 69, 70}));
  EXPECT_EQ(nextOnLicence, "Agree >");
  EXPECT_EQ(folderShown, app);
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_TRUE(installedBeforeFinish);
  EXPECT_TRUE(registeredBeforeFinish);
  Installed(true);  // the installed copy of the script is saved at exit
  EXPECT_TRUE(Exists(app + "\\Setup.exe"));
}

// The second file's data ends early: the installation fails half done.
// Finish on the cancelled page with its default choice removes the part
// that was installed, the copied Setup.exe and the folder included.
TEST_F(Interactive, FailureInTheMiddleLeadsToTheCancelledPageAndRemovesThePart) {
  kvtest::ArchiveOptions stored;
  stored.compress = [](const Bytes& d) { return kvtest::Zlib(d, kvtest::Method::kStored); };
  Bytes archive = kvtest::BuildArchive(Entries(Script()), stored);
  archive.resize(archive.size() - 12);
  const std::string package = WritePackage(kvtest::SetupPackage(archive));
  Program setup(package, "/b0", PackageFolder());
  ASSERT_TRUE(setup.Started());
  bool partBeforeFinish = false, removeChosen = false;
  onPage[IDD_WELCOME] = [&](HWND sheet, HWND) { Press(sheet, PSBTN_NEXT); };
  onPage[IDD_OPTIONS] = [&](HWND sheet, HWND) { Press(sheet, PSBTN_NEXT); };
  onPage[IDD_CANCELLED] = [&](HWND sheet, HWND page) {
    partBeforeFinish = Exists(app + "\\kelvo.exe");
    removeChosen = IsDlgButtonChecked(page, IDR_REMOVE_PARTIAL) == BST_CHECKED;
    Shot(sheet, "wizard-cancelled");
    Press(sheet, PSBTN_FINISH);
  };
  ASSERT_TRUE(DriveWizard(setup)) << "the wizard never finished";
  EXPECT_EQ(setup.ExitCode(), 5);
  EXPECT_EQ(pagesSeen, (std::vector<int>{64, 68, 69, 71}));
  EXPECT_TRUE(partBeforeFinish);
  EXPECT_TRUE(removeChosen);
  ASSERT_FALSE(messages.empty()) << "the failed file is reported";
  EXPECT_NE(messages[0].find("lang.lng"), std::string::npos) << messages[0];
  EXPECT_FALSE(Exists(app + "\\kelvo.exe"));
  EXPECT_FALSE(Exists(app + "\\Setup.ini"));
  EXPECT_FALSE(kvtest::KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
  EXPECT_TRUE(WaitUntil([&] { return !Exists(app); })) << "the copied Setup.exe and the folder stay";
  EXPECT_TRUE(Exists(dir.Path("Apps")));  // not made by the installation
}

TEST_F(Interactive, CancelBeforeTheInstallationEndsWithSixAndInstallsNothing) {
  const std::string package = WritePackage(kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script()))));
  Program setup(package, "/b0", PackageFolder());
  ASSERT_TRUE(setup.Started());
  onPage[IDD_WELCOME] = [&](HWND sheet, HWND) { Press(sheet, PSBTN_NEXT); };
  onPage[IDD_OPTIONS] = [&](HWND sheet, HWND) { Press(sheet, PSBTN_CANCEL); };
  ASSERT_TRUE(DriveWizard(setup)) << "the wizard stayed";
  EXPECT_EQ(setup.ExitCode(), 6);
  EXPECT_EQ(pagesSeen, (std::vector<int>{64, 68}));
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(Exists(app));
  EXPECT_FALSE(kvtest::KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
}

TEST_F(Interactive, RemovalDialogRemovesEverythingIncludingSetupExe) {
  const std::string package = WritePackage(kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script()))));
  ASSERT_EQ(kvtest::RunProgram(package, "/q /b0", PackageFolder()), 0);
  Installed(true);
  ASSERT_TRUE(kvtest::KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));

  Program setup(app + "\\Setup.exe", "/remove /b0", app);
  ASSERT_TRUE(setup.Started());
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = setup.Dialog(IDT_UNINSTALL_PROMPT)) != nullptr || !setup.Running(); }));
  ASSERT_NE(dialog, nullptr) << "setup ended with " << setup.ExitCode();
  EXPECT_EQ(Text(dialog), "Uninstall Kelvo Run 1.0");
  EXPECT_TRUE(Exists(app + "\\kelvo.exe"));  // nothing goes before Uninstall

  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(dialog, IDT_UNINSTALL_DONE)) != 0; }));
  EXPECT_EQ(Text(GetDlgItem(dialog, IDCANCEL)), "Finish");
  for (int id = IDX_FIRST_STEP; id < IDX_FIRST_STEP + 4; ++id)
    EXPECT_EQ(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0), BST_CHECKED) << id;
  EXPECT_FALSE(Exists(app + "\\kelvo.exe"));
  EXPECT_FALSE(Exists(app + "\\lang.lng"));
  Shot(dialog, "removal");

  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(setup.ExitCode(), 0);
  EXPECT_FALSE(kvtest::KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
  EXPECT_TRUE(WaitUntil([&] { return !Exists(app); })) << "Setup.exe, Setup.ini or the folder stay";
}

}  // namespace
