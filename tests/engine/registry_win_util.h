// Helpers of the settings tests under Wine: a registry subtree as text
// (to compare before installation with after removal), values read
// directly, and small file helpers.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "setup/engine/regscript_context.h"
#include "setup/engine/os_flags.h"

namespace kvtest {

// Every key below root\path with its values (type and bytes), sorted as
// the registry enumerates them; "<missing>" when the key does not exist.
inline std::string DumpKey(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
  std::string out = "[" + path + "]\n";
  for (DWORD i = 0;; ++i) {
    char name[512];
    BYTE data[4096];
    DWORD nameLen = sizeof name, dataLen = sizeof data, type = 0;
    if (RegEnumValueA(key, i, name, &nameLen, nullptr, &type, data, &dataLen) != ERROR_SUCCESS) {
      break;
    }
    out += std::string(name, nameLen) + "=" + std::to_string(type) + ":" +
           std::string(reinterpret_cast<char*>(data), dataLen) + "\n";
  }
  for (DWORD i = 0;; ++i) {
    char name[512];
    DWORD nameLen = sizeof name;
    if (RegEnumKeyExA(key, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    out += DumpKey(root, path + "\\" + std::string(name, nameLen));
  }
  RegCloseKey(key);
  return out;
}

// A value as (type, bytes); type -1 when missing.
struct RawValue {
  long type = -1;
  std::string data;
};
inline RawValue ReadValue(HKEY root, const std::string& path, const char* name) {
  RawValue v;
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
  BYTE data[4096];
  DWORD type = 0, len = sizeof data;
  if (RegQueryValueExA(key, name, nullptr, &type, data, &len) == ERROR_SUCCESS) {
    v.type = long(type);
    v.data.assign(reinterpret_cast<char*>(data), len);
  }
  RegCloseKey(key);
  return v;
}

inline void PutString(HKEY root, const std::string& path, const char* name,
                      const std::string& text, DWORD type = REG_SZ) {
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                 DWORD(text.size() + 1));
  RegCloseKey(key);
}

inline void DeleteValue(HKEY root, const std::string& path, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

inline void DeleteTree(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  for (;;) {
    char name[512];
    DWORD nameLen = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &nameLen, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    DeleteTree(root, path + "\\" + std::string(name, nameLen));
  }
  RegCloseKey(key);
  RegDeleteKeyA(root, path.c_str());
}

inline std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
inline void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}
inline bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
// A fresh folder of the test's own in the temporary folder.
inline std::string TestFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string dir = std::string(temp) + name;
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

// Expansion of a few fixed references; the running system's OS flags.
class RunningContext : public SettingsContext {
 public:
  std::string folder = "C:\\Program Files\\Kelvo";
  std::string Expand(std::string_view text) override {
    std::string s(text);
    const std::string ref = "<AppFolder>";
    for (size_t at; (at = s.find(ref)) != std::string::npos;) s.replace(at, ref.size(), folder);
    return s;
  }
  bool OsMatches(uint32_t flags) override { return OsFlagsMatch(flags); }
  bool Is9xFamily() override { return (RunningOsFlag() & osflags::kFamily9x) != 0; }
};

}  // namespace kvtest
