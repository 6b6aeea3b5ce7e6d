// Path helpers of the cleaning routines.
#pragma once
#include <string>

// folder + "\" + name, without doubling a "\" the folder already ends with.
std::string JoinPath(const std::string& folder, const std::string& name);

// Whether a folder may have its whole content deleted. A folder value from
// the registry can be empty, relative, a drive root, or the Windows folder
// (or one that holds it, or the user's profile): emptying any of those
// would wipe the system or the user's data, so they are refused.
bool IsSafeFolderToEmpty(const std::string& folder);

// The short (8.3) form of an existing path; empty when the system cannot
// give one (the entry is gone).
std::string ShortPath(const std::string& path);

// The Windows folder, without a trailing "\".
std::string WindowsFolder();
