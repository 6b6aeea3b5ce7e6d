// What the installation and removal steps need besides the engine: the
// running executable, the /U level, the records this run makes (the
// installed Setup.exe, the RunOnce value), and the hooks through which the
// rest of setup (extension DLL, [Action] items, progress window) joins in.
#pragma once

#include <cstdint>
#include <string>

class RunHooks {
 public:
  virtual ~RunHooks() = default;
  // An extension DLL notification.
  virtual void Notify(int message) { (void)message; }
  // Runs the [Action] items of a phase; false when the run has to stop.
  virtual bool RunActions(uint32_t phase) { return (void)phase, true; }
  virtual bool HasActions(uint32_t phase) { return (void)phase, false; }
  // The progress window's text line.
  virtual void ProgressText(const std::string& text) { (void)text; }
};

struct InstallRun {
  std::string executable;    // the running setup program
  std::string setupExePath;  // the installed Setup.exe (the running one in a removal)
  int upgradeLevel = -1;     // /U, -1 without it
  int exitCode = 0;          // set when a step decides it (14: previous version kept)
  std::string runOnceName;   // the RunOnce value this run wrote, if any
  bool filesRemoved = false;

  // Files extracted into the temporary folder at start that the removal's
  // interface needs later; empty when there are none.
  std::string tempBitmap1, tempBitmap2;
  std::string tempLanguageDll;   // only when the selected language asks for its DLL
  std::string tempExtensionDll;
  // Their copies in the application folder, once made.
  std::string languageDll;

  RunHooks* hooks = nullptr;
  RunHooks& Hooks() { return hooks ? *hooks : none_; }

 private:
  RunHooks none_;
};
