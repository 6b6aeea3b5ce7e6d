// The quiet run's progress window (dialog 73): the title, a bar from 0 to
// 1000 and a status line. It starts the work as soon as it exists and
// closes when the work is done, which ends the program. At quiet level 2
// it exists but is never shown.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "setup/engine/progress_sink.h"
#include "setup/ui/dialog.h"

// Where the status line goes.
class ProgressStatus {
 public:
  virtual ~ProgressStatus() = default;
  virtual void Status(const std::string& text) = 0;
};

class ProgressWindowSink : public ProgressSink, public ProgressStatus {
 public:
  void Attach(HWND window);
  void SetPosition(int position);
  int Position() const { return position_; }
  void Status(const std::string& text) override;

  void Add(uint32_t n) override;
  bool Poll() override;
  void SetRange(uint64_t total) override;

 private:
  HWND window_ = nullptr;
  int position_ = 0;
  uint64_t total_ = 0, done_ = 0;
};

class ProgressDialog : public Dialog, public ProgressStatus {
 public:
  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override;
  void OnOK() override;
  void OnCancel() override;
  void Status(const std::string& text) override { sink_.Status(text); }

 private:
  ProgressWindowSink sink_;
  bool started_ = false;
};
