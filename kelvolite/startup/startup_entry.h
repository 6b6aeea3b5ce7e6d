// TPStartupEntry, the record attached to each row of the startup list, and
// the store pairs that a row's location names.
#pragma once
#include <windows.h>

#include <string>

#include "kelvolite/forms/types.h"

// Store pairs (one bit each; the active and the disabled store of a pair
// share the code).
constexpr int slUserRun = 1, slUserRunServices = 2, slUserStartupFolder = 4, slCommonStartupFolder = 8,
              slMachineRun = 16, slMachineRunServices = 32;

class TPStartupEntry : public TObject {
public:
  TPStartupEntry(int active, int location) : active_(active), location_(location) {}
  // 1 when the item was found in an active store, 0 in a disabled one.
  int Active() const { return active_; }
  int Location() const { return location_; }

private:
  int active_;
  int location_;
};

// A registry store pair: the run key under its root, and the same key with
// a trailing "-" that holds the disabled values.
struct TStartupRegistryStore {
  int location;
  HKEY root;
  const char* activeKey;
  const char* disabledKey;
};

// The registry store of `location`, or null for a folder location (and, in
// the NT build, for the RunServices locations, which it does not have).
const TStartupRegistryStore* StartupRegistryStore(int location);

// The registry stores in the order the list shows them.
extern const TStartupRegistryStore kStartupRegistryStores[];
extern const int kStartupRegistryStoreCount;

// The hidden sibling that holds the disabled items of a Startup folder:
// everything up to the last "\" of `startupFolder`, then
// "Disabled Startup Items"; empty when the folder has no parent to name.
std::string DisabledStartupFolderOf(const std::string& startupFolder);
