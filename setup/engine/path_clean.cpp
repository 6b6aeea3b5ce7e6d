#include "setup/engine/path_clean.h"

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string CleanPath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    char c = path[i];
    switch (c) {
      case '"': case '|': case '<': case '>': case '*': case '?':
        out += '_';
        continue;
      case ':':
        out += i == 1 ? ':' : '_';
        continue;
      default:
        break;
    }
    if (IsSeparator(c) && i >= 2 && IsSeparator(path[i - 1])) continue;
    out += c;
  }
  return out;
}
