#include "setup/engine/setup_engine.h"

#include "setup/engine/expand.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/path_clean.h"
#include "setup/engine/progress_sink.h"
#include "setup/engine/registry_access.h"
#include "setup/engine/script_open.h"
#include "setup/engine/script_text.h"
#include "setup/engine/shared_count.h"
#include "setup/engine/shortcut_item.h"
#include "setup/engine/uninstall_records.h"
#include "setup/app/setup_log.h"

namespace {
class NoProgress : public ProgressSink {
 public:
  void Add(uint32_t) override {}
  bool Poll() override { return false; }
  void SetRange(uint64_t) override {}
};
}  // namespace

// [Files] sections are the engine's; the rest go to the other readers,
// shortcuts once they have the Path they cannot do without.
class SetupEngine::FileReaders : public ScriptSectionReaders {
 public:
  explicit FileReaders(SetupEngine& engine) : engine_(engine) {}
  bool ReadFiles(ScriptSection& section, ScriptLoadFailure* failure) override {
    auto files = std::make_unique<FileSection>();
    if (!ReadFileSection(section, files.get(), failure)) return false;
    engine_.fileSections_.push_back(std::move(files));
    return true;
  }
  bool ReadShellLink(ScriptSection& s, ScriptLoadFailure* f) override {
    if (!CheckShortcutSection(s, f)) return false;
    return !engine_.otherReaders_ || engine_.otherReaders_->ReadShellLink(s, f);
  }
  bool ReadAction(ScriptSection& s, ScriptLoadFailure* f) override {
    return !engine_.otherReaders_ || engine_.otherReaders_->ReadAction(s, f);
  }

 private:
  SetupEngine& engine_;
};

SetupEngine::SetupEngine(uint32_t runningOsFlag, std::unique_ptr<SymbolLookups> lookups)
    : runningOsFlag_(runningOsFlag),
      lookups_(lookups ? std::move(lookups) : std::make_unique<NoSymbolLookups>()),
      symbols_(runningOsFlag),
      noProgress_(std::make_unique<NoProgress>()) {
  SetRegistry(nullptr);
}

SetupEngine::~SetupEngine() = default;

void SetupEngine::SetRegistry(Registry* registry) {
  registry_ = registry ? registry : &SystemRegistry();
  counts_ = std::make_unique<RegistrySharedCounts>(*registry_);
}

bool SetupEngine::LoadScript(const void* data, size_t size, const char* name,
                             ScriptLoadFailure* failure) {
  fileSections_.clear();
  FileReaders readers(*this);
  return FinishLoad(OpenScriptMemory(name, data, size, script_, symbols_, *lookups_, readers,
                                     localeInstalled_, &loaded_, failure),
                    failure);
}

bool SetupEngine::LoadScriptFile(const char* path, ScriptLoadFailure* failure) {
  fileSections_.clear();
  FileReaders readers(*this);
  return FinishLoad(OpenScriptFile(path, script_, symbols_, *lookups_, readers, localeInstalled_,
                                   &loaded_, failure),
                    failure);
}

bool SetupEngine::FinishLoad(bool ok, ScriptLoadFailure*) {
  if (!ok) fileSections_.clear();
  return ok;
}

void SetupEngine::StoreFiles() {
  for (auto& section : fileSections_) StoreFileSection(*section);
}

std::string SetupEngine::Expand(std::string_view text) {
  return ExpandSymbols(text, symbols_, *lookups_);
}

bool SetupEngine::OsMatches(uint32_t osFlags) { return OsFlagsMatch(osFlags, runningOsFlag_); }

bool SetupEngine::Is9xFamily() { return (runningOsFlag_ & osflags::kFamily9x) != 0; }

void SetupEngine::BeginRun() {
  if (state_ == kEngineIdle) state_ = kEngineRunning;
}

bool SetupEngine::StepFailed(ErrorClass errorClass) {
  if (!loaded_.install.Stops(errorClass)) return true;
  state_ = kEngineFailed;
  return false;
}

bool SetupEngine::StepCancelled() {
  state_ = kEngineCancelled;
  return false;
}

ProgressSink& SetupEngine::Progress() { return progress_ ? *progress_ : *noProgress_; }

int SetupEngine::ShowMessage(uint32_t stringId, const std::string& argument, MessageKind kind) {
  const int quietAnswer = kind == MessageKind::kNotice ? kAnswerOk : kAnswerCancel;
  if (quiet_ || !messages_) return quietAnswer;
  return messages_->Show(stringId, argument, EngineMessageText(stringId, argument), kind);
}

int32_t SetupEngine::CheckApplicability(FileItem& item, bool log) {
  if (item.status > 0) return item.status;
  item.status = kFileNotProcessed;
  const char* source = item.source.c_str();
  if (!OsMatches(item.osFlags)) {
    item.status = kFileOtherOs;
    if (log) SetupLog::Instance().Event(kEventOtherOs, {source});
  } else if (languageId_ != 0 && !LanguageListEmpty(item.languages) &&
             !LanguageListed(item.languages, languageId_)) {
    item.status = kFileOtherLanguage;
    if (log) SetupLog::Instance().Event(kEventOtherLanguage, {source});
  }
  return item.status;
}

uint64_t SetupEngine::RequiredSize() {
  uint64_t total = 0;
  for (auto& section : fileSections_) {
    for (auto& item : section->items) {
      const int32_t status = CheckApplicability(*item, false);
      if (status != kFileOtherOs && status != kFileOtherLanguage) total += item->size;
    }
  }
  return total;
}

bool SetupEngine::ResolveInstallDir(FileSection& section) {
  if (!section.dirExpanded) {
    section.expandedDir = CleanPath(Expand(section.installDir));
    while (section.expandedDir.size() > 3 && section.expandedDir.back() == '\\')
      section.expandedDir.pop_back();
    section.dirExpanded = !section.expandedDir.empty();
  }
  return section.dirExpanded;
}

bool SetupEngine::ResolveTarget(FileSection& section, FileItem& item) {
  item.expandedSource = Expand(item.source);
  if (!ResolveInstallDir(section)) return false;
  const std::string name(FileNamePart(item.expandedSource));
  if (name.empty()) return false;
  std::string dir = section.expandedDir;
  if (dir.back() != '\\') dir += '\\';
  std::string target = CleanPath(dir + name);
  // Cleaning turns wildcards into '_'; a delete line may use them.
  if (target.size() >= name.size()) {
    const size_t at = target.size() - name.size();
    for (size_t i = 0; i < name.size(); ++i) {
      if (name[i] == '*' || name[i] == '?') target[at + i] = name[i];
    }
  }
  item.target = target;
  item.temp = target + ".$$$";
  return true;
}

void SetupEngine::RecordFolder(const std::string& folder) {
  for (const auto& f : createdFolders_) {
    if (f.size() == folder.size() && scripttext::EqualsNoCase(f, folder)) return;
  }
  createdFolders_.push_back(folder);
  RecordUninstallDir(script_, folder);
}
