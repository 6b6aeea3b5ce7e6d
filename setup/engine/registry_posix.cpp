// Linux stand-in: there is no system registry; every call fails.
#include "setup/engine/registry_access.h"

namespace {

class NoRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> CreateKey(RegRoot, const std::string&) override { return nullptr; }
  std::unique_ptr<RegistryKey> OpenKey(RegRoot, const std::string&, bool) override {
    return nullptr;
  }
  bool DeleteKey(RegRoot, const std::string&) override { return false; }
};

}  // namespace

Registry& SystemRegistry() {
  static NoRegistry registry;
  return registry;
}
