// Test artifacts: a PNG of what a window shows on the screen. Wine's
// PrintWindow draws nothing, so the screen itself is copied; the window
// may belong to another process (the setup.exe a test drives).
#pragma once
#include <windows.h>

#include <string>

namespace kvtest {

// Repaints the window, waits until two copies of it in a row are the same
// (Wine paints other processes' windows a moment later), and writes it as
// an RGB PNG. False when the window has no area or the file cannot be
// written.
bool SaveWindowPng(HWND window, const std::string& path);

}  // namespace kvtest
