// The registry accessor: one root key, one open key at a time. Paths that
// begin with "\" are absolute (from the root), others are relative to the
// open key. Keys are opened for full access by default, so a key that
// cannot be opened that way is treated like a missing one.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "kelvolite/forms/string_list.h"

class TRegistry : public TObject {
public:
  explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : access_(access) {}
  ~TRegistry() override { CloseKey(); }

  void SetRootKey(HKEY root);
  HKEY RootKey() const { return root_; }
  HKEY CurrentKey() const { return current_; }
  const std::string& CurrentPath() const { return currentPath_; }

  bool OpenKey(const std::string& path, bool canCreate);
  bool OpenKeyReadOnly(const std::string& path);
  void CloseKey();
  bool KeyExists(const std::string& path);
  // Deletes the key with all its subkeys. On failure GetLastError() tells
  // why. Virtual so that a test can stand in a registry that refuses: Wine
  // grants every key to its one user whatever the key's security says.
  virtual bool DeleteKey(const std::string& path);

  bool ValueExists(const std::string& name) const;
  // String data (REG_SZ, REG_EXPAND_SZ); empty when missing or of another type.
  std::string ReadString(const std::string& name) const;
  void WriteString(const std::string& name, const std::string& value);
  // Up to `size` bytes of the value's data; the number of bytes read, or -1.
  int ReadBinaryData(const std::string& name, void* buffer, int size) const;
  bool DeleteValue(const std::string& name);
  void GetKeyNames(TStringList& names) const;
  void GetValueNames(TStringList& names) const;

private:
  // The key and the relative path to open for `path`.
  HKEY BaseFor(const std::string& path, std::string& relative) const;
  static std::string Join(const std::string& a, const std::string& b);

  REGSAM access_;
  HKEY root_ = HKEY_CURRENT_USER;
  HKEY current_ = nullptr;
  std::string currentPath_;
};
