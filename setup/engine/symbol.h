// SetupSymbol and the symbol table built from [Symbols]. A line reads
// name=id|osflags|value; only lines whose OS flags include the running
// system enter the table, so a name can be given once per OS family.
// Values are stored unexpanded; a changed value is written straight back
// into its script line, and a symbol created by name gets a new line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class SetupScript;
struct ScriptItem;

// Ids of the symbols the engine uses.
enum SymbolId : int32_t {
  kSymNone = -1,
  kSymAppFolder = 1,
  kSymAppTitle = 2,
  kSymAppVersion = 3,
  kSymCompany = 4,
  kSymCopyright = 5,
  kSymEmail = 6,
  kSymWebSite = 7,
  kSymProgGroupDir = 9,
  kSymSetupDir = 10,
  kSymUninstallTitle = 12,
  kSymHelpDir = 17,
  kSymTempDir = 18,
  kSymWinDir = 19,
  kSymWinDrive = 20,
  kSymWinSysDir = 22,
  kSymDesktop = 28,
  kSymProfiles = 30,
  kSymPrograms = 31,
  kSymStartMenu = 33,
  kSymUserProfile = 38,
  kSymCommonProfile = 53,
  kSymWinCurVerNT = 61,
  kSymUninstallRegPath = 62,
  kSymUninstallPrev = 63,
  kSymUninstallRegPathPrev = 64,
  kSymInstallLocationPrev = 65,
  kSymTelephone = 66,
  kSymLangID = 68,
};

struct SetupSymbol {
  int32_t id = kSymNone;
  uint32_t osFlags = 0;
  std::string name;   // empty for symbols created by id at run time
  std::string value;  // unexpanded
  ScriptItem* item = nullptr;  // its [Symbols] line, if it has one
};

class SymbolTable {
 public:
  // runningOsFlag: the running system's bit (OsFlagForSystemClass).
  explicit SymbolTable(uint32_t runningOsFlag) : runningOsFlag_(runningOsFlag) {}
  SymbolTable(const SymbolTable&) = delete;
  SymbolTable& operator=(const SymbolTable&) = delete;

  // Rebuilds the table from the script's [Symbols] section. The script
  // must outlive the table: changed values are written into it.
  void Load(SetupScript& script);
  void Clear();

  uint32_t RunningOsFlag() const { return runningOsFlag_; }

  // First symbol in table order; names compare without case and whole
  // ("Profile" never finds "Profiles"); an empty name finds nothing.
  SetupSymbol* ById(int32_t id) const;
  SetupSymbol* ByName(std::string_view name) const;
  // Unexpanded value; "" when there is no such symbol.
  std::string Value(int32_t id) const;

  // Sets the value, creating a nameless symbol with that id when none
  // exists (run-time symbols; those get no script line).
  SetupSymbol& SetValue(int32_t id, std::string_view value);
  // Sets the value, creating a symbol (id -1, all systems) with its own
  // new [Symbols] line when none exists.
  SetupSymbol& SetValue(std::string_view name, std::string_view value);

  const std::vector<std::unique_ptr<SetupSymbol>>& All() const { return symbols_; }

 private:
  void Store(SetupSymbol& symbol);

  uint32_t runningOsFlag_;
  SetupScript* script_ = nullptr;
  std::vector<std::unique_ptr<SetupSymbol>> symbols_;
};
