// The four registry roots and their names, shared by the registry script,
// the registry layer and the <@...> references of the expansion.
#pragma once

#include <cstddef>
#include <string_view>

enum class RegRoot { kNone, kLocalMachine, kCurrentUser, kClassesRoot, kUsers };

// HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_USERS and
// their short forms HKLM, HKCU, HKCR, HKU, without regard to case.
RegRoot RegRootFromName(std::string_view name);

// The root named at the start of `text` (the long names tried first) and
// the length of that name; 0 and kNone when none is.
size_t RegRootPrefix(std::string_view text, RegRoot* root);
