#include "setup/engine/shared_count.h"

const char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

namespace {
constexpr uint32_t kRegDwordBigEndian = 5;

uint32_t Bytes4(const std::string& d, bool bigEndian) {
  const auto b = [&](size_t i) { return uint32_t(static_cast<unsigned char>(d[i])); };
  return bigEndian ? (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3)
                   : b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

bool WriteCount(RegistryKey& key, const std::string& path, uint32_t count) {
  const unsigned char data[4] = {static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
                                 static_cast<unsigned char>(count >> 16),
                                 static_cast<unsigned char>(count >> 24)};
  return key.SetValue(path, kRegDword, data, sizeof(data));
}
}  // namespace

bool SharedCountFromValue(const RegValue& value, uint32_t* count) {
  switch (value.type) {
    case kRegDword:
    case kRegBinary:
      if (value.data.size() != 4) return false;
      *count = Bytes4(value.data, false);
      return true;
    case kRegDwordBigEndian:
      // Stored most significant byte first: read it so, or a count of 1
      // would keep the file for ever.
      if (value.data.size() != 4) return false;
      *count = Bytes4(value.data, true);
      return true;
    case kRegSz: {
      if (value.data.empty() || value.data[0] < '0' || value.data[0] > '9') return false;
      uint32_t n = 0;
      for (char c : value.data) {
        if (c < '0' || c > '9') break;
        n = n > 0x19999998u ? 0xFFFFFFFFu : n * 10 + uint32_t(c - '0');
      }
      *count = n;
      return true;
    }
    default:
      return false;
  }
}

bool RegistrySharedCounts::Increment(const std::string& path) {
  auto key = registry_.CreateKey(RegRoot::kLocalMachine, kSharedDllsKey);
  if (!key) return false;
  uint32_t count = 0;
  RegValue value;
  if (key->QueryValue(path, &value) && !SharedCountFromValue(value, &count)) return false;
  if (count == 0xFFFFFFFFu) return true;
  return WriteCount(*key, path, count + 1);
}

bool RegistrySharedCounts::Decrement(const std::string& path, uint32_t* remaining) {
  *remaining = 0;
  auto key = registry_.OpenKey(RegRoot::kLocalMachine, kSharedDllsKey, true);
  if (!key) return false;
  RegValue value;
  uint32_t count = 0;
  if (!key->QueryValue(path, &value) || !SharedCountFromValue(value, &count)) return false;
  if (count <= 1) return key->DeleteValue(path);
  *remaining = count - 1;
  return WriteCount(*key, path, count - 1);
}

bool RegistrySharedCounts::Query(const std::string& path, uint32_t* count) {
  *count = 0;
  auto key = registry_.OpenKey(RegRoot::kLocalMachine, kSharedDllsKey, false);
  RegValue value;
  return key && key->QueryValue(path, &value) && SharedCountFromValue(value, count);
}

bool RegistrySharedCounts::Delete(const std::string& path) {
  auto key = registry_.OpenKey(RegRoot::kLocalMachine, kSharedDllsKey, true);
  return key && key->DeleteValue(path);
}
