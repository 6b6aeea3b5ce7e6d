// [Action] sections: programs the script runs at fixed phases of an
// installation or removal. Each section is one ProgramAction, kept in
// script order; preparing one expands and cleans its paths and writes
// them back into the section, so the installed script records what ran.
// Starting and waiting for the program is ProgramLauncher's job.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/script_load.h"

class ProgramLauncher;
class ScriptSection;
class SetupEngine;

// The third Options field: the phase in bits 16 to 23, flags above it.
enum ActionFlag : uint32_t {
  kActionWait = 0x02000000,
  kActionRestart = 0x04000000,
  kActionShellExecute = 0x08000000,
  kActionStopOnFailure = 0x10000000,
  kActionAsk = 0x20000000,
  kActionSkipQuiet = 0x40000000,
  kActionHideWindow = 0x80000000,
};
constexpr uint32_t kActionPhaseMask = 0x00FF0000;

// Phases the installation records do not name already (uninstall_records.h).
enum : uint32_t {
  kPhaseAfterFiles = 0x10000,
  kPhaseAfterRegisterFiles = 0x20000,
  kPhaseAfterSettings = 0x40000,
  kPhaseSetupEnd = 0x60000,
};

struct ProgramAction {
  ScriptSection* section = nullptr;
  std::string title, path, workDir, arguments, prompt;  // as written
  uint32_t showCommand = 0;  // low 16 bits of the first field
  uint32_t osFlags = 0;
  uint32_t phaseAndFlags = 0;
  uint32_t timeout = 0;  // milliseconds

  uint32_t Phase() const { return phaseAndFlags & kActionPhaseMask; }
  bool Has(ActionFlag flag) const { return (phaseAndFlags & flag) != 0; }
};

// show|osflags|phase and flags|timeout; false for fewer than four fields.
bool ParseActionOptions(std::string_view text, ProgramAction* action);

// What one prepared action runs.
struct ProgramLaunch {
  std::string path, arguments, workDir;
  uint32_t showCommand = 0;
  uint32_t flags = 0;
  uint32_t timeout = 0;
};

class ProgramActions : public ScriptSectionReaders {
 public:
  // launcher may be null: every start then fails.
  ProgramActions(SetupEngine& engine, ProgramLauncher* launcher);

  // Reads one [Action] section (the loader has checked its Title).
  // Call Clear() before the engine loads another script.
  bool ReadAction(ScriptSection& section, ScriptLoadFailure* failure) override;
  void Clear() { actions_.clear(); }
  std::vector<ProgramAction>& Actions() { return actions_; }

  // The progress status line for each action's title.
  void SetStatusText(std::function<void(const std::string&)> show) { status_ = std::move(show); }

  // An action of the phase would run on this system.
  bool HasActions(uint32_t phase) const;
  // Runs the phase's actions in script order; false when one that must
  // not fail (kActionStopOnFailure) could not be started.
  bool RunPhase(uint32_t phase);
  // Phase 0x60000 when setup ends: only after an installation that
  // completed and needs no restart.
  bool RunSetupEndActions();
  // One action: true when it ran or was rightly skipped.
  bool RunAction(ProgramAction& action);

  // Expands and cleans an action's paths, writes them back into its
  // section, and fills in what to start. False when there is nothing to
  // run (quiet skip, a file that was not installed, a No to the prompt).
  bool PrepareAction(ProgramAction& action, ProgramLaunch* launch);

 private:
  bool Applies(const ProgramAction& action, uint32_t phase) const;
  // The installed path of a File= line equal to path (no case), with the
  // line's status; false when no line has it.
  bool FindInstalledFile(const std::string& path, std::string* target, int32_t* status);

  SetupEngine& engine_;
  ProgramLauncher* launcher_;
  std::function<void(const std::string&)> status_;
  std::vector<ProgramAction> actions_;
};
