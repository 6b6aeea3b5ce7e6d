#include "setup/ui/wizard_progress_sink.h"

#include <commctrl.h>

#include "setup/ui/application_base.h"

HWND WindowProgressSink::Control(int id) const {
  return window_ && id >= 0 ? GetDlgItem(window_, id) : nullptr;
}

namespace {

// How often Poll lets the window handle its messages. The engine polls for
// every block it extracts; pumping each time would spend more time in the
// message queue than in the work, and 30 ms keeps the window responsive.
constexpr DWORD kPumpInterval = 30;

}  // namespace

void WindowProgressSink::ShowBar(int position) {
  if (position == shownPosition_) return;
  if (HWND bar = Control(controls_.bar)) {
    SendMessageA(bar, PBM_SETPOS, position, 0);
    shownPosition_ = position;
  }
}

void WindowProgressSink::Attach(HWND window, const ProgressControls& controls, int stepCount) {
  window_ = window;
  controls_ = controls;
  shownPosition_ = -1;
  stepCount_ = controls.firstStep < 0 ? 0 : stepCount;
  if (HWND bar = Control(controls_.bar)) SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, kProgressEnd));
  Reset();
}

void WindowProgressSink::Reset() {
  position_ = 0;
  cancel_ = 0;
  rangeStart_ = rangeEnd_ = 0;
  total_ = done_ = 0;
  for (int i = 0; i < stepCount_; ++i) {
    if (HWND box = Control(controls_.firstStep + i)) {
      SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
      EnableWindow(box, FALSE);
    }
  }
  ShowBar(0);
  Status("");
  // Lets the cleared controls show before work begins.
  if (window_) Sleep(50);
}

void WindowProgressSink::BeginStep(int n) {
  if (n < 0 || n >= stepCount_) return;
  if (HWND box = Control(controls_.firstStep + n)) EnableWindow(box, TRUE);
}

void WindowProgressSink::EndStep(int n) {
  if (n >= 0 && n < stepCount_)
    if (HWND box = Control(controls_.firstStep + n)) SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  Status("");
}

void WindowProgressSink::Status(const std::string& text) {
  if (HWND status = Control(controls_.status)) {
    SetWindowTextA(status, text.c_str());
    UpdateWindow(status);
  }
}

void WindowProgressSink::Advance(int n) { SetPosition(position_ + n); }

void WindowProgressSink::SetPosition(int n) {
  position_ = n < 0 ? 0 : n > kProgressEnd ? kProgressEnd : n;
  ShowBar(position_);
}

void WindowProgressSink::BeginSubTask(uint64_t totalUnits, int span) {
  rangeStart_ = position_;
  int end = position_ + span;
  rangeEnd_ = end < 0 ? 0 : end > kProgressEnd ? kProgressEnd : end;
  done_ = 0;
  total_ = totalUnits;
}

void WindowProgressSink::SetRange(uint64_t total) {
  BeginSubTask(total, rangeEnd_ > position_ ? rangeEnd_ - position_ : 0);
}

void WindowProgressSink::Add(uint32_t n) {
  done_ += n;
  int at;
  if (done_ >= total_) {
    done_ = total_;
    at = rangeEnd_;
  } else {
    at = rangeStart_ + static_cast<int>(done_ * uint64_t(rangeEnd_ - rangeStart_) / total_);
  }
  // Units reported after their sub-task (late replacements, say) never
  // move the bar back.
  if (at > position_) position_ = at;
  ShowBar(position_);
}

bool WindowProgressSink::Poll() {
  const DWORD now = GetTickCount();
  if (!pumped_ || now - lastPump_ >= kPumpInterval) {
    pumped_ = true;
    lastPump_ = now;
    if (ApplicationBase* app = ApplicationBase::Instance()) app->ProcessMessages();
  }
  return cancel_ != 0;
}
