// What an installation leaves for its removal, as plain decisions: the
// [UninstallDirs] list, the Timestamp text, the values of the uninstall
// entry, the RunOnce value name, and the rules for running a previous
// version's uninstaller. The Windows steps (install_start_win.cpp,
// previous_version_win.cpp, uninstall_entry_win.cpp) act on these.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SetupScript;

// Event codes of the installation records.
enum : uint32_t {
  kEventRunOnceEntry = 0x01000004,
  kEventInstallStart = 0x01000005,
  kEventInstallEnd = 0x01000006,
  kEventRemovalOfPartial = 0x03000007,
  kEventRemovalStart = 0x01000008,
  kEventFilesRemoved = 0x01000009,
  kEventRegistrationRun = 0x0100000A,
  kEventFolderHandedOver = 0x02010015,
};

// Extension DLL notifications around the run and its steps.
enum : int {
  kNotifyWorkBegins = 7,
  kNotifyWorkEnds = 8,
  kNotifyShortcutsBefore = 16,
  kNotifyShortcutsAfter = 17,
  kNotifyRemoveFilesBefore = 20,
  kNotifyRemoveFilesAfter = 21,
  kNotifyUnregisterBefore = 22,
  kNotifyUnregisterAfter = 23,
  kNotifyRemoveShortcutsBefore = 24,
  kNotifyRemoveShortcutsAfter = 25,
  kNotifyRestoreSettingsBefore = 26,
  kNotifyRestoreSettingsAfter = 27,
};

// [Action] phases.
enum : uint32_t {
  kPhaseInstallStart = 0,
  kPhaseAfterShortcuts = 0x30000,
  kPhaseAfterRegistration = 0x50000,
  kPhaseRemovalStart = 0x70000,
  kPhaseAfterRemoveShortcuts = 0x80000,
  kPhaseAfterUnregister = 0x90000,
  kPhaseAfterRestoreSettings = 0xA0000,
  kPhaseAfterRemoveFiles = 0xB0000,
};

constexpr char kUninstallDirsSection[] = "UninstallDirs";
constexpr char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
// Setup's exit code when a previous version was not let go.
constexpr int kExitPreviousNotRemoved = 14;

// Appends Directory=<folder> to [UninstallDirs], creating the section.
void RecordUninstallDir(SetupScript& script, const std::string& folder);
// The recorded folders in recorded order (empty values skipped).
std::vector<std::string> ReadUninstallDirs(const SetupScript& script);

// "YYYY-MM-DD hh:mm:ss".
std::string FormatTimestamp(unsigned year, unsigned month, unsigned day, unsigned hour,
                            unsigned minute, unsigned second);

// VersionMajor is the decimal number at the start of AppVersion ("v3"
// gives 0); VersionMinor the one after the next character, present only
// when anything follows the major number.
struct AppVersionNumbers {
  uint32_t major = 0;
  bool hasMinor = false;
  uint32_t minor = 0;
};
AppVersionNumbers ParseAppVersion(std::string_view version);

// The inputs of the uninstall entry, expanded where they have to be.
struct UninstallEntryInput {
  uint32_t options = 0;  // [Install] Options
  std::string displayName, setupShortPath, timestamp, appFolder, sourceFolder;
  std::string displayIcon, version, company;
  std::string webSite, email, telephone;  // as stored, not expanded
};

struct UninstallValue {
  std::string name;
  bool isDword = false;
  std::string text;
  uint32_t dword = 0;
  bool required = false;  // failing to write it fails the step
};

// The values in the order they are written.
std::vector<UninstallValue> UninstallEntryValues(const UninstallEntryInput& input);

// "QEX%08lX%08lX" of a UTC file time.
std::string RunOnceValueName(uint64_t fileTime);

// Splits "ROOT\path\leaf" into its root name, the parent path and the
// leaf; false when there is no root or no leaf below it.
bool SplitKeyPath(std::string_view path, std::string* root, std::string* parent,
                  std::string* leaf);

// Previous installations. upgradeLevel is the /U number (-1 without /U).
bool ShouldLookForPrevious(int upgradeLevel, bool findPreviousOption);
// A command made by this setup (" /remove" in it) runs quietly as an
// upgrade removal: " /q /u" is appended and *recognised set.
std::string PreviousUninstallCommand(const std::string& uninstallString, bool* recognised);
// Quiet runs go on only when /U is not 0 and either it is 2 or more or
// the command was recognised.
bool QuietRunRemovesPrevious(int upgradeLevel, bool recognised);

class Registry;
struct UninstallValue;

// Creates the key (ROOT\path, created with its parents) and writes the
// values in order. False when the key cannot be created or a required
// value cannot be written; other values that fail are skipped.
bool WriteUninstallEntry(Registry& registry, const std::string& keyPath,
                         const std::vector<UninstallValue>& values);
