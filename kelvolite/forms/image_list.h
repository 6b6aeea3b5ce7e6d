// An image list: pictures of one size, loaded from a horizontal strip bitmap
// resource or added one by one (icons, bitmaps).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "kelvolite/forms/types.h"

class TImageList : public TObject {
public:
  ~TImageList() override;
  // Sets the picture size (and empties the list). Masked lists hold icons.
  void SetSize(int width, int height, bool masked = false);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Appends the frames of a strip bitmap resource (in a masked list, magenta
  // is transparent); false when it is missing.
  bool LoadStrip(const char* resourceName);
  int AddIcon(HICON icon);
  // Appends every picture of another list.
  void AddImages(const TImageList& other);
  void Clear();
  int Count() const;
  HIMAGELIST Handle();
  void Draw(HDC dc, int x, int y, int index) const;

private:
  HIMAGELIST list_ = nullptr;
  int width_ = 16, height_ = 16;
  bool masked_ = false;
};
