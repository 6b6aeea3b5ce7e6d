#include "kelvolite/forms/registry.h"

void TRegistry::SetRootKey(HKEY root) {
  CloseKey();
  root_ = root;
}

HKEY TRegistry::BaseFor(const std::string& path, std::string& relative) const {
  if (!path.empty() && path[0] == '\\') {
    relative = path.substr(1);
    return root_;
  }
  relative = path;
  return current_ ? current_ : root_;
}

std::string TRegistry::Join(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + "\\" + b;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
  std::string rel;
  HKEY base = BaseFor(path, rel);
  while (!rel.empty() && rel.back() == '\\') rel.pop_back();
  HKEY key = nullptr;
  LONG rc;
  if (canCreate) {
    DWORD disp;
    rc = RegCreateKeyExA(base, rel.c_str(), 0, nullptr, 0, access_, nullptr, &key, &disp);
  } else {
    rc = RegOpenKeyExA(base, rel.c_str(), 0, access_, &key);
  }
  if (rc != ERROR_SUCCESS) return false;
  std::string newPath = (!path.empty() && path[0] == '\\') ? rel : Join(currentPath_, rel);
  CloseKey();
  current_ = key;
  currentPath_ = newPath;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& path) {
  REGSAM saved = access_;
  access_ = KEY_READ;
  bool ok = OpenKey(path, false);
  access_ = saved;
  return ok;
}

void TRegistry::CloseKey() {
  if (current_) RegCloseKey(current_);
  current_ = nullptr;
  currentPath_.clear();
}

bool TRegistry::KeyExists(const std::string& path) {
  std::string rel;
  HKEY base = BaseFor(path, rel);
  HKEY key;
  if (RegOpenKeyExA(base, rel.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

namespace {

// RegDeleteKey on NT refuses keys with subkeys: remove them first. A key
// that cannot be opened for deletion loses none of its subkeys.
LONG DeleteTree(HKEY base, const std::string& rel) {
  HKEY key;
  if (RegOpenKeyExA(base, rel.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    std::vector<std::string> subkeys;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name;
      if (RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      subkeys.emplace_back(name, len);
    }
    for (const auto& s : subkeys) DeleteTree(key, s);
    RegCloseKey(key);
  }
  return RegDeleteKeyA(base, rel.c_str());
}

}  // namespace

bool TRegistry::DeleteKey(const std::string& path) {
  std::string rel;
  HKEY base = BaseFor(path, rel);
  while (!rel.empty() && rel.back() == '\\') rel.pop_back();
  const LONG rc = rel.empty() ? ERROR_ACCESS_DENIED  // never the root itself
                              : DeleteTree(base, rel);
  SetLastError(static_cast<DWORD>(rc));
  return rc == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const std::string& name) const {
  return current_ && RegQueryValueExA(current_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::ReadString(const std::string& name) const {
  if (!current_) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return {};
  std::string data(size + 1, '\0');
  if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size) !=
      ERROR_SUCCESS)
    return {};
  data.resize(strnlen(data.c_str(), size));
  return data;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  if (!current_ ||
      RegSetValueExA(current_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw ERegistryException("Failed to set data for '" + name + "'");
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int size) const {
  if (!current_ || size < 0) return -1;
  DWORD len = static_cast<DWORD>(size);
  if (RegQueryValueExA(current_, name.c_str(), nullptr, nullptr, static_cast<BYTE*>(buffer), &len) != ERROR_SUCCESS)
    return -1;
  return static_cast<int>(len);
}

bool TRegistry::DeleteValue(const std::string& name) {
  return current_ && RegDeleteValueA(current_, name.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetKeyNames(TStringList& names) const {
  names.Clear();
  if (!current_) return;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = sizeof name;
    if (RegEnumKeyExA(current_, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.Add(std::string(name, len));
  }
}

void TRegistry::GetValueNames(TStringList& names) const {
  names.Clear();
  if (!current_) return;
  DWORD maxLen = 0;
  RegQueryInfoKeyA(current_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxLen, nullptr,
                   nullptr, nullptr);
  std::string buf(maxLen + 2, '\0');
  for (DWORD i = 0;; ++i) {
    DWORD len = static_cast<DWORD>(buf.size());
    if (RegEnumValueA(current_, i, &buf[0], &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.Add(std::string(buf.c_str(), len));
  }
}
