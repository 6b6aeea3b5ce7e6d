#include "ui/window_screenshot.h"

#include <cstdint>
#include <vector>

#include "engine/support/kvz_writer.h"

namespace kvtest {
namespace {

using Pixels = std::vector<uint8_t>;

// Top-down BGR rows, 4-byte aligned, as GetDIBits gives them.
Pixels CopyScreen(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = -h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
  Pixels pixels(stride * size_t(h));
  GetDIBits(memory, bitmap, 0, UINT(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBig(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void Chunk(Bytes& out, const char type[5], const Bytes& body) {
  PutBig(out, uint32_t(body.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBig(out, Crc32(out.data() + start, out.size() - start));
}

Bytes Png(const Pixels& pixels, int w, int h) {
  const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
  Bytes rows;
  rows.reserve((size_t(w) * 3 + 1) * size_t(h));
  for (int y = 0; y < h; ++y) {
    rows.push_back(0);  // filter: none
    const uint8_t* p = pixels.data() + stride * size_t(y);
    for (int x = 0; x < w; ++x, p += 3) rows.insert(rows.end(), {p[2], p[1], p[0]});
  }
  Bytes header;
  PutBig(header, uint32_t(w));
  PutBig(header, uint32_t(h));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", Zlib(rows, Method::kStored));
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace

bool SaveWindowPng(HWND window, const std::string& path) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r;
  if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) return false;
  Pixels shown = CopyScreen(r);
  for (int tries = 0; tries < 40; ++tries) {
    Sleep(50);
    Pixels again = CopyScreen(r);
    const bool settled = again == shown;
    shown.swap(again);
    if (settled) break;
  }
  const Bytes png = Png(shown, r.right - r.left, r.bottom - r.top);
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(out, png.data(), DWORD(png.size()), &written, nullptr) && written == png.size();
  CloseHandle(out);
  return ok;
}

}  // namespace kvtest
