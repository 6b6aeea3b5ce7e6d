// SetupScript: Setup.ini in memory. Groups ("[[name]]" lines) hold a
// leading section and ordered sections ("[name]" lines); sections hold
// items ("key=value"). Names repeat freely and are kept in script order.
// Objects read from the script keep a pointer to their ScriptItem and
// write their state back into it, so saving keeps every line in place.
// Items, sections and groups are heap nodes: their addresses stay valid
// while others are added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Longest script line; a longer one is read as several lines.
constexpr size_t kMaxScriptLine = 4095;

struct ScriptItem {
  std::string key;  // empty when the line began with '='
  std::string value;
  bool hasValue = false;  // false for a line without '=' (a bare key)
  uint32_t line = 0;      // 1-based source line; 0 when added at run time

  void SetValue(std::string_view v) {
    value.assign(v.data(), v.size());
    hasValue = true;
  }
};

class ScriptSection {
 public:
  std::string name;
  // The section line as read (kept so that text after "]" survives a
  // save); empty for the leading section and sections added at run time.
  std::string header;
  uint32_t line = 0;
  std::vector<std::unique_ptr<ScriptItem>> items;

  // First item with that key, compared without case; nullptr when none.
  ScriptItem* Find(std::string_view key) const;
  // Missing keys and bare keys without '=' give the default.
  std::string GetText(std::string_view key, std::string_view def = "") const;
  int32_t GetInt(std::string_view key, int32_t def) const;
  uint32_t GetUInt(std::string_view key, uint32_t def) const;
  // Replace the first item's value in place, or append a new item.
  ScriptItem* SetText(std::string_view key, std::string_view value);
  ScriptItem* SetInt(std::string_view key, int32_t value);
  ScriptItem* Append(std::string_view key, std::string_view value);
  // Removes the first item with that key; false when there is none.
  bool Remove(std::string_view key);
  // Every item's value followed by CR LF, in order (readme and licence).
  std::string JoinValues() const;
};

class ScriptGroup {
 public:
  std::string name;    // empty for group 0
  std::string header;  // the group line as read
  bool named = false;  // false only for group 0
  uint32_t line = 0;
  ScriptSection leading;  // items before the first section line
  std::vector<std::unique_ptr<ScriptSection>> sections;

  // First section with that name, or a new one appended when asked to.
  ScriptSection* FindSection(std::string_view name, bool create = false);
  const ScriptSection* FindSection(std::string_view name) const;
  // The next section after `after` with the same name (repeated sections).
  ScriptSection* NextSection(const ScriptSection* after) const;
};

class SetupScript {
 public:
  SetupScript();
  SetupScript(const SetupScript&) = delete;
  SetupScript& operator=(const SetupScript&) = delete;

  void Clear();

  // Parsing, one line at a time in file order. A line may still carry its
  // LF; a line longer than kMaxScriptLine is cut into several. A reader
  // that has already cut a long line passes its later pieces as
  // continuations, so that line numbers stay those of the file.
  void AddLine(std::string_view line, bool continuation = false);
  // Lines read so far (the number of the next AddLine is this plus one).
  uint32_t LineCount() const { return lineCount_; }

  ScriptGroup& Main() { return *groups_.front(); }
  const ScriptGroup& Main() const { return *groups_.front(); }
  // Named groups only (group 0 has no name); a new one is appended when asked.
  ScriptGroup* FindGroup(std::string_view name, bool create = false);
  ScriptGroup* NextGroup(const ScriptGroup* after) const;
  const std::vector<std::unique_ptr<ScriptGroup>>& Groups() const { return groups_; }

  // Section of group 0 by name (the sections setup reads).
  ScriptSection* Section(std::string_view name, bool create = false) {
    return Main().FindSection(name, create);
  }
  const ScriptSection* Section(std::string_view name) const { return Main().FindSection(name); }

  // The whole script as it is saved: CR LF line ends, an empty line after
  // every section that has items.
  std::string ToText() const;

 private:
  void AddCutLine(std::string_view line);

  std::vector<std::unique_ptr<ScriptGroup>> groups_;
  ScriptSection* current_ = nullptr;
  uint32_t lineCount_ = 0;
};
