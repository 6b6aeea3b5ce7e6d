// UninstallDialog (dialog 72): the main window of an interactive removal.
// Uninstall runs the removal steps with their check boxes and bar; Cancel
// (before) or Finish (after) closes it; when its window is destroyed the
// final step hands what is left to the self-delete helper.
//
// What the application object provides (RemovalContext):
//   - app: the ApplicationBase with the title (caption, 64512, 64567) and
//     the message loop; its exit code is left to the application's exit
//     (6 when nothing was removed);
//   - run: the InstallRun of this removal (executable, /U level, hooks for
//     the extension DLL and [Action] items);
//   - bitmap2: the header bitmap (null: bitmap 2 of the resources);
//   - removePartial: the cancelled wizard's choice, for the final step.
// The program module must carry the dialog template, string 67 and the
// helper as RCDATA 1 (without it the final step starts nothing).
#pragma once
#include <windows.h>

#include "setup/ui/dialog.h"
#include "setup/ui/wizard_progress_sink.h"

class ApplicationBase;
class SetupEngine;
struct InstallRun;

struct RemovalContext {
  RemovalContext(ApplicationBase& application, InstallRun& removalRun)
      : app(application), run(removalRun) {}
  ApplicationBase& app;
  InstallRun& run;
  HBITMAP bitmap2 = nullptr;
  bool removePartial = false;
  // Set by the final step: the helper's process id, 0 when none started.
  uint32_t helperProcessId = 0;
};

enum RemovalStep {
  kStepRemoveShortcuts = 0,  // "Removing program group and shortcuts..."
  kStepUnregister = 1,       // "Unregistering files..."
  kStepRestoreSettings = 2,  // "Restoring system settings..."
  kStepRemoveFiles = 3,      // "Removing program files and folders..."
  kRemovalStepCount = 4,
};

class UninstallDialog : public Dialog {
 public:
  UninstallDialog(SetupEngine& engine, RemovalContext& context);
  ~UninstallDialog() override;

  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT code, UINT id, HWND control) override;
  void OnOK() override;
  void OnDestroy() override;

 private:
  SetupEngine& engine_;
  RemovalContext& context_;
  WindowProgressSink progress_;
  HICON smallIcon_ = nullptr;
  bool removing_ = false;
};

// Windows builds. The removal steps without the final step, shown in
// progress (null window: nothing shown). False when an action stopped them.
bool RunRemovalWithProgress(SetupEngine& engine, InstallRun& run, WindowProgressSink& progress);

// Creates the modeless dialog as the application's main window (deleted
// with its window). Null when the template is missing.
UninstallDialog* CreateUninstallDialog(SetupEngine& engine, RemovalContext& context);
