#include "kelvolite/forms/menu.h"

#include <cstddef>

#include "kelvolite/forms/application.h"

#include <memory>

namespace {

// A picture of the list on the menu colour.
HBITMAP MenuPicture(const TImageList& images, int index) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, images.Width(), images.Height());
  ReleaseDC(nullptr, screen);
  {
    SelectObjectScope sel(dc, bmp);
    RECT r = {0, 0, images.Width(), images.Height()};
    FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
    images.Draw(dc, 0, 0, index);
  }
  DeleteDC(dc);
  return bmp;
}

}  // namespace

void TMenuItem::SetChecked(bool checked) {
  checked_ = checked;
  if (!checked || !radio_ || !menu_) return;
  for (TMenuItem* other : menu_->items_)
    if (other != this && other->radio_ && other->groupIndex_ == groupIndex_) other->checked_ = false;
}

TMenuItem* TPopupMenu::Popup(int x, int y, HWND owner) {
  if (OnPopup) OnPopup(this);
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  std::vector<std::unique_ptr<GdiObject<HBITMAP>>> pictures;
  UINT id = 1;
  for (TMenuItem* item : items_) {
    UINT flags = item->IsSeparator() ? MF_SEPARATOR : MF_STRING;
    if (item->checked_) flags |= MF_CHECKED;
    if (!item->enabled_) flags |= MF_GRAYED;
    AppendMenuA(menu, flags, id, item->IsSeparator() ? nullptr : item->caption_.c_str());
    if (item->radio_) {
      // The pre-Windows 98 size of the structure: understood everywhere.
      MENUITEMINFOA mi = {};
      mi.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
      mi.fMask = MIIM_TYPE;
      mi.fType = MFT_STRING | MFT_RADIOCHECK;
      mi.dwTypeData = const_cast<char*>(item->caption_.c_str());
      SetMenuItemInfoA(menu, id, FALSE, &mi);
    } else if (item->images_ && item->imageIndex_ >= 0) {
      HBITMAP bmp = MenuPicture(*item->images_, item->imageIndex_);
      pictures.emplace_back(new GdiObject<HBITMAP>(bmp));
      MENUITEMINFOA mi = {};
      mi.cbSize = sizeof mi;
      mi.fMask = MIIM_BITMAP;
      mi.hbmpItem = bmp;
      // Windows 95 and NT 4 know only the check-mark pictures.
      if (!SetMenuItemInfoA(menu, id, FALSE, &mi)) SetMenuItemBitmaps(menu, id, MF_BYCOMMAND, bmp, bmp);
    }
    ++id;
  }
  if (!owner && Application) owner = Application->Handle();
  // A menu opened for a window in the background must be able to close.
  SetForegroundWindow(owner);
  UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                                 x, y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosen == 0 || chosen > items_.size()) return nullptr;
  TMenuItem* item = items_[chosen - 1];
  item->Click();
  return item;
}
