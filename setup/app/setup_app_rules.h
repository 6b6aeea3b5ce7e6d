// The decisions SetupApp makes that need no Windows: exit-code precedence,
// which [Languages] entry is used, the running-application name test, the
// kind of a script path and the restart rule. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/engine/script_languages.h"

// Writes code into the exit-code field: a later reason overwrites an
// earlier one, except 3, 5 and 6, which only fill an empty field.
void RecordExitCode(int& field, int code);

// The locale's default-language value (hexadecimal text); 0x0409 when it
// cannot be read.
uint16_t ParseUserLanguage(const char* hexText);

// Index of the entry to use, -1 for none. An installed copy takes its
// first entry marked installed; a package picks among the entries on the
// system: the first is the default, the last with the user's exact id
// wins, else the first with the user's primary language (low 10 bits).
// offered receives the indices that take part (the language dialog lists
// them).
int SelectLanguage(const std::vector<LanguageEntry>& entries, uint16_t userLanguage,
                   bool installedCopy, std::vector<int>* offered = nullptr);

enum class LanguageResources { kOwn, kDll };
// kOwn: the program's own resources (built-in, "no language" or no DLL).
LanguageResources LanguageResourcesOf(uint32_t flags);

// The running-application check: the file-name parts of both paths agree
// in their first 15 characters, case-insensitively.
bool ProcessNameMatches(const std::string& processExe, const std::string& applicationPath);

enum class ScriptKind { kArchive, kPlainScript, kUnknown };
// .kvz opens as an archive from offset 0, .ini reads as a plain script.
ScriptKind ScriptKindOf(const std::string& path);
// The folder part of a path ("" when it has none).
std::string FolderOf(const std::string& path);

// Restart mode 2 or more always restarts, 1 when the engine needs it.
bool ShouldRestart(int restartMode, bool restartNeeded);
