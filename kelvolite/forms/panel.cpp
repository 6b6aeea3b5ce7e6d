#include "kelvolite/forms/panel.h"

void TPanel::SetPicture(const char* resourceName) {
  picture_.LoadFromResource(resourceName);
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  if (border_) params.Style |= WS_BORDER;
}

void TPanel::PaintBackground(HDC dc, const RECT& area) {
  TWinControl::PaintBackground(dc, area);
  picture_.Draw(dc, 0, 0);
}
