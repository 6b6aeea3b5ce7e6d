#include "kelvolite/startup/startup_store_move.h"

#include <vector>

#include "kelvolite/forms/win_handle.h"

namespace {

// Registry paths here are written absolute ("\Software\..."); the API wants
// them relative to the root.
const char* Relative(const std::string& path) { return path.c_str() + (!path.empty() && path[0] == '\\'); }

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

LONG ReadRawValue(HKEY key, const std::string& name, RawValue& value) {
  DWORD size = 0;
  LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
  if (rc != ERROR_SUCCESS) return rc;
  value.data.resize(size);
  rc = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, size ? value.data.data() : nullptr, &size);
  value.data.resize(size);
  return rc;
}

bool ValueExists(HKEY key, const std::string& name) {
  return RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// "Name (n)" for a value, "Name (n).ext" for a file.
std::string NumberedName(const std::string& name, int n, bool keepExtension) {
  std::string::size_type dot = keepExtension ? name.find_last_of('.') : std::string::npos;
  if (dot == std::string::npos || dot == 0) return name + " (" + std::to_string(n) + ")";
  return name.substr(0, dot) + " (" + std::to_string(n) + ")" + name.substr(dot);
}

}  // namespace

DWORD MoveStartupValue(HKEY root, const std::string& fromKey, const std::string& toKey, const std::string& name) {
  TRegKey source;
  LONG rc = RegOpenKeyExA(root, Relative(fromKey), 0, KEY_ALL_ACCESS, source.Receive());
  if (rc != ERROR_SUCCESS) return static_cast<DWORD>(rc);
  RawValue value;
  rc = ReadRawValue(source.Get(), name, value);
  if (rc != ERROR_SUCCESS) return static_cast<DWORD>(rc);

  TRegKey target;
  DWORD disposition;
  rc = RegCreateKeyExA(root, Relative(toKey), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.Receive(),
                       &disposition);
  if (rc != ERROR_SUCCESS) return static_cast<DWORD>(rc);

  std::string targetName = name;
  bool alreadyThere = false;
  for (int n = 2; ValueExists(target.Get(), targetName); ++n) {
    RawValue existing;
    if (ReadRawValue(target.Get(), targetName, existing) == ERROR_SUCCESS && existing.type == value.type &&
        existing.data == value.data) {
      alreadyThere = true;
      break;
    }
    targetName = NumberedName(name, n, false);
  }
  if (!alreadyThere) {
    rc = RegSetValueExA(target.Get(), targetName.c_str(), 0, value.type, value.data.data(),
                        static_cast<DWORD>(value.data.size()));
    if (rc != ERROR_SUCCESS) return static_cast<DWORD>(rc);
  }
  rc = RegDeleteValueA(source.Get(), name.c_str());
  if (rc != ERROR_SUCCESS) {
    // Leave the item in one store only.
    if (!alreadyThere) RegDeleteValueA(target.Get(), targetName.c_str());
    return static_cast<DWORD>(rc);
  }
  return ERROR_SUCCESS;
}

DWORD EnsureStartupFolder(const std::string& folder, bool hidden) {
  if (folder.empty()) return ERROR_PATH_NOT_FOUND;
  DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ERROR_SUCCESS : ERROR_DIRECTORY;
  if (!CreateDirectoryA(folder.c_str(), nullptr)) return GetLastError();
  if (hidden && !SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN))
    return GetLastError();
  return ERROR_SUCCESS;
}

DWORD MoveStartupFile(const std::string& source, const std::string& targetFolder, const std::string& name,
                      bool hideCreatedFolder) {
  // With no folder to name, the target would land in the root of the drive.
  if (targetFolder.empty() || name.empty()) return ERROR_PATH_NOT_FOUND;
  if (!PathExists(source)) return ERROR_FILE_NOT_FOUND;
  DWORD rc = EnsureStartupFolder(targetFolder, hideCreatedFolder);
  if (rc != ERROR_SUCCESS) return rc;
  std::string target = targetFolder + "\\" + name;
  for (int n = 2; PathExists(target); ++n) target = targetFolder + "\\" + NumberedName(name, n, true);
  // MoveFileA never replaces an existing file, so a name taken meanwhile
  // fails the move instead of losing that file.
  if (!MoveFileA(source.c_str(), target.c_str())) return GetLastError();
  return ERROR_SUCCESS;
}
