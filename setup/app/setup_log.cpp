#include "setup/app/setup_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "setup/app/log_format.h"
#include "setup/app/log_system.h"
#include "setup/engine/buffered_file.h"

struct SetupLog::Impl {
  BufferedFile file;
  bool open = false;
  bool deleteAtExit = false;
  std::string path;
  logfmt::TracePosition at;
};

SetupLog::SetupLog() : impl_(new Impl) {}
SetupLog::~SetupLog() { delete impl_; }

SetupLog& SetupLog::Instance() {
  // Never destroyed, so that entries written from other objects' static
  // destructors still find it; closed (and deleted when asked) at exit.
  static SetupLog* const log = [] {
    SetupLog* created = new SetupLog;
    std::atexit([] { SetupLog::Instance().Close(); });
    return created;
  }();
  return *log;
}

bool SetupLog::Open() {
  if (impl_->open) return true;
  if (impl_->path.empty()) {
    const std::string folder = logsys::LogFolder();
    const std::string module = logsys::ModulePath();
    if (folder.empty() || module.empty()) return false;
    impl_->path = folder + logfmt::LogFileNameFor(module.c_str());
  }
  const char* path = impl_->path.c_str();
  uint64_t size = 0;
  if (logsys::FileSize(path, &size) && logfmt::ShouldReplaceExistingLog(size))
    logsys::DeleteLogFile(path);
  if (!impl_->file.Open(path, FileOpen::AppendOpenAlways, 4096)) return false;

  const logsys::LocalTime t = logsys::Now();
  const std::string module = logsys::ModulePath();
  const std::string head =
      logfmt::HeaderText() + logfmt::TimeStampLine(t.year, t.month, t.day,
                                                   t.hour, t.minute, t.second,
                                                   module.c_str());
  if (!impl_->file.WriteString(head.c_str()) || !impl_->file.Flush()) {
    impl_->file.Close();
    return false;
  }
  impl_->open = true;
  return true;
}

// Every entry is flushed at once so the file is complete at any moment. A
// failed write closes the file; the next entry opens it again.
bool SetupLog::Write(const char* text) {
  if (!Open()) return false;
  if (impl_->file.WriteString(text) && impl_->file.Flush()) return true;
  impl_->file.Close();
  impl_->open = false;
  return false;
}

bool SetupLog::Event(uint32_t code, std::initializer_list<const char*> args) {
  const std::vector<const char*> argv(args);
  return Event(code, static_cast<int>(argv.size()), argv.data());
}

bool SetupLog::Event(uint32_t code, int argc, const char* const* argv) {
  if (argc < 0) argc = 0;
  return Write(logfmt::EventLine(code, argc, argv).c_str());
}

void SetupLog::SetLevel(int level) {
  impl_->at.hasLevel = true;
  impl_->at.level = level;
}

void SetupLog::SetSource(uint32_t sourceId, uint32_t line) {
  impl_->at.hasSource = true;
  impl_->at.sourceId = sourceId;
  impl_->at.line = line;
}

void SetupLog::Trace(const char* format, ...) {
  char text[logfmt::kMaxTraceText + 1];
  va_list args;
  va_start(args, format);
  const int n = vsnprintf(text, sizeof(text), format, args);
  va_end(args);
  if (n < 0) text[0] = '\0';
  const std::string line = logfmt::TraceLine(impl_->at, text);
  impl_->at = logfmt::TracePosition();
  Write(line.c_str());
}

void SetupLog::SetDeleteAtExit(bool on) { impl_->deleteAtExit = on; }

void SetupLog::Close() {
  if (impl_->open) {
    impl_->file.Close();
    impl_->open = false;
  }
  if (impl_->deleteAtExit && !impl_->path.empty())
    logsys::DeleteLogFile(impl_->path.c_str());
}

const char* SetupLog::Path() const { return impl_->path.c_str(); }
