// The stores of the startup list, seeded and inspected inside the suite's
// own throwaway prefix, and a fixture with the main window on the startup
// page.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "kelvolite/shell_fixture.h"
#include "kelvolite/startup/startup_entry.h"
#include "support/wine_persona.h"

namespace startuptest {

extern const char kRun[], kRunDisabled[], kRunServices[], kRunServicesDisabled[];

struct Value {
  DWORD type = REG_NONE;
  std::string data;  // raw bytes, terminating zero included for strings
  bool operator==(const Value& o) const { return type == o.type && data == o.data; }
};
// A string value as RegSetValueExA stores it.
Value StringValue(const std::string& text, DWORD type = REG_SZ);
void SetValue(HKEY root, const char* key, const std::string& name, const Value& value);
// False when the key or the value is missing.
bool GetValue(HKEY root, const char* key, const std::string& name, Value& value);
bool HasValue(HKEY root, const char* key, const std::string& name);
std::vector<std::string> ValueNames(HKEY root, const char* key);

void WriteFileText(const std::string& path, const std::string& text);
std::string ReadFileText(const std::string& path);
bool Exists(const std::string& path);
DWORD Attributes(const std::string& path);

// The folder a "Shell Folders" value names.
std::string ShellFolder(HKEY root, const char* value);

// A file held open without sharing, as a running program holds it.
class HeldFile {
public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

private:
  HANDLE h_;
};

// One row of the list as the user and the apply step see it.
struct Row {
  std::string caption, path;
  bool checked;
  int active, location;
};
std::vector<Row> Rows(TListView& list);
TListItem* FindRow(TListView& list, const std::string& caption, int active);

// Answers the next plain system message box with Enter and keeps its text.
void AnswerSystemBox(std::string* text);
// Clicks, inside a shown box, the point (x, y) of its client area, by
// posted mouse messages.
void ClickInBox(HWND box, int x, int y);

class StartupPageTest : public MainFormTest {
protected:
  // Empties every store in both roots, both Startup folders and their
  // disabled siblings, then opens the main window.
  void SetUp() override;
  void ShowStartupPage();
  std::vector<Row> Rows() { return startuptest::Rows(form_->lvStartup); }
  TListItem* FindRow(const std::string& caption, int active) {
    return startuptest::FindRow(form_->lvStartup, caption, active);
  }

  std::string userFolder_, commonFolder_, userDisabled_, commonDisabled_;
};

}  // namespace startuptest
