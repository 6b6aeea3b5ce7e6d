#include "kelvolite/forms/image_list.h"

#include "kelvolite/forms/graphics.h"

TImageList::~TImageList() {
  if (list_) ImageList_Destroy(list_);
}

void TImageList::SetSize(int width, int height, bool masked) {
  if (list_) ImageList_Destroy(list_);
  list_ = nullptr;
  width_ = width;
  height_ = height;
  masked_ = masked;
}

HIMAGELIST TImageList::Handle() {
  if (!list_) list_ = ImageList_Create(width_, height_, ILC_COLOR24 | (masked_ ? ILC_MASK : 0), 4, 4);
  return list_;
}

bool TImageList::LoadStrip(const char* resourceName) {
  GdiObject<HBITMAP> bmp(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), resourceName, IMAGE_BITMAP, 0, 0, 0)));
  if (!bmp) return false;
  // ImageList_Add splits a wide bitmap into frames of the list's width.
  if (masked_) return ImageList_AddMasked(Handle(), bmp.get(), RGB(255, 0, 255)) >= 0;
  return ImageList_Add(Handle(), bmp.get(), nullptr) >= 0;
}

int TImageList::AddIcon(HICON icon) { return ImageList_AddIcon(Handle(), icon); }

void TImageList::AddImages(const TImageList& other) {
  for (int i = 0; i < other.Count(); ++i) {
    HICON icon = ImageList_GetIcon(other.list_, i, ILD_NORMAL);
    if (!icon) continue;
    AddIcon(icon);
    DestroyIcon(icon);
  }
}

void TImageList::Clear() {
  if (list_) ImageList_RemoveAll(list_);
}

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

void TImageList::Draw(HDC dc, int x, int y, int index) const {
  if (list_ && index >= 0 && index < Count()) ImageList_Draw(list_, index, dc, x, y, ILD_NORMAL);
}
