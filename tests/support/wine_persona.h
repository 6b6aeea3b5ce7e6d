// Which Windows the suite runs as. Under Wine the suite wrapper sets the
// prefix's Windows version before the first process starts and passes its
// name in KV_PERSONA; natively the persona is "native".
#pragma once
#include <string>

namespace kvtest {

enum class Family { Native, Win9x, WinNT };

// "win98", "win2k", "winxp", "win10", "default" (the prefix's own) or "native".
std::string Persona();
Family PersonaFamily();

}  // namespace kvtest
