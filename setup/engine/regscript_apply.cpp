#include "setup/engine/regscript_apply.h"

#include <memory>
#include <string>

#include "setup/app/setup_log.h"
#include "setup/engine/regscript_list.h"
#include "setup/engine/script.h"

#define KV_SOURCE_ID 7401

namespace {

bool IsTextType(uint32_t type) { return type == kRegSz || type == kRegExpandSz; }

// The bytes a parsed line writes: string types expanded (unless the line
// says not to) and NUL-terminated, REG_MULTI_SZ string by string with a
// final NUL; other types as parsed.
std::string ValueBytes(const RegData& data, uint32_t flags, SettingsContext* context) {
  const char* bytes = reinterpret_cast<const char*>(data.bytes);
  std::string_view raw(bytes, data.size);
  bool expand = context && !(flags & kRegFlagNoExpand);
  if (IsTextType(data.type)) {
    std::string_view text = raw.substr(0, raw.find('\0'));
    std::string out = expand ? context->Expand(text) : std::string(text);
    out.push_back('\0');
    return out;
  }
  if (data.type == kRegMultiSz) {
    std::string out;
    while (!raw.empty()) {
      size_t nul = raw.find('\0');
      std::string_view one = raw.substr(0, nul);
      if (one.empty()) break;
      out += expand ? context->Expand(one) : std::string(one);
      out.push_back('\0');
      raw = nul == std::string_view::npos ? std::string_view() : raw.substr(nul + 1);
    }
    out.push_back('\0');
    return out;
  }
  return std::string(raw);
}

// Strings without their final NUL: the part a list is made of.
std::string ListBody(uint32_t type, std::string data) {
  if (IsRegStringType(type) && !data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

class ApplyHandler : public RegScriptHandler {
 public:
  ApplyHandler(Registry& registry, SettingsContext* context)
      : registry_(registry), context_(context) {}

  bool scriptChanged = false;

  bool OpenKey(const RegScriptKey& k) override {
    key_.reset();
    std::string path(k.path);
    if (context_) {
      if (!(k.prefix.flags & kRegFlagInstall) || !context_->OsMatches(k.prefix.osFlags)) {
        return true;  // key stays closed: its values are skipped
      }
      path = context_->Expand(k.path);
    }
    key_ = registry_.CreateKey(k.root, path);
    if (!key_) KV_TRACE(kError, "cannot create registry key %s", path.c_str());
    return key_ != nullptr;
  }

  bool Value(const RegScriptValue& v) override {
    if (!key_) return true;
    if (!context_) return Set(std::string(v.name), v.data->type, ValueBytes(*v.data, 0, nullptr));
    if (!(v.prefix.flags & kRegFlagInstall) || !context_->OsMatches(v.prefix.osFlags)) {
      return true;
    }
    std::string name = context_->Expand(v.name);
    RegValue old;
    bool exists = key_->QueryValue(name, &old);
    if (exists && v.prefix.mode == kModeIfMissing) {
      KeepExisting(v);
      return true;
    }
    std::string bytes = ValueBytes(*v.data, v.prefix.flags, context_);
    uint32_t type = v.data->type;
    if (exists && v.prefix.mode == kModeAppend) {
      bytes = AppendListElement(ListBody(old.type, old.data), char(v.prefix.separator & 0xFF),
                                bytes);
      // Appending to an expandable string keeps it expandable.
      if (IsTextType(type) && IsTextType(old.type) &&
          (type == kRegExpandSz || old.type == kRegExpandSz)) {
        type = kRegExpandSz;
      }
    }
    return Set(name, type, bytes);
  }

  bool CloseKey(const RegScriptKey&) override {
    key_.reset();
    return true;
  }

 private:
  bool Set(const std::string& name, uint32_t type, const std::string& bytes) {
    if (key_->SetValue(name, type, bytes.data(), bytes.size())) return true;
    KV_TRACE(kError, "cannot set registry value \"%s\"", name.c_str());
    return false;
  }

  // A value that was there before installation and that mode 0 left alone
  // is not ours to delete: the line loses its remove flag.
  void KeepExisting(const RegScriptValue& v) {
    if (!(v.prefix.flags & kRegFlagRemove)) return;
    std::string_view rest;
    RegPrefix p;
    if (!ParseRegPrefix(v.item->key, &p, &rest)) return;
    p.flags &= ~uint32_t(kRegFlagRemove);
    v.item->key = FormatRegPrefix(p) + std::string(rest);
    scriptChanged = true;
  }

  Registry& registry_;
  SettingsContext* context_;  // null for a file's group: as written
  std::unique_ptr<RegistryKey> key_;
};

class UndoHandler : public RegScriptHandler {
 public:
  UndoHandler(Registry& registry, SettingsContext* context)
      : registry_(registry), context_(context) {}

  bool OpenKey(const RegScriptKey& k) override {
    key_.reset();
    path_ = context_ ? context_->Expand(k.path) : std::string(k.path);
    // A key for another system was never created; one that cannot be
    // opened has nothing left to undo. Either way the later keys still
    // get their turn.
    if (context_ && !context_->OsMatches(k.prefix.osFlags)) return true;
    key_ = registry_.OpenKey(k.root, path_, true);
    return true;
  }

  bool Value(const RegScriptValue& v) override {
    if (!key_) return true;
    if (!context_) {
      key_->DeleteValue(std::string(v.name));
      return true;
    }
    if (!(v.prefix.flags & kRegFlagRemove) || !context_->OsMatches(v.prefix.osFlags)) {
      return true;
    }
    std::string name = context_->Expand(v.name);
    if (v.prefix.mode == kModeAppend) {
      RemoveAppended(name, v);
    } else {
      key_->DeleteValue(name);
    }
    return true;
  }

  bool CloseKey(const RegScriptKey& k) override {
    bool opened = key_ != nullptr;
    key_.reset();
    if (!opened) return true;
    bool remove = !context_ || ((k.prefix.flags & kRegFlagRemove) &&
                                context_->OsMatches(k.prefix.osFlags));
    if (remove) DeleteEmptyRegKeys(registry_, k.root, path_);
    return true;
  }

 private:
  // Takes the appended element out; what was there before stays. A value
  // that no longer holds the element is left as it is.
  void RemoveAppended(const std::string& name, const RegScriptValue& v) {
    RegValue current;
    if (!key_->QueryValue(name, &current)) return;
    std::string element = ListBody(v.data->type, ValueBytes(*v.data, v.prefix.flags, context_));
    std::string body = ListBody(current.type, current.data);
    char sep = char(v.prefix.separator & 0xFF);
    if (element.empty()) {
      if (!body.empty()) return;  // an empty append: only an empty value is ours
    } else if (!RemoveListElement(&body, element, sep, IsRegStringType(current.type))) {
      return;
    }
    if (body.empty()) {
      key_->DeleteValue(name);
      return;
    }
    if (IsRegStringType(current.type)) body.push_back('\0');
    key_->SetValue(name, current.type, body.data(), body.size());
  }

  Registry& registry_;
  SettingsContext* context_;
  std::unique_ptr<RegistryKey> key_;
  std::string path_;
};

RegScriptResult Report(const char* what, const RegScriptResult& r) {
  if (!r.ok()) {
    KV_TRACE(kError, "%s stopped at line %lu: %s", what, static_cast<unsigned long>(r.line),
             RegScriptStatusText(r.status));
  }
  return r;
}

}  // namespace

RegScriptResult ApplyRegScript(ScriptGroup& group, Registry& registry, SettingsContext& context,
                               bool* scriptChanged) {
  ApplyHandler handler(registry, &context);
  RegScriptResult r = WalkRegScript(group, handler);
  if (scriptChanged) *scriptChanged = handler.scriptChanged;
  return Report("registry script", r);
}

RegScriptResult UndoRegScript(ScriptGroup& group, Registry& registry, SettingsContext& context) {
  UndoHandler handler(registry, &context);
  return Report("registry script removal", WalkRegScript(group, handler));
}

RegScriptResult ApplyFileRegGroup(ScriptGroup& group, Registry& registry) {
  ApplyHandler handler(registry, nullptr);
  return Report("registry group", WalkRegScript(group, handler));
}

RegScriptResult UndoFileRegGroup(ScriptGroup& group, Registry& registry) {
  UndoHandler handler(registry, nullptr);
  return Report("registry group removal", WalkRegScript(group, handler));
}

const char* RegScriptStatusText(RegScriptStatus status) {
  switch (status) {
    case kRegScriptOk: return "ok";
    case kRegScriptNoHeader: return "no REGEDIT4 line";
    case kRegScriptBadPrefix: return "malformed prefix";
    case kRegScriptUnknownRoot: return "unknown registry root";
    case kRegScriptBadLine: return "value line without \"=\"";
    case kRegScriptBadData: return "malformed data";
    case kRegScriptDataTooLong: return "data longer than 4096 bytes";
    case kRegScriptHandlerFailed: return "registry key or value could not be written";
  }
  return "?";
}
