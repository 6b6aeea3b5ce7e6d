#include "setup/ui/window_services.h"

namespace {

// Read once per process, as the wizard does.
const SIZE& ScreenSize() {
  static const SIZE size = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return size;
}

// Keeps [start, start + length) inside [low, high): too long aligns with the
// low edge; sticking out on one side moves it back in.
int KeepInside(int start, int length, int low, int high) {
  if (length > high - low)
    return low;
  if (start + length > high)
    return high - length;
  if (start < low)
    return low;
  return start;
}

}  // namespace

void CentreWindow(HWND window) {
  RECT own;
  if (!GetWindowRect(window, &own))
    return;
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  const bool child = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
  HWND parent = child ? GetParent(window) : GetWindow(window, GW_OWNER);

  RECT area;
  if (parent && !IsIconic(parent)) {
    GetWindowRect(parent, &area);
  } else {
    area = {0, 0, ScreenSize().cx, ScreenSize().cy};
  }
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
    work = {0, 0, ScreenSize().cx, ScreenSize().cy};

  POINT at = {area.left + (area.right - area.left - width) / 2,
              area.top + (area.bottom - area.top - height) / 2};
  at.x = KeepInside(at.x, width, work.left, work.right);
  at.y = KeepInside(at.y, height, work.top, work.bottom);
  if (child && parent)
    ScreenToClient(parent, &at);
  SetWindowPos(window, nullptr, at.x, at.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
