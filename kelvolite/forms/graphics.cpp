#include "kelvolite/forms/graphics.h"

#include <map>
#include <memory>
#include <tuple>

#include "kelvolite/forms/types.h"

namespace {

struct FontCache {
  std::map<std::tuple<std::string, int, bool>, std::unique_ptr<GdiObject<HFONT>>> fonts;
  std::map<COLORREF, std::unique_ptr<GdiObject<HBRUSH>>> brushes;
};

FontCache& Cache() {
  static FontCache cache;
  return cache;
}

}  // namespace

HFONT TFont::Handle() const {
  auto& slot = Cache().fonts[{Name, Height, Bold}];
  if (!slot) {
    LOGFONTA lf = {};
    lf.lfHeight = Height;
    lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, Name.c_str(), LF_FACESIZE);
    slot = std::make_unique<GdiObject<HFONT>>(CreateFontIndirectA(&lf));
  }
  return slot->get();
}

HBRUSH SolidBrushFor(COLORREF color) {
  auto& slot = Cache().brushes[color];
  if (!slot) slot = std::make_unique<GdiObject<HBRUSH>>(CreateSolidBrush(color));
  return slot->get();
}

bool TPicture::LoadFromResource(const char* name) {
  bitmap_.reset(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  width_ = height_ = 0;
  BITMAP bm;
  if (bitmap_ && GetObjectA(bitmap_.get(), sizeof bm, &bm)) {
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
  }
  return !Empty();
}

void TPicture::Draw(HDC dc, int x, int y, int w, int h) const {
  if (!bitmap_) return;
  HDC mem = CreateCompatibleDC(dc);
  {
    SelectObjectScope sel(mem, bitmap_.get());
    if (w > 0 && h > 0 && (w != width_ || h != height_)) {
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, x, y, w, h, mem, 0, 0, width_, height_, SRCCOPY);
    } else {
      BitBlt(dc, x, y, width_, height_, mem, 0, 0, SRCCOPY);
    }
  }
  DeleteDC(mem);
}

TShiftState ShiftStateFromKeys(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState CurrentShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}
