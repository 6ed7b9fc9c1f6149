// The platform's error codes for the host's errno values.
#pragma once

#include "platform/win32/types.h"

namespace fs {

// ENOENT → ERROR_FILE_NOT_FOUND, ENOSPC → ERROR_DISK_FULL, and so on.
DWORD ErrorFromErrno(int error);
// Sets the last error from errno (or the given value); returns false so
// callers can `return FailWithErrno();`.
bool FailWithErrno(int error);
bool FailWithErrno();
// Sets the last error; returns false.
bool Fail(DWORD error);

}  // namespace fs
