// [INI Values]: repeated
//   Value=flags|OS flags|mode|separator|applied|file|section|key|value
// written into INI files at installation and taken out again at removal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/regscript_context.h"
#include "setup/engine/regscript_list.h"

class ScriptSection;

struct IniValueLine : ListLineHead {
  std::string file, section, key;
  std::string value;  // the rest of the line; may contain '|'
};

// False for fewer than nine fields or an empty value.
bool ParseIniValueLine(std::string_view text, IniValueLine* line);
// "%lu|%lu|%d|%d|%d|%s|%s|%s|%s".
std::string FormatIniValueLine(const IniValueLine& line);

// The private-profile calls the operations need.
class IniFiles {
 public:
  virtual ~IniFiles() = default;
  // The whole value; "" when missing (an empty value counts as missing).
  virtual std::string Read(const std::string& file, const std::string& section,
                           const std::string& key) = 0;
  virtual bool Write(const std::string& file, const std::string& section,
                     const std::string& key, const std::string& value) = 0;
  virtual bool DeleteKey(const std::string& file, const std::string& section,
                         const std::string& key) = 0;
  virtual bool SectionIsEmpty(const std::string& file, const std::string& section) = 0;
  virtual bool DeleteSection(const std::string& file, const std::string& section) = 0;
  // Deletes the file when nothing but white space is left in it, so that
  // comments or entries outside any section are never lost.
  virtual void DeleteFileIfEmpty(const std::string& file) = 0;
};

// Windows: the private-profile functions. Elsewhere every call fails.
IniFiles& SystemIniFiles();

struct IniValuesPass {
  int linesDone = 0;
  bool scriptChanged = false;
};

// Single lines that fail are skipped.
IniValuesPass ApplyIniValues(ScriptSection& section, IniFiles& files, SettingsContext& context);
IniValuesPass UndoIniValues(ScriptSection& section, IniFiles& files, SettingsContext& context);
