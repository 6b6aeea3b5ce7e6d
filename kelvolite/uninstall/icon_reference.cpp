#include "kelvolite/uninstall/icon_reference.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

IconReference SplitIconReference(const std::string& reference) {
  IconReference ref;
  const size_t comma = reference.find(',');
  ref.file = reference.substr(0, comma);
  // Values written as "C:\App\app.exe",0 name the file in quotes.
  if (ref.file.size() >= 2 && ref.file.front() == '"' && ref.file.back() == '"')
    ref.file = ref.file.substr(1, ref.file.size() - 2);
  if (comma == std::string::npos) return ref;
  const std::string number = reference.substr(comma + 1);
  const char* begin = number.c_str();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(begin, &end, 10);
  // Only a whole number counts; "2x", "x" and out-of-range text give 0.
  while (*end == ' ') ++end;
  if (end != begin && *end == '\0' && errno == 0 && value >= INT_MIN && value <= INT_MAX)
    ref.index = static_cast<int>(value);
  return ref;
}

std::string PackedProductCode(const std::string& guid) {
  if (guid.size() < 37) return {};
  // 1-based first and last positions of each group, as the Installer packs them.
  static const int groups[][2] = {{2, 9},   {11, 14}, {16, 19}, {21, 22}, {23, 24}, {26, 27},
                                  {28, 29}, {30, 31}, {32, 33}, {34, 35}, {36, 37}};
  std::string packed;
  for (const auto& g : groups) {
    std::string part = guid.substr(static_cast<size_t>(g[0] - 1), static_cast<size_t>(g[1] - g[0] + 1));
    std::reverse(part.begin(), part.end());
    packed += part;
  }
  return packed;
}

std::string ProductCodeInKeyName(const std::string& keyName) {
  const size_t brace = keyName.find('{');
  if (brace == std::string::npos || keyName.size() - brace < 37 || keyName[brace + 9] != '-') return {};
  return keyName.substr(brace, 37);
}
