#include "setup/ui/window_base.h"

#include <windowsx.h>

#include "setup/app/setup_exception.h"
#include "setup/app/setup_log.h"
#include "setup/ui/application_base.h"
#include "setup/ui/dialog_look.h"

#define KV_SOURCE_ID 6301

namespace {

// The binding property, registered once as a global atom.
class BindingAtom {
 public:
  BindingAtom() : atom_(GlobalAddAtomA("QBR#001")) {}
  ~BindingAtom() {
    if (atom_)
      GlobalDeleteAtom(atom_);
  }
  const char* name() const { return MAKEINTATOM(atom_); }

 private:
  ATOM atom_;
};

const char* BindingName() {
  static BindingAtom atom;
  return atom.name();
}

// Single GUI thread: creation and dispatch state is plain process state.
HHOOK g_creationHook = nullptr;
WindowBase* g_pendingObject = nullptr;
MSG g_currentMessage = {};

void RemoveHookWhenIdle() {
  if (!g_pendingObject && g_creationHook) {
    UnhookWindowsHookEx(g_creationHook);
    g_creationHook = nullptr;
  }
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && g_pendingObject) {
    HWND created = reinterpret_cast<HWND>(wParam);
    // The input method's own window may be created first on a thread's
    // first window; it is never the one asked for.
    char className[16] = {};
    GetClassNameA(created, className, sizeof(className));
    if (lstrcmpiA(className, "IME") != 0) {
      WindowBase* object = g_pendingObject;
      g_pendingObject = nullptr;
      object->Attach(created, true);
      object->Subclass(created);
    }
  }
  return CallNextHookEx(g_creationHook, code, wParam, lParam);
}

HINSTANCE ProgramModule() {
  ApplicationBase* app = ApplicationBase::Instance();
  return app && app->moduleHandle ? app->moduleHandle : GetModuleHandleA(nullptr);
}

// Restores the dispatched-message record on every way out.
class DispatchScope {
 public:
  DispatchScope(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
      : previous_(g_currentMessage) {
    g_currentMessage = MSG{};
    g_currentMessage.hwnd = window;
    g_currentMessage.message = message;
    g_currentMessage.wParam = wParam;
    g_currentMessage.lParam = lParam;
  }
  ~DispatchScope() { g_currentMessage = previous_; }

 private:
  MSG previous_;
};

// An exception must not unwind through Windows' own frames: report it here
// and let the message loop end the run when the report says so.
void ReportFromWindowProcedure(cException* e) {
  ApplicationBase* app = ApplicationBase::Instance();
  int action;
  if (app)
    action = e ? app->ReportException(*e) : app->ReportUnknownException();
  else
    action = e ? ReportException(*e, KV_SOURCE_ID, __LINE__)
               : ReportUnknownException();
  if (action == kActionTerminate) {
    if (app)
      app->EndRunAfterFatalException();
    else
      PostQuitMessage(-1);
  }
}

}  // namespace

WindowBase::~WindowBase() {
  if (g_pendingObject == this)
    EndCreation(this);
  if (window && FromHandle(window) == this)
    Detach();
}

void WindowBase::DestroyWindow() {
  if (window)
    ::DestroyWindow(window);
}

void WindowBase::EndDialog(INT_PTR result) {
  if (window)
    ::EndDialog(window, result);
}

bool WindowBase::ExchangeData(bool) { return true; }

bool WindowBase::PreTranslateMessage(MSG& msg) {
  return (flags & kWindowDialog) && window && IsDialogMessageA(window, &msg);
}

bool WindowBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT& result) {
  const bool dialog = (flags & kWindowDialog) != 0;
  switch (message) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam), result);
    case WM_DESTROY:
      OnDestroy();
      if (dialog)
        dialogFonts.Delete();
      return false;
    case WM_CLOSE:
      if (flags & kWindowMain) {
        ApplicationBase* app = ApplicationBase::Instance();
        if (app && !app->MayCloseMainWindow()) {
          result = 0;
          return true;
        }
      }
      return false;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      return wParam &&
             Reflect(GetDlgItem(window, int(wParam)), message, wParam, lParam, result);
    case WM_NOTIFY: {
      if (dialog)
        return false;
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      return OnNotify(UINT(wParam), header, result) ||
             Reflect(header->hwndFrom, message, wParam, lParam, result);
    }
    case WM_INITDIALOG:
      if (reinterpret_cast<DLGPROC>(GetWindowLongPtrA(window, DWLP_DLGPROC)) ==
          FrameworkDialogProc)
        return false;
      result = TRUE;
      return OnInitDialog(reinterpret_cast<HWND>(wParam), lParam, result);
    case WM_COMMAND:
      return OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam)) ||
             (lParam && Reflect(reinterpret_cast<HWND>(lParam), message, wParam,
                                lParam, result));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result))
        return true;
      return dialog && DialogLook::ApplyColours(message, reinterpret_cast<HDC>(wParam),
                                                reinterpret_cast<HWND>(lParam), result);
    case WM_SYSCOMMAND:
      return OnSysCommand(UINT(wParam & 0xFFF0), GET_X_LPARAM(lParam),
                          GET_Y_LPARAM(lParam));
  }
  return false;
}

bool WindowBase::OnCreate(CREATESTRUCTA*, LRESULT&) { return false; }

bool WindowBase::OnInitDialog(HWND, LPARAM, LRESULT&) {
  if (!(flags & kWindowDialog))
    return false;
  DialogLook::EnsureColours();
  dialogFonts.Create(window);
  DialogLook::ApplyFonts(window, dialogFonts);
  if (flags & kWindowCentreOnInit)
    CentreWindow(window);
  if (flags & kWindowLoadOnInit)
    ExchangeData(false);
  return true;
}

void WindowBase::OnDestroy() {
  if (flags & kWindowMain) {
    ApplicationBase* app = ApplicationBase::Instance();
    if (app && !app->helpPath.empty())
      WinHelpA(window, app->helpPath.c_str(), HELP_QUIT, 0);
  }
}

bool WindowBase::OnCommand(UINT, UINT, HWND) { return false; }
bool WindowBase::OnSysCommand(UINT, int, int) { return false; }
bool WindowBase::OnNotify(UINT, NMHDR*, LRESULT&) { return false; }

LRESULT WindowBase::DefaultProcessing() {
  const MSG& m = g_currentMessage;
  if (previousWindowProc)
    return CallWindowProcA(previousWindowProc, m.hwnd, m.message, m.wParam, m.lParam);
  if (flags & kWindowDialog)
    return DefDlgProcA(m.hwnd, m.message, m.wParam, m.lParam);
  return DefWindowProcA(m.hwnd, m.message, m.wParam, m.lParam);
}

WindowBase* WindowBase::FromHandle(HWND window) {
  if (!window)
    return nullptr;
  auto* object = static_cast<WindowBase*>(GetPropA(window, BindingName()));
  return object && object->window == window ? object : nullptr;
}

void WindowBase::Attach(HWND newWindow, bool boundByFramework) {
  SetPropA(newWindow, BindingName(), this);
  window = newWindow;
  if (boundByFramework)
    flags |= kWindowBound;
  else
    flags &= ~kWindowBound;
}

bool WindowBase::Subclass(HWND target) {
  if (!target)
    return false;
  if (window != target)
    Attach(target, false);
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(target, GWLP_WNDPROC));
  if (current != FrameworkWindowProc) {
    previousWindowProc = current;
    SetWindowLongPtrA(target, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(FrameworkWindowProc));
  }
  return true;
}

bool WindowBase::SubclassDialogItem(HWND parent, int id) {
  return Subclass(GetDlgItem(parent, id));
}

// Only our own binding is removed: the window's other properties belong to
// whoever set them (the common controls keep their state there).
void WindowBase::Detach() {
  if (!window)
    return;
  if (previousWindowProc &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) ==
          FrameworkWindowProc)
    SetWindowLongPtrA(window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(previousWindowProc));
  if (previousDialogProc)
    SetWindowLongPtrA(window, DWLP_DLGPROC,
                      reinterpret_cast<LONG_PTR>(previousDialogProc));
  previousWindowProc = nullptr;
  previousDialogProc = nullptr;
  RemovePropA(window, BindingName());
  window = nullptr;
}

bool WindowBase::BeginCreation(WindowBase* object) {
  if (g_pendingObject)
    return false;
  if (!g_creationHook) {
    g_creationHook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr,
                                       GetCurrentThreadId());
    if (!g_creationHook)
      return false;
  }
  g_pendingObject = object;
  return true;
}

void WindowBase::EndCreation(WindowBase* object) {
  if (g_pendingObject == object)
    g_pendingObject = nullptr;
  RemoveHookWhenIdle();
}

bool WindowBase::CreationPending() { return g_pendingObject != nullptr; }

WindowBase* WindowBase::PendingObject() { return g_pendingObject; }

bool WindowBase::CreateWindowObject(DWORD exStyle, const char* className,
                                    const char* text, DWORD style, int x, int y,
                                    int width, int height, HWND parent,
                                    HMENU idOrMenu) {
  if (!BeginCreation(this))
    return false;
  flags |= kWindowCreating;
  HWND created = CreateWindowExA(exStyle, className, text, style, x, y, width,
                                 height, parent, idOrMenu, ProgramModule(), nullptr);
  flags &= ~kWindowCreating;
  EndCreation(this);
  return created != nullptr;
}

bool WindowBase::CreateModelessDialog(const char* templateName, HWND parent) {
  flags = (flags | kWindowDialog) & ~kWindowModal;
  if (!BeginCreation(this))
    return false;
  flags |= kWindowCreating;
  HWND created = CreateDialogParamA(FindResourceModule(RT_DIALOG, templateName),
                                    templateName, parent, FrameworkDialogProc,
                                    reinterpret_cast<LPARAM>(this));
  flags &= ~kWindowCreating;
  EndCreation(this);
  return created != nullptr;
}

INT_PTR WindowBase::RunModalDialog(const char* templateName, HWND owner) {
  flags |= kWindowModal | kWindowDialog;
  if (owner)
    owner = GetLastActivePopup(owner);
  if (!BeginCreation(this))
    return -1;
  flags |= kWindowCreating;
  const INT_PTR result =
      DialogBoxParamA(FindResourceModule(RT_DIALOG, templateName), templateName,
                      owner, FrameworkDialogProc, reinterpret_cast<LPARAM>(this));
  flags &= ~kWindowCreating;
  EndCreation(this);
  return result;
}

const MSG& WindowBase::CurrentMessage() { return g_currentMessage; }

bool WindowBase::Reflect(HWND control, UINT message, WPARAM wParam,
                         LPARAM lParam, LRESULT& result) {
  WindowBase* object = FromHandle(control);
  return object && object->WindowProc(message + kReflectedMessage, wParam,
                                      lParam, result);
}

LRESULT CALLBACK WindowBase::FrameworkWindowProc(HWND hwnd, UINT message,
                                                 WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    RemoveHookWhenIdle();
  WindowBase* object = FromHandle(hwnd);
  if (!object)
    return DefWindowProcA(hwnd, message, wParam, lParam);

  DispatchScope scope(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  try {
    if (!object->WindowProc(message, wParam, lParam, result))
      result = object->DefaultProcessing();
  } catch (cException& e) {
    ReportFromWindowProcedure(&e);
  } catch (...) {
    ReportFromWindowProcedure(nullptr);
  }

  if (message == WM_NCDESTROY) {
    const uint32_t f = object->flags;
    if ((f & (kWindowMain | kWindowModal)) == kWindowMain)
      PostQuitMessage(0);
    object->Detach();
    if ((f & (kWindowDeleteOnDestroy | kWindowBound)) ==
            (kWindowDeleteOnDestroy | kWindowBound) &&
        !(f & (kWindowCreating | kWindowDestroying)))
      delete object;
  }
  return result;
}

INT_PTR CALLBACK WindowBase::FrameworkDialogProc(HWND hwnd, UINT message,
                                                 WPARAM wParam, LPARAM lParam) {
  WindowBase* object = FromHandle(hwnd);
  if (!object)
    return FALSE;
  DispatchScope scope(hwnd, message, wParam, lParam);
  INT_PTR answer = FALSE;
  try {
    if (message == WM_NOTIFY) {
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      LRESULT result = 0;
      const bool handled =
          object->OnNotify(UINT(wParam), header, result) ||
          (header->hwndFrom != hwnd &&
           Reflect(header->hwndFrom, message, wParam, lParam, result));
      if (handled) {
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        answer = TRUE;
      }
    } else if (message == WM_INITDIALOG) {
      LRESULT result = TRUE;
      object->OnInitDialog(reinterpret_cast<HWND>(wParam), lParam, result);
      answer = result;
    } else if (object->previousDialogProc) {
      answer = object->previousDialogProc(hwnd, message, wParam, lParam);
    }
  } catch (cException& e) {
    ReportFromWindowProcedure(&e);
  } catch (...) {
    ReportFromWindowProcedure(nullptr);
  }
  return answer;
}
