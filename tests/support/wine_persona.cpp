#include "support/wine_persona.h"

#include <cstdlib>

namespace kvtest {

std::string Persona() {
#if defined(_WIN32)
  const char* p = std::getenv("KV_PERSONA");
  return p && *p ? p : "default";
#else
  return "native";
#endif
}

Family PersonaFamily() {
  const std::string p = Persona();
  if (p == "native") return Family::Native;
  if (p == "win95" || p == "win98" || p == "winme") return Family::Win9x;
  return Family::WinNT;
}

}  // namespace kvtest
