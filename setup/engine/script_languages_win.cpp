#include <windows.h>

#include "setup/engine/script_languages.h"

bool LocaleInstalled(uint16_t languageId) {
  return IsValidLocale(MAKELCID(languageId, SORT_DEFAULT), LCID_INSTALLED) != FALSE;
}
