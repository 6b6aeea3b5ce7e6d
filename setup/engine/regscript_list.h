// Taking one appended element out of a list value again: shared by the
// registry script, the environment and INI values at removal.
#pragma once

#include <string>
#include <string_view>

// Removes the first occurrence of `element` in `list` (compared without
// regard to ASCII case when ignoreCase). With a separator the occurrence
// must be a whole element (bounded by separators or the list's ends) and
// goes with the separator after it, or the one before it when it is the
// last element; earlier occurrences inside other elements are passed
// over. separator 0: the text is removed wherever it first occurs.
// False when nothing was removed.
bool RemoveListElement(std::string* list, std::string_view element, char separator,
                       bool ignoreCase = true);
