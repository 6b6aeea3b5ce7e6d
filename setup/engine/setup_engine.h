// SetupEngine: the one engine object of a run. It owns the parsed script,
// its symbols and the run state, knows where file bodies come from (the
// archive or the script's folder), reports to a ProgressSink and asks the
// user through EngineMessages. Each step walks the script's own objects
// and writes their results back into their lines, so the saved script is
// the record that removal (or a rollback) reads.
//
// The core (this file, setup_engine.cpp) is portable; the steps that touch
// the system live in one file per area:
//   file_install_win.cpp   InstallFiles, InstallFile, FinishPendingReplacements
//   file_register_win.cpp  RegisterFiles, UnregisterFiles
//   file_remove_win.cpp    RemoveFiles, DeleteInstalledFile, help clean-up
//   setup_engine_win.cpp   the running system's engine, folders, run-time symbols
// Later areas (uninstall records, shortcuts, actions) add their own files
// and reach the shared state through the accessors below.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/file_section.h"
#include "setup/engine/install_options.h"
#include "setup/engine/regscript_context.h"
#include "setup/engine/script.h"
#include "setup/engine/script_load.h"
#include "setup/engine/setup_engine_messages.h"
#include "setup/engine/symbol.h"

class EngineMessages;
class ProgressSink;
class Registry;
class SetupArchive;
class SharedCounts;
class SymbolLookups;

enum EngineState : int {
  kEngineIdle = 0,
  kEngineRunning = 1,
  kEngineDone = 2,
  kEngineFailed = 3,
  kEngineCancelled = 4,
};

// Event codes of the file steps (the decision's own are in file_replace.h
// and file_remove_decision.h).
enum : uint32_t {
  kEventFolderFailed = 0x04010007,
  kEventNoInstallFlag = 0x02010008,
  kEventOtherLanguage = 0x02010009,
  kEventSourceMissing = 0x0401000A,
  kEventMoveFailed = 0x0401000B,
  kEventInstalled = 0x0201000C,
  kEventReplaceScheduled = 0x0201000D,
  kEventDeleting = 0x02010011,
  kEventWildcardTarget = 0x01010012,
  kEventWildcardDeleted = 0x02010013,
  kEventDeleteFailed = 0x04010014,
  kEventRegistrationsDeferred = 0x02010023,
  kEventExtractFailed = 0x04010032,
  kEventCopyFailed = 0x04010033,
  kEventHelpFilesDeleted = 0x02010036,
  kEventOtherOs = 0x02010038,
  kEventProtected = 0x03010039,
  kEventDeleteAtInstall = 0x0201003A,
};

class SetupEngine : public SettingsContext {
 public:
  // lookups answer <%env>, <@registry> and <#ini> references.
  SetupEngine(uint32_t runningOsFlag, std::unique_ptr<SymbolLookups> lookups);
  ~SetupEngine() override;
  SetupEngine(const SetupEngine&) = delete;
  SetupEngine& operator=(const SetupEngine&) = delete;

  // Windows builds: an engine for the running system (its OS flag, system
  // look-ups and locale test).
  static std::unique_ptr<SetupEngine> ForRunningSystem();

  // ---- Script
  // Parses and applies the script rules; the [Files] sections are read
  // here, [ShellLink] and [Action] go to `others` (set before loading).
  bool LoadScript(const void* data, size_t size, const char* name, ScriptLoadFailure* failure);
  bool LoadScriptFile(const char* path, ScriptLoadFailure* failure);
  void SetSectionReaders(ScriptSectionReaders* others) { otherReaders_ = others; }
  void SetLocaleTest(std::function<bool(uint16_t)> installed) { localeInstalled_ = std::move(installed); }
  SetupScript& Script() { return script_; }
  SymbolTable& Symbols() { return symbols_; }
  const LoadedScript& Loaded() const { return loaded_; }
  const InstallSettings& Install() const { return loaded_.install; }
  // The administrator check drops the uninstall entry when the key is not writable.
  void ClearInstallOption(InstallOption bit) { loaded_.install.options &= ~uint32_t(bit); }
  // Writes every file line (and InstallDir) back into the script.
  void StoreFiles();
  // Windows builds: sets the run-time symbols of the running system.
  bool SetRuntimeSymbols();
  const std::string& DefaultAppFolder() const { return defaultAppFolder_; }
  // A step rewrote script lines: the installed copy has to be saved.
  void SetScriptChanged() { scriptChanged_ = true; }
  bool ScriptChanged() const { return scriptChanged_; }

  // SettingsContext: expansion and OS tests for every step.
  std::string Expand(std::string_view text) override;
  bool OsMatches(uint32_t osFlags) override;
  bool Is9xFamily() override;
  uint32_t RunningOsFlag() const { return runningOsFlag_; }

  // ---- Run state
  int State() const { return state_; }
  void SetState(int state) { state_ = state; }
  // Idle becomes running; later states stay.
  void BeginRun();
  bool RestartNeeded() const { return restartNeeded_; }
  void SetRestartNeeded() { restartNeeded_ = true; }
  // The user chose to restart later.
  void ClearRestartNeeded() { restartNeeded_ = false; }
  // Something (an extension DLL) asked for a registration run after the
  // restart: the installation's last step writes the RunOnce entry.
  bool RegistrationRunNeeded() const { return registrationRunNeeded_; }
  void SetRegistrationRunNeeded() { restartNeeded_ = registrationRunNeeded_ = true; }
  // A step failed with an error of this class: false (and the failed
  // state) when [Install] Ignore does not cover it, true when the run
  // goes on with its next step.
  bool StepFailed(ErrorClass errorClass);
  // The user cancelled: the cancelled state; always false.
  bool StepCancelled();

  // ---- Where things come from and go to
  // File bodies from this archive, positioned before the first file entry
  // (the caller keeps it open); or from files relative to this folder.
  void SetArchive(SetupArchive* archive) { archive_ = archive; }
  void SetSourceFolder(std::string folder) { sourceFolder_ = std::move(folder); }
  SetupArchive* Archive() const { return archive_; }
  const std::string& SourceFolder() const { return sourceFolder_; }
  void SetProgress(ProgressSink* progress) { progress_ = progress; }
  ProgressSink& Progress();
  // Default: the system registry.
  void SetRegistry(Registry* registry);
  Registry& Reg() { return *registry_; }
  SharedCounts& Counts() { return *counts_; }

  // ---- User
  // Quiet: user-facing strings are suppressed.
  void SetQuiet(bool quiet) { quiet_ = quiet; }
  bool Quiet() const { return quiet_; }
  void SetMessages(EngineMessages* messages) { messages_ = messages; }
  // Shows a string unless quiet; a quiet run (or no interface) answers
  // Cancel to questions and OK to notices.
  int ShowMessage(uint32_t stringId, const std::string& argument, MessageKind kind);
  // The selected user-interface language (0: none chosen).
  void SetLanguageId(uint16_t id) { languageId_ = id; }
  uint16_t LanguageId() const { return languageId_; }
  // A removal on behalf of an upgrade (/U): undeletable files are not
  // scheduled for deletion at restart.
  void SetUpgradeRemoval(bool on) { upgradeRemoval_ = on; }
  bool UpgradeRemoval() const { return upgradeRemoval_; }

  // ---- Files
  std::vector<std::unique_ptr<FileSection>>& FileSections() { return fileSections_; }
  // Lines whose target was in use (status -2), for FinishPendingReplacements.
  const std::vector<FileItem*>& PendingReplacements() const { return pending_; }
  // Files the removal could not delete (string 132 lists them).
  const std::vector<std::string>& UnremovedFiles() const { return unremoved_; }
  // Folders the installation created, parents first ([UninstallDirs]).
  const std::vector<std::string>& CreatedFolders() const { return createdFolders_; }
  // A font was registered: broadcast WM_FONTCHANGE at the end.
  bool FontsChanged() const { return fontsChanged_; }

  // The applicability of a line that is not yet installed (status not
  // positive): 0, -4 (other OS) or -5 (other language); logged when asked.
  int32_t CheckApplicability(FileItem& item, bool log);
  // Sum of the sizes of the lines that apply here.
  uint64_t RequiredSize();
  // The section's target folder, expanded and cleaned once; false when it
  // expands to nothing.
  bool ResolveInstallDir(FileSection& section);
  // Fills in the item's expanded source, target and temporary path.
  bool ResolveTarget(FileSection& section, FileItem& item);

  // ---- File steps (Windows builds)
  // Installs every line in order; ends at the first failed line (status
  // -1 or -3, string 140) or on cancel. True when the run goes on.
  bool InstallFiles();
  // One line: the status it ends with (also stored in the item).
  int32_t InstallFile(FileSection& section, FileItem& item);
  // Schedules every pending line at restart: status 2, restart needed.
  void FinishPendingReplacements();
  // Registry groups and registration types of installed lines (types are
  // left for the run after a restart while replacements are pending).
  bool RegisterFiles();
  // Removal: undoes the registrations of the lines that will be removed.
  void UnregisterFiles();
  // Removal: deletes what the lines say may go, and left-over temporaries.
  void RemoveFiles();
  // Deletes an installed target (wildcards too); failures are scheduled
  // for restart unless this is an upgrade's removal.
  bool DeleteInstalledFile(FileItem& item);
  // Creates a folder with its missing parents, recording them.
  bool CreateFolders(const std::string& path);
  // Registration of one line (true: success or nothing to do).
  bool RegisterFile(FileItem& item);
  void UnregisterFile(FileItem& item);
  // Deletes the help index side files of a .hlp or .cnt target.
  void CleanHelpFiles(const std::string& target);

 private:
  class FileReaders;
  bool FinishLoad(bool ok, ScriptLoadFailure* failure);
  void SkipSourceBody(FileItem& item);
  bool MoveIntoPlace(FileItem& item);
  void IncrementShared(FileItem& item);
  bool FailedLine(FileItem& item, bool messageShown);
  void RecordFolder(const std::string& folder);

  uint32_t runningOsFlag_;
  std::unique_ptr<SymbolLookups> lookups_;
  SetupScript script_;
  SymbolTable symbols_;
  LoadedScript loaded_;
  ScriptSectionReaders* otherReaders_ = nullptr;
  std::function<bool(uint16_t)> localeInstalled_;
  std::string defaultAppFolder_;

  int state_ = kEngineIdle;
  bool restartNeeded_ = false;
  bool registrationRunNeeded_ = false;
  bool scriptChanged_ = false;
  bool quiet_ = false;
  bool upgradeRemoval_ = false;
  bool fontsChanged_ = false;
  bool lineMessageShown_ = false;
  uint16_t languageId_ = 0;

  SetupArchive* archive_ = nullptr;
  std::string sourceFolder_;
  ProgressSink* progress_ = nullptr;
  std::unique_ptr<ProgressSink> noProgress_;
  Registry* registry_ = nullptr;
  std::unique_ptr<SharedCounts> counts_;
  EngineMessages* messages_ = nullptr;

  std::vector<std::unique_ptr<FileSection>> fileSections_;
  std::vector<FileItem*> pending_;
  std::vector<std::string> unremoved_;
  std::vector<std::string> createdFolders_;
};
