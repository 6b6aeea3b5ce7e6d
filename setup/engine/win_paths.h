// Paths as the system's other interfaces want them: the short (8.3)
// form, and UTF-16 for COM and the few wide-only calls. Windows builds.
#pragma once

#include <string>

// The short form of an existing path; "" when the system has none for it.
std::string ShortPathName(const std::string& path);
// An ANSI path in UTF-16; "" when it cannot be converted.
std::wstring WidePath(const std::string& path);
