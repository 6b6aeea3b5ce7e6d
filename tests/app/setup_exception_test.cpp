#include "setup/app/setup_exception.h"

#include <gtest/gtest.h>

#include <vector>

#include "setup/app/setup_log.h"

TEST(SetupException, RaiseThrowsAFatalInternalFailureWithTheNextSequence) {
  const cException first(kExceptionInfo, 1, 2, 3);
  try {
    cException::raise(42, 7);
    FAIL() << "raise returned";
  } catch (const cException& e) {
    EXPECT_EQ(e.kind, kExceptionFatal);
    EXPECT_EQ(e.code, 0xC7AA000Au);
    EXPECT_EQ(e.sourceId, 42u);
    EXPECT_EQ(e.sourceLine, 7u);
    EXPECT_EQ(e.state, 0u);
    // Copies made while throwing keep the number the raise took.
    EXPECT_EQ(e.sequence, first.sequence + 1);
  }
  EXPECT_GE(first.sequence, 1u);
}

// Each report raises the state (by kind the first time, then by one up to
// 4); the action follows the new state and 3 ends the run.
TEST(SetupException, ReportsWalkTheStatesByKind) {
  struct Case {
    uint32_t kind;
    int level;
    std::vector<uint32_t> states;  // after each report
    std::vector<int> actions;
  } cases[] = {
      {0, kInfo, {1, 2, 3, 4, 4}, {5, 4, 2, 3, 3}},
      {1, kInfo, {2, 3, 4, 4}, {4, 2, 3, 3}},
      {2, kWarn, {3, 4, 4}, {2, 3, 3}},
      {3, kFatal, {4, 4}, {3, 3}},
      {4, kError, {4, 4}, {3, 3}},
      {77, kError, {4}, {3}},
  };
  for (const Case& c : cases) {
    cException e(c.kind, 0xC7AA000A, 5, 6);
    for (size_t i = 0; i < c.states.size(); ++i) {
      const uint32_t before = e.state;
      const ExceptionReport r = AdvanceException(e, 900 + uint32_t(i), 10);
      EXPECT_EQ(r.traceLevel, c.level) << "kind " << c.kind;
      EXPECT_EQ(e.state, c.states[i]) << "kind " << c.kind << " report " << i;
      EXPECT_EQ(r.action, c.actions[i]) << "kind " << c.kind << " report " << i;
      EXPECT_NE(r.text.find("=> " + std::to_string(before)), std::string::npos)
          << r.text;
    }
    // Only the first report's position is kept.
    EXPECT_EQ(e.reportId, 900u);
    EXPECT_EQ(e.reportLine, 10u);
  }
}

TEST(SetupException, TraceTextNamesSequenceCodeAndRaisingPosition) {
  cException e(kExceptionFatal, 0xC7AA000A, 12, 345);
  const ExceptionReport r = AdvanceException(e, 1, 2);
  EXPECT_EQ(r.text, "X#" + std::to_string(e.sequence) +
                        " - 3349807114 (0xC7AA000A) @ 12(345) => 0");
}

TEST(SetupException, UnknownExceptionsEndTheRun) {
  EXPECT_EQ(ReportUnknownException(), kActionTerminate);
}
