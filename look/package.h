// Packages (".minst"): one file that carries a folder tree (a skin with its
// pictures, colour themes, a wallpaper theme, languages), unpacked under the
// program folder by the installer.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/types.h"

enum mivoPackageType : DWORD {
  kPackageSkin = 1,            // into Skins\<PackageName>
  kPackageColorThemes = 2,     // into ColorThemes
  kPackageWallpaperTheme = 3,  // into Wallpapers\<PackageName>
  kPackageLanguages = 4,       // into Languages
};

struct mivoPackageHeader {
  DWORD PackageVersion = 1;
  DWORD PackageType = kPackageSkin;
  std::u16string PackageName;      // the skin or wallpaper theme name
  std::u16string Descriptions[3];  // read and not used
  DWORD TotalBytes = 0;            // sum of all file sizes; drives the progress bar
};

// One entry of a package's tree, for writing packages.
struct mivoPackageEntry {
  bool IsFolder = false;
  std::u16string Name;
  std::vector<std::uint8_t> Content;        // a file's bytes
  std::vector<mivoPackageEntry> Children;   // a folder's entries; a folder needs at least one
};

// How reading or installing a package ended.
enum class mivoPackageStatus {
  kOk,
  kDamaged,      // cut short, a bad type, or a name that is not a plain name
  kTargetFailed, // a folder could not be created (it exists) or a file not written
  kUnreadable,   // the package file could not be opened
};

// What the entries of a package are handed to, in file order. Paths are
// relative to the destination, "\" separated. Returning false stops the walk.
class mivoPackageVisitor {
 public:
  virtual ~mivoPackageVisitor() = default;
  virtual bool OnFolder(std::u16string_view relativePath) = 0;
  virtual bool OnFile(std::u16string_view relativePath, std::span<const std::uint8_t> content) = 0;
};

// True for a name that stays inside its folder: not empty, not "." or "..",
// no path separator, drive colon or control character.
bool IsPlainPackageName(std::u16string_view name);

// Reads the header only; kDamaged for a short header, a type other than 1 to
// 4 or a package name that is not plain (types 1 and 3 need one).
mivoPackageStatus ReadPackageHeader(std::span<const std::uint8_t> bytes, mivoPackageHeader* header,
                                    std::size_t* entriesOffset = nullptr);

// Reads the header and walks every entry. A damaged entry stops the walk
// before anything is handed on for it. `message` (optional) says what went
// wrong in words.
mivoPackageStatus ReadPackage(std::span<const std::uint8_t> bytes, mivoPackageHeader* header,
                              mivoPackageVisitor* visitor, std::u16string* message = nullptr);

// Builds a package; TotalBytes is computed from the entries. False (with a
// message) when an entry name is not plain, a folder is empty, the tree is
// empty or the sum exceeds 32 bits.
bool WritePackage(const mivoPackageHeader& header, const std::vector<mivoPackageEntry>& entries,
                  std::vector<std::uint8_t>* bytes, std::u16string* message = nullptr);

// The destination of a package under the program folder (with trailing
// backslash), without trailing backslash: "...\Skins\Name", "...\ColorThemes".
std::u16string PackageDestination(std::u16string_view programFolder, const mivoPackageHeader& header);

// Where an installation writes: the device's file system in the program,
// memory in tests.
class mivoInstallTarget {
 public:
  virtual ~mivoInstallTarget() = default;
  // Creates one folder; false when it exists or cannot be made.
  virtual bool CreateFolder(std::u16string_view path) = 0;
  // Creates or replaces one file.
  virtual bool WriteFile(std::u16string_view path, std::span<const std::uint8_t> content) = 0;
};

// The device's file system.
mivoInstallTarget& DeviceInstallTarget();

// Called after the header is read (done 0) and after every file.
using mivoInstallProgress = std::function<void(DWORD totalBytes, DWORD bytesDone)>;

// Unpacks a package held in memory under the program folder: creates the
// destination folder (an existing one is fine), then every entry.
// A folder that cannot be created (it exists) stops the installation; files
// written before a failure stay.
mivoPackageStatus InstallPackageBytes(std::span<const std::uint8_t> bytes, std::u16string_view programFolder,
                                      mivoInstallTarget& target, const mivoInstallProgress& progress = {},
                                      std::u16string* message = nullptr);

// Reads the package file (device path) and installs it on the device.
mivoPackageStatus InstallPackage(std::u16string_view packagePath, std::u16string_view programFolder,
                                 const mivoInstallProgress& progress = {}, std::u16string* message = nullptr);

// The progress window's bar for `done` of `total` bytes in a client area of
// the given width (k = 1 below 480 pixels of screen height, else 2): from
// (10k, 30k) to (10k + (width - 20k) * done / total, 40k). Empty while the
// total is 0; never wider than the full bar.
RECT InstallerBarRect(int clientWidth, int k, DWORD total, DWORD done);
