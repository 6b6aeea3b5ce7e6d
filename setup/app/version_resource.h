// A file's version resource: its fixed file version and the string values
// of its first translation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class VersionResource {
 public:
  // False when the file cannot be read or has no version resource.
  bool Load(const char* path);
  bool IsLoaded() const { return !data_.empty(); }

  // Language and code page of the first translation, 0x040904B0 when the
  // resource lists none.
  uint32_t Translation() const { return translation_; }
  // A string value ("ProductName", "FileVersion", ...) of that
  // translation; empty when it has none.
  std::string String(const char* name) const;
  // The fixed file version, high and low halves; false without one.
  bool FileVersion(uint32_t* high, uint32_t* low) const;

 private:
  std::vector<unsigned char> data_;
  uint32_t translation_ = 0x040904B0;
};
