// The Registry interface over the Win32 registry functions.
#include <windows.h>

#include "setup/engine/registry_access.h"
#include "setup/engine/registry_root_win.h"
#include "setup/engine/win_handles.h"

namespace {

class WinKey : public RegistryKey {
 public:
  explicit WinKey(HKEY key) : key_(key) {}
  WinKey(const WinKey&) = delete;
  WinKey& operator=(const WinKey&) = delete;

  bool QueryValue(const std::string& name, RegValue* value) override {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      return false;
    }
    // The value may grow between the two calls: try again a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
      value->data.assign(size, '\0');
      DWORD got = size;
      BYTE* buffer = size ? reinterpret_cast<BYTE*>(&value->data[0]) : nullptr;
      LONG rc = RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, buffer, &got);
      if (rc == ERROR_SUCCESS) {
        value->data.resize(got);
        value->type = type;
        return true;
      }
      if (rc != ERROR_MORE_DATA) return false;
      size = got;
    }
    return false;
  }

  bool SetValue(const std::string& name, uint32_t type, const void* data,
                size_t size) override {
    return RegSetValueExA(key_.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                          DWORD(size)) == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override {
    return RegDeleteValueA(key_.get(), name.c_str()) == ERROR_SUCCESS;
  }

  bool IsEmpty() override {
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyA(key_.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    return subkeys == 0 && values == 0;
  }

 private:
  ScopedKey key_;
};

class WinRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const std::string& path) override {
    HKEY parent = RegRootHandle(root);
    if (!parent) return nullptr;
    HKEY key = nullptr;
    DWORD disposition = 0;
    std::string p = NormalizeRegPath(path);
    if (RegCreateKeyExA(parent, p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &key,
                        &disposition) != ERROR_SUCCESS) {
      return nullptr;
    }
    return std::unique_ptr<RegistryKey>(new WinKey(key));
  }

  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const std::string& path,
                                       bool write) override {
    HKEY parent = RegRootHandle(root);
    if (!parent) return nullptr;
    HKEY key = nullptr;
    std::string p = NormalizeRegPath(path);
    REGSAM access = write ? (KEY_READ | KEY_WRITE | DELETE) : KEY_READ;
    if (RegOpenKeyExA(parent, p.c_str(), 0, access, &key) != ERROR_SUCCESS) return nullptr;
    return std::unique_ptr<RegistryKey>(new WinKey(key));
  }

  bool DeleteKey(RegRoot root, const std::string& path) override {
    HKEY parent = RegRootHandle(root);
    std::string p = NormalizeRegPath(path);
    if (!parent || p.empty()) return false;
    return RegDeleteKeyA(parent, p.c_str()) == ERROR_SUCCESS;
  }
};

}  // namespace

Registry& SystemRegistry() {
  static WinRegistry registry;
  return registry;
}
