// The Win32 handle of a registry root.
#pragma once

#include <windows.h>

#include "setup/engine/registry_root.h"

inline HKEY RegRootHandle(RegRoot root) {
  switch (root) {
    case RegRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::kUsers: return HKEY_USERS;
    case RegRoot::kNone: break;
  }
  return nullptr;
}
