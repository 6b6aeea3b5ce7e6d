// List values and list lines, shared by the registry script, the
// environment and INI values: appending an element at installation,
// taking it out again at removal, and the line head the environment and
// INI value lines have in common.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The first fields of an [Environment] or [INI Values] line:
// flags|OS flags|mode|separator|applied|...
struct ListLineHead {
  uint32_t flags = 0;
  uint32_t osFlags = 0;
  int mode = 1;
  int separator = 0;
  int applied = 0;
};

// Takes n '|'-terminated fields off the front of *text; false (and
// *text unchanged) when there are fewer.
bool TakeFields(std::string_view* text, std::string_view* fields, size_t n);
// Takes the five head fields off the front of *text.
bool TakeListLineHead(std::string_view* text, ListLineHead* head);
// "%lu|%lu|%d|%d|%d|".
std::string FormatListLineHead(const ListLineHead& head);

// The list with element appended after the separator (none when 0); an
// empty list becomes the element alone, never an empty first element.
std::string AppendListElement(std::string list, char separator, std::string_view element);

// Removes the first occurrence of `element` in `list` (compared without
// regard to ASCII case when ignoreCase). With a separator the occurrence
// must be a whole element (bounded by separators or the list's ends) and
// goes with the separator after it, or the one before it when it is the
// last element; earlier occurrences inside other elements are passed
// over. separator 0: the text is removed wherever it first occurs.
// False when nothing was removed.
bool RemoveListElement(std::string* list, std::string_view element, char separator,
                       bool ignoreCase = true);
