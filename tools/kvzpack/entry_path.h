// Where an entry lands when extracted below a folder. Entry names are
// Windows paths; one that could leave the folder is refused.
#pragma once

#include <string>
#include <vector>

namespace kvzpack {

// Splits name at backslashes (and slashes, which Windows treats alike)
// into folder parts and the file name. False with *error for an empty
// name or part, "." or "..", a leading separator, a drive letter or any
// colon (also alternate streams on Windows).
bool SplitEntryName(const std::string& name, std::vector<std::string>* parts, std::string* error);

}  // namespace kvzpack
