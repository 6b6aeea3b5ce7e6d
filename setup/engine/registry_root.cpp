#include "setup/engine/registry_root.h"

#include "setup/engine/script_text.h"

using scripttext::EqualsNoCase;

namespace {

const struct {
  const char* name;
  RegRoot root;
} kRoots[] = {
    {"HKEY_LOCAL_MACHINE", RegRoot::kLocalMachine},
    {"HKEY_CURRENT_USER", RegRoot::kCurrentUser},
    {"HKEY_CLASSES_ROOT", RegRoot::kClassesRoot},
    {"HKEY_USERS", RegRoot::kUsers},
    {"HKLM", RegRoot::kLocalMachine},
    {"HKCU", RegRoot::kCurrentUser},
    {"HKCR", RegRoot::kClassesRoot},
    {"HKU", RegRoot::kUsers},
};

}  // namespace

RegRoot RegRootFromName(std::string_view name) {
  for (const auto& r : kRoots) {
    if (EqualsNoCase(name, r.name)) return r.root;
  }
  return RegRoot::kNone;
}

size_t RegRootPrefix(std::string_view text, RegRoot* root) {
  for (const auto& r : kRoots) {
    const std::string_view name(r.name);
    if (text.size() >= name.size() && EqualsNoCase(text.substr(0, name.size()), name)) {
      *root = r.root;
      return name.size();
    }
  }
  *root = RegRoot::kNone;
  return 0;
}
