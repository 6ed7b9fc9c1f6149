// MIVO_ASSERT: a broken invariant is reported with its place; it stops the
// program where stopping is asked for, and otherwise lets it go on.
#include <gtest/gtest.h>

#include "core/assert.h"

namespace {

int Checked(int value) {
  MIVO_ASSERT(value > 0);
  return value;
}

TEST(InternalCheck, AHeldConditionCostsNothingAndABrokenOneIsReportedWithItsPlace) {
  const bool before = mivo_assert::SetAbortsOnFailure(false);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Checked(3), 3);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Checked(-1), -1) << "a check that does not stop lets the program go on";
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("value > 0"), std::string::npos) << report;
  EXPECT_NE(report.find("assert_test.cpp:"), std::string::npos) << report;
  mivo_assert::SetAbortsOnFailure(before);
}

TEST(InternalCheck, ABrokenConditionStopsTheProgramWhereStoppingIsAsked) {
  // The suite asks for it: every test runs with MIVO_ASSERT=abort.
  EXPECT_TRUE(mivo_assert::AbortsOnFailure());
  const bool before = mivo_assert::SetAbortsOnFailure(true);
  EXPECT_DEATH(Checked(0), "internal check failed: value > 0");
  mivo_assert::SetAbortsOnFailure(before);
}

}  // namespace
