// Cleaning of expanded folder and file paths before the engine uses them:
// characters no file name may hold become '_' (a ':' only where it cannot
// be a drive letter's), and doubled separators are dropped, except the
// leading pair of a \\server\share path.
#pragma once

#include <string>
#include <string_view>

std::string CleanPath(std::string_view path);
