// The Windows NT build: the system deletes scheduled entries at the next
// restart (a move with no target, delayed until reboot).
#ifdef KV_BUILD_NT
#include "kelvolite/app/main_form.h"
#include "kelvolite/privacy/clean_paths.h"
#include "kelvolite/privacy/deferred_delete.h"

bool DeleteFileNow(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool RemoveFolderNow(const std::string& path) {
  const std::string shortPath = ShortPath(path);
  return RemoveDirectoryA((shortPath.empty() ? path : shortPath).c_str()) != FALSE;
}

bool ScheduleAtRestart(TForm1& form, const std::string& path) {
  if (MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return true;
  NoteUnscheduled(form, path, GetLastError());
  return false;
}

bool TForm1::CleanFolder(const std::string& folder, const std::string& mask) {
  if (!IsSafeFolderToEmpty(folder)) return true;
  return DeleteMatching(folder, mask);
}

bool TForm1::CleanFile(const std::string& path) {
  if (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return true;
  return !ScheduleAtRestart(*this, path);
}
#endif
