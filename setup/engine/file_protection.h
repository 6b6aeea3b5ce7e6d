// The system's file protection (Windows 2000 and later): SfcIsFileProtected
// from SFC.DLL in the system folder, looked up once. Without it nothing is
// protected. Windows builds.
#pragma once

#include <string>

bool IsFileProtected(const std::string& path);
