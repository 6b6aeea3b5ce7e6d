#include "setup/ui/application_base.h"

#include <cstdio>

#include "setup/app/setup_exception.h"
#include "setup/ui/window_base.h"
#include "setup/ui/window_services.h"

#define KV_SOURCE_ID 6302

namespace {

ApplicationBase* g_application = nullptr;
// Set when a window procedure reported an exception that ends the run.
bool g_fatalEnd = false;

}  // namespace

ApplicationBase::ApplicationBase() { g_application = this; }

ApplicationBase::~ApplicationBase() {
  if (g_application == this)
    g_application = nullptr;
}

ApplicationBase* ApplicationBase::Instance() { return g_application; }

bool ApplicationBase::Initialise(HINSTANCE module, const char* arguments, int show) {
  moduleHandle = module;
  resourceModule = module;
  commandLine = arguments ? arguments : "";
  showCommand = show;
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, sizeof(path));
  modulePath = path;
  const size_t slash = modulePath.find_last_of("\\/");
  moduleFolder = slash == std::string::npos ? "" : modulePath.substr(0, slash);
  const size_t dot = modulePath.find_last_of('.');
  helpPath = (dot == std::string::npos || (slash != std::string::npos && dot < slash)
                  ? modulePath
                  : modulePath.substr(0, dot)) + ".hlp";
  return true;
}

int ApplicationBase::Exit(bool) { return exitCode; }

HWND ApplicationBase::MainWindowHandle() const {
  return mainWindow ? mainWindow->window : nullptr;
}

int ApplicationBase::Run() {
  HWND main = MainWindowHandle();
  if (!moduleHandle || !main || !IsWindow(main)) {
    exitCode = -1;
    return exitCode;
  }
  ShowWindow(main, showCommand);
  UpdateWindow(main);
  g_fatalEnd = false;
  for (;;) {
    int handled = 0;
    int action = 0;
    try {
      handled = ProcessMessages();
    } catch (cException& e) {
      action = ReportException(e);
      handled = 1;
    } catch (...) {
      action = ReportUnknownException();
      handled = 1;
    }
    if (action == kActionTerminate || g_fatalEnd) {
      // The quit message that ended any inner modal loop is ours to take.
      MSG leftover;
      PeekMessageA(&leftover, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
      exitCode = -1;
      break;
    }
    if (!handled) {
      if (quit)
        break;
      OnIdle();
      WaitMessage();
    }
  }
  return exitCode;
}

int ApplicationBase::ProcessMessages() {
  int count = 0;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ++count;
    if (msg.message == WM_QUIT) {
      quit = true;
      break;
    }
    const MSG outer = dispatching;
    dispatching = msg;
    if (!msg.hwnd)
      OnThreadMessage(msg);
    else if (!PreTranslateMessage(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    dispatching = outer;
    // A fatal exception ends the run before anything else is handled.
    if (g_fatalEnd)
      break;
  }
  return count;
}

bool ApplicationBase::PreTranslateMessage(MSG& msg) {
  HWND main = MainWindowHandle();
  for (HWND w = msg.hwnd; w; w = GetParent(w)) {
    WindowBase* object = WindowBase::FromHandle(w);
    if (object && object->PreTranslateMessage(msg))
      return true;
    if (w == main)
      break;
  }
  return false;
}

void ApplicationBase::OnThreadMessage(MSG&) {}
void ApplicationBase::OnIdle() {}
void ApplicationBase::ShowAbout() {}
bool ApplicationBase::MayCloseMainWindow() { return true; }

int ApplicationBase::ReportException(cException& e) {
  return ::ReportException(e, KV_SOURCE_ID, __LINE__);
}

int ApplicationBase::ReportUnknownException() { return ::ReportUnknownException(); }

int ApplicationBase::MessageBoxV(UINT style, const char* format, va_list args) {
  char text[1024];
  vsnprintf(text, sizeof(text), format, args);
  HWND main = MainWindowHandle();
  return ShowMessageBox(main ? GetLastActivePopup(main) : nullptr, text,
                        title.c_str(), style);
}

int ApplicationBase::MessageBoxF(UINT style, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int answer = MessageBoxV(style, format, args);
  va_end(args);
  return answer;
}

void ApplicationBase::EndRunAfterFatalException() {
  g_fatalEnd = true;
  quit = true;
  exitCode = -1;
  PostQuitMessage(-1);
}
