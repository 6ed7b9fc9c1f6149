// The window system's scenarios drive the platform's demonstration program,
// not the system: its tiles, fields and boxes are what they check.
#include "tests/support/mivo_runner.h"

namespace {
[[maybe_unused]] const bool kUsesDemo = (testing_support::SetProgramPath(MIVO_DEMO_PATH), true);
}  // namespace
