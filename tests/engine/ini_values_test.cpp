// [INI Values] on in-memory INI files: modes, the list rule at removal,
// and what happens to emptied sections and files.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "registry_fake.h"
#include "regscript_test_util.h"
#include "setup/engine/ini_values.h"

namespace {

using kvtest::FixedContext;
using kvtest::Lower;
using kvtest::TextScript;

// Files as ordered sections of ordered keys; `other` stands for text the
// profile functions do not see as sections (comments, stray lines).
class FakeIniFiles : public IniFiles {
 public:
  struct File {
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections;
    bool other = false;
  };
  std::map<std::string, File> files;
  bool failWrite = false;

  std::string Read(const std::string& f, const std::string& s, const std::string& k) override {
    auto* keys = Keys(f, s, false);
    if (!keys) return "";
    for (auto& kv : *keys) {
      if (Lower(kv.first) == Lower(k)) return kv.second;
    }
    return "";
  }
  bool Write(const std::string& f, const std::string& s, const std::string& k,
             const std::string& v) override {
    if (failWrite) return false;
    auto* keys = Keys(f, s, true);
    for (auto& kv : *keys) {
      if (Lower(kv.first) == Lower(k)) {
        kv.second = v;
        return true;
      }
    }
    keys->emplace_back(k, v);
    return true;
  }
  bool DeleteKey(const std::string& f, const std::string& s, const std::string& k) override {
    auto* keys = Keys(f, s, false);
    if (!keys) return true;
    for (auto it = keys->begin(); it != keys->end(); ++it) {
      if (Lower(it->first) == Lower(k)) {
        keys->erase(it);
        break;
      }
    }
    return true;
  }
  bool SectionIsEmpty(const std::string& f, const std::string& s) override {
    auto* keys = Keys(f, s, false);
    return !keys || keys->empty();
  }
  bool DeleteSection(const std::string& f, const std::string& s) override {
    auto it = files.find(Lower(f));
    if (it == files.end()) return true;
    auto& secs = it->second.sections;
    for (auto si = secs.begin(); si != secs.end(); ++si) {
      if (Lower(si->first) == Lower(s)) {
        secs.erase(si);
        break;
      }
    }
    return true;
  }
  void DeleteFileIfEmpty(const std::string& f) override {
    auto it = files.find(Lower(f));
    if (it != files.end() && it->second.sections.empty() && !it->second.other) files.erase(it);
  }

 private:
  std::vector<std::pair<std::string, std::string>>* Keys(const std::string& f,
                                                         const std::string& s, bool create) {
    auto it = files.find(Lower(f));
    if (it == files.end()) {
      if (!create) return nullptr;
      it = files.emplace(Lower(f), File()).first;
    }
    for (auto& sec : it->second.sections) {
      if (Lower(sec.first) == Lower(s)) return &sec.second;
    }
    if (!create) return nullptr;
    it->second.sections.emplace_back(s, std::vector<std::pair<std::string, std::string>>());
    return &it->second.sections.back().second;
  }
};

ScriptSection& Ini(TextScript& s) { return *s.script.Section("INI Values"); }

TEST(IniValueLine, ParseAndFormat) {
  IniValueLine l;
  ASSERT_TRUE(ParseIniValueLine("0|255|2|44|0|<AppFolder>\\kv.ini|Main|List|a|b", &l));
  EXPECT_EQ(l.file, "<AppFolder>\\kv.ini");
  EXPECT_EQ(l.section, "Main");
  EXPECT_EQ(l.key, "List");
  EXPECT_EQ(l.value, "a|b");
  l.applied = 1;
  EXPECT_EQ(FormatIniValueLine(l), "0|255|2|44|1|<AppFolder>\\kv.ini|Main|List|a|b");
  EXPECT_FALSE(ParseIniValueLine("0|255|2|44|0|f|s|k|", &l));
  EXPECT_FALSE(ParseIniValueLine("0|255|2|44|0|f|s", &l));
}

TEST(IniValues, ModesApplyAndUndo) {
  FakeIniFiles ini;
  ini.Write("win.ini", "Ext", "List", "a,b");
  ini.Write("win.ini", "Ext", "Keep", "theirs");
  const auto before = ini.files;
  TextScript s(
      "[INI Values]\r\n"
      "Value=0|255|2|44|0|win.ini|Ext|List|<AppTitle>\r\n"
      "Value=0|255|0|0|0|win.ini|Ext|Keep|mine\r\n"
      "Value=0|255|1|0|0|<AppFolder>\\kv.ini|Settings|Home|<AppFolder>\r\n"
      "Value=0|255|1|0|0|<AppFolder>\\kv.ini|Settings|Raw|x\r\n"
      "Value=0|15|1|0|0|win.ini|Ext|NineX|x\r\n"
      "Other=0|255|1|0|0|win.ini|Ext|Other|x\r\n");
  FixedContext ctx;
  IniValuesPass p = ApplyIniValues(Ini(s), ini, ctx);
  EXPECT_EQ(p.linesDone, 3);
  EXPECT_EQ(ini.Read("win.ini", "Ext", "List"), "a,b,Kelvo Remover 2004 Lite");
  EXPECT_EQ(ini.Read("win.ini", "Ext", "Keep"), "theirs");
  EXPECT_EQ(ini.Read("C:\\Program Files\\Kelvo\\kv.ini", "Settings", "Home"),
            "C:\\Program Files\\Kelvo");
  EXPECT_EQ(ini.Read("win.ini", "Ext", "NineX"), "");
  EXPECT_EQ(ini.Read("win.ini", "Ext", "Other"), "");

  TextScript saved(s.script.ToText());
  p = UndoIniValues(Ini(saved), ini, ctx);
  EXPECT_EQ(p.linesDone, 3);
  // The last key of the new file took its section and then the file.
  EXPECT_EQ(ini.files.size(), before.size());
  EXPECT_EQ(ini.Read("win.ini", "Ext", "List"), "a,b");
  EXPECT_EQ(ini.Read("win.ini", "Ext", "Keep"), "theirs");
}

TEST(IniValues, EmptiedSectionGoesButAFileWithOtherTextStays) {
  FakeIniFiles ini;
  ini.Write("kv.ini", "Other", "x", "1");
  TextScript s("[INI Values]\r\nValue=0|255|1|0|0|kv.ini|Mine|k|v\r\n");
  FixedContext ctx;
  ApplyIniValues(Ini(s), ini, ctx);
  TextScript saved(s.script.ToText());
  UndoIniValues(Ini(saved), ini, ctx);
  ASSERT_EQ(ini.files.count("kv.ini"), 1u);
  EXPECT_EQ(ini.files["kv.ini"].sections.size(), 1u);

  // Only comments left: the file is not the profile functions' to delete.
  FakeIniFiles commented;
  commented.files["c.ini"].other = true;
  TextScript s2("[INI Values]\r\nValue=0|255|1|0|0|c.ini|S|k|v\r\n");
  ApplyIniValues(Ini(s2), commented, ctx);
  TextScript saved2(s2.script.ToText());
  UndoIniValues(Ini(saved2), commented, ctx);
  EXPECT_EQ(commented.files.count("c.ini"), 1u);
}

TEST(IniValues, FailedWriteLeavesTheLineUnapplied) {
  FakeIniFiles ini;
  ini.failWrite = true;
  TextScript s("[INI Values]\r\nValue=0|255|1|0|0|kv.ini|S|k|v\r\n");
  FixedContext ctx;
  IniValuesPass p = ApplyIniValues(Ini(s), ini, ctx);
  EXPECT_EQ(p.linesDone, 0);
  EXPECT_EQ(Ini(s).GetText("Value"), "0|255|1|0|0|kv.ini|S|k|v");
}

}  // namespace
