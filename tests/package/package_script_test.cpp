// The product package's Setup.ini, filled as the package build fills it,
// read through setup's own loader on a Windows 98 and a Windows XP system,
// with the registry of a fresh installation of each behind the look-ups.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/expand_fake_lookups.h"
#include "engine/registry_fake.h"
#include "setup/engine/expand.h"
#include "setup/engine/file_section.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/regscript_apply.h"
#include "setup/engine/regscript_context.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"
#include "setup/engine/script_load.h"
#include "setup/engine/script_text.h"
#include "setup/engine/shortcut_item.h"
#include "setup/engine/symbol.h"
#include "setup/engine/symbol_runtime.h"

namespace {

using expandtest::FakeLookups;

const char kCurVer[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kCurVerNT[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvo Remover 2004 Lite";

// Reads the sections the engine reads at load time with the engine's own
// readers, keeping what they produced.
class PackageReaders : public ScriptSectionReaders {
 public:
  std::vector<FileSection> files;
  std::vector<ShortcutItem> links;

  bool ReadFiles(ScriptSection& section, ScriptLoadFailure* failure) override {
    files.emplace_back();
    return ReadFileSection(section, &files.back(), failure);
  }
  bool ReadShellLink(ScriptSection& section, ScriptLoadFailure* failure) override {
    if (!CheckShortcutSection(section, failure)) return false;
    links.push_back(ReadShortcutItem(section));
    return true;
  }
};

struct System {
  const char* name;
  uint32_t osFlag;
};

// One system: its registry as a fresh installation has it, its folders,
// and the package script loaded on it.
class LoadedPackage {
 public:
  explicit LoadedPackage(const System& system) : symbols(system.osFlag) {
    const bool nt = (system.osFlag & osflags::kFamilyNT) != 0;
    auto hklm = [&](const std::string& key, const std::string& value, const std::string& data) {
      lookups.registry[{RegRoot::kLocalMachine, key, value}] = data;
    };
    auto hkcu = [&](const std::string& value, const std::string& data) {
      lookups.registry[{RegRoot::kCurrentUser, kShellFolders, value}] = data;
    };
    hklm(kCurVer, "ProgramFilesDir", "C:\\Program Files");
    hklm(kCurVer, "CommonFilesDir", "C:\\Program Files\\Common Files");
    hklm(nt ? kCurVerNT : kCurVer, "RegisteredOwner", "Owner");
    hklm(kUninstallKey, "InstallLocation", "D:\\Kelvo");
    RuntimeFolders folders;
    folders.modulePath = "C:\\Setup\\setup.exe";
    folders.winDir = "C:\\WINDOWS";
    if (nt) {
      const std::string user = "C:\\Documents and Settings\\kv", all = "C:\\Documents and Settings\\All Users";
      hkcu("Programs", user + "\\Start Menu\\Programs");
      hkcu("Desktop", user + "\\Desktop");
      hkcu("Start Menu", user + "\\Start Menu");
      hkcu("Fonts", "C:\\WINDOWS\\Fonts");
      hkcu("Personal", user + "\\My Documents");
      hklm(kShellFolders, "Common Programs", all + "\\Start Menu\\Programs");
      hklm(kShellFolders, "Common Desktop", all + "\\Desktop");
      hklm(kShellFolders, "Common Start Menu", all + "\\Start Menu");
      folders.sysDir = "C:\\WINDOWS\\system32";
      folders.tempPath = "C:\\DOCUME~1\\kv\\LOCALS~1\\Temp\\";
      folders.hasProfiles = folders.hasAllUsersProfile = folders.hasUserProfile = true;
      folders.profiles = "C:\\Documents and Settings";
      folders.allUsersProfile = all;
      folders.userProfile = user;
    } else {
      // Windows 98 without user profiles: no common folders, no Fonts
      // or Personal value.
      hkcu("Programs", "C:\\WINDOWS\\Start Menu\\Programs");
      hkcu("Desktop", "C:\\WINDOWS\\Desktop");
      hkcu("Start Menu", "C:\\WINDOWS\\Start Menu");
      folders.sysDir = "C:\\WINDOWS\\SYSTEM";
      folders.tempPath = "C:\\WINDOWS\\TEMP\\";
    }
    readable = LoadScriptFile(script, KV_PACKAGE_SCRIPT);
    ok = readable && ApplyScriptRules(script, symbols, lookups, readers, nullptr, &loaded, &failure);
    if (ok) SetRuntimeSymbols(symbols, folders);
  }

  std::string Expand(const char* text) { return ExpandSymbols(text, symbols, lookups); }

  SetupScript script;
  SymbolTable symbols;
  FakeLookups lookups;
  PackageReaders readers;
  LoadedScript loaded;
  ScriptLoadFailure failure;
  bool readable = false, ok = false;
};

void PrintTo(const System& system, std::ostream* os) { *os << system.name; }

const System kWin98{"Windows 98", osflags::kWin98};
const System kWinXP{"Windows XP", osflags::kWinXP};

class PackageScript : public testing::TestWithParam<System> {};

INSTANTIATE_TEST_SUITE_P(Systems, PackageScript, testing::Values(kWin98, kWinXP),
                         [](const testing::TestParamInfo<System>& info) {
                           return std::string(info.param.osFlag == osflags::kWin98 ? "Win98" : "WinXP");
                         });

TEST_P(PackageScript, LoadsWithTheProductSettings) {
  LoadedPackage p(GetParam());
  ASSERT_TRUE(p.readable) << KV_PACKAGE_SCRIPT;
  ASSERT_TRUE(p.ok) << DescribeScriptLoadFailure(p.failure);

  const InstallSettings& install = p.loaded.install;
  EXPECT_EQ(install.options, 0x50DAu);
  EXPECT_EQ(install.ignore, 0xFFFEu);
  EXPECT_TRUE(install.Stops(kErrorClassFiles));
  EXPECT_FALSE(install.Stops(kErrorClassRegistry));
  EXPECT_EQ(install.hardware, "640|480|4");
  EXPECT_EQ(install.software, "0|0|0|0|0|0|0");
  EXPECT_EQ(install.bmp1, "_Setup1.bmp");
  EXPECT_EQ(install.bmp2, "_Setup2.bmp");
  EXPECT_EQ(install.path, "<AppFolder>\\Kelvo Lite.exe");
  EXPECT_EQ(install.pathList, "<AppFolder>");
  // The package's own Timestamp is a leading item: [Install] has none, or
  // setup would take the package for an installed copy.
  EXPECT_FALSE(install.IsInstalledCopy());
  ASSERT_NE(p.script.Main().leading.Find("Timestamp"), nullptr);
  EXPECT_EQ(p.script.Main().leading.GetText("Timestamp"), "2004-05-06 07:08:09");

  EXPECT_EQ(p.loaded.windowTitle, "Kelvo Remover 2004 Lite 3.0");
  EXPECT_EQ(p.loaded.about.webSite, "http://www.quorlansoft.com\nhttp://www.quorlansoft.com");
  EXPECT_EQ(p.loaded.about.email, "support@quorlansoft.com\nmailto:support@quorlansoft.com");
  EXPECT_TRUE(p.loaded.about.telephone.empty());
  EXPECT_TRUE(p.loaded.languages.empty());
  for (const char* tool : {"Uninstall Manager", "Startup Manager", "Task Manager", "Privacy Cleaner"}) {
    EXPECT_NE(p.loaded.readme.find(tool), std::string::npos) << tool;
  }
  EXPECT_NE(p.loaded.licence.find("freeware"), std::string::npos);
  EXPECT_NE(p.loaded.licence.find("\r\n"), std::string::npos);
}

// Symbols that differ between the families resolve to that family's
// folders; everything the engine asks for by id expands to a real value.
TEST_P(PackageScript, SymbolsExpandToTheSystemsFolders) {
  LoadedPackage p(GetParam());
  ASSERT_TRUE(p.ok) << DescribeScriptLoadFailure(p.failure);
  const bool nt = GetParam().osFlag == osflags::kWinXP;
  const std::string user = "C:\\Documents and Settings\\kv", all = "C:\\Documents and Settings\\All Users";

  struct Case {
    const char* text;
    std::string win98, winXP;
  };
  const Case cases[] = {
      {"<AppFolder>", "C:\\Program Files\\Quorlan Soft\\Kelvo Remover 2004 Lite",
       "C:\\Program Files\\Quorlan Soft\\Kelvo Remover 2004 Lite"},
      {"<UninstallRegPath>",
       "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvo Remover 2004 Lite",
       "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvo Remover 2004 Lite"},
      {"<UninstallRegPathPrev>",
       "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvo Remover 2004 Lite",
       "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvo Remover 2004 Lite"},
      {"<InstallLocation>", "D:\\Kelvo", "D:\\Kelvo"},
      {"<UninstallTitle>", "Kelvo Remover 2004 Lite 3.0", "Kelvo Remover 2004 Lite 3.0"},
      {"<Programs>", "C:\\WINDOWS\\Start Menu\\Programs", all + "\\Start Menu\\Programs"},
      {"<ProgGroupDir>", "C:\\WINDOWS\\Start Menu\\Programs\\Kelvo Remover 2004 Lite",
       all + "\\Start Menu\\Programs\\Kelvo Remover 2004 Lite"},
      {"<StartMenu>", "C:\\WINDOWS\\Start Menu", all + "\\Start Menu"},
      {"<Desktop>", "C:\\WINDOWS\\Desktop", all + "\\Desktop"},
      {"<WinCurVerNT>", kCurVer, kCurVerNT},
      {"<RegOwner>", "Owner", "Owner"},
      {"<CommonFiles>", "C:\\Program Files\\Common Files", "C:\\Program Files\\Common Files"},
      {"<FontsDir>", "C:\\WINDOWS\\Fonts", "C:\\WINDOWS\\Fonts"},
      {"<Personal>", "C:\\My Documents", user + "\\My Documents"},
      {"<OfficeDir>", "C:\\Program Files\\Microsoft Office\\Office",
       "C:\\Program Files\\Microsoft Office\\Office"},
      {"<Profiles>", "C:\\WINDOWS", "C:\\Documents and Settings"},
      {"<Common_Profile>", "C:\\WINDOWS", all},
      {"<User_Profile>", "C:\\WINDOWS\\Desktop\\..", user},
      {"<Profile>", "C:\\WINDOWS\\Desktop\\..", user},
      {"<WinSysDir>", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\system32"},
      {"<WinDrive>", "C:", "C:"},
      {"<SetupDir>", "C:\\Setup", "C:\\Setup"},
      {"<HKCR>|<HKCU>|<HKLM>|<HKU>", "HKEY_CLASSES_ROOT|HKEY_CURRENT_USER|HKEY_LOCAL_MACHINE|HKEY_USERS",
       "HKEY_CLASSES_ROOT|HKEY_CURRENT_USER|HKEY_LOCAL_MACHINE|HKEY_USERS"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(p.Expand(c.text), nt ? c.winXP : c.win98) << c.text;
  }

  // What the engine reads by id.
  const std::map<int32_t, std::string> byId = {
      {kSymAppFolder, "AppFolder"},         {kSymAppTitle, "AppTitle"},
      {kSymAppVersion, "AppVersion"},       {kSymCompany, "Company"},
      {kSymCopyright, "Copyright"},         {kSymEmail, "Email"},
      {kSymWebSite, "WebSite"},             {kSymProgGroupDir, "ProgGroupDir"},
      {kSymSetupDir, "SetupDir"},           {kSymUninstallTitle, "UninstallTitle"},
      {kSymHelpDir, "HelpDir"},             {kSymTempDir, "TempDir"},
      {kSymWinDir, "WinDir"},               {kSymWinDrive, "WinDrive"},
      {kSymWinSysDir, "WinSysDir"},         {kSymDesktop, "Desktop"},
      {kSymProfiles, "Profiles"},           {kSymPrograms, "Programs"},
      {kSymStartMenu, "StartMenu"},         {kSymUserProfile, "User_Profile"},
      {kSymCommonProfile, "Common_Profile"}, {kSymWinCurVerNT, "WinCurVerNT"},
      {kSymUninstallRegPath, "UninstallRegPath"}, {kSymUninstallPrev, "UninstallPrev"},
      {kSymUninstallRegPathPrev, "UninstallRegPathPrev"},
      {kSymInstallLocationPrev, "InstallLocationPrev"}, {kSymTelephone, "Telephone"},
      {kSymLangID, "LangID"}};
  for (const auto& [id, name] : byId) {
    const SetupSymbol* s = p.symbols.ById(id);
    ASSERT_NE(s, nullptr) << id;
    EXPECT_EQ(s->name, name) << id;
    if (id != kSymTelephone && id != kSymLangID && id != kSymInstallLocationPrev) {
      EXPECT_NE(ExpandSymbol(id, p.symbols, p.lookups), "") << name;
    }
  }
  // Run-time placeholders are all replaced on a system with profiles.
  if (nt) {
    for (const auto& s : p.symbols.All()) {
      if (s->id != kSymLangID) {
        EXPECT_NE(s->value, "(runtime)") << s->name;
      }
    }
  }
}

// The [Symbols] section as written: 103 lines in alphabetical order, each
// name of the product's table present, per-family pairs complete.
TEST(PackageSymbols, TableIsCompleteAndOrdered) {
  SetupScript script;
  ASSERT_TRUE(LoadScriptFile(script, KV_PACKAGE_SCRIPT));
  const ScriptSection* section = script.Section("Symbols");
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(section->items.size(), 103u);

  const std::set<std::string> expectedNames = {
      "AppData", "AppFolder", "AppTitle", "AppVersion", "BuildDate", "BuildExe", "BuildFolder",
      "BuildLog", "BuildTarget", "BuildTargetBase", "BuildTime", "Common_AppData",
      "Common_Desktop", "Common_Profile", "Common_Programs", "Common_SendTo", "Common_StartMenu",
      "Common_Startup", "Common_Templates", "CommonFiles", "CommonSystem", "Company",
      "ComputerName", "ComSpec", "Copyright", "DAODir", "Desktop", "DevicePath", "DriversDir",
      "Email", "Favorites", "FontsDir", "HelpDir", "HKCR", "HKCU", "HKLM", "HKU", "InfDir",
      "InstallLocation", "InstallLocationPrev", "KeyFile", "KeyFolder", "KeyPaths", "LangID",
      "MSOffice", "MSOfficeDir10", "MSOfficeDir8", "MSOfficeDir9", "MSShared", "OfficeDir",
      "Personal", "Profile", "Profiles", "ProgGroup", "ProgGroupDir", "ProgramFiles", "Programs",
      "RegOrganization", "RegOwner", "SendTo", "SetupDir", "ShellFoldersCU", "ShellFoldersLM",
      "SpecialBuild", "StartMenu", "Startup", "SystemIni", "Telephone", "TempDir", "Uninstall",
      "UninstallPrev", "UninstallRegPath", "UninstallRegPathPrev", "UninstallTitle",
      "User_AppData", "User_Cookies", "User_Desktop", "User_Favorites", "User_History",
      "User_NetHood", "User_Profile", "User_Programs", "User_Recent", "User_SendTo",
      "User_StartMenu", "User_Startup", "User_Templates", "WebSite", "WinCurVer", "WinCurVerNT",
      "WinDir", "WinDrive", "WinIni", "WinSys16Dir", "WinSysDir"};
  ASSERT_EQ(expectedNames.size(), 95u);

  auto lower = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
  };
  std::set<std::string> names;
  std::map<std::string, std::vector<uint32_t>> flagsByName;
  std::map<int32_t, std::set<std::string>> namesById;
  std::string previous;
  for (const auto& item : section->items) {
    SCOPED_TRACE(item->key + "=" + item->value);
    auto fields = scripttext::SplitFields(item->value);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_LE(lower(previous), lower(item->key));
    previous = item->key;
    names.insert(item->key);
    const uint32_t flags = scripttext::ParseUInt(fields[1]);
    flagsByName[item->key].push_back(flags);
    const int32_t id = scripttext::ParseInt(fields[0]);
    if (id != -1) namesById[id].insert(item->key);
  }
  EXPECT_EQ(names, expectedNames);
  for (const auto& [name, flags] : flagsByName) {
    if (flags.size() == 1) {
      EXPECT_EQ(flags[0], 255u) << name;
    } else {
      EXPECT_EQ(flags, (std::vector<uint32_t>{15, 240})) << name;
    }
  }
  for (const auto& [id, of] : namesById) {
    EXPECT_EQ(of.size(), 1u) << "id " << id << " shared";
  }
}

// Every File= line parses with the engine's parser, carries the flags the
// package gives, is written back unchanged, and exactly one build of
// Kelvo Lite applies on each system.
TEST(PackageFiles, LinesParseWithThePackagesFlags) {
  LoadedPackage p(kWinXP);
  ASSERT_TRUE(p.ok) << DescribeScriptLoadFailure(p.failure);
  ASSERT_EQ(p.readers.files.size(), 4u);
  const char* dirs[] = {"<AppFolder>", "<CommonFiles>", "<WinDir>", "<WinSysDir>"};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(p.readers.files[i].installDir, dirs[i]);
  }

  struct Expected {
    size_t section;
    const char* source;
    uint32_t size, osFlags;
    int32_t shared;
  };
  const Expected expected[] = {
      {0, "0001\\07\\Kelvo Lite.exe", 1001, 7, 0},
      {0, "0001\\F0\\Kelvo Lite.exe", 1002, 240, 0},
      {0, "0001\\F7\\Kelvo Remover 2004.chm", 1003, 247, 0},
      {0, "0001\\F7\\kelvolite2.ico", 1004, 247, 0},
      {0, "0001\\F7\\lang.lng", 1005, 247, 0},
      {3, "0004\\F7\\libgcc_s_dw2-1.dll", 1006, 247, 1},
      {3, "0004\\F7\\libstdc++-6.dll", 1007, 247, 1},
  };
  std::vector<const FileItem*> items;
  for (const FileSection& s : p.readers.files) {
    for (const auto& item : s.items) items.push_back(item.get());
  }
  ASSERT_EQ(items.size(), std::size(expected));
  EXPECT_TRUE(p.readers.files[1].items.empty());
  EXPECT_TRUE(p.readers.files[2].items.empty());
  size_t i = 0;
  for (const Expected& e : expected) {
    const FileItem& f = *items[i++];
    SCOPED_TRACE(e.source);
    EXPECT_EQ(f.source, e.source);
    EXPECT_EQ(f.size, e.size);
    EXPECT_EQ(f.flags, uint32_t(kFileInstall | kFileRemove));
    EXPECT_EQ(f.replaceRule, kReplaceIfNewer);
    EXPECT_EQ(f.shared, e.shared);
    EXPECT_EQ(f.registration, kFileRegNone);
    EXPECT_EQ(f.targetName, e.source);
    EXPECT_EQ(f.status, kFileNotProcessed);
    EXPECT_EQ(f.reserved, -1);
    EXPECT_EQ(f.osFlags, e.osFlags);
    EXPECT_EQ(f.attributes, 0u);
    EXPECT_EQ(f.fontName, "");
    EXPECT_EQ(f.languages, "");
    ASSERT_NE(f.item, nullptr);
    EXPECT_EQ(FormatFileLine(f), f.item->value);
  }

  for (uint32_t os : {osflags::kWin95, osflags::kWin98, osflags::kWinMe, osflags::kNT4,
                      osflags::kWin2000, osflags::kWinXP, osflags::kNTLater}) {
    int builds = 0;
    for (const FileItem* f : items) {
      if (FileNamePart(f->source) == "Kelvo Lite.exe" && OsFlagsMatch(f->osFlags, os)) ++builds;
      if (FileNamePart(f->source) != "Kelvo Lite.exe") {
        EXPECT_TRUE(OsFlagsMatch(f->osFlags, os));
      }
    }
    EXPECT_EQ(builds, 1) << "OS flag " << os;
  }
}

TEST(PackageShortcuts, BothLinksAsTheProductWantsThem) {
  LoadedPackage p(kWinXP);
  ASSERT_TRUE(p.ok) << DescribeScriptLoadFailure(p.failure);
  ASSERT_EQ(p.readers.links.size(), 2u);
  const ShortcutItem& app = p.readers.links[0];
  EXPECT_EQ(p.Expand(app.title.c_str()), "Kelvo Remover 2004 Lite");
  EXPECT_EQ(app.path, "<AppFolder>\\Kelvo Lite.exe");
  EXPECT_EQ(app.workDir, "<AppFolder>");
  EXPECT_EQ(app.arguments, "");
  EXPECT_EQ(app.iconPath, "");  // the program's own icon
  EXPECT_EQ(app.iconIndex, 0);
  EXPECT_EQ(app.showCmd, 1);
  EXPECT_EQ(app.locations, uint32_t(kLinkProgramGroup | kLinkDesktop));

  const ShortcutItem& remove = p.readers.links[1];
  EXPECT_EQ(p.Expand(remove.title.c_str()), "Uninstall Kelvo Remover 2004 Lite");
  EXPECT_EQ(remove.path, "<AppFolder>\\Setup.exe");
  EXPECT_EQ(remove.workDir, "<AppFolder>");
  EXPECT_EQ(remove.arguments, "/remove");
  EXPECT_EQ(p.Expand(remove.iconPath.c_str()),
            "C:\\Program Files\\Quorlan Soft\\Kelvo Remover 2004 Lite\\kelvolite2.ico");
  EXPECT_EQ(remove.iconIndex, 0);
  EXPECT_EQ(remove.showCmd, 1);
  EXPECT_EQ(remove.locations, uint32_t(kLinkProgramGroup));

  // The options page offers the desktop only; clearing it leaves the group.
  EXPECT_EQ(ShortcutChoices(p.script), uint32_t(kLinkDesktop));
  EXPECT_EQ(ShortcutFolders(app.locations, 0, true, false),
            std::vector<ShortcutLocation>{kLinkProgramGroup});
}

// The registry script writes the Language value kelvolite reads, and
// removal takes it out with the keys it created.
TEST_P(PackageScript, RegistryWritesLanguageAndRemovesIt) {
  LoadedPackage p(GetParam());
  ASSERT_TRUE(p.ok) << DescribeScriptLoadFailure(p.failure);
  ScriptGroup* group = p.script.FindGroup("Registry");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(p.script.Section("Environment")->items.size(), 0u);
  EXPECT_EQ(p.script.Section("INI Values")->items.size(), 0u);

  kvtest::FakeRegistry registry;
  registry.PutKey(RegRoot::kLocalMachine, "Software\\Microsoft");
  const auto before = registry.Snapshot();
  SymbolSettingsContext context(p.symbols, p.lookups);
  bool changed = false;
  RegScriptResult applied = ApplyRegScript(*group, registry, context, &changed);
  ASSERT_TRUE(applied.ok()) << RegScriptStatusText(applied.status) << " line " << applied.line;
  const char kKey[] = "Software\\Quorlan Soft\\Kelvo Remover 2004 Lite";
  EXPECT_EQ(registry.Text(RegRoot::kLocalMachine, kKey, "Language"), "English");
  EXPECT_EQ(registry.Get(RegRoot::kLocalMachine, kKey, "Language")->type, uint32_t(kRegSz));

  RegScriptResult undone = UndoRegScript(*group, registry, context);
  ASSERT_TRUE(undone.ok()) << RegScriptStatusText(undone.status);
  EXPECT_EQ(registry.Snapshot(), before);
}

// The filler stops on a placeholder it has no value for, and writes nothing.
TEST(PackageFiller, RefusesAnUnfilledPlaceholder) {
  const std::string out = testing::TempDir() + "package_filler_out.ini";
  std::remove(out.c_str());
  const std::string command = std::string("\"") + KV_CMAKE + "\" -DTEMPLATE=\"" +
                              KV_PACKAGE_TEMPLATE + "\" -DOUTPUT=\"" + out +
                              "\" -DTIMESTAMP=x -P \"" + KV_PACKAGE_FILLER + "\" 2>/dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
  FILE* f = std::fopen(out.c_str(), "rb");
  EXPECT_EQ(f, nullptr);
  if (f) std::fclose(f);
}

}  // namespace
