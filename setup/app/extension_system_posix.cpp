// Linux stand-ins: no DLL ever loads.
#include "setup/app/extension_system.h"

namespace extsys {
bool Module::Load(const std::string&) { return false; }
void Module::Reset() { handle_ = nullptr; }
void* Module::Find(const char*) const { return nullptr; }
bool IsNtFamily() { return true; }
bool IsAdministrator() { return true; }
uint16_t UserDefaultLanguage() { return 0; }
std::string OwnVersionString(const char*) { return {}; }
}  // namespace extsys
