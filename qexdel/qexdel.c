/* _QexDel: setup's self-delete helper. setup writes it to the temporary
 * folder and starts it, suspended and at idle priority, as its very last
 * act; the helper then deletes what setup could not delete while it ran
 * (its own Setup.exe, the installed script, the emptied folders).
 *
 * Its list is its own environment block: NUL-terminated strings ending with
 * an empty one, each "F<path>" (a file) or "D<path>" (a folder). A finished
 * entry has its letter overwritten with 'X'; entries are tried in block
 * order, so a folder that still holds files (or files still in use) simply
 * waits for a later pass.
 *
 * Exit code 0 when every entry is gone, 1 otherwise.
 *
 * No C run-time: the program must stay 2048 bytes and import nothing but
 * the nine KERNEL32 functions it calls, so that it runs on every Windows
 * from 95 on and can be carried inside setup as a resource. */
#include <windows.h>

/* The helper's two tunables. */
enum { kPassCount = 10, kPassPauseMs = 1000 };

#define KV_CLEARED_ATTRIBUTES \
  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)

/* One entry: true when the file or folder is gone (removed now, or already
 * missing); false when it has to wait for the next pass. */
static BOOL RemoveEntry(char kind, const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & KV_CLEARED_ATTRIBUTES) {
      DWORD cleared = attributes & ~(DWORD)KV_CLEARED_ATTRIBUTES;
      SetFileAttributesA(path, cleared ? cleared : FILE_ATTRIBUTE_NORMAL);
    }
    if (kind == 'D' ? RemoveDirectoryA(path) : DeleteFileA(path))
      return TRUE;
  }
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

/* One pass over the block: true when nothing is left. */
static BOOL RunPass(char* block) {
  BOOL complete = TRUE;
  for (char* entry = block; *entry; entry += lstrlenA(entry) + 1) {
    if (*entry != 'D' && *entry != 'F')
      continue;
    if (RemoveEntry(*entry, entry + 1))
      *entry = 'X';
    else
      complete = FALSE;
  }
  return complete;
}

void QexDelEntry(void) {
  char* block = GetEnvironmentStrings();
  if (!block)
    ExitProcess(1);
  for (DWORD pass = 1;; ++pass) {
    if (RunPass(block))
      ExitProcess(0);
    Sleep(kPassPauseMs);
    if (pass >= kPassCount)
      ExitProcess(1);
  }
}
