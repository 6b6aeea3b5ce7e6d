// DeleteMatching: deletes what matches a mask in a folder, sub-folders with
// all they hold, and schedules what cannot go now.
#include "kelvolite/privacy/deferred_delete.h"

#include "kelvolite/app/main_form.h"
#include "kelvolite/forms/win_handle.h"
#include "kelvolite/privacy/clean_paths.h"

bool TForm1::DeleteMatching(const std::string& folder, const std::string& mask) {
  bool result = true;
  WIN32_FIND_DATAA found;
  TFindHandle search(FindFirstFileA(JoinPath(folder, mask).c_str(), &found));
  if (!search.Valid()) return true;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = JoinPath(folder, name);
#ifndef KV_BUILD_NT
    // Our own copy of wininit.ini, open while we run; removed after use.
    if (!FWininitCopyPath.empty() && lstrcmpiA(path.c_str(), FWininitCopyPath.c_str()) == 0) continue;
#endif
    bool gone;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A junction or symbolic link leads out of this folder: only the link
      // itself is removed, never what it points to.
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) DeleteMatching(path, "*.*");
      gone = RemoveFolderNow(path);
    } else {
      gone = DeleteFileNow(path);
    }
    if (!gone && ScheduleAtRestart(*this, path)) result = false;
  } while (FindNextFileA(search.Get(), &found));
  return result;
}

void NoteUnscheduled(TForm1& form, const std::string& path, unsigned long error) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  if (form.FUnscheduledError == 0) form.FUnscheduledError = error ? error : ERROR_GEN_FAILURE;
}
