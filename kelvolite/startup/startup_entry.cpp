#include "kelvolite/startup/startup_entry.h"

#include <string>

namespace {
const char kRun[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunDisabled[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run-";
#ifndef KV_BUILD_NT
const char kRunServices[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char kRunServicesDisabled[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices-";
#endif
}  // namespace

// NT has no RunServices keys, so its build neither reads nor writes them.
const TStartupRegistryStore kStartupRegistryStores[] = {
    {slUserRun, HKEY_CURRENT_USER, kRun, kRunDisabled},
    {slMachineRun, HKEY_LOCAL_MACHINE, kRun, kRunDisabled},
#ifndef KV_BUILD_NT
    {slUserRunServices, HKEY_CURRENT_USER, kRunServices, kRunServicesDisabled},
    {slMachineRunServices, HKEY_LOCAL_MACHINE, kRunServices, kRunServicesDisabled},
#endif
};
const int kStartupRegistryStoreCount = sizeof kStartupRegistryStores / sizeof kStartupRegistryStores[0];

const TStartupRegistryStore* StartupRegistryStore(int location) {
  for (const auto& store : kStartupRegistryStores)
    if (store.location == location) return &store;
  return nullptr;
}

std::string DisabledStartupFolderOf(const std::string& startupFolder) {
  // A trailing "\" would put the folder inside the Startup folder, and a
  // value without any "\" would make it relative to the current folder.
  std::string folder = startupFolder;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  std::string::size_type slash = folder.find_last_of('\\');
  if (slash == std::string::npos) return {};
  return folder.substr(0, slash + 1) + "Disabled Startup Items";
}
