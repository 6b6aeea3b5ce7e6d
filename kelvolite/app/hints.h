// Hint texts from lang.lng: the section is the language that setup
// registered; missing files, sections or keys give the built-in texts.
#pragma once
#include <string>

#include "kelvolite/forms/registry.h"

// The registered language (value "Language" of the program's key under
// HKEY_LOCAL_MACHINE); false when the key or the value is missing.
bool RegisteredLanguage(TRegistry& registry, std::string& section);

// The language file: the current folder followed by "\lang.lng".
std::string LanguageFileName();

// The text of `key` in `section` of `file`, or `fallback` (at most 499
// characters, as the file is read through a 500-character buffer).
std::string ReadHintText(const std::string& file, const std::string& section, const char* key,
                         const char* fallback);
