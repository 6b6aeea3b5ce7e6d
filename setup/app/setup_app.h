// SetupApp: setup's one application object. It reads the command line,
// finds and opens the script, runs the checks that come before any window,
// picks the main window for the run mode and, at exit, rolls back, saves
// the installed script, restarts Windows and settles the exit code.
//
// Exit codes: 0 done; 2 COM or the folder symbols; 3 no readable script;
// 4 the installed script not saved; 5 the engine failed; 6 never
// completed; 8 no main window; 10 administrator rights missing;
// 11 COMCTL32 too old or requirements not met; 12 restart needed;
// 13 the application is running; 14 earlier version kept; 15 password
// prompt cancelled; -1 fatal runtime error.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "setup/app/command_line.h"
#include "setup/engine/install_run.h"
#include "setup/engine/setup_engine_messages.h"
#include "setup/ui/application_base.h"

class AppRunHooks;
class ExtensionHost;
class ProgramActions;
class ProgramLauncher;
class SetupArchive;
class SetupEngine;
class WindowBase;
class WindowProgressSink;
struct LanguageEntry;
struct RemovalContext;
struct WizardContext;

class SetupApp : public ApplicationBase, private EngineMessages {
 public:
  SetupApp();
  ~SetupApp() override;

  static SetupApp* Instance();

  bool Initialise(HINSTANCE module, const char* arguments, int show) override;
  int Exit(bool initialised) override;
  void ShowAbout() override;
  // Adds right-to-left reading and right alignment for such a language.
  int MessageBoxV(UINT style, const char* format, va_list args) override;

  // ---- Services for the windows
  // The string's text formatted with the arguments; 2 (Cancel) when the
  // string cannot be loaded. Nothing is shown in quiet runs (answer 2).
  int MessageBoxString(UINT style, UINT stringId, ...);
  // Applies the exit-code precedence (3, 5 and 6 only fill an empty field).
  void SetExitCode(int code);
  int QuietLevel() const { return settings_.quietLevel; }
  bool Quiet() const { return settings_.quietLevel > 0; }
  RunMode Mode() const { return runMode_; }
  SetupEngine& Engine() { return *engine_; }
  InstallRun& Installation() { return run_; }
  ExtensionHost* Extension() { return extension_.get(); }
  ProgramActions* Actions() { return actions_.get(); }
  HBITMAP Bitmap1() const { return bitmap1_; }
  HBITMAP Bitmap2() const { return bitmap2_; }
  bool RightToLeft() const { return rightToLeft_; }
  uint16_t LanguageId() const { return languageId_; }
  const CommandLine& Settings() const { return settings_; }

  // The work of a quiet or register run in the progress window: the
  // administrator check, then the installation, the removal (with its
  // final step) or the registration run.
  void RunWork(WindowProgressSink& progress);
  // The wizard's cancelled page: remove the partial installation at exit.
  void SetRemovePartialInstallation(bool on) { removePartial_ = on; }
  // The extension DLL's answers (empty without a host).
  std::function<int(int)> ExtensionAnswers();

  // The interactive main windows (setup_app_windows_win.cpp); null when
  // they cannot be made. The removal dialog deletes itself with its window.
  WindowBase* CreateInstallWizard();
  WindowBase* CreateUninstallDialog();
  // The removal's last step: the uninstall key and RunOnce value go, and
  // the self-delete helper is started for what is left.
  void RunFinalRemovalStep();

 private:
  // EngineMessages: string-table texts in a message box (never quiet).
  int Show(uint32_t stringId, const std::string& argument, const std::string& text,
           MessageKind kind) override;

  bool InitialiseSteps();
  bool CheckCommonControls();
  bool OpenScript();
  bool OpenStampedArchive(bool* fallBack);
  bool LoadScriptFromArchive(const std::string& name);
  uint16_t ReadUserLanguage() const;
  void SelectLanguage();
  bool LoadLanguageDll(LanguageEntry& entry);
  bool ExtractNamedFile(std::string& value, const char* fixedName);
  bool StartExtension();
  bool CheckRunningApplication();
  void LoadBitmaps();
  bool CreateMainWindow();
  bool CheckAdministrator();
  bool RunInstallation(WindowProgressSink& progress);
  void ExitByEngineState();
  void SaveInstalledCopy();
  void Release();

  CommandLine settings_;
  RunMode runMode_ = kRunAuto;
  std::string scriptPath_;
  uint16_t userLanguage_ = 0x0409;
  uint16_t languageId_ = 1033;
  int languageIndex_ = -1;
  bool rightToLeft_ = false;
  HBITMAP bitmap1_ = nullptr, bitmap2_ = nullptr;
  HMODULE languageDll_ = nullptr;
  bool comInitialised_ = false;
  bool removePartial_ = false;
  bool keepScriptUnsaved_ = false;

  std::unique_ptr<SetupArchive> archive_;
  std::unique_ptr<SetupEngine> engine_;
  std::unique_ptr<ProgramLauncher> launcher_;
  std::unique_ptr<ProgramActions> actions_;
  std::unique_ptr<ExtensionHost> extension_;
  std::unique_ptr<AppRunHooks> hooks_;
  // What the interactive windows share with the application; they outlive
  // the windows.
  std::unique_ptr<WizardContext> wizard_;
  std::unique_ptr<RemovalContext> removal_;
  // The wizard sheet or the progress window (the removal dialog owns
  // itself).
  std::unique_ptr<WindowBase> window_;
  InstallRun run_;
};
