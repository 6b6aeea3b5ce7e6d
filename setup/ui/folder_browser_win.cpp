#include <shlobj.h>

#include "setup/app/setup_exception.h"
#include "setup/ui/window_services.h"

#define KV_SOURCE_ID 6303

namespace {

int CALLBACK SelectInitialFolder(HWND browser, UINT message, LPARAM, LPARAM data) {
  const char* folder = reinterpret_cast<const char*>(data);
  if (message == BFFM_INITIALIZED && folder && *folder)
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

void FreeItem(LPITEMIDLIST item) {
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
    allocator->Free(item);
    allocator->Release();
  }
}

}  // namespace

bool BrowseForFolder(HWND owner, UINT titleId, const char* initialFolder,
                     std::string& folder) {
  std::string title;
  if (!LoadStringText(titleId, title))
    cException::raise(KV_SOURCE_ID, __LINE__);
  char display[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;  // the desktop
  info.pszDisplayName = display;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = SelectInitialFolder;
  info.lParam = reinterpret_cast<LPARAM>(initialFolder);
  LPITEMIDLIST item = SHBrowseForFolderA(&info);
  if (!item)
    return false;
  char path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListA(item, path) != FALSE;
  FreeItem(item);
  if (ok)
    folder = path;
  return ok;
}
