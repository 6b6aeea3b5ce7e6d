#include "setup/engine/regscript_list.h"

#include <cstdio>

#include "setup/engine/script_text.h"

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

bool TakeFields(std::string_view* text, std::string_view* fields, size_t n) {
  std::string_view rest = *text;
  for (size_t i = 0; i < n; ++i) {
    const size_t bar = rest.find('|');
    if (bar == std::string_view::npos) return false;
    fields[i] = rest.substr(0, bar);
    rest.remove_prefix(bar + 1);
  }
  *text = rest;
  return true;
}

bool TakeListLineHead(std::string_view* text, ListLineHead* head) {
  std::string_view f[5];
  if (!TakeFields(text, f, 5)) return false;
  head->flags = scripttext::ParseUInt(f[0]);
  head->osFlags = scripttext::ParseUInt(f[1]);
  head->mode = scripttext::ParseInt(f[2]);
  head->separator = scripttext::ParseInt(f[3]);
  head->applied = scripttext::ParseInt(f[4]);
  return true;
}

std::string FormatListLineHead(const ListLineHead& h) {
  char text[96];
  std::snprintf(text, sizeof text, "%lu|%lu|%d|%d|%d|", static_cast<unsigned long>(h.flags),
                static_cast<unsigned long>(h.osFlags), h.mode, h.separator, h.applied);
  return text;
}

std::string AppendListElement(std::string list, char separator, std::string_view element) {
  if (separator && !list.empty()) list.push_back(separator);
  list.append(element.data(), element.size());
  return list;
}
