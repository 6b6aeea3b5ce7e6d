// The system's file-open dialog.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "kelvolite/forms/types.h"

class TOpenDialog : public TObject {
public:
  // "Description|pattern|Description|pattern..."
  std::string Filter;
  std::string FileName;
  // OFN_* flags.
  DWORD Options = OFN_HIDEREADONLY | OFN_ENABLESIZING;
  // True when the user chose a file (then in FileName).
  bool Execute(HWND owner);
};
