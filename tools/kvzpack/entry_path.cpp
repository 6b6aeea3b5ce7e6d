#include "tools/kvzpack/entry_path.h"

namespace kvzpack {

bool SplitEntryName(const std::string& name, std::vector<std::string>* parts, std::string* error) {
  parts->clear();
  auto refuse = [&](const char* why) {
    *error = "refusing entry \"" + name + "\": " + why;
    parts->clear();
    return false;
  };
  if (name.empty()) return refuse("empty name");
  if (name.find(':') != std::string::npos) return refuse("drive letter or colon");
  if (name.find('\0') != std::string::npos) return refuse("NUL byte in the name");
  std::string part;
  for (size_t i = 0; i <= name.size(); ++i) {
    const char c = i < name.size() ? name[i] : '\\';
    if (c != '\\' && c != '/') {
      part += c;
      continue;
    }
    if (part.empty()) return refuse(i == 0 ? "absolute path" : "empty path part");
    if (part == "." || part == "..") return refuse("\".\" or \"..\" part");
    parts->push_back(part);
    part.clear();
  }
  return true;
}

}  // namespace kvzpack
