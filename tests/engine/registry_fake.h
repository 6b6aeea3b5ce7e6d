// An in-memory registry for the settings tests: keys and value names
// compare without case, as in the real one. Snapshot() gives the whole
// content, so a test compares before installation with after removal.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "setup/engine/registry_access.h"

namespace kvtest {

inline std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return s;
}

struct FakeValue {
  uint32_t type;
  std::string data;
  bool operator==(const FakeValue& o) const { return type == o.type && data == o.data; }
};

class FakeRegistry : public Registry {
 public:
  using Values = std::map<std::string, FakeValue>;
  using Content = std::map<std::string, Values>;  // "root:path" -> values

  bool failCreate = false;  // every CreateKey fails
  bool failSet = false;     // every SetValue fails

  // Test set-up: a value (creating its key and parents).
  void Put(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
           const std::string& data) {
    Touch(root, path);
    keys_[Id(root, path)][Lower(name)] = FakeValue{type, data};
  }
  void PutString(RegRoot root, const std::string& path, const std::string& name,
                 const std::string& text, uint32_t type = kRegSz) {
    Put(root, path, name, type, text + std::string(1, '\0'));
  }
  void PutKey(RegRoot root, const std::string& path) { Touch(root, path); }

  bool Has(RegRoot root, const std::string& path) const { return keys_.count(Id(root, path)) != 0; }
  const FakeValue* Get(RegRoot root, const std::string& path, const std::string& name) const {
    auto k = keys_.find(Id(root, path));
    if (k == keys_.end()) return nullptr;
    auto v = k->second.find(Lower(name));
    return v == k->second.end() ? nullptr : &v->second;
  }
  // A string value without its terminator; "<missing>" when absent.
  std::string Text(RegRoot root, const std::string& path, const std::string& name) const {
    const FakeValue* v = Get(root, path, name);
    if (!v) return "<missing>";
    std::string s = v->data;
    if (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
  }
  const Content& Snapshot() const { return keys_; }

  std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const std::string& path) override {
    if (failCreate || root == RegRoot::kNone) return nullptr;
    Touch(root, path);
    return std::unique_ptr<RegistryKey>(new Key(this, Id(root, path)));
  }
  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, const std::string& path, bool) override {
    if (!Has(root, path)) return nullptr;
    return std::unique_ptr<RegistryKey>(new Key(this, Id(root, path)));
  }
  bool DeleteKey(RegRoot root, const std::string& path) override {
    std::string id = Id(root, path);
    if (!keys_.count(id) || HasSubkeys(id)) return false;
    keys_.erase(id);
    return true;
  }

 private:
  class Key : public RegistryKey {
   public:
    Key(FakeRegistry* r, std::string id) : r_(r), id_(std::move(id)) {}
    bool QueryValue(const std::string& name, RegValue* value) override {
      auto k = r_->keys_.find(id_);
      if (k == r_->keys_.end()) return false;
      auto v = k->second.find(Lower(name));
      if (v == k->second.end()) return false;
      value->type = v->second.type;
      value->data = v->second.data;
      return true;
    }
    bool SetValue(const std::string& name, uint32_t type, const void* data, size_t size) override {
      if (r_->failSet || !r_->keys_.count(id_)) return false;
      r_->keys_[id_][Lower(name)] =
          FakeValue{type, std::string(static_cast<const char*>(data), size)};
      return true;
    }
    bool DeleteValue(const std::string& name) override {
      auto k = r_->keys_.find(id_);
      return k != r_->keys_.end() && k->second.erase(Lower(name)) != 0;
    }
    bool IsEmpty() override {
      auto k = r_->keys_.find(id_);
      return k != r_->keys_.end() && k->second.empty() && !r_->HasSubkeys(id_);
    }

   private:
    FakeRegistry* r_;
    std::string id_;
  };

  static std::string Id(RegRoot root, const std::string& path) {
    return std::to_string(int(root)) + ":" + Lower(NormalizeRegPath(path));
  }
  void Touch(RegRoot root, const std::string& path) {
    std::string p = NormalizeRegPath(path);
    for (size_t i = 0; i <= p.size(); ++i) {
      if (i > 0 && (i == p.size() || p[i] == '\\')) keys_[Id(root, p.substr(0, i))];
    }
  }
  bool HasSubkeys(const std::string& id) const {
    std::string prefix = id + "\\";
    auto next = keys_.lower_bound(prefix);
    return next != keys_.end() && next->first.compare(0, prefix.size(), prefix) == 0;
  }

  Content keys_;
};

}  // namespace kvtest
