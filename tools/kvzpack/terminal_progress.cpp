#include "tools/kvzpack/terminal_progress.h"

#include <unistd.h>

#include <cstdio>

namespace kvzpack {
namespace {

// Below this much work the line would only flicker.
constexpr uint64_t kWorthShowing = 8u << 20;
constexpr uint64_t kStep = 1u << 20;

}  // namespace

TerminalProgress::TerminalProgress(const char* label)
    : label_(label), terminal_(::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() { Done(); }

void TerminalProgress::Add(uint32_t n) {
  done_ += n;
  if (!terminal_ || done_ < kWorthShowing || done_ - lastShown_ < kStep) return;
  lastShown_ = done_;
  Show();
}

void TerminalProgress::Show() {
  if (total_ != 0)
    std::fprintf(stderr, "\r%s: %3u%%", label_, unsigned(done_ * 100 / total_ > 100 ? 100 : done_ * 100 / total_));
  else
    std::fprintf(stderr, "\r%s: %llu MB", label_, (unsigned long long)(done_ >> 20));
  std::fflush(stderr);
  shown_ = true;
}

void TerminalProgress::Note(const std::string& text) {
  if (!terminal_ || (total_ < kWorthShowing && done_ < kWorthShowing)) return;
  std::fprintf(stderr, "\r%s: %s\033[K", label_, text.c_str());
  std::fflush(stderr);
  shown_ = true;
}

void TerminalProgress::Done() {
  if (!shown_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace kvzpack
