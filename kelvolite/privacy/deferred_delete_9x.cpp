// The Windows 9x build: scheduled entries become "nul=<short path>" lines in
// the [rename] section of wininit.ini, which Windows carries out at its next
// start. The file is rewritten from a temporary copy with the run-time
// library's text streams.
#ifndef KV_BUILD_NT
#include <cstring>

#include "kelvolite/app/main_form.h"
#include "kelvolite/controls/message_box.h"
#include "kelvolite/controls/system_error.h"
#include "kelvolite/privacy/clean_paths.h"
#include "kelvolite/privacy/deferred_delete.h"

namespace {

const char kCannotOpen[] = "The application could not open\nthe file wininit.ini";

// A line as wininit.ini holds it: "[rename]" in any letter case.
bool IsRenameHeader(const char* line) {
  std::string text = line;
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return lstrcmpiA(text.c_str(), "[rename]") == 0;
}

// The temporary copy, removed however CleanFolder ends.
struct TemporaryCopy {
  std::string path;
  ~TemporaryCopy() {
    if (!path.empty()) DeleteFileA(path.c_str());
  }
};

}  // namespace

bool DeleteFileNow(const std::string& path) {
  const std::string shortPath = ShortPath(path);
  return DeleteFileA((shortPath.empty() ? path : shortPath).c_str()) != FALSE;
}

bool RemoveFolderNow(const std::string& path) {
  const std::string shortPath = ShortPath(path);
  return RemoveDirectoryA((shortPath.empty() ? path : shortPath).c_str()) != FALSE;
}

bool ScheduleAtRestart(TForm1& form, const std::string& path) {
  const std::string shortPath = ShortPath(path);
  if (shortPath.empty() || !form.FWininit) {
    NoteUnscheduled(form, path, shortPath.empty() ? GetLastError() : ERROR_GEN_FAILURE);
    return false;
  }
  if (std::fprintf(form.FWininit, "nul=%s\n", shortPath.c_str()) < 0) {
    NoteUnscheduled(form, path, ERROR_WRITE_FAULT);
    return false;
  }
  return true;
}

bool TForm1::CleanFolder(const std::string& folder, const std::string& mask) {
  if (!IsSafeFolderToEmpty(folder)) return true;
  bool result = true;
  TemporaryCopy copy;
  char tempFolder[MAX_PATH], copyName[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, tempFolder);
  if (n > 0 && n < MAX_PATH && GetTempFileNameA(tempFolder, "KVW", 0, copyName)) copy.path = copyName;
  const std::string wininit = WindowsFolder() + "\\wininit.ini";

  if (GetFileAttributesA(wininit.c_str()) == INVALID_FILE_ATTRIBUTES) {
    FWininit = std::fopen(wininit.c_str(), "wt");
    if (!FWininit) {
      ShowMessageBox(this, kCannotOpen, "Error", mbkOk);
      return true;
    }
    std::fputs("[rename]\n", FWininit);
    result = DeleteMatching(folder, mask);
    std::fclose(FWininit);
    FWininit = nullptr;
    return result;
  }

  if (copy.path.empty() || !CopyFileA(wininit.c_str(), copy.path.c_str(), FALSE)) {
    ShowSystemError(GetLastError());
    return true;
  }
  // The copy is opened first: wininit.ini is emptied only once its old
  // content can be read back.
  FWininitCopy = std::fopen(copy.path.c_str(), "rt");
  if (FWininitCopy) FWininit = std::fopen(wininit.c_str(), "wt");
  if (!FWininitCopy || !FWininit) {
    if (FWininitCopy) std::fclose(FWininitCopy);
    FWininitCopy = nullptr;
    ShowMessageBox(this, kCannotOpen, "Error", mbkOk);
    return true;
  }
  FWininitCopyPath = copy.path;

  bool headerFound = false, atLineStart = true;
  char piece[101];  // lines are copied in pieces of up to 100 characters
  while (std::fgets(piece, sizeof piece, FWininitCopy)) {
    const size_t length = std::strlen(piece);
    bool complete = length > 0 && piece[length - 1] == '\n';
    std::fputs(piece, FWininit);
    if (!complete) {
      const int next = std::fgetc(FWininitCopy);
      if (next == EOF) {
        // The old file's last line had no line end: it gets one.
        std::fputc('\n', FWininit);
        complete = true;
      } else {
        std::ungetc(next, FWininitCopy);
      }
    }
    if (atLineStart && complete && IsRenameHeader(piece)) {
      headerFound = true;
      result = DeleteMatching(folder, mask);
    }
    atLineStart = complete;
  }
  if (!headerFound) {
    std::fputs("[rename]\n", FWininit);
    result = DeleteMatching(folder, mask);
  }

  const bool written = !std::ferror(FWininit);
  const bool closed = std::fclose(FWininit) == 0;
  std::fclose(FWininitCopy);
  FWininit = FWininitCopy = nullptr;
  FWininitCopyPath.clear();
  if (!written || !closed) {
    // A full disk must not cost the old entries: put the old file back and
    // keep the copy should even that fail.
    if (!CopyFileA(copy.path.c_str(), wininit.c_str(), FALSE)) copy.path.clear();
    ShowSystemError(ERROR_WRITE_FAULT);
    return true;
  }
  return result;
}
#endif
