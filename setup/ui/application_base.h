// ApplicationBase: setup's application object under the framework: module
// and resource handles, the main window, the application title, the message
// loop and the reporting of exceptions that reach a window procedure or the
// loop. SetupApp derives from it.
#pragma once
#include <windows.h>

#include <cstdarg>
#include <string>

class cException;
class WindowBase;

class ApplicationBase {
 public:
  ApplicationBase();
  virtual ~ApplicationBase();
  ApplicationBase(const ApplicationBase&) = delete;
  ApplicationBase& operator=(const ApplicationBase&) = delete;

  // The one application object of the process, or null.
  static ApplicationBase* Instance();

  HINSTANCE moduleHandle = nullptr;
  HINSTANCE resourceModule = nullptr;
  std::string commandLine;
  int showCommand = SW_SHOWDEFAULT;
  WindowBase* mainWindow = nullptr;
  std::string title = "Brannoc Installer";
  std::string modulePath;
  std::string helpPath;
  std::string moduleFolder;
  MSG dispatching = {};
  bool quit = false;
  int exitCode = 0;

  // Virtual operations, in the order the program knows them.
  // Records module, command line, show command and the module paths.
  virtual bool Initialise(HINSTANCE module, const char* arguments, int show);
  virtual int Exit(bool initialised);
  // Shows the main window and runs the message loop until the quit
  // message; the exit code (-1 without a main window).
  virtual int Run();
  // Handles every pending message; how many there were.
  virtual int ProcessMessages();
  // Offers msg to the bound objects from its window up to the main window.
  virtual bool PreTranslateMessage(MSG& msg);
  virtual void OnThreadMessage(MSG& msg);
  virtual void OnIdle();
  virtual void ShowAbout();
  virtual bool MayCloseMainWindow();
  // What to do after an exception: 3 ends the run, anything else goes on.
  virtual int ReportException(cException& e);
  virtual int ReportUnknownException();
  virtual int MessageBoxV(UINT style, const char* format, va_list args);

  // Formatted message box (at most 1024 characters) owned by the main
  // window's last active popup, captioned with the title.
  int MessageBoxF(UINT style, const char* format, ...);

  // An exception reported with answer 3 inside a window procedure: the loop
  // ends with exit code -1 as soon as the procedure has returned.
  void EndRunAfterFatalException();

  HWND MainWindowHandle() const;
};
