// What the extension host needs from the system: the DLL itself and the
// few facts its services report. Windows builds load for real; the Linux
// stand-ins load nothing.
#pragma once

#include <cstdint>
#include <string>

namespace extsys {

// An HMODULE freed with its owner.
class Module {
 public:
  Module() = default;
  ~Module() { Reset(); }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  // LoadLibrary of a full path; false when it does not load.
  bool Load(const std::string& path);
  void Reset();
  // The export with that name, or null.
  void* Find(const char* name) const;
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  void* handle_ = nullptr;
};

bool IsNtFamily();
bool IsAdministrator();
uint16_t UserDefaultLanguage();
// A string value of setup's own version resource; "" when it has none.
std::string OwnVersionString(const char* name);

}  // namespace extsys
