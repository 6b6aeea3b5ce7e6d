#include <windows.h>

#include <algorithm>
#include <vector>

#include "setup/engine/expand_system_lookups.h"
#include "setup/engine/registry_root_win.h"
#include "setup/engine/win_handles.h"

namespace {

// A result as long as the system needs: 2048 bytes first, more if asked.
std::string ExpandEnvironment(const char* text) {
  std::vector<char> buf(2048);
  DWORD n = ExpandEnvironmentStringsA(text, buf.data(), DWORD(buf.size()));
  if (n > buf.size()) {
    buf.resize(n);
    n = ExpandEnvironmentStringsA(text, buf.data(), DWORD(buf.size()));
  }
  if (n == 0 || n > buf.size()) return {};
  return std::string(buf.data());
}

}  // namespace

std::string SystemSymbolLookups::Environment(const std::string& name) {
  std::vector<char> buf(2048);
  DWORD n = GetEnvironmentVariableA(name.c_str(), buf.data(), DWORD(buf.size()));
  if (n >= buf.size()) {
    buf.resize(n + 1);
    n = GetEnvironmentVariableA(name.c_str(), buf.data(), DWORD(buf.size()));
  }
  if (n == 0 || n >= buf.size()) return {};
  return std::string(buf.data(), n);
}

std::string SystemSymbolLookups::RegistryValue(RegRoot root, const std::string& keyPath,
                                               const std::string& valueName) {
  ScopedKey key;
  if (RegOpenKeyExA(RegRootHandle(root), keyPath.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return {};
  }
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      size == 0) {
    return {};
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return {};
  // Room for terminators the stored data may lack.
  std::vector<char> data(size + 2, '\0');
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return {};
  }
  data[std::min<size_t>(size, data.size() - 2)] = '\0';
  // REG_SZ and REG_MULTI_SZ alike: the text up to the first NUL.
  std::string text(data.data());
  if (type == REG_EXPAND_SZ) return ExpandEnvironment(text.c_str());
  return text;
}

std::string SystemSymbolLookups::IniValue(const std::string& file, const std::string& section,
                                          const std::string& key) {
  char buf[2048] = "";
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buf, sizeof(buf), file.c_str());
  return buf;
}
