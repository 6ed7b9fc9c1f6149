// File and folder operations on device paths, with the platform's results and
// last-error codes.
#pragma once

#include <string>

#include "platform/win32/file_defs.h"
#include "platform/win32/types.h"

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// INVALID_FILE_ATTRIBUTES when the path does not exist (ERROR_FILE_NOT_FOUND).
DWORD GetFileAttributesW(LPCWSTR path);
BOOL GetFileAttributesExW(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID info);
// Fails with ERROR_ALREADY_EXISTS when the folder (or a file of that name)
// exists, ERROR_PATH_NOT_FOUND when its parent does not.
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
// Only an empty folder: ERROR_DIR_NOT_EMPTY, ERROR_DIRECTORY for a file.
BOOL RemoveDirectoryW(LPCWSTR path);
// Copies a file (never a folder: ERROR_ACCESS_DENIED). With failIfExists an
// existing target fails with ERROR_FILE_EXISTS; otherwise it is replaced
// atomically. The target is complete or absent, never half written.
BOOL CopyFileW(LPCWSTR existing, LPCWSTR newName, BOOL failIfExists);
// Moves or renames a file or a folder; never replaces (ERROR_ALREADY_EXISTS).
// Changing only the case of a name is a rename. A link moves itself.
BOOL MoveFileW(LPCWSTR existing, LPCWSTR newName);
// Files only (a folder: ERROR_ACCESS_DENIED). A link is removed itself, never
// what it points at.
BOOL DeleteFileW(LPCWSTR path);

namespace fs {

// 100-ns intervals since 1601 from the host's seconds and nanoseconds.
FILETIME FileTimeFromUnix(std::int64_t seconds, long nanoseconds);
// Attributes and times of a host path (what a link leads to, or the link
// itself); false when it cannot be read.
enum class LinkHandling { kFollow, kEntryItself };
bool StatHostPath(const std::string& hostPath, WIN32_FILE_ATTRIBUTE_DATA* data,
                  LinkHandling links = LinkHandling::kFollow);
// The attributes of a host entry named name (for the hidden flag).
DWORD AttributesFor(const std::string& name, bool isDirectory, bool writable);
// True when the device path names an existing folder.
bool IsDirectory(std::u16string_view devicePath);
// True when the device path's last component is a symbolic link (walks of
// the whole file system skip them, so a link to a parent cannot loop).
bool IsLink(std::u16string_view devicePath);
// A link that leads to a folder. Recursive copies and deletes treat it as an
// entry of its own and never walk into the folder it points at.
bool IsFolderLink(std::u16string_view devicePath);
// Removes the link itself, never what it points at (which may be missing, or
// outside the device).
bool DeleteLink(std::u16string_view devicePath);
// Makes a link at newPath with the same target text as the link at devicePath.
bool CopyLink(std::u16string_view devicePath, std::u16string_view newPath);
// True when the folder `inner` is the folder `outer` or lies inside it, however
// either is reached (links included): folders are compared by identity
// (device and inode), not by the text of their paths.
bool IsSameOrInsideFolder(std::u16string_view inner, std::u16string_view outer);
// Creates a folder and its missing parents; true when it exists afterwards.
bool CreateDirectories(std::u16string_view devicePath);

}  // namespace fs
