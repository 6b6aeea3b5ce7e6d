#include "setup/engine/script_io.h"

#include <cstring>
#include <string>

#include "setup/engine/buffered_file.h"
#include "setup/engine/script.h"

static void ReadLines(SetupScript& script, BufferedFile& file) {
  script.Clear();
  char line[kMaxScriptLine + 1];
  bool continuation = false;
  while (file.ReadLine(line, sizeof(line))) {
    size_t n = strlen(line);
    script.AddLine(std::string_view(line, n), continuation);
    // A full buffer without its LF: the rest of the line comes next.
    continuation = n == kMaxScriptLine && line[n - 1] != '\n';
  }
}

bool LoadScriptFile(SetupScript& script, const char* path) {
  BufferedFile file;
  if (!file.Open(path, FileOpen::ReadExisting)) {
    script.Clear();
    return false;
  }
  ReadLines(script, file);
  return true;
}

void LoadScriptMemory(SetupScript& script, const void* data, size_t size) {
  BufferedFile file;
  file.OpenMemory(data, size);
  ReadLines(script, file);
}

bool SaveScriptFile(const SetupScript& script, const char* path) {
  BufferedFile file;
  if (!file.Open(path, FileOpen::WriteCreateAlways)) return false;
  // The text already has its CR LF line ends: written as raw bytes.
  const std::string text = script.ToText();
  bool ok = file.Write(text.data(), text.size());
  return file.Close() && ok;
}
