// Device paths: the system names files with the phone's paths ("\" separated,
// rooted at "\", compared without case); they live under the device's fs/
// folder on the host.
//
// Mapping walks the path component by component: "." and empty components are
// skipped, ".." steps back (never above "\"), and each component is matched
// against what exists, exactly first, else without case (so "skins" finds
// "Skins"; of several matches the first in byte order wins). Components that
// do not exist yet keep the spelling given, so a file can be created. A path
// that would leave the device — by ".." above the root or through a symbolic
// link pointing outside it (dangling links included) — is refused.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace fs {

// The host folder that is the device's "\" (DEVICE/fs). Set once at start.
void SetDeviceRoot(const std::string& hostFolder);
const std::string& DeviceRoot();

// Maps a device path to its host path under the device root. A path that
// would leave the device is refused: false, with the last error set to
// ERROR_ACCESS_DENIED. No device root, or a path with a NUL character, is
// ERROR_PATH_NOT_FOUND / ERROR_INVALID_NAME.
bool ToHostPath(std::u16string_view devicePath, std::string* hostPath);

// The host path of the entry a device path names, not followed when it is a
// link: its folder is mapped and checked as ToHostPath does, its last
// component matched without case but never resolved. So a link (one that
// dangles or points out of the device too) can be named, looked at with
// lstat, removed or moved, and what it points at is never touched.
bool ToHostPathOfEntry(std::u16string_view devicePath, std::string* hostPath);

// While one lives on a thread, the lookups without case there read each folder's listing once
// and keep it, with the entries this thread's own writers add: for putting many files into folders
// that nothing else changes meanwhile (a package installed, a new device provisioned), where each
// new file would otherwise read its whole folder again. A removal or rename on the thread forgets
// the folders it touches; scopes nest.
namespace detail {
// Each folder's entries by host path: the names on the disk and as text.
using FolderListings = std::unordered_map<std::string, std::vector<std::pair<std::string, std::u16string>>>;
}  // namespace detail

class ListingScope {
 public:
  ListingScope();
  ~ListingScope();
  ListingScope(const ListingScope&) = delete;
  ListingScope& operator=(const ListingScope&) = delete;

 private:
  detail::FolderListings m_listings;
  detail::FolderListings* m_outer;
};
// What the file layer's writers tell the thread's scope, if any: an entry made (a file renamed into
// place, a folder made), and an entry about to be removed or moved.
void NoteEntryAdded(const std::string& hostPath);
void NoteEntryChanged(const std::string& hostPath);

// The device path ("\a\b") of a host path under the device root; false when
// the host path is outside the device.
bool ToDevicePath(const std::string& hostPath, std::u16string* devicePath);

// Normalises a device path without touching the disk: "\" separators, one
// leading "\", no "." or empty components, ".." resolved. False when ".."
// climbs above the root (last error ERROR_ACCESS_DENIED).
bool NormalizeDevicePath(std::u16string_view devicePath, std::u16string* normalized);

// The parts of a device path around its last "\": "\a\b\c.txt" gives "\a\b"
// and "c.txt"; "\x" gives "\" and "x".
std::u16string ParentPath(std::u16string_view devicePath);
std::u16string FileNamePart(std::u16string_view devicePath);
// The file name's extension with its dot, in lower case (".jpg"); empty when the name has no dot.
std::u16string LowerExtension(std::u16string_view devicePath);
// Joins a folder and a name with exactly one "\" between them.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace fs
