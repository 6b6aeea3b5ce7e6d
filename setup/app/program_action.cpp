#include "setup/app/program_action.h"

#include "setup/app/program_launch.h"
#include "setup/engine/file_item.h"
#include "setup/engine/file_section.h"
#include "setup/engine/path_clean.h"
#include "setup/engine/script.h"
#include "setup/engine/script_text.h"
#include "setup/engine/setup_engine.h"

bool ParseActionOptions(std::string_view text, ProgramAction* action) {
  const auto fields = scripttext::SplitFields(text);
  if (fields.size() < 4) return false;
  action->showCommand = scripttext::ParseUInt(fields[0]) & 0xFFFF;
  action->osFlags = scripttext::ParseUInt(fields[1]);
  action->phaseAndFlags = scripttext::ParseUInt(fields[2]);
  action->timeout = scripttext::ParseUInt(fields[3]);
  return true;
}

ProgramActions::ProgramActions(SetupEngine& engine, ProgramLauncher* launcher)
    : engine_(engine), launcher_(launcher) {}

bool ProgramActions::ReadAction(ScriptSection& section, ScriptLoadFailure* failure) {
  ProgramAction action;
  action.section = &section;
  action.title = section.GetText("Title");
  action.path = section.GetText("Path");
  action.workDir = section.GetText("WorkDir");
  action.arguments = section.GetText("Arguments");
  action.prompt = section.GetText("Prompt");
  const std::string options = section.GetText("Options");
  if (!ParseActionOptions(options, &action)) {
    if (failure) {
      const ScriptItem* item = section.Find("Options");
      failure->line = item ? item->line : section.line;
      failure->detail = "[Action] Options needs four fields: \"" + options + "\"";
    }
    return false;
  }
  actions_.push_back(std::move(action));
  return true;
}

bool ProgramActions::Applies(const ProgramAction& action, uint32_t phase) const {
  return action.Phase() == (phase & kActionPhaseMask) && !action.path.empty() &&
         engine_.OsMatches(action.osFlags);
}

bool ProgramActions::HasActions(uint32_t phase) const {
  for (const auto& action : actions_) {
    if (Applies(action, phase)) return true;
  }
  return false;
}

bool ProgramActions::RunPhase(uint32_t phase) {
  for (auto& action : actions_) {
    if (!Applies(action, phase)) continue;
    if (status_) status_(engine_.Expand(action.title));
    const bool ran = RunAction(action);
    // Asked for even when the start failed: the program may have been
    // meant to replace something that only a restart frees.
    if (action.Has(kActionRestart)) engine_.SetRestartNeeded();
    if (!ran && action.Has(kActionStopOnFailure)) return false;
  }
  return true;
}

bool ProgramActions::RunSetupEndActions() {
  if (engine_.State() != kEngineDone || engine_.RestartNeeded()) return true;
  return RunPhase(kPhaseSetupEnd);
}

bool ProgramActions::FindInstalledFile(const std::string& path, std::string* target,
                                       int32_t* status) {
  for (auto& section : engine_.FileSections()) {
    for (auto& item : section->items) {
      if (!item->target.empty() && scripttext::EqualsNoCase(item->target, path)) {
        *target = item->target;
        *status = item->status;
        return true;
      }
    }
  }
  return false;
}

namespace {
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return {};
  // "C:\" keeps its backslash: "C:" alone is the drive's current folder.
  if (slash == 2 && path.size() > 1 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, slash);
}
}  // namespace

bool ProgramActions::PrepareAction(ProgramAction& action, ProgramLaunch* launch) {
  if (engine_.Quiet() && action.Has(kActionSkipQuiet)) return false;

  std::string path = engine_.Expand(action.path);
  std::string installed;
  int32_t status = 0;
  if (FindInstalledFile(path, &installed, &status)) {
    if (status == 0 || (status < 0 && status != kFileInUse)) return false;
    path = installed;
  } else {
    path = CleanPath(path);
  }
  std::string workDir = action.workDir.empty() ? FolderOf(path)
                                               : CleanPath(engine_.Expand(action.workDir));
  std::string arguments = action.arguments.empty() ? std::string() : engine_.Expand(action.arguments);

  if (action.section) {
    action.section->SetText("Path", path);
    action.section->SetText("WorkDir", workDir);
    action.section->SetText("Arguments", arguments);
    engine_.SetScriptChanged();
  }

  if (action.Has(kActionAsk) && !action.prompt.empty() && !engine_.Quiet()) {
    const std::string question = engine_.Expand(action.prompt);
    if (engine_.ShowMessage(kStrScriptText, question, MessageKind::kYesNo) != kAnswerYes)
      return false;
  }

  launch->path = std::move(path);
  launch->workDir = std::move(workDir);
  launch->arguments = std::move(arguments);
  launch->showCommand = action.showCommand;
  launch->flags = action.phaseAndFlags & ~kActionPhaseMask;
  launch->timeout = action.timeout;
  return true;
}

bool ProgramActions::RunAction(ProgramAction& action) {
  ProgramLaunch launch;
  if (!PrepareAction(action, &launch)) return true;
  return launcher_ && launcher_->Run(launch);
}
