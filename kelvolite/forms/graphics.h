// Fonts, colours and the GDI handles the controls draw with.
#pragma once
#include <windows.h>

#include <string>

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  bool Bold = false;
  COLORREF Color = RGB(0, 0, 0);

  // A shared handle for this face; lives until the program ends.
  HFONT Handle() const;
};

// Owns one GDI object.
template <typename T>
class GdiObject {
public:
  GdiObject() = default;
  explicit GdiObject(T h) : h_(h) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { reset(); }
  void reset(T h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  T get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

private:
  T h_ = nullptr;
};

// A brush for a colour, shared and cached (controls answer WM_CTLCOLOR* with it).
HBRUSH SolidBrushFor(COLORREF color);

// Selects an object into a DC for one scope.
class SelectObjectScope {
public:
  SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectObjectScope() { SelectObject(dc_, old_); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// A bitmap picture loaded from the program's resources by name.
class TPicture {
public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;
  bool LoadFromResource(const char* name);
  HBITMAP Handle() const { return bitmap_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return !bitmap_; }
  // Draws the picture at (x, y), or stretched to w x h when w > 0.
  void Draw(HDC dc, int x, int y, int w = 0, int h = 0) const;

private:
  GdiObject<HBITMAP> bitmap_;
  int width_ = 0, height_ = 0;
};
