// Installing the [Files] lines: decide, extract or copy through the
// temporary name, move into place (Retry/Cancel for files in use), record.
#include <windows.h>

#include <cstdio>

#include "setup/app/setup_log.h"
#include "setup/engine/archive.h"
#include "setup/engine/file_protection.h"
#include "setup/engine/file_record.h"
#include "setup/engine/file_replace.h"
#include "setup/engine/os_file.h"
#include "setup/engine/progress_sink.h"
#include "setup/engine/replace_at_restart.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shared_count.h"

#define KV_SOURCE_ID 7301

namespace {

void Log(uint32_t code, std::initializer_list<const char*> args) {
  SetupLog::Instance().Event(code, args);
}

bool IsAbsolute(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

// Errors that mean "the file is in use": access denied, sharing and lock
// violations, already exists.
bool InUseError(DWORD e) { return e == 5 || e == 32 || e == 33 || e == 183; }

}  // namespace

bool SetupEngine::FailedLine(FileItem& item, bool messageShown) {
  if (!messageShown) ShowMessage(kStrFileFailed, item.source, MessageKind::kNotice);
  return StepFailed(kErrorClassFiles);
}

bool SetupEngine::InstallFiles() {
  BeginRun();
  for (auto& section : fileSections_) {
    for (auto& owned : section->items) {
      FileItem& item = *owned;
      const int32_t status = InstallFile(*section, item);
      // This line and the section's own values only: storing every line
      // after each file would make a large section quadratic.
      StoreFileItem(item);
      StoreFileSectionValues(*section);
      if (status == kFileSourceMissing || status == kFileFailed) {
        // A folder failure has already been shown with its own string.
        return FailedLine(item, lineMessageShown_);
      }
      if (status == kFileInUse) pending_.push_back(&item);
      if (Progress().Poll()) return StepCancelled();
    }
  }
  return true;
}

void SetupEngine::SkipSourceBody(FileItem& item) {
  if (archive_) {
    // An empty body has nothing to skip (SkipBody reports it as false).
    if (item.sourceRecord.size > 0) archive_->SkipBody(item.sourceRecord, nullptr, &Progress());
  } else {
    Progress().Add(item.size);
  }
}

void SetupEngine::IncrementShared(FileItem& item) {
  if (item.IsShared()) counts_->Increment(item.target);
}

int32_t SetupEngine::InstallFile(FileSection& section, FileItem& item) {
  lineMessageShown_ = false;
  const std::string written = item.source;
  const char* source = written.c_str();
  if (!ResolveTarget(section, item)) {
    Log(kEventFolderFailed, {source});
    return item.status = kFileFailed;
  }

  if (!(item.flags & kFileInstall)) {
    if (!(item.flags & kFileDeleteAtInstall)) {
      Log(kEventNoInstallFlag, {source});
      return item.status = kFileNotInstalled;
    }
    Log(kEventDeleteAtInstall, {source});
    uint32_t remaining = 0;
    if (item.IsShared()) counts_->Decrement(item.target, &remaining);
    if (remaining > 0) return item.status = kFileNotInstalled;
    UnregisterFile(item);
    DeleteInstalledFile(item);
    return item.status = kFileOtherOs;
  }

  const int32_t applies = CheckApplicability(item, true);

  // The source: the archive entry by the name as written, or a file
  // relative to the script's folder.
  std::string sourcePath;
  if (archive_) {
    if (!archive_->Find(source, &item.sourceRecord, nullptr, &Progress())) {
      item.sourceRecord = NoFileRecord();
      Log(kEventSourceMissing, {source});
      return item.status = kFileSourceMissing;
    }
  } else {
    sourcePath = IsAbsolute(item.expandedSource) ? item.expandedSource
                                                 : sourceFolder_ + "\\" + item.expandedSource;
    if (!ReadFileRecord(sourcePath.c_str(), &item.sourceRecord)) {
      Log(kEventSourceMissing, {source});
      return item.status = kFileSourceMissing;
    }
  }

  if (applies != kFileNotProcessed) {
    SkipSourceBody(item);
    return item.status = applies;
  }

  // Once per section: walking the path again for every file costs a
  // look-up per folder level and finds nothing new.
  if (!section.dirCreated && !CreateFolders(section.expandedDir)) {
    ShowMessage(kStrFolderFailed, section.expandedDir, MessageKind::kNotice);
    lineMessageShown_ = true;
    Log(kEventFolderFailed, {source});
    return item.status = kFileFailed;
  }
  section.dirCreated = true;

  ReadFileRecord(item.target.c_str(), &item.targetRecord);
  const ReplaceDecision decision = DecideReplace(item.replaceRule, item.sourceRecord, item.targetRecord);
  if (decision.event) Log(decision.event, {source});
  if (decision.compared) {
    LogFileRecord("Src", item.sourceRecord);
    LogFileRecord("Tgt", item.targetRecord);
  }
  if (decision.status == kFileKept) {
    SkipSourceBody(item);
    item.status = kFileKept;
    IncrementShared(item);
    return item.status;
  }

  if (IsFileProtected(item.target)) {
    Log(kEventProtected, {source, item.target.c_str()});
    SkipSourceBody(item);
    item.status = kFileProtected;
    IncrementShared(item);
    return item.status;
  }

  osfile::ForceDelete(item.temp.c_str());
  bool copied;
  if (archive_) {
    copied = archive_->Extract(item.sourceRecord, item.temp.c_str(), nullptr, &Progress());
  } else {
    copied = CopyFileA(sourcePath.c_str(), item.temp.c_str(), FALSE) != FALSE;
    if (copied) Progress().Add(item.sourceRecord.size);
    else osfile::ForceDelete(item.temp.c_str());
  }
  if (!copied) {
    Log(archive_ ? kEventExtractFailed : kEventCopyFailed, {source, item.temp.c_str()});
    return item.status = kFileFailed;
  }

  if (!MoveIntoPlace(item)) return item.status;

  SetFileAttributesA(item.target.c_str(), item.attributes ? item.attributes : FILE_ATTRIBUTE_NORMAL);
  Log(kEventInstalled, {source, item.target.c_str()});
  CleanHelpFiles(item.target);
  item.status = decision.status;
  if (item.flags & kFileNeedsRestart) SetRestartNeeded();
  ++section.filesInstalled;
  IncrementShared(item);
  return item.status;
}

// Force-deletes the target and renames the temporary file onto it. False
// with the item's status set when that could not be done now.
bool SetupEngine::MoveIntoPlace(FileItem& item) {
  for (;;) {
    DWORD error = 0;
    if (!osfile::ForceDelete(item.target.c_str()))
      error = GetLastError();
    else if (!MoveFileA(item.temp.c_str(), item.target.c_str()))
      error = GetLastError();
    if (error == 0) return true;
    char number[16];
    std::snprintf(number, sizeof(number), "%lu", static_cast<unsigned long>(error));
    Log(kEventMoveFailed, {item.source.c_str(), item.temp.c_str(), item.target.c_str(), number});
    if (!InUseError(error)) {
      osfile::ForceDelete(item.temp.c_str());
      item.status = kFileFailed;
      return false;
    }
    if (ShowMessage(kStrFileInUse, item.target, MessageKind::kRetryCancel) == kAnswerRetry) continue;
    // The new file waits under the temporary name for the restart.
    CleanHelpFiles(item.target);
    item.status = kFileInUse;
    return false;
  }
}

void SetupEngine::FinishPendingReplacements() {
  uint64_t total = 0;
  for (auto& section : fileSections_)
    for (auto& item : section->items) total += item->size;
  for (FileItem* item : pending_) {
    if (ReplaceAtRestart(item->temp.c_str(), item->target.c_str())) {
      Log(kEventReplaceScheduled, {item->source.c_str(), item->target.c_str()});
      SetRestartNeeded();
      item->status = kFileReplaced;
      IncrementShared(*item);
      StoreFileItem(*item);
    } else {
      KV_TRACE(kError, "cannot schedule %s for restart", item->target.c_str());
    }
    if (total) Progress().Add(static_cast<uint32_t>(uint64_t(item->size) * 800 / total));
  }
  pending_.clear();
}

bool SetupEngine::CreateFolders(const std::string& path) {
  if (path.empty()) return false;
  // Skip the root: "C:\" or "\\server\share\".
  size_t start = 0;
  if (path.size() >= 2 && path[1] == ':') {
    start = path.size() > 2 && path[2] == '\\' ? 3 : 2;
  } else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t server = path.find('\\', 2);
    const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    if (share == std::string::npos) return true;
    start = share + 1;
  }
  const bool recordAll = loaded_.install.Has(kOptRecordAllDirs);
  size_t at = start;
  while (at <= path.size()) {
    size_t next = path.find('\\', at);
    if (next == std::string::npos) next = path.size();
    if (next > at) {
      const std::string folder = path.substr(0, next);
      const DWORD a = GetFileAttributesA(folder.c_str());
      if (a == INVALID_FILE_ATTRIBUTES) {
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
          return false;
        RecordFolder(folder);
      } else if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
      } else if (recordAll) {
        RecordFolder(folder);
      }
    }
    at = next + 1;
  }
  return true;
}
