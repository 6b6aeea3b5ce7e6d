#include "setup/engine/registry_access.h"

std::string NormalizeRegPath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out.push_back(c);
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

void DeleteEmptyRegKeys(Registry& registry, RegRoot root, std::string_view path) {
  std::string key = NormalizeRegPath(path);
  while (!key.empty()) {
    {
      std::unique_ptr<RegistryKey> k = registry.OpenKey(root, key, false);
      if (!k || !k->IsEmpty()) return;
    }  // closed before it is deleted
    if (!registry.DeleteKey(root, key)) return;
    size_t slash = key.rfind('\\');
    if (slash == std::string::npos) return;
    key.resize(slash);
  }
}
