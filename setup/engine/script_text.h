// Small text rules shared by the script, its symbols and their expansion:
// the script's white space, ASCII-only case folding, its number syntax and
// the "|"-separated fields of symbol, language and file lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scripttext {

// Space, tab, CR, LF, VT and FF.
bool IsSpace(char c);
std::string_view Trim(std::string_view s);
std::string_view TrimRight(std::string_view s);

// Only the ASCII letters fold; names in scripts are ASCII.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Optional white space, an optional sign, decimal digits; reading stops at
// the first other character and no digits give 0. The value is taken
// modulo 2^32, so bit masks written as large unsigned numbers keep their
// bits; a digit string beyond 32 bits stops at 0xFFFFFFFF instead of
// wrapping around to an arbitrary value.
int32_t ParseInt(std::string_view s);
// The same without a sign: "-1" and "+1" give 0.
uint32_t ParseUInt(std::string_view s);

// Splits at every '|'; "" gives one empty field.
std::vector<std::string_view> SplitFields(std::string_view s);

}  // namespace scripttext
