#include "kelvolite/forms/image.h"

void TImage::SetPicture(const char* resourceName) {
  picture_.LoadFromResource(resourceName);
  Invalidate();
}

void TImage::Paint(HDC dc) {
  if (stretch_)
    picture_.Draw(dc, 0, 0, width_, height_);
  else
    picture_.Draw(dc, 0, 0);
}
