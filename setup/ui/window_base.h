// WindowBase: one object per window of setup, bound to its window through
// the window property "QBR#001". The object sees every message from the very
// first one (creation goes through a per-thread CBT hook), handles what it
// wants through virtual operations, and control notifications are reflected
// to the object of the control that sent them (message + 0x6000).
#pragma once
#include <windows.h>

#include <cstdint>

#include "setup/ui/dialog_look.h"
#include "setup/ui/window_services.h"

// Window flags.
enum WindowFlag : uint32_t {
  kWindowModal = 0x1,            // closing ends the dialog
  kWindowMain = 0x2,             // its destruction posts the quit message
  kWindowBound = 0x4,            // bound by the framework at creation
  kWindowDialog = 0x8,           // default processing is the dialog default
  kWindowCreating = 0x2000,
  kWindowDestroying = 0x4000,
  kWindowDeleteOnDestroy = 0x8000,
  kWindowCentreOnInit = 0x10000,
  kWindowLoadOnInit = 0x20000,   // exchange data (load) at init
  kPageLeaving = 0x200000,       // page: leaving backwards
  kPageDeleteOnRelease = 0x400000,
  kPageCancelToClose = 0x800000,
};

// Notifications reflected to the control's own object arrive as the
// original message plus this offset (WM_NOTIFY as 0x604E, WM_COMMAND as
// 0x6111, WM_CTLCOLORSTATIC as 0x6138 ...).
constexpr UINT kReflectedMessage = 0x6000;

class WindowBase {
 public:
  WindowBase() = default;
  // Destroying the object (the framework deletes objects with flag 0x8000
  // when their window is gone) leaves the window, if any, unbound.
  virtual ~WindowBase();
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND window = nullptr;
  uint32_t flags = 0;
  WNDPROC previousWindowProc = nullptr;
  DLGPROC previousDialogProc = nullptr;
  // Dialogs (flag 0x8) make it at WM_INITDIALOG and drop it at WM_DESTROY.
  DialogFontSet dialogFonts;

  // Virtual operations, in the order the framework knows them.
  virtual void DestroyWindow();
  virtual void EndDialog(INT_PTR result);
  virtual bool ExchangeData(bool save);
  virtual bool PreTranslateMessage(MSG& msg);
  // True when handled; result then holds the answer.
  virtual bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& result);
  virtual bool OnCreate(CREATESTRUCTA* create, LRESULT& result);
  virtual bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result);
  virtual void OnDestroy();
  virtual bool OnCommand(UINT code, UINT id, HWND control);
  virtual bool OnSysCommand(UINT command, int x, int y);
  virtual bool OnNotify(UINT id, NMHDR* header, LRESULT& result);
  // The default answer to the message being handled.
  virtual LRESULT DefaultProcessing();

  // The bound object of a window, or null.
  static WindowBase* FromHandle(HWND window);

  void Attach(HWND window, bool boundByFramework);
  bool Subclass(HWND window);
  bool SubclassDialogItem(HWND parent, int id);
  void Detach();

  // Creation through the hook; each refuses (false or -1) while another
  // creation is pending.
  bool CreateWindowObject(DWORD exStyle, const char* className,
                          const char* text, DWORD style, int x, int y,
                          int width, int height, HWND parent, HMENU idOrMenu);
  bool CreateModelessDialog(const char* templateName, HWND parent);
  INT_PTR RunModalDialog(const char* templateName, HWND owner);

  // The message being dispatched by the framework window procedure (the
  // innermost one while messages nest).
  static const MSG& CurrentMessage();

  // Window and dialog procedures of the framework.
  static LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message,
                                              WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK FrameworkDialogProc(HWND window, UINT message,
                                              WPARAM wParam, LPARAM lParam);

  // The creation hook: the next window created on this thread is bound to
  // object. False when another object is already pending.
  static bool BeginCreation(WindowBase* object);
  // Forgets object as pending (if it still is) and removes the hook when
  // nothing is pending.
  static void EndCreation(WindowBase* object);
  static bool CreationPending();
  static WindowBase* PendingObject();

 protected:
  // Sends a reflected notification to the object bound to control.
  static bool Reflect(HWND control, UINT message, WPARAM wParam,
                      LPARAM lParam, LRESULT& result);
};
