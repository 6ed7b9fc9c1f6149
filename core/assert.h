// MIVO_ASSERT: an internal invariant of the system, one that cannot fail
// unless the code is wrong (a window without its core, a page stack that lost
// its root). It is not for what can fail at run time: a file, a picture or a
// handle from the platform goes through its own result and fallback.
//
// A broken invariant is always reported on standard error with its place.
// Debug builds then stop at once; other builds stop when the environment says
// MIVO_ASSERT=abort (the test suite sets it for every test and for the
// program it drives) and otherwise go on, as the user would rather keep a
// running launcher than lose it to a wrong check.
#pragma once

#define MIVO_ASSERT(condition) \
  ((condition) ? static_cast<void>(0) : ::mivo_assert::Failed(#condition, __FILE__, __LINE__))

namespace mivo_assert {

// Reports the failed condition, then stops the program or returns as above.
void Failed(const char* condition, const char* file, int line);

// Whether a failure stops the program (read once from the build and the
// environment). Tests may change it; returns the previous value.
bool AbortsOnFailure();
bool SetAbortsOnFailure(bool on);

}  // namespace mivo_assert
