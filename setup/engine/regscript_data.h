// The text forms of a registry script line: the "\flags|os|mode|sep\"
// prefix, value names and the REGEDIT4 data forms. Parsing only; the walk
// over a script group is in regscript_walk.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Prefix flags.
enum : uint32_t {
  kRegFlagInstall = 0x1,        // create or set at installation
  kRegFlagRemove = 0x2,         // delete at removal
  kRegFlagNoExpand = 0x40000000,  // data as written, no <...> expansion
};

// Modes shared by registry, environment and INI lines.
enum : int { kModeIfMissing = 0, kModeReplace = 1, kModeAppend = 2 };

struct RegPrefix {
  uint32_t flags = kRegFlagInstall | kRegFlagRemove;
  uint32_t osFlags = 247;
  int mode = kModeReplace;
  int separator = 0;  // character placed between old and appended data
};

// A leading "\n|n|n|n\" (one to four decimal fields, an empty field keeps
// its default) is taken into *prefix and *rest is what follows. Text
// without a leading backslash has no prefix: defaults, *rest = text.
// False for a backslash that does not open a well-formed prefix.
bool ParseRegPrefix(std::string_view text, RegPrefix* prefix, std::string_view* rest);
// "\flags|os|mode|sep\", the form written back into a script line.
std::string FormatRegPrefix(const RegPrefix& prefix);

// "@" is the default value (empty name); a leading ", ' or ` is dropped
// with one trailing quote of any of the three kinds.
std::string_view RegValueName(std::string_view text);

// Parsed value data. The buffer is fixed: data that does not fit is
// rejected, never cut.
constexpr size_t kRegDataMax = 4096;

struct RegData {
  uint32_t type = 0;
  size_t size = 0;
  uint8_t bytes[kRegDataMax];
};

// Result codes of the data parser, one per cause.
enum RegDataStatus {
  kRegDataOk = 0,
  kRegDataUnknownForm,  // not empty, "...", dword:, hex: or hex(n):
  kRegDataBadDword,     // dword: needs 1 to 8 hex digits
  kRegDataBadHex,       // not a list of hex digit pairs
  kRegDataBadType,      // hex(n): without a decimal n and "):"
  kRegDataNoContinuation,  // list ends in "\" but no plain next line follows
  kRegDataTooLong,      // more than kRegDataMax bytes
};

// Supplies the next line of the section for a byte list ending in "\":
// false when there is none (or the next line is not a plain one).
using RegContinuation = std::function<bool(std::string_view* line)>;

// Parses the text after "=". Strings come out NUL-terminated (the NUL is
// counted in size). `more` may be empty when continuation is not possible.
RegDataStatus ParseRegData(std::string_view text, const RegContinuation& more, RegData* data);
