#include "setup/app/setup_app.h"

#include <objbase.h>
#include <commctrl.h>

#include <cstdio>

#include "setup/app/app_run_hooks.h"
#include "setup/app/extension_host.h"
#include "setup/app/program_action.h"
#include "setup/app/program_launch.h"
#include "setup/app/setup_app_rules.h"
#include "setup/app/setup_log.h"
#include "setup/app/setup_resource_ids.h"
#include "setup/app/system_info.h"
#include "setup/app/version_resource.h"
#include "setup/engine/archive.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/engine/uninstall_removal.h"
#include "setup/ui/uninstall_dialog.h"
#include "setup/ui/window_base.h"
#include "setup/ui/window_services.h"
#include "setup/ui/wizard.h"
#include "setup/ui/wizard_about_box.h"

#define KV_SOURCE_ID 6101

namespace {

constexpr uint32_t kEventRollback = 0x03000007;

}  // namespace

SetupApp::SetupApp() = default;

SetupApp::~SetupApp() { Release(); }

SetupApp* SetupApp::Instance() { return static_cast<SetupApp*>(ApplicationBase::Instance()); }

void SetupApp::SetExitCode(int code) { RecordExitCode(exitCode, code); }

bool SetupApp::Initialise(HINSTANCE module, const char* arguments, int show) {
  ApplicationBase::Initialise(module, arguments, show);
  SetErrorMode(SEM_FAILCRITICALERRORS);
  if (FAILED(CoInitialize(nullptr))) {
    SetExitCode(2);
    return false;
  }
  comInitialised_ = true;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  if (!InitCommonControlsEx(&controls)) InitCommonControls();
  CurrentWindowsVersion();
  return InitialiseSteps();
}

bool SetupApp::InitialiseSteps() {
  settings_ = ParseCommandLine(commandLine.c_str());
  runMode_ = settings_.runMode;
  if (settings_.quietLevel >= 2) showCommand = SW_HIDE;

  if (!CheckCommonControls()) return false;

  engine_ = SetupEngine::ForRunningSystem();
  launcher_ = MakeSystemLauncher(*engine_, nullptr);
  actions_ = std::make_unique<ProgramActions>(*engine_, launcher_.get());
  engine_->SetSectionReaders(actions_.get());
  engine_->SetQuiet(Quiet());
  engine_->SetMessages(this);
  VersionResource version;
  title = version.Load(modulePath.c_str()) ? version.String("ProductName") : std::string();

  run_.executable = modulePath;
  run_.upgradeLevel = settings_.upgradeLevel;
  engine_->SetUpgradeRemoval(settings_.upgradeLevel >= 0);

  if (!OpenScript()) return false;
  title = engine_->Loaded().windowTitle;

  if (runMode_ == kRunInstall && !settings_.folderArgument.empty())
    engine_->Symbols().SetValue(kSymAppFolder, settings_.folderArgument);
  if (!settings_.previousUninstallName.empty())
    engine_->Symbols().SetValue(kSymUninstallPrev, settings_.previousUninstallName);

  if (!engine_->SetRuntimeSymbols()) {
    MessageBoxString(MB_ICONSTOP, IDS_FOLDER_CACHE);
    SetExitCode(2);
    return false;
  }

  if (runMode_ == kRunAuto)
    runMode_ = engine_->Install().IsInstalledCopy() ? kRunRemove : kRunInstall;
  if (runMode_ == kRunRemove) run_.setupExePath = modulePath;

  userLanguage_ = ReadUserLanguage();
  SelectLanguage();
  engine_->Symbols().SetValue(kSymLangID, std::to_string(languageId_));
  engine_->SetLanguageId(languageIndex_ >= 0 ? languageId_ : 0);

  if (!StartExtension()) return false;
  hooks_ = std::make_unique<AppRunHooks>(extension_.get(), actions_.get());
  run_.hooks = hooks_.get();

  LogSystemAtStart();

  if (!CheckRunningApplication()) return false;
  LoadBitmaps();
  if (!CreateMainWindow()) {
    SetExitCode(8);
    return false;
  }
  return true;
}

bool SetupApp::CheckCommonControls() {
  // The loaded COMCTL32, which the loader took from the system folder.
  HMODULE controls = GetModuleHandleA("COMCTL32.DLL");
  char path[MAX_PATH] = {};
  if (!controls || !GetModuleFileNameA(controls, path, MAX_PATH)) return true;
  VersionResource version;
  uint32_t high = 0, low = 0;
  if (!version.Load(path) || !version.FileVersion(&high, &low)) return true;
  if (high >= MAKELONG(70, 4)) return true;
  if (!Quiet()) MessageBoxF(MB_ICONSTOP, "%s", "COMCTL32 4.70 or later required");
  SetExitCode(11);
  return false;
}

int SetupApp::Exit(bool initialised) {
  (void)initialised;
  if (wizard_ && wizard_->removePartialInstallation) removePartial_ = true;
  if (engine_) {
    ExitByEngineState();
    SaveInstalledCopy();
    const bool restart = ShouldRestart(settings_.restartMode, engine_->RestartNeeded());
    if (engine_->State() == kEngineDone && engine_->RestartNeeded()) SetExitCode(12);
    if (restart) {
      SetupLog::Instance().Close();
      RestartWindows();
    }
  }
  Release();
  SetupLog::Instance().Close();
  return exitCode;
}

void SetupApp::ExitByEngineState() {
  SetupEngine& engine = *engine_;
  const bool deleteLog = engine.Install().Has(kOptDeleteLog);
  switch (engine.State()) {
    case kEngineIdle:
    case kEngineRunning:
      engine.ClearRestartNeeded();
      keepScriptUnsaved_ = true;
      if (deleteLog) SetupLog::Instance().SetDeleteAtExit(true);
      SetExitCode(6);
      break;
    case kEngineDone:
      if (runMode_ == kRunInstall && !engine.RestartNeeded() && actions_)
        actions_->RunSetupEndActions();
      if (engine.FontsChanged())  // a hung window must not hold setup up
        SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
      if (deleteLog) SetupLog::Instance().SetDeleteAtExit(true);
      break;
    default:  // failed or cancelled
      if (runMode_ == kRunInstall && (removePartial_ || settings_.rollback)) {
        SetupLog::Instance().Event(kEventRollback);
        engine.SetProgress(nullptr);
        RunRemoval(engine, run_, true);
        RunFinalRemovalStep();
        keepScriptUnsaved_ = true;
      }
      SetExitCode(5);
      engine.ClearRestartNeeded();
      break;
  }
}

void SetupApp::SaveInstalledCopy() {
  SetupEngine& engine = *engine_;
  if (runMode_ == kRunRemove) {
    engine.ClearRestartNeeded();
    return;
  }
  if (keepScriptUnsaved_ || !engine.ScriptChanged()) return;
  if (!SaveInstalledScript(engine, run_)) SetExitCode(4);
}

void SetupApp::Release() {
  // A window still up (a run ended by a fatal error) goes while the engine
  // its pages and the removal dialog use is still there.
  if (HWND main = MainWindowHandle())
    if (IsWindow(main)) ::DestroyWindow(main);
  if (extension_) {
    extension_->End();
    extension_.reset();
  }
  engine_.reset();
  hooks_.reset();
  actions_.reset();
  launcher_.reset();
  if (archive_) archive_->Close();
  if (window_) {
    if (window_->window && IsWindow(window_->window)) ::DestroyWindow(window_->window);
    window_.reset();
  }
  mainWindow = nullptr;
  wizard_.reset();
  removal_.reset();
  if (bitmap1_) DeleteObject(bitmap1_);
  if (bitmap2_) DeleteObject(bitmap2_);
  bitmap1_ = bitmap2_ = nullptr;
  if (languageDll_) {
    resourceModule = moduleHandle;
    FreeLibrary(languageDll_);
    languageDll_ = nullptr;
  }
  if (comInitialised_) {
    CoUninitialize();
    comInitialised_ = false;
  }
}

void SetupApp::ShowAbout() {
  if (engine_) ShowAboutBox(*engine_, MainWindowHandle());
}

int SetupApp::MessageBoxV(UINT style, const char* format, va_list args) {
  if (rightToLeft_) style |= MB_RTLREADING | MB_RIGHT;
  return ApplicationBase::MessageBoxV(style, format, args);
}

int SetupApp::MessageBoxString(UINT style, UINT stringId, ...) {
  if (Quiet()) return IDCANCEL;
  std::string format;
  if (!LoadStringText(stringId, format)) return IDCANCEL;
  va_list args;
  va_start(args, stringId);
  const int answer = MessageBoxV(style, format.c_str(), args);
  va_end(args);
  return answer;
}

int SetupApp::Show(uint32_t stringId, const std::string& argument, const std::string& text,
                   MessageKind kind) {
  UINT style = MB_ICONEXCLAMATION;
  switch (kind) {
    case MessageKind::kNotice: style = MB_ICONEXCLAMATION; break;
    case MessageKind::kRetryCancel: style = MB_ICONEXCLAMATION | MB_RETRYCANCEL; break;
    case MessageKind::kOkCancel: style = MB_ICONEXCLAMATION | MB_OKCANCEL; break;
    case MessageKind::kYesNo: style = MB_ICONQUESTION | MB_YESNO; break;
  }
  std::string format;
  if (stringId != kStrScriptText && LoadStringText(stringId, format))
    return MessageBoxF(style, format.c_str(), argument.c_str());
  return MessageBoxF(style, "%s", text.c_str());
}
