#include "look/package.h"

#include <algorithm>

#include "look/archive.h"
#include "look/device_files.h"
#include "platform/fs/device_path.h"
#include "platform/win32/text.h"

namespace {

// Deeper trees than this are taken as damage: no real skin nests so far, and
// a bound keeps a hostile file from building huge paths.
constexpr std::size_t kMaxDepth = 64;

std::u16string Describe(std::u16string_view what, std::u16string_view path) {
  std::u16string s(what);
  if (!path.empty()) {
    s += u" \"";
    s += path;
    s += u"\"";
  }
  return s;
}

void Say(std::u16string* message, std::u16string text) {
  if (message) *message = std::move(text);
}

}  // namespace

bool IsPlainPackageName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  for (char16_t c : name)
    if (c == u'\\' || c == u'/' || c == u':' || c < 0x20) return false;
  return true;
}

static mivoPackageStatus ReadHeader(mivoArchiveReader& in, mivoPackageHeader* header, std::u16string* message) {
  *header = mivoPackageHeader{};
  in.ReadU32(&header->PackageVersion);
  in.ReadU32(&header->PackageType);
  in.ReadString(&header->PackageName);
  for (auto& d : header->Descriptions) in.ReadString(&d);
  in.ReadU32(&header->TotalBytes);
  if (in.Failed()) {
    Say(message, u"the package header is cut short");
    return mivoPackageStatus::kDamaged;
  }
  if (header->PackageType < kPackageSkin || header->PackageType > kPackageLanguages) {
    Say(message, text::Format(u"unknown package type %u", header->PackageType));
    return mivoPackageStatus::kDamaged;
  }
  const bool needsName = header->PackageType == kPackageSkin || header->PackageType == kPackageWallpaperTheme;
  if ((needsName || !header->PackageName.empty()) && !IsPlainPackageName(header->PackageName)) {
    Say(message, Describe(u"the package name is not a plain name:", header->PackageName));
    return mivoPackageStatus::kDamaged;
  }
  return mivoPackageStatus::kOk;
}

mivoPackageStatus ReadPackageHeader(std::span<const std::uint8_t> bytes, mivoPackageHeader* header,
                                    std::size_t* entriesOffset) {
  mivoArchiveReader in(bytes);
  const mivoPackageStatus status = ReadHeader(in, header, nullptr);
  if (entriesOffset) *entriesOffset = in.Position();
  return status;
}

mivoPackageStatus ReadPackage(std::span<const std::uint8_t> bytes, mivoPackageHeader* header,
                              mivoPackageVisitor* visitor, std::u16string* message) {
  mivoArchiveReader in(bytes);
  if (mivoPackageStatus s = ReadHeader(in, header, message); s != mivoPackageStatus::kOk) return s;

  // The tree is walked with an explicit stack of folder paths, so a deeply
  // nested (or hostile) file cannot exhaust the call stack.
  std::vector<std::u16string> folders{u""};
  for (;;) {
    std::uint8_t kind = 0;
    std::u16string name;
    if (!in.ReadU8(&kind) || !in.ReadString(&name)) {
      Say(message, Describe(u"the package is cut short in folder", folders.back()));
      return mivoPackageStatus::kDamaged;
    }
    const std::u16string& parent = folders.back();
    if (!IsPlainPackageName(name)) {
      Say(message, Describe(u"an entry name would leave its folder:", parent.empty() ? name : parent + u"\\" + name));
      return mivoPackageStatus::kDamaged;
    }
    std::u16string path = parent.empty() ? name : parent + u"\\" + name;
    if (kind == 0) {
      DWORD size = 0;
      std::span<const std::uint8_t> content;
      if (!in.ReadU32(&size) || !in.ReadBytes(size, &content)) {
        Say(message, Describe(u"the package is cut short in file", path));
        return mivoPackageStatus::kDamaged;
      }
      if (visitor && !visitor->OnFile(path, content)) {
        Say(message, Describe(u"cannot write file", path));
        return mivoPackageStatus::kTargetFailed;
      }
    } else {
      if (folders.size() > kMaxDepth) {
        Say(message, Describe(u"folders are nested too deeply at", path));
        return mivoPackageStatus::kDamaged;
      }
      if (visitor && !visitor->OnFolder(path)) {
        Say(message, Describe(u"cannot create folder (does it exist already?)", path));
        return mivoPackageStatus::kTargetFailed;
      }
      folders.push_back(std::move(path));
      continue;  // the folder's own list follows
    }
    // After an entry: its list goes on while "more" is 1; a list that ends
    // closes its folder, whose own "more" follows in the parent list.
    for (;;) {
      DWORD more = 0;
      if (!in.ReadU32(&more)) {
        Say(message, Describe(u"the package is cut short in folder", folders.back()));
        return mivoPackageStatus::kDamaged;
      }
      if (more == 1) break;
      if (folders.size() == 1) return mivoPackageStatus::kOk;
      folders.pop_back();
    }
  }
}

static bool WriteEntries(mivoArchiveWriter& out, const std::vector<mivoPackageEntry>& entries, std::uint64_t* total,
                         std::u16string_view parent, std::u16string* message) {
  if (entries.empty()) {
    Say(message, Describe(u"a folder without entries cannot be packed:", parent));
    return false;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const mivoPackageEntry& e = entries[i];
    const std::u16string path = parent.empty() ? e.Name : std::u16string(parent) + u"\\" + e.Name;
    if (!IsPlainPackageName(e.Name)) {
      Say(message, Describe(u"not a plain file name:", path));
      return false;
    }
    out.WriteU8(e.IsFolder ? 1 : 0);
    out.WriteString(e.Name);
    if (e.IsFolder) {
      if (!WriteEntries(out, e.Children, total, path, message)) return false;
    } else {
      if (e.Content.size() > 0xFFFFFFFFu) {
        Say(message, Describe(u"a file is larger than 4 GB:", path));
        return false;
      }
      out.WriteU32(static_cast<DWORD>(e.Content.size()));
      out.WriteBytes(e.Content);
      *total += e.Content.size();
    }
    out.WriteU32(i + 1 < entries.size() ? 1 : 0);
  }
  return true;
}

bool WritePackage(const mivoPackageHeader& header, const std::vector<mivoPackageEntry>& entries,
                  std::vector<std::uint8_t>* bytes, std::u16string* message) {
  mivoArchiveWriter body;
  std::uint64_t total = 0;
  if (!WriteEntries(body, entries, &total, u"", message)) return false;
  if (total > 0xFFFFFFFFu) {
    Say(message, u"the files add up to more than 4 GB");
    return false;
  }
  mivoArchiveWriter out;
  out.WriteU32(header.PackageVersion);
  out.WriteU32(header.PackageType);
  out.WriteString(header.PackageName);
  for (const auto& d : header.Descriptions) out.WriteString(d);
  out.WriteU32(static_cast<DWORD>(total));
  out.WriteBytes(body.Bytes());
  *bytes = out.Take();
  return true;
}

std::u16string PackageDestination(std::u16string_view programFolder, const mivoPackageHeader& header) {
  std::u16string dest(programFolder);
  switch (header.PackageType) {
    case kPackageSkin: return dest + u"Skins\\" + header.PackageName;
    case kPackageColorThemes: return dest + u"ColorThemes";
    case kPackageWallpaperTheme: return dest + u"Wallpapers\\" + header.PackageName;
    case kPackageLanguages: return dest + u"Languages";
    default: return {};
  }
}

namespace {

// Hands the entries of a package to the install target under the destination.
class InstallVisitor : public mivoPackageVisitor {
 public:
  InstallVisitor(std::u16string destination, mivoInstallTarget& target, DWORD total, const mivoInstallProgress& progress)
      : m_destination(std::move(destination)), m_target(target), m_total(total), m_progress(progress) {}

  bool OnFolder(std::u16string_view relativePath) override {
    return m_target.CreateFolder(m_destination + u"\\" + std::u16string(relativePath));
  }

  bool OnFile(std::u16string_view relativePath, std::span<const std::uint8_t> content) override {
    if (!m_target.WriteFile(m_destination + u"\\" + std::u16string(relativePath), content)) return false;
    // The sum can be smaller than the files really are: the bar stays full.
    const std::uint64_t done = std::uint64_t{m_done} + content.size();
    m_done = static_cast<DWORD>(done < m_total ? done : m_total);
    if (m_progress) m_progress(m_total, m_done);
    return true;
  }

 private:
  std::u16string m_destination;
  mivoInstallTarget& m_target;
  DWORD m_total = 0;
  DWORD m_done = 0;
  const mivoInstallProgress& m_progress;
};

}  // namespace

mivoPackageStatus InstallPackageBytes(std::span<const std::uint8_t> bytes, std::u16string_view programFolder,
                                      mivoInstallTarget& target, const mivoInstallProgress& progress,
                                      std::u16string* message) {
  mivoPackageHeader header;
  if (mivoPackageStatus s = ReadPackageHeader(bytes, &header); s != mivoPackageStatus::kOk) {
    // Read again for the words of the message.
    return ReadPackage(bytes, &header, nullptr, message);
  }
  // The whole tree is checked before anything is written, so a damaged
  // package leaves no half-installed skin behind.
  if (mivoPackageStatus s = ReadPackage(bytes, &header, nullptr, message); s != mivoPackageStatus::kOk) return s;
  if (progress) progress(header.TotalBytes, 0);
  const std::u16string destination = PackageDestination(programFolder, header);
  // Skins and wallpaper themes get their own folder; the shared folders of
  // themes and languages are made when a device lacks them. An existing
  // folder is fine.
  target.CreateFolder(destination);
  InstallVisitor visitor(destination, target, header.TotalBytes, progress);
  return ReadPackage(bytes, &header, &visitor, message);
}

RECT InstallerBarRect(int clientWidth, int k, DWORD total, DWORD done) {
  RECT bar{10 * k, 30 * k, 10 * k, 40 * k};
  if (total == 0) return bar;
  const std::int64_t full = std::max<std::int64_t>(0, clientWidth - 20 * k);
  const std::uint64_t clamped = done < total ? done : total;
  bar.right = static_cast<LONG>(10 * k + full * static_cast<std::int64_t>(clamped) / total);
  return bar;
}

namespace {

class DeviceTarget : public mivoInstallTarget {
 public:
  bool CreateFolder(std::u16string_view path) override { return look::CreateDeviceFolder(path); }
  bool WriteFile(std::u16string_view path, std::span<const std::uint8_t> content) override {
    return look::WriteDeviceFile(path, content);
  }
};

}  // namespace

mivoInstallTarget& DeviceInstallTarget() {
  static DeviceTarget target;
  return target;
}

mivoPackageStatus InstallPackage(std::u16string_view packagePath, std::u16string_view programFolder,
                                 const mivoInstallProgress& progress, std::u16string* message) {
  // A package is many files into a few folders: each folder is listed once, not once a file.
  fs::ListingScope listings;
  std::vector<std::uint8_t> bytes;
  if (!look::ReadDeviceFile(packagePath, &bytes)) {
    Say(message, Describe(u"cannot open the package", packagePath));
    return mivoPackageStatus::kUnreadable;
  }
  return InstallPackageBytes(bytes, programFolder, DeviceInstallTarget(), progress, message);
}
