// Force-included into googletest for the -win32 mingw compilers, which have
// no std::mutex: googletest only uses Notification in its own thread tests,
// so a plain spin-wait stands in for it.
#pragma once
#if defined(_WIN32)
#define GTEST_HAS_NOTIFICATION_ 1
namespace testing {
namespace internal {
class Notification {
 public:
  Notification() : notified_(false) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { notified_ = true; }
  void WaitForNotification() {
    while (!notified_) {
    }
  }

 private:
  volatile bool notified_;
};
}  // namespace internal
}  // namespace testing
#endif
