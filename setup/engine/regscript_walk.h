// Walking a registry script: a script group whose leading section holds
// the line REGEDIT4; every section is a key ("[prefix root\path]"), its
// items the values ("prefix name=data"). The walk parses each line and
// hands it to a handler; apply and undo are handlers (regscript_apply.h).
#pragma once

#include <cstdint>
#include <string_view>

#include "setup/engine/registry_access.h"
#include "setup/engine/regscript_data.h"

class ScriptGroup;
class ScriptSection;
struct ScriptItem;

struct RegScriptKey {
  RegPrefix prefix;
  RegRoot root = RegRoot::kNone;
  std::string_view path;  // after the root, unexpanded; may be empty
  ScriptSection* section = nullptr;
};

struct RegScriptValue {
  RegPrefix prefix;
  bool hasPrefix = false;
  std::string_view name;  // unexpanded; empty for the default value
  const RegData* data = nullptr;
  ScriptItem* item = nullptr;  // the line, so a handler can record in it
};

// Each call returns false to stop the walk.
class RegScriptHandler {
 public:
  virtual ~RegScriptHandler() = default;
  virtual bool OpenKey(const RegScriptKey& key) = 0;
  virtual bool Value(const RegScriptValue& value) = 0;
  virtual bool CloseKey(const RegScriptKey& key) = 0;
};

// Why a walk stopped; kRegScriptOk when it went through.
enum RegScriptStatus {
  kRegScriptOk = 0,
  kRegScriptNoHeader,      // no REGEDIT4 line before the first key
  kRegScriptBadPrefix,     // a "\" that does not open a well-formed prefix
  kRegScriptUnknownRoot,   // key line without a known root
  kRegScriptBadLine,       // a value line without "="
  kRegScriptBadData,       // data in no known form, or malformed
  kRegScriptDataTooLong,   // data beyond the 4096-byte buffer
  kRegScriptHandlerFailed, // a handler stopped the walk
};

struct RegScriptResult {
  RegScriptStatus status = kRegScriptOk;
  uint32_t line = 0;  // script line where the walk stopped (0 if unknown)
  bool ok() const { return status == kRegScriptOk; }
};

RegScriptResult WalkRegScript(ScriptGroup& group, RegScriptHandler& handler);

// The key line of a section: prefix, root, path. False (with the status)
// for a malformed one; *skip is set for a section with nothing after its
// prefix, which the walk passes over.
RegScriptStatus ParseRegKeyLine(std::string_view name, RegScriptKey* key, bool* skip);
