#include "platform/fs/errno_map.h"

#include <cerrno>

#include "platform/win32/errors.h"

namespace fs {

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case ELOOP: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ERROR_DISK_FULL;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EBUSY:
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EIO: return ERROR_GEN_FAILURE;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    case EAGAIN: return ERROR_BUSY;
    default: return ERROR_GEN_FAILURE;
  }
}

bool FailWithErrno(int error) {
  SetLastError(ErrorFromErrno(error));
  return false;
}

bool FailWithErrno() { return FailWithErrno(errno); }

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

}  // namespace fs
