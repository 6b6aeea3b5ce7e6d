// Linux stand-in: no private-profile functions; every call fails.
#include "setup/engine/ini_values.h"

namespace {

class NoIniFiles : public IniFiles {
 public:
  std::string Read(const std::string&, const std::string&, const std::string&) override {
    return std::string();
  }
  bool Write(const std::string&, const std::string&, const std::string&,
             const std::string&) override {
    return false;
  }
  bool DeleteKey(const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  bool SectionIsEmpty(const std::string&, const std::string&) override { return false; }
  bool DeleteSection(const std::string&, const std::string&) override { return false; }
  void DeleteFileIfEmpty(const std::string&) override {}
};

}  // namespace

IniFiles& SystemIniFiles() {
  static NoIniFiles files;
  return files;
}
