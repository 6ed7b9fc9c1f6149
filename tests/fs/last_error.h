// A call that must fail with a given error code, checked in one line:
// EXPECT_TRUE(FailsWith(DeleteFileW(path), ERROR_FILE_NOT_FOUND)).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/errors.h"

namespace testing_support {

// `succeeded` is the call's own verdict; the error code is read right after it.
inline ::testing::AssertionResult FailsWith(bool succeeded, DWORD code) {
  const DWORD got = GetLastError();
  if (!succeeded && got == code) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << (succeeded ? std::string("succeeded") : "failed with " + std::to_string(got))
                                       << ", not with error " << code;
}

}  // namespace testing_support
