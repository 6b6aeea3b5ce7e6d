// WindowProgressSink: the engine's progress shown in a window's controls
// (status text, bar from 0 to 1000, optional step check boxes). Used by the
// wizard's progress page, the removal dialog and the quiet progress window.
// Poll keeps every window alive by handling the thread's pending messages.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "setup/engine/progress_sink.h"

struct ProgressControls {
  int status;
  int bar;
  int firstStep;  // -1: no step check boxes
};

constexpr int kProgressEnd = 1000;

class WindowProgressSink : public ProgressSink {
 public:
  // Remembers them; with a window and controls the bar's range becomes
  // 0..1000. Then resets.
  void Attach(HWND window, const ProgressControls& controls, int stepCount);
  void Detach() { window_ = nullptr; }
  // Position, cancel flag and sub-task 0; step boxes disabled and
  // unchecked, bar at 0, status empty.
  void Reset();

  void BeginStep(int n);
  void EndStep(int n);
  void Status(const std::string& text);
  void Advance(int n);
  void SetPosition(int n);
  // The next totalUnits of Add fill span more units of the bar.
  void BeginSubTask(uint64_t totalUnits, int span);

  // ProgressSink.
  void Add(uint32_t n) override;
  bool Poll() override;
  // A new sub-task over what is left of the current one's span.
  void SetRange(uint64_t total) override;

  bool Cancelled() const { return cancel_ != 0; }
  void Cancel() { cancel_ = 1; }
  int Position() const { return position_; }

 private:
  HWND Control(int id) const;
  void ShowBar(int position);

  HWND window_ = nullptr;
  ProgressControls controls_ = {-1, -1, -1};
  int stepCount_ = 0;
  int cancel_ = 0;
  int position_ = 0;
  int shownPosition_ = -1;  // what the bar shows, so unchanged positions send nothing
  DWORD lastPump_ = 0;      // tick count of the last message pump in Poll
  bool pumped_ = false;
  int rangeStart_ = 0, rangeEnd_ = 0;
  uint64_t total_ = 0, done_ = 0;
};
