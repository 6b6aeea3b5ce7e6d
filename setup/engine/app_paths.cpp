#include "setup/engine/app_paths.h"

#include "setup/app/setup_log.h"
#include "setup/engine/file_item.h"
#include "setup/engine/script_text.h"

const char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

namespace {

bool WriteText(RegistryKey& key, const std::string& name, const std::string& text) {
  return key.SetValue(name, kRegSz, text.c_str(), text.size() + 1);
}

// Each ';'-separated folder in short form; the list as given when any
// folder has none.
std::string ShortList(const std::string& list, const ShortPathFn& shortPath) {
  std::string out;
  size_t start = 0;
  for (;;) {
    size_t semi = list.find(';', start);
    std::string one = list.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
    if (!one.empty()) {
      std::string s = shortPath(one);
      if (s.empty()) return list;
      if (!out.empty()) out.push_back(';');
      out += s;
    }
    if (semi == std::string::npos) return out;
    start = semi + 1;
  }
}

bool EndsWithNoCase(const std::string& s, const char* suffix) {
  std::string_view sv(s), suf(suffix);
  return sv.size() >= suf.size() && scripttext::EqualsNoCase(sv.substr(sv.size() - suf.size()), suf);
}

}  // namespace

bool RegisterAppPaths(Registry& registry, const std::string& programPath,
                      const std::string& pathList, const ShortPathFn& shortPath) {
  std::string name = std::string(FileNamePart(programPath));
  if (name.empty()) return false;
  std::unique_ptr<RegistryKey> key = registry.CreateKey(RegRoot::kLocalMachine,
                                                        std::string(kAppPathsKey) + "\\" + name);
  if (!key) return false;
  std::string program = programPath;
  if (shortPath) {
    std::string s = shortPath(programPath);
    if (!s.empty()) program = s;
  }
  if (!WriteText(*key, "", program)) return false;
  if (pathList.empty()) {
    key->DeleteValue("Path");
    return true;
  }
  return WriteText(*key, "Path", shortPath ? ShortList(pathList, shortPath) : pathList);
}

bool RemoveAppPathsEntry(Registry& registry, const std::string& filePath,
                         const std::string& shortOfFile) {
  if (!EndsWithNoCase(filePath, ".exe")) return false;
  std::string keyPath = std::string(kAppPathsKey) + "\\" + std::string(FileNamePart(filePath));
  {
    std::unique_ptr<RegistryKey> key = registry.OpenKey(RegRoot::kLocalMachine, keyPath, false);
    if (!key) return false;
    RegValue v;
    if (!key->QueryValue("", &v) || !IsRegStringType(v.type)) return false;
    std::string registered = v.data.substr(0, v.data.find('\0'));
    bool ours = scripttext::EqualsNoCase(registered, filePath) ||
                (!shortOfFile.empty() && scripttext::EqualsNoCase(registered, shortOfFile));
    if (!ours) return false;
  }  // closed before it is deleted
  if (!registry.DeleteKey(RegRoot::kLocalMachine, keyPath)) return false;
  std::string shown = "HKEY_LOCAL_MACHINE\\" + keyPath;
  SetupLog::Instance().Event(kEventAppPathsRemoved, {filePath.c_str(), shown.c_str()});
  return true;
}
