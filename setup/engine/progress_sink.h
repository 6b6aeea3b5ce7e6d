// What long engine work reports to: the wizard's progress page, the quiet
// run's small window, or a plain object in tests.
#pragma once

#include <cstdint>

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // n more units of work are done (bytes while extracting).
  virtual void Add(uint32_t n) = 0;
  // Keeps the windows alive (pumps messages); true when the user cancelled.
  virtual bool Poll() = 0;
  // The total that Add counts towards.
  virtual void SetRange(uint64_t total) = 0;
};
