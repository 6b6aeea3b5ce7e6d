#include "kelvolite/forms/open_dialog.h"

#include <commdlg.h>

bool TOpenDialog::Execute(HWND owner) {
  std::string filter = Filter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  char file[MAX_PATH] = {};
  lstrcpynA(file, FileName.c_str(), MAX_PATH);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // understood by every Windows version
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = Options | OFN_EXPLORER;
  if (!GetOpenFileNameA(&ofn)) return false;
  FileName = file;
  return true;
}
