// IniFiles over the private-profile functions.
#include <windows.h>

#include <string>
#include <vector>

#include "setup/engine/ini_values.h"

namespace {

// Private-profile calls take a bare name as a file in the Windows folder.
std::string FullIniPath(const std::string& file) {
  if (file.find_first_of("\\/:") != std::string::npos) return file;
  char dir[MAX_PATH];
  UINT n = GetWindowsDirectoryA(dir, sizeof dir);
  if (n == 0 || n >= sizeof dir) return file;
  std::string path(dir, n);
  if (path.back() != '\\') path.push_back('\\');
  return path + file;
}

bool OnlyWhiteSpace(HANDLE file) {
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(file, buf, sizeof buf, &got, nullptr) && got > 0) {
    for (DWORD i = 0; i < got; ++i) {
      char c = buf[i];
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') return false;
    }
  }
  return true;
}

class ProfileFiles : public IniFiles {
 public:
  std::string Read(const std::string& file, const std::string& section,
                   const std::string& key) override {
    // A value that fills the buffer may have been cut: read it again with
    // more room, so that appending never drops the old text's end.
    for (DWORD size = 2048; size <= 65536; size *= 2) {
      std::vector<char> buf(size);
      DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buf.data(), size,
                                         file.c_str());
      if (n < size - 1) return std::string(buf.data(), n);
    }
    return std::string();
  }

  bool Write(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      file.c_str()) != FALSE;
  }

  bool DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) !=
           FALSE;
  }

  bool SectionIsEmpty(const std::string& file, const std::string& section) override {
    char buf[16];
    return GetPrivateProfileSectionA(section.c_str(), buf, sizeof buf, file.c_str()) == 0;
  }

  bool DeleteSection(const std::string& file, const std::string& section) override {
    return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
  }

  void DeleteFileIfEmpty(const std::string& file) override {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // flush the cache
    std::string path = FullIniPath(file);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    bool empty = OnlyWhiteSpace(h);
    CloseHandle(h);
    if (empty) DeleteFileA(path.c_str());
  }
};

}  // namespace

IniFiles& SystemIniFiles() {
  static ProfileFiles files;
  return files;
}
