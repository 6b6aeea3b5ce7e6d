// The registry as the settings operations see it: a few calls on keys named
// by root and path. The Windows build goes to the real registry; tests use
// an in-memory one, so the apply and undo rules are checked natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "setup/engine/registry_root.h"

// Value types as the registry numbers them.
enum : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

inline bool IsRegStringType(uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}


struct RegValue {
  uint32_t type = kRegNone;
  std::string data;  // raw bytes, terminators included as stored
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // An empty name is the key's default value. False when it does not exist.
  virtual bool QueryValue(const std::string& name, RegValue* value) = 0;
  virtual bool SetValue(const std::string& name, uint32_t type,
                        const void* data, size_t size) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
  // No subkeys and no values.
  virtual bool IsEmpty() = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Creates missing keys on the way; nullptr on failure.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const std::string& path) = 0;
  // nullptr when the key does not exist or cannot be opened.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const std::string& path,
                                               bool write) = 0;
  // Deletes one key that has no subkeys.
  virtual bool DeleteKey(RegRoot root, const std::string& path) = 0;
};

// The system's registry (Windows builds; elsewhere every call fails).
Registry& SystemRegistry();

// "a\\b\\" gives "a\b": separators collapsed, none at either end, so that
// parents can be found by cutting at the last backslash.
std::string NormalizeRegPath(std::string_view path);

// Deletes the key and then each parent while it has neither subkeys nor
// values; never the root itself. Stops at the first key that has content
// or cannot be deleted.
void DeleteEmptyRegKeys(Registry& registry, RegRoot root, std::string_view path);
