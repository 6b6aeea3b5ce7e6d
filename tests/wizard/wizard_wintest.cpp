// The install wizard driven in-process: button presses and keys are posted
// as each page becomes active, over an engine with a tiny package. Every
// page is saved as a screenshot under screens/ beside the test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setup/engine/archive.h"
#include "setup/engine/install_run.h"
#include "setup/engine/setup_engine.h"
#include "setup/ui/application_base.h"
#include "setup/ui/wizard.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/wizard_page.h"
#include "setup/ui/wizard_requirements.h"
#include "setup/ui/wizard_sheet.h"
#include "engine/support/kvz_writer.h"
#include "support/wine_persona.h"
#include "ui/window_screenshot.h"

namespace {

using kvtest::Bytes;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Text(HWND window) {
  char text[2048] = "";
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

// Message boxes of the application: recorded; answered at once unless
// the test wants the real box.
class TestApp : public ApplicationBase {
 public:
  std::vector<std::string> messages;
  bool realBoxes = false;
  // The test's driver and watchdog are thread timers.
  void OnThreadMessage(MSG& msg) override {
    if (msg.message == WM_TIMER) DispatchMessageA(&msg);
  }
  int MessageBoxV(UINT style, const char* format, va_list args) override {
    char text[1024];
    va_list copy;
    va_copy(copy, args);
    wvsprintfA(text, format, copy);
    va_end(copy);
    messages.push_back(text);
    if (realBoxes) return ApplicationBase::MessageBoxV(style, format, args);
    return IDOK;
  }
};

class Hooks : public RunHooks {
 public:
  std::function<void(int)> onNotify;
  std::vector<int> notified;
  std::vector<uint32_t> phases;
  void Notify(int message) override {
    notified.push_back(message);
    if (onNotify) onNotify(message);
  }
  bool RunActions(uint32_t phase) override {
    phases.push_back(phase);
    return true;
  }
};

// Calls the driver as each page becomes active, once per activation.
class Wizard;
Wizard* g_test = nullptr;

class Wizard : public testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string app = dir.Path("App");
  std::unique_ptr<SetupEngine> engine;
  SetupArchive archive;
  TestApp application;
  InstallRun run;
  Hooks hooks;
  WizardContext context{application, run};
  std::unique_ptr<WizardSheet> sheet;
  std::map<int, std::function<void(HWND page)>> onPage;
  std::vector<int> pagesSeen;
  HWND lastPage = nullptr;
  bool watchdogFired = false;

  void SetUp() override {
    g_test = this;
    CreateDirectoryA("screens", nullptr);
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    run.executable = module;
    run.hooks = &hooks;
    application.moduleHandle = application.resourceModule = GetModuleHandleA(nullptr);
  }
  void TearDown() override { g_test = nullptr; }

  void Load(const std::string& install, const std::string& sections = "") {
    const std::string script = "Version=2.67.1412\n[Install]\n" + install +
                               "\n[Symbols]\nAppFolder=1|255|" + app +
                               "\nAppTitle=2|255|Tool\nAppVersion=3|255|1.0\nCompany=4|255|Quorlan Soft\n"
                               "Copyright=5|255|Copyright 2004\n[Files]\nInstallDir=<AppFolder>\n"
                               "File=a.txt|3000|3|0|0|0=a.txt|0|-1|255|0||\n"
                               "File=b.bin|20000|3|0|0|0=b.bin|0|-1|255|0||\n" + sections;
    engine = SetupEngine::ForRunningSystem();
    ScriptLoadFailure failure;
    ASSERT_TRUE(engine->LoadScript(script.data(), script.size(), "Setup.ini", &failure))
        << DescribeScriptLoadFailure(failure);
    ASSERT_TRUE(engine->SetRuntimeSymbols());
    kvtest::Entry a, b;
    a.name = "a.txt";
    a.body = Bytes(3000, 'a');
    b.name = "b.bin";
    b.body = kvtest::MixedData(20000, 7);
    const std::string path = dir.Write("package.kvz", kvtest::BuildArchive({a, b}));
    ASSERT_EQ(archive.Open(path.c_str(), 0, nullptr), 0);
    engine->SetArchive(&archive);
    application.title = "Tool 1.0";
  }

  static std::string Shot(const char* name) {
    return std::string("screens\\") + kvtest::Persona() + "_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name + ".png";
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_test) g_test->Drive();
  }
  void Drive() {
    if (!sheet || !sheet->window) return;
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet->window, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (!page || page == lastPage) return;
    auto* object = dynamic_cast<WizardPage*>(WindowBase::FromHandle(page));
    if (!object) return;
    lastPage = page;
    pagesSeen.push_back(int(object->templateId));
    auto action = onPage.find(int(object->templateId));
    if (action != onPage.end()) action->second(page);
  }
  static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    if (g_test) g_test->watchdogFired = true;
    PostQuitMessage(99);
  }

  void Press(int button) { PostMessageA(sheet->window, PSM_PRESSBUTTON, button, 0); }

  void RunWizard() {
    sheet = CreateInstallWizard(*engine, context);
    ASSERT_TRUE(sheet);
    application.mainWindow = sheet.get();
    const UINT_PTR tick = SetTimer(nullptr, 0, 30, Tick);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 30000, Watchdog);
    application.Run();
    KillTimer(nullptr, tick);
    KillTimer(nullptr, watchdog);
    EXPECT_FALSE(watchdogFired) << "the wizard never finished";
    if (sheet->window) DestroyWindow(sheet->window);
  }
};

TEST_F(Wizard, WalksEveryPageAndInstalls) {
  Load("Hardware=640|480|4", "[Readme]\n=Read me first.\n=Second line.\n[License]\n=You agree.\n");
  const std::string target = dir.Path("Chosen\\Tool");
  std::string nextOnLicence, required, finalCaption;
  int barAtEnd = -1;
  onPage[IDD_WELCOME] = [&](HWND page) {
    EXPECT_EQ(Text(GetDlgItem(page, IDT_PAGE_TITLE)), "Welcome to the Tool 1.0 Setup Wizard");
    EXPECT_EQ(Text(GetDlgItem(page, IDT_COMPANY)), "Quorlan Soft");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDL_WEB_SITE)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet->window, IDB_ABOUT)));
    kvtest::SaveWindowPng(sheet->window, Shot("64_welcome"));
    Press(PSBTN_NEXT);
  };
  onPage[IDD_README] = [&](HWND page) {
    EXPECT_EQ(Text(GetDlgItem(page, IDE_PAGE_TEXT)), "Read me first.\r\nSecond line.\r\n");
    kvtest::SaveWindowPng(sheet->window, Shot("65_readme"));
    Press(PSBTN_NEXT);
  };
  onPage[IDD_LICENCE] = [&](HWND) {
    nextOnLicence = Text(GetDlgItem(sheet->window, kSheetNext));
    kvtest::SaveWindowPng(sheet->window, Shot("66_licence"));
    Press(PSBTN_NEXT);
  };
  onPage[IDD_OPTIONS] = [&](HWND page) {
    EXPECT_EQ(Text(GetDlgItem(page, IDE_FOLDER)), app);
    EXPECT_EQ(Text(GetDlgItem(sheet->window, kSheetNext)), "Install");
    SetDlgItemTextA(page, IDE_FOLDER, (target + "\\").c_str());
    required = Text(GetDlgItem(page, IDT_SPACE_REQUIRED));
    EXPECT_NE(Text(GetDlgItem(page, IDT_SPACE_AVAILABLE)).find(" KB"), std::string::npos);
    kvtest::SaveWindowPng(sheet->window, Shot("68_options"));
    Press(PSBTN_NEXT);
  };
  onPage[IDD_COMPLETED] = [&](HWND page) {
    barAtEnd = context.progress.Position();
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet->window, IDCANCEL)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDR_RESTART_NOW)));
    finalCaption = Text(sheet->window);
    kvtest::SaveWindowPng(sheet->window, Shot("70_completed"));
    Press(PSBTN_FINISH);
  };
  RunWizard();
  EXPECT_EQ(pagesSeen, (std::vector<int>{64, 65, 66, 68, 69, 70}));
  EXPECT_EQ(nextOnLicence, "Agree >");
  EXPECT_EQ(required, "23 KB");  // the lines declare 3000 + 20000 bytes
  EXPECT_EQ(barAtEnd, 1000);
  EXPECT_EQ(finalCaption, "Tool 1.0 Setup");
  EXPECT_EQ(engine->State(), kEngineDone);
  EXPECT_EQ(engine->Expand(engine->Symbols().Value(kSymAppFolder)), target);
  EXPECT_TRUE(Exists(target + "\\a.txt"));
  EXPECT_TRUE(Exists(target + "\\b.bin"));
  EXPECT_TRUE(application.messages.empty());
  // Every step between its extension notifications, with its [Action] phase.
  EXPECT_EQ(hooks.notified, (std::vector<int>{7, 12, 13, 14, 15, 16, 17, 18, 19, 8}));
  EXPECT_EQ(hooks.phases, (std::vector<uint32_t>{0, 0x10000, 0x20000, 0x30000, 0x40000, 0x50000}));
  EXPECT_TRUE(engine->ScriptChanged());
}

TEST_F(Wizard, WithoutReadmeAndLicenceBackFromOptionsReturnsToWelcome) {
  Load("");
  int welcomes = 0;
  onPage[IDD_WELCOME] = [&](HWND) { Press(++welcomes == 1 ? PSBTN_NEXT : PSBTN_CANCEL); };
  onPage[IDD_OPTIONS] = [&](HWND) { Press(PSBTN_BACK); };
  RunWizard();
  EXPECT_EQ(pagesSeen, (std::vector<int>{64, 68, 64}));
  EXPECT_EQ(engine->State(), kEngineIdle);
  EXPECT_FALSE(Exists(app));
}

// Cancel pressed as the installation starts; message 137 is answered with
// the Y key posted to the real message box.
TEST_F(Wizard, CancelDuringInstallationAsksAndLeadsToTheCancelledPage) {
  Load("");
  application.realBoxes = true;
  hooks.onNotify = [&](int message) {
    if (message == 7) Press(PSBTN_CANCEL);
  };
  std::string question;
  onPage[IDD_WELCOME] = [&](HWND) { Press(PSBTN_NEXT); };
  onPage[IDD_OPTIONS] = [&](HWND) { Press(PSBTN_NEXT); };
  onPage[IDD_PROGRESS] = [&](HWND) { kvtest::SaveWindowPng(sheet->window, Shot("69_progress")); };
  onPage[IDD_CANCELLED] = [&](HWND page) {
    EXPECT_EQ(IsDlgButtonChecked(page, IDR_REMOVE_PARTIAL), BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet->window, IDCANCEL)));
    kvtest::SaveWindowPng(sheet->window, Shot("71_cancelled"));
    CheckRadioButton(page, IDR_REMOVE_PARTIAL, IDR_KEEP_PARTIAL, IDR_KEEP_PARTIAL);
    Press(PSBTN_FINISH);
  };
  // Answers the question box once it is up.
  static HWND s_sheet;
  s_sheet = nullptr;
  struct Answer {
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
      HWND box = FindWindowA("#32770", "Tool 1.0");
      if (!box || box == s_sheet) return;
      PostMessageA(box, WM_CHAR, 'y', 0);
    }
  };
  const UINT_PTR answer = SetTimer(nullptr, 0, 50, Answer::Tick);
  RunWizard();
  KillTimer(nullptr, answer);
  ASSERT_FALSE(application.messages.empty());
  EXPECT_EQ(application.messages[0],
            "The installation of Tool 1.0 is not complete yet.\nCancelling at this point will leave the "
            "application unusable.\n\nDo you want to cancel it anyway?");
  EXPECT_EQ(pagesSeen, (std::vector<int>{64, 68, 69, 71}));
  EXPECT_EQ(engine->State(), kEngineCancelled);
  EXPECT_EQ(hooks.notified.back(), 9);  // the work stopped early
  EXPECT_FALSE(context.removePartialInstallation);
}

TEST_F(Wizard, UnmetRequirementsShowMessage138AndKeepTheWelcomePage) {
  Load("Hardware=20000|480|4");
  int welcomes = 0;
  onPage[IDD_WELCOME] = [&](HWND) {
    ++welcomes;
    Press(PSBTN_NEXT);
    Press(PSBTN_CANCEL);
  };
  RunWizard();
  EXPECT_EQ(pagesSeen, (std::vector<int>{64}));
  EXPECT_EQ(application.exitCode, 11);
  ASSERT_EQ(application.messages.size(), 1u);
  const std::string& m = application.messages[0];
  EXPECT_EQ(m.rfind("Your system has the following characteristics:\n\nSystem version:\t", 0), 0u) << m;
  EXPECT_NE(m.find("\n\nTool 1.0 has the following minimum requirements:\n\nSystem version:\tWindows "),
            std::string::npos) << m;
  EXPECT_NE(m.find("Internet Explorer:\t0.00\nDisplay settings:\t20000 x 480 x 4\n\nThe application cannot be "
                   "installed on this system.\nPlease contact the application vendor for further information."),
            std::string::npos) << m;
}

// Wine gives every process an administrator's token, so the user without
// rights is the check's own question answered No.
TEST_F(Wizard, AUserWithoutAdministratorRightsGetsMessage129AndExitCode10) {
  const struct {
    const char* options;
    bool (*isAdministrator)();
    bool quiet, passes;
    size_t messages;
  } cases[] = {
      {"Options=2", [] { return false; }, false, false, 1}, {"Options=2", [] { return false; }, true, false, 0},
      {"Options=2", [] { return true; }, false, true, 0},   {"Options=0", [] { return false; }, false, true, 0},
  };
  for (const auto& c : cases) {
    Load(c.options);
    application.messages.clear();
    application.exitCode = 0;
    EXPECT_EQ(CheckAdministrator(*engine, application, c.quiet, c.isAdministrator), c.passes) << c.options;
    EXPECT_EQ(application.exitCode, c.passes ? 0 : 10) << c.options;
    ASSERT_EQ(application.messages.size(), c.messages) << c.options;
    if (c.messages) {
      EXPECT_EQ(application.messages[0],
                "This installation requires Administrator rights.\n\nPlease cancel the installation, log on as a "
                "user with\nAdministrator rights, then restart the program.");
    }
  }
}

}  // namespace
