// The uninstall page with fixture entries: uninstall keys seeded in the
// suite's own prefix, the test uninstaller, rows looked up by caption, and
// the program's message boxes answered by keys in turn.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "kelvolite/controls/message_box.h"
#include "kelvolite/shell_fixture.h"

namespace uninstalltest {

extern const char kUninstallKey[];  // under HKEY_LOCAL_MACHINE, no leading "\"

// Folder of the test executable, with a trailing "\".
std::string TestFolder();
// The test uninstaller and a note file its runs append their paths to.
std::string Uninstaller();
std::string NoteFile();
// The paths the test uninstaller noted, one per run.
std::vector<std::string> NotedRuns();
// The uninstaller's command line: exit with `code`, note the run, delete
// key `deleteKey` when given.
std::string UninstallCommand(int code, const std::string& deleteKey = "",
                             const std::string& program = Uninstaller());

// String values of one uninstall key (name, data).
using Values = std::vector<std::pair<std::string, std::string>>;
void AddEntry(const std::string& keyName, const Values& values);
bool EntryExists(const std::string& keyName);
// Deletes the uninstall key's subkeys and what the entries left elsewhere.
void RemoveAllEntries();

// A message box the page showed: its caption and the text as shown.
struct ShownBox {
  std::string caption, text;
};

// Answers the program's message boxes with `keys` in turn, as each appears;
// a box beyond them is recorded and answered with Esc.
class BoxAnswers {
public:
  explicit BoxAnswers(std::vector<WORD> keys);
  ~BoxAnswers();
  const std::vector<ShownBox>& Shown() const { return shown_; }

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  std::vector<WORD> keys_;
  std::vector<ShownBox> shown_;
  HWND last_ = nullptr;
  UINT_PTR timer_ = 0;
};

class UninstallPageTest : public MainFormTest {
protected:
  void SetUp() override;
  void TearDown() override;
  // The row with this caption, or nullptr.
  TListItem* Row(const std::string& caption);
  std::vector<std::string> Captions();
  void Select(const std::string& caption);
};

}  // namespace uninstalltest
