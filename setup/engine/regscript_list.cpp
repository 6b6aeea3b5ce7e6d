#include "setup/engine/regscript_list.h"

static char Fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

static size_t Find(const std::string& list, std::string_view element, size_t from,
                   bool ignoreCase) {
  if (element.size() > list.size()) return std::string::npos;
  for (size_t i = from; i + element.size() <= list.size(); ++i) {
    size_t j = 0;
    for (; j < element.size(); ++j) {
      char a = list[i + j], b = element[j];
      if (ignoreCase ? Fold(a) != Fold(b) : a != b) break;
    }
    if (j == element.size()) return i;
  }
  return std::string::npos;
}

bool RemoveListElement(std::string* list, std::string_view element, char separator,
                       bool ignoreCase) {
  if (element.empty()) return false;
  for (size_t at = Find(*list, element, 0, ignoreCase); at != std::string::npos;
       at = Find(*list, element, at + 1, ignoreCase)) {
    size_t end = at + element.size();
    if (separator == 0) {
      list->erase(at, element.size());
      return true;
    }
    bool startsElement = at == 0 || (*list)[at - 1] == separator;
    bool endsElement = end == list->size() || (*list)[end] == separator;
    if (!startsElement || !endsElement) continue;
    if (end < list->size()) {
      list->erase(at, element.size() + 1);  // with the separator after it
    } else if (at > 0) {
      list->erase(at - 1, element.size() + 1);  // the last: the one before it
    } else {
      list->clear();
    }
    return true;
  }
  return false;
}
