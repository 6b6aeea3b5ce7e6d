// The install wizard: welcome, readme, licence, options, progress and the
// completed or cancelled page in a modeless wizard sheet, the application's
// main window in an interactive installation.
//
// What the application object provides (WizardContext):
//   - app: the ApplicationBase with the title (captions and every "%s"),
//     the exit code (10, 11, 12 are set here), the resource module and the
//     message loop that the progress page pumps while the engine works;
//   - run: the InstallRun the installation steps use (executable path,
//     /U level, hooks for the extension DLL, actions and progress text);
//   - the two wizard bitmaps (null: bitmaps 1 and 2 of the resources);
//   - the shortcut choice the options page starts from (ShortcutChoices of
//     the script), which the page updates;
//   - an optional extension callback answering notifications 3, 10, 11.
// What the wizard leaves for the exit: the engine's state and
// restart-required flag, context.removePartialInstallation (the cancelled
// page's choice) and context.shortcutChoice.
//
// The caller keeps the returned sheet alive until the loop has ended (the
// sheet's window goes when Finish is pressed, which posts the quit message)
// and sets it as app.mainWindow.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <windows.h>

#include "setup/ui/wizard_progress_sink.h"

class ApplicationBase;
class SetupEngine;
class WizardSheet;
struct InstallRun;

struct WizardContext {
  WizardContext(ApplicationBase& application, InstallRun& installRun)
      : app(application), run(installRun) {}

  ApplicationBase& app;
  InstallRun& run;
  HBITMAP bitmap1 = nullptr;  // side panel of the welcome, completed and cancelled pages
  HBITMAP bitmap2 = nullptr;  // header band of the other pages
  uint32_t shortcutChoice = 0;         // current kLinkUserChoices bits
  uint32_t defaultShortcutChoice = 0;  // what Default restores
  bool removePartialInstallation = false;
  // The engine's progress display while the progress page is shown.
  WindowProgressSink progress;
  // The extension DLL's answer to a notification; empty: no extension
  // (answers 0).
  std::function<int(int)> notifyExtension;

  int Notify(int message) const { return notifyExtension ? notifyExtension(message) : 0; }
};

// Builds the pages (readme and licence only when the script has their
// texts) and shows the sheet. Null when a page or the sheet could not be
// made: the caller ends with exit code 8.
std::unique_ptr<WizardSheet> CreateInstallWizard(SetupEngine& engine, WizardContext& context);
