// The icon search of the installed-program scan, for the entry the scan is
// building (TForm1::FCurrentEntry).
#pragma once
#include <string>

class TForm1;

// Looks for the entry's icon in its "DisplayIcon" reference, the Windows
// Installer product icon or the add/remove programs cache, and finally a
// Start-menu shortcut of the same name. Sets the entry's IconIndex.
void FindProgramIcon(TForm1& form, const std::string& displayIcon, bool hasDisplayName);

// Extracts icon `index` of `file` into both uninstall image lists and gives
// the entry its index; true when the file had that icon. Without one the
// entry's IconIndex is 0.
bool TakeProgramIcon(TForm1& form, const std::string& file, int index);

// The path that an add/remove programs cache record ("SlowInfoCache") holds:
// UTF-16 text from byte 28 up to its NUL or the end of the data read.
std::string SlowInfoCachePath(const unsigned char* data, int size);
