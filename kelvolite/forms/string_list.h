// A list of strings, as the registry accessor and the scans fill it.
#pragma once
#include <string>
#include <vector>

#include "kelvolite/forms/types.h"

class TStringList : public TObject {
public:
  int Add(const std::string& s) {
    items_.push_back(s);
    return static_cast<int>(items_.size()) - 1;
  }
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int i) const { return items_.at(static_cast<size_t>(i)); }
  std::string& operator[](int i) { return items_.at(static_cast<size_t>(i)); }
  int IndexOf(const std::string& s) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i] == s) return static_cast<int>(i);
    return -1;
  }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  std::vector<std::string> items_;
};
