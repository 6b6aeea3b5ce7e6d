// A live application with its main window, driven through window messages.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>

#include "kelvolite/app/main_form.h"
#include "kelvolite/forms/application.h"

// Handles every waiting message.
void Pump();
// Polls `done` (pumping messages) for up to `ms` milliseconds.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);

// Mouse input as the user gives it: the cursor moves there and the window
// under it receives the message (coordinates relative to the control).
void MoveMouseTo(TControl& control, int x, int y);
void PressMouse(TControl& control, int x, int y);
void ReleaseMouse(TControl& control, int x, int y);
void ClickControl(TControl& control);
// A key pressed in `window` (through the message loop, as typed keys go).
void PressKey(HWND window, WORD key);

// Answers the next modal box of `windowClass` with `key` as soon as it is
// shown; `onShown` sees the box first. A box that never gets its answer is
// closed after a while, so a failing test cannot hang.
void AnswerNextBox(const char* windowClass, WORD key, std::function<void(HWND)> onShown = nullptr);

class MainFormTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Creates and shows the main window (its first activation runs here).
  void OpenMainForm();

  std::unique_ptr<TApplication> app_;
  std::unique_ptr<TForm1> form_;
};
