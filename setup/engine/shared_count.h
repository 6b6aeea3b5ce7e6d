// Shared-file reference counts: one value per file, named by its full
// path, under HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs.
// Installations of other products count in the same values, so a shared
// file is only removed when the last of them is.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/registry_access.h"

extern const char kSharedDllsKey[];

// What the file steps need; tests count in memory.
class SharedCounts {
 public:
  virtual ~SharedCounts() = default;
  // Count + 1, creating the key and the value (a missing value counts 0).
  virtual bool Increment(const std::string& path) = 0;
  // Count - 1, deleting the value at zero; *remaining gets the new count.
  // False (and 0) for a missing key or value or an unreadable one.
  virtual bool Decrement(const std::string& path, uint32_t* remaining) = 0;
  // The stored count without change; false when there is none.
  virtual bool Query(const std::string& path, uint32_t* count) = 0;
  virtual bool Delete(const std::string& path) = 0;
};

// A stored count: REG_DWORD, a 4-byte REG_BINARY, REG_DWORD_BIG_ENDIAN or a
// REG_SZ that starts with a digit (decimal). False for anything else.
bool SharedCountFromValue(const RegValue& value, uint32_t* count);

class RegistrySharedCounts : public SharedCounts {
 public:
  explicit RegistrySharedCounts(Registry& registry) : registry_(registry) {}
  bool Increment(const std::string& path) override;
  bool Decrement(const std::string& path, uint32_t* remaining) override;
  bool Query(const std::string& path, uint32_t* count) override;
  bool Delete(const std::string& path) override;

 private:
  Registry& registry_;
};
