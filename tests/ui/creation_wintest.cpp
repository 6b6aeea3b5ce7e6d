// Creation through the hook: one creation at a time, binding from the first
// message; centring; message boxes bound while they are shown.
#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "setup/ui/dialog.h"
#include "setup/ui/property_sheet.h"
#include "setup/ui/window_services.h"
#include "ui_test_ids.h"
#include "ui_test_support.h"

namespace {

struct Creator {
  const char* name;
  // True when something was created (and is destroyed again).
  std::function<bool()> create;
};

TEST(Creation, SecondCreationWhilePendingFailsWithoutCreatingAnything) {
  TestApplication app;
  const Creator creators[] = {
      {"window", [] {
         WindowBase w;
         const bool made = w.CreateWindowObject(0, "STATIC", "second", WS_POPUP, 0, 0,
                                                10, 10, nullptr, nullptr);
         if (w.window) DestroyWindow(w.window);
         return made || FindWindowA(nullptr, "second") != nullptr;
       }},
      {"modeless dialog", [] {
         Dialog d;
         const bool made = d.CreateModelessDialog(MAKEINTRESOURCEA(IDD_LOOK), nullptr);
         if (d.window) DestroyWindow(d.window);
         return made;
       }},
      {"modal dialog", [] {
         Dialog d;
         return d.RunModalDialog(MAKEINTRESOURCEA(IDD_LOOK), nullptr) != -1;
       }},
      {"message box", [] {
         // Answered at once, without a box to answer.
         return ShowMessageBox(nullptr, "text", "caption", MB_OKCANCEL) != IDCANCEL;
       }},
      {"property sheet", [] {
         PropertySheetWindow sheet;
         sheet.AddPage(*new PropertyPageWindow(IDD_PAGE_ONE));
         sheet.header.pszCaption = "Sheet";
         HWND made = sheet.RunModeless(nullptr);
         if (made) DestroyWindow(made);
         return made != nullptr;
       }},
  };

  WindowBase pending;
  ASSERT_TRUE(WindowBase::BeginCreation(&pending));
  for (const Creator& c : creators)
    EXPECT_FALSE(c.create()) << c.name << " was created while another creation was pending";
  WindowBase::EndCreation(&pending);
  EXPECT_FALSE(WindowBase::CreationPending());

  // Once nothing is pending, creation works and binds.
  WindowBase w;
  ASSERT_TRUE(w.CreateWindowObject(0, "STATIC", "bound", WS_POPUP, 0, 0, 10, 10,
                                   nullptr, nullptr));
  EXPECT_EQ(WindowBase::FromHandle(w.window), &w);
  EXPECT_TRUE(w.flags & kWindowBound);
  DestroyWindow(w.window);
  EXPECT_EQ(w.window, nullptr);
}

// A window that records the first messages it sees.
class FirstMessages : public WindowBase {
 public:
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (seen.size() < 3)
      seen.push_back(message);
    return WindowBase::WindowProc(message, wParam, lParam, result);
  }
  std::vector<UINT> seen;
};

TEST(Creation, ObjectSeesTheVeryFirstMessages) {
  TestApplication app;
  FirstMessages w;
  ASSERT_TRUE(w.CreateWindowObject(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr));
  ASSERT_FALSE(w.seen.empty());
  EXPECT_TRUE(w.seen[0] == WM_NCCREATE || w.seen[0] == WM_GETMINMAXINFO) << w.seen[0];
  DestroyWindow(w.window);
}

RECT WorkArea() {
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

struct CentreCase {
  const char* name;
  RECT parent;        // left, top, width, height
  bool minimised;
  SIZE window;
  // Expected top-left, from the parent's (or screen's) rectangle and the
  // work area.
  std::function<POINT(const RECT& parent, const RECT& work, SIZE window)> expected;
};

TEST(Centring, OverParentOrScreenAndInsideTheWorkArea) {
  TestApplication app;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const CentreCase cases[] = {
      {"over its parent", {100, 100, 400, 300}, false, {200, 100},
       [](const RECT& p, const RECT&, SIZE w) {
         return POINT{p.left + (p.right - p.left - w.cx) / 2,
                      p.top + (p.bottom - p.top - w.cy) / 2};
       }},
      {"over a minimised parent: the screen", {100, 100, 400, 300}, true, {200, 100},
       [sw, sh](const RECT&, const RECT&, SIZE w) {
         return POINT{(sw - w.cx) / 2, (sh - w.cy) / 2};
       }},
      {"sticking out right and bottom", {0, 0, 300, 200}, false, {200, 100},
       [](const RECT&, const RECT& work, SIZE w) {
         return POINT{work.right - w.cx, work.bottom - w.cy};
       }},
      {"sticking out left and top", {-400, -300, 300, 200}, false, {200, 100},
       [](const RECT&, const RECT& work, SIZE) { return POINT{work.left, work.top}; }},
      {"larger than the work area", {100, 100, 400, 300}, false, {sw + 200, sh + 200},
       [](const RECT&, const RECT& work, SIZE) { return POINT{work.left, work.top}; }},
  };
  for (CentreCase c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string(c.name) == "sticking out right and bottom")
      c.parent = {sw - 150, sh - 100, 300, 200};
    HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  c.parent.left, c.parent.top, c.parent.right,
                                  c.parent.bottom, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    if (c.minimised) {
      ShowWindow(parent, SW_MINIMIZE);
      ASSERT_TRUE(IsIconic(parent));
    }
    HWND window = CreateWindowExA(0, "STATIC", "centred", WS_POPUP, 0, 0, c.window.cx,
                                  c.window.cy, parent, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    RECT parentRect;
    GetWindowRect(parent, &parentRect);
    CentreWindow(window);
    RECT got;
    GetWindowRect(window, &got);
    const POINT want = c.expected(parentRect, WorkArea(), c.window);
    EXPECT_EQ(got.left, want.x);
    EXPECT_EQ(got.top, want.y);
    DestroyWindow(window);
    DestroyWindow(parent);
  }
}

// The dialog flag 0x10000 centres at initialisation, over the screen when
// the owner is minimised.
TEST(Centring, DialogOverMinimisedOwnerIsCentredOnTheScreen) {
  TestApplication app;
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                               10, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(owner, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(owner));
  Dialog dialog;
  dialog.flags |= kWindowCentreOnInit;
  ASSERT_TRUE(dialog.CreateModelessDialog(MAKEINTRESOURCEA(IDD_LOOK), owner));
  RECT r;
  GetWindowRect(dialog.window, &r);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(r.left, (sw - (r.right - r.left)) / 2);
  EXPECT_EQ(r.top, (sh - (r.bottom - r.top)) / 2);
  DestroyWindow(dialog.window);
  DestroyWindow(owner);
}

struct BoxWatch {
  bool bound = false;
  bool answered = false;
  RECT rect = {};
};
BoxWatch g_box;

// Runs inside the message box's own loop until the box is there.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA("#32770", "Framework box");
  if (!box || g_box.answered)
    return;
  KillTimer(nullptr, timer);
  g_box.answered = true;
  g_box.bound = WindowBase::FromHandle(box) != nullptr;
  GetWindowRect(box, &g_box.rect);
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
}

TEST(MessageBoxWindow, IsBoundAndCentredWhileShownAndAnsweredByKeystroke) {
  TestApplication app;
  g_box = BoxWatch();
  SetTimer(nullptr, 0, 20, AnswerBox);
  const int answer = ShowMessageBox(nullptr, "Framework text", "Framework box",
                                    MB_OKCANCEL | MB_ICONQUESTION);
  EXPECT_TRUE(g_box.answered);
  EXPECT_EQ(answer, IDOK);
  EXPECT_TRUE(g_box.bound);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(g_box.rect.left, (sw - (g_box.rect.right - g_box.rect.left)) / 2);
  EXPECT_EQ(g_box.rect.top, (sh - (g_box.rect.bottom - g_box.rect.top)) / 2);
  EXPECT_FALSE(WindowBase::CreationPending());
}

}  // namespace
