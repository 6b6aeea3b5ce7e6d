// Registration types 1 to 4 of installed files and their undoing at
// removal, with fixtures of our own: a self-registering DLL (and one
// without the entry points), a type library made here, a server program,
// and a font copied from the system. Each is installed from a package
// through the engine, registered, then unregistered; the registry and the
// font table show what happened.
#include <windows.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/engine/archive.h"
#include "setup/engine/setup_engine.h"
#include "support/kvz_writer.h"

namespace {

using kvtest::Bytes;

const char kFixtureKey[] = "Software\\KvRegFixture";
// Stands in for <WinCurVerNT>, so that the test's font entry stays out of
// the system's own Fonts key.
const char kCurVer[] = "Software\\KvRegFixture\\CurVer";

std::string TestFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string s = path;
  return s.substr(0, s.find_last_of('\\'));
}

// HKLM text value; "<missing>" when absent.
std::string Value(const std::string& keyPath, const std::string& name) {
  char data[MAX_PATH * 2] = {};
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  if (SHGetValueA(HKEY_LOCAL_MACHINE, keyPath.c_str(), name.c_str(), &type, data, &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return "<missing>";
  return data;
}

void SetValue(const std::string& keyPath, const std::string& name, const std::string& text) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 DWORD(text.size() + 1));
  RegCloseKey(key);
}

bool TypeLibRegistered(const std::string& guid) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ("TypeLib\\" + guid + "\\1.0").c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// The server program is started and not waited for: wait here, on the
// value it writes, for at most half a minute.
std::string WaitForValue(const std::string& name) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(20)) {
    const std::string v = Value(kFixtureKey, name);
    if (v != "<missing>") return v;
  }
  return "<missing>";
}

// A type library with one GUID, version 1.0, written by the system.
bool MakeTypeLibrary(const std::string& path, GUID* guid) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], n);
  ICreateTypeLib2* lib = nullptr;
  const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
  if (FAILED(CreateTypeLib2(kind, wide.c_str(), &lib))) return false;
  CoCreateGuid(guid);
  wchar_t name[] = L"KvRegFixtureLib";
  const bool ok = SUCCEEDED(lib->SetGuid(*guid)) && SUCCEEDED(lib->SetVersion(1, 0)) &&
                  SUCCEEDED(lib->SetName(name)) && SUCCEEDED(lib->SetLcid(LOCALE_NEUTRAL)) &&
                  SUCCEEDED(lib->SaveAllChanges());
  lib->Release();
  return ok;
}

std::string GuidText(const GUID& guid) {
  wchar_t wide[64];
  StringFromGUID2(guid, wide, 64);
  char text[64];
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

// A TrueType outline font of the system's Fonts folder (Tahoma, which
// every Wine prefix and every Windows since 98 has).
std::string SystemFont() {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  return std::string(windows) + "\\Fonts\\tahoma.ttf";
}

class Refusing : public EngineMessages {
 public:
  std::vector<uint32_t> shown;
  int Show(uint32_t id, const std::string&, const std::string&, MessageKind) override {
    shown.push_back(id);
    return kAnswerOk;
  }
};

class FileRegistration : public ::testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string app = dir.Path("App");
  std::unique_ptr<SetupEngine> engine;
  SetupArchive archive;
  Refusing messages;

  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override {
    archive.Close();
    SetEnvironmentVariableA("KVREG_FAIL", nullptr);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kFixtureKey);
    CoUninitialize();
  }

  // One file line with this registration field, its body read from source.
  void Install(const std::string& name, const std::string& registration, const Bytes& body,
               const std::string& fontName = "") {
    const std::string script =
        "Version=2.67.1412\n[Install]\n[Symbols]\nAppFolder=1|255|" + app +
        "\nAppTitle=2|255|Test\nWinCurVerNT=61|255|" + kCurVer +
        "\n[Files]\nInstallDir=<AppFolder>\nFile=" + name + "|" + std::to_string(body.size()) +
        "|3|1|0|" + registration + "=" + name + "|0|-1|255|0|" + fontName + "|\n";
    engine = SetupEngine::ForRunningSystem();
    ScriptLoadFailure failure;
    ASSERT_TRUE(engine->LoadScript(script.data(), script.size(), "Setup.ini", &failure))
        << DescribeScriptLoadFailure(failure);
    kvtest::Entry e;
    e.name = name;
    e.body = body;
    archive.Close();
    const std::string package = dir.Write("package.kvz", kvtest::BuildArchive({e}));
    ASSERT_EQ(archive.Open(package.c_str(), 0, nullptr), 0);
    engine->SetArchive(&archive);
    engine->SetMessages(&messages);
    ASSERT_TRUE(engine->InstallFiles());
    ASSERT_GT(engine->FileSections()[0]->items[0]->status, 0);
  }
  static Bytes Fixture(const char* name) { return kvtest::ReadFileBytes(TestFolder() + "\\" + name); }
};

// Type 1: DllRegisterServer and DllUnregisterServer, each called with the
// DLL's own folder current, and setup's own folder current again after.
TEST_F(FileRegistration, SelfRegisteringDllIsCalledInItsFolderBothWays) {
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  Install("kvreg_com.dll", "1", Fixture("kvreg_com.dll"));
  ASSERT_TRUE(engine->RegisterFiles());
  EXPECT_EQ(Value(kFixtureKey, "Com"), app);
  engine->UnregisterFiles();
  EXPECT_EQ(Value(kFixtureKey, "Com"), "<missing>");
  EXPECT_EQ(Value(kFixtureKey, "ComUndone"), app);
  char after[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(after, before);
  EXPECT_TRUE(messages.shown.empty());
}

// Type 1 outcomes: no entry point is a success; a failing entry point or a
// file that is no DLL ends the step with string 141 and the failed state.
TEST_F(FileRegistration, SelfRegistrationOutcomes) {
  const struct {
    const char* what;
    const char* fixture;  // nullptr: a text file named like a DLL
    bool fail;
    bool registers;
  } cases[] = {
      {"no DllRegisterServer", "kvreg_plain.dll", false, true},
      {"DllRegisterServer fails", "kvreg_com.dll", true, false},
      {"not a DLL", nullptr, false, false},
  };
  int n = 0;
  for (const auto& c : cases) {
    SetEnvironmentVariableA("KVREG_FAIL", c.fail ? "1" : nullptr);
    messages.shown.clear();
    const std::string text = "not a program";
    // A name of its own each time: a DLL the process still has loaded
    // would be found again by its path.
    Install("kvreg_" + std::to_string(++n) + ".dll", "1",
            c.fixture ? Fixture(c.fixture) : Bytes(text.begin(), text.end()));
    EXPECT_EQ(engine->RegisterFiles(), c.registers) << c.what;
    EXPECT_EQ(engine->State(), c.registers ? kEngineRunning : kEngineFailed) << c.what;
    EXPECT_EQ(messages.shown, c.registers ? std::vector<uint32_t>{} : std::vector<uint32_t>{141})
        << c.what;
    EXPECT_EQ(Value(kFixtureKey, "Com"), "<missing>") << c.what;
  }
}

// Type 2: RegisterTypeLib with the installed path; removal unregisters by
// the library's own GUID and version.
TEST_F(FileRegistration, TypeLibraryIsRegisteredAndUnregistered) {
  GUID guid;
  const std::string made = dir.Path("made.tlb");
  ASSERT_TRUE(MakeTypeLibrary(made, &guid));
  const std::string key = GuidText(guid);
  Install("fixture.tlb", "2", kvtest::ReadFileBytes(made));
  ASSERT_TRUE(engine->RegisterFiles());
  ASSERT_TRUE(TypeLibRegistered(key));
  char path[MAX_PATH * 2] = {};
  DWORD size = sizeof path - 1;
  const std::string platform = sizeof(void*) == 8 ? "win64" : "win32";
  ASSERT_EQ(SHGetValueA(HKEY_CLASSES_ROOT, ("TypeLib\\" + key + "\\1.0\\0\\" + platform).c_str(),
                        nullptr, nullptr, path, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(lstrcmpiA(path, (app + "\\fixture.tlb").c_str()), 0) << path;
  engine->UnregisterFiles();
  EXPECT_FALSE(TypeLibRegistered(key));
}

// Type 3: the program is started with /RegServer (not waited for) and at
// removal with /UnregServer, each time in its own folder.
TEST_F(FileRegistration, ServerProgramIsStartedWithEachSwitch) {
  Install("kvreg_server.exe", "3", Fixture("kvreg_server.exe"));
  ASSERT_TRUE(engine->RegisterFiles());
  EXPECT_EQ(WaitForValue("Server"), app);
  engine->UnregisterFiles();
  EXPECT_EQ(WaitForValue("ServerUndone"), app);
  EXPECT_EQ(Value(kFixtureKey, "Server"), "<missing>");
}

// Type 4: the font is added and entered under <WinCurVerNT>\Fonts by its
// full path, or by file name with 0x40; removal takes the entry out only
// while it names this file.
TEST_F(FileRegistration, FontIsAddedAndEnteredThenRemoved) {
  const std::string font = SystemFont();
  ASSERT_FALSE(font.empty());
  const std::string fonts = std::string(kCurVer) + "\\Fonts";
  const std::string target = app + "\\kvtest.ttf";
  const struct {
    const char* registration;
    std::string entry;
    std::string other;  // the entry someone else wrote before removal ("" none)
    bool removed;
  } cases[] = {
      {"4", target, "", true},
      {"68", "kvtest.ttf", "", true},
      {"4", target, "C:\\Elsewhere\\their.ttf", false},
  };
  for (const auto& c : cases) {
    Install("kvtest.ttf", c.registration, kvtest::ReadFileBytes(font), "Kv Test (TrueType)");
    ASSERT_TRUE(engine->RegisterFiles()) << c.registration << " " << font;
    EXPECT_TRUE(engine->FontsChanged());
    EXPECT_EQ(Value(fonts, "Kv Test (TrueType)"), c.entry) << c.registration;
    if (!c.other.empty()) SetValue(fonts, "Kv Test (TrueType)", c.other);
    engine->UnregisterFiles();
    EXPECT_EQ(Value(fonts, "Kv Test (TrueType)"), c.removed ? "<missing>" : c.other)
        << c.registration;
    engine->RemoveFiles();
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES) << "font still held";
  }
}

}  // namespace
