// Progress on stderr, only when it is a terminal and the work is large
// enough to be worth watching; otherwise silent, so scripts and logs stay
// clean.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/progress_sink.h"

namespace kvzpack {

class TerminalProgress : public ProgressSink {
 public:
  explicit TerminalProgress(const char* label);
  ~TerminalProgress() override;

  void Add(uint32_t n) override;
  bool Poll() override { return false; }
  // 0: unknown, show the amount instead of a percentage.
  void SetRange(uint64_t total) override { total_ = total; }
  // A line of its own (a phase that cannot report progress itself).
  void Note(const std::string& text);
  // Erases the progress line.
  void Done();

 private:
  void Show();

  const char* label_;
  bool terminal_;
  bool shown_ = false;
  uint64_t total_ = 0;
  uint64_t done_ = 0;
  uint64_t lastShown_ = 0;
};

}  // namespace kvzpack
