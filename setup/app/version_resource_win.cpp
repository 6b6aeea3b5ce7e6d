#include <windows.h>

#include <cstdio>

#include "setup/app/version_resource.h"

bool VersionResource::Load(const char* path) {
  data_.clear();
  translation_ = 0x040904B0;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return false;
  data_.resize(size);
  if (!GetFileVersionInfoA(path, 0, size, data_.data())) {
    data_.clear();
    return false;
  }
  void* block = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &block,
                     &length) &&
      block && length >= 4) {
    const WORD* pair = static_cast<const WORD*>(block);
    translation_ = (uint32_t(pair[0]) << 16) | pair[1];
  }
  return true;
}

std::string VersionResource::String(const char* name) const {
  if (data_.empty() || !name) return std::string();
  char query[256];
  snprintf(query, sizeof(query), "\\StringFileInfo\\%08lx\\%s",
           static_cast<unsigned long>(translation_), name);
  void* value = nullptr;
  UINT length = 0;
  // VerQueryValueA takes a non-const block but only reads it.
  void* block = const_cast<unsigned char*>(data_.data());
  if (!VerQueryValueA(block, query, &value, &length) || !value || length == 0)
    return std::string();
  const char* text = static_cast<const char*>(value);
  std::string result(text, length);
  const size_t nul = result.find('\0');
  if (nul != std::string::npos) result.resize(nul);
  return result;
}

bool VersionResource::FileVersion(uint32_t* high, uint32_t* low) const {
  if (data_.empty()) return false;
  void* value = nullptr;
  UINT length = 0;
  void* block = const_cast<unsigned char*>(data_.data());
  if (!VerQueryValueA(block, "\\", &value, &length) || !value ||
      length < sizeof(VS_FIXEDFILEINFO))
    return false;
  const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (fixed->dwSignature != 0xFEEF04BD) return false;
  if (high) *high = fixed->dwFileVersionMS;
  if (low) *low = fixed->dwFileVersionLS;
  return true;
}
