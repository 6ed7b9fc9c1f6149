// Packages: layout, destinations, the installer's rules and damaged packages.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "look/package.h"
#include "platform/win32/rect.h"
#include "test_util.h"

namespace {

using looktest::Bytes;
using looktest::Str;
using looktest::U32;

// Records what an installation does, in order.
class MemoryTarget : public mivoInstallTarget {
 public:
  bool CreateFolder(std::u16string_view path) override {
    log.push_back(u"mkdir " + std::u16string(path));
    if (folders.count(std::u16string(path))) return false;
    folders[std::u16string(path)] = true;
    return true;
  }
  bool WriteFile(std::u16string_view path, std::span<const std::uint8_t> content) override {
    log.push_back(u"write " + std::u16string(path));
    files[std::u16string(path)] = Bytes(content.begin(), content.end());
    return true;
  }
  std::vector<std::u16string> log;
  std::map<std::u16string, bool> folders;
  std::map<std::u16string, Bytes> files;
};

void FileEntry(Bytes& b, std::u16string_view name, std::string_view content) {
  b.push_back(0);
  Str(b, name);
  U32(b, static_cast<std::uint32_t>(content.size()));
  b.insert(b.end(), content.begin(), content.end());
}

// A package header of version 1: type, name, three empty texts and the total.
Bytes Header(DWORD type, std::u16string_view name, std::uint32_t totalBytes) {
  Bytes b;
  U32(b, 1);
  U32(b, type);
  Str(b, name);
  for (int i = 0; i < 3; ++i) Str(b, u"");
  U32(b, totalBytes);
  return b;
}

// Skin "Clear Horizon": a.msk, pics\x.png, pics\y.png, z.txt.
Bytes HandMadeSkinPackage(std::uint32_t totalBytes = 9) {
  Bytes b = Header(1, u"Clear Horizon", totalBytes);
  FileEntry(b, u"a.msk", "AAA");
  U32(b, 1);
  b.push_back(1);
  Str(b, u"pics");
  FileEntry(b, u"x.png", "XX");
  U32(b, 1);
  FileEntry(b, u"y.png", "YY");
  U32(b, 0);  // end of pics
  U32(b, 1);  // more in the root list
  FileEntry(b, u"z.txt", "ZZ");
  U32(b, 0);
  return b;
}

std::vector<mivoPackageEntry> SkinTree() {
  mivoPackageEntry pics{true, u"pics", {}, {}};
  pics.Children.push_back({false, u"x.png", {'X', 'X'}, {}});
  pics.Children.push_back({false, u"y.png", {'Y', 'Y'}, {}});
  std::vector<mivoPackageEntry> root;
  root.push_back({false, u"a.msk", {'A', 'A', 'A'}, {}});
  root.push_back(std::move(pics));
  root.push_back({false, u"z.txt", {'Z', 'Z'}, {}});
  return root;
}

TEST(PackageFile, WritesTheHandMadeLayoutAndRefusesWhatCannotBeRead) {
  mivoPackageHeader header;
  header.PackageName = u"Clear Horizon";
  Bytes bytes;
  ASSERT_TRUE(WritePackage(header, SkinTree(), &bytes));
  EXPECT_EQ(bytes, HandMadeSkinPackage());
  std::u16string message;
  EXPECT_FALSE(WritePackage({}, {}, &bytes, &message));
  EXPECT_FALSE(WritePackage({}, {{true, u"empty", {}, {}}}, &bytes, &message));
  EXPECT_FALSE(WritePackage({}, {{false, u"..", {}, {}}}, &bytes, &message));
  EXPECT_FALSE(message.empty());
}

TEST(PackageInstaller, ASkinPackageWritesIntoSkinsAndItsName) {
  MemoryTarget target;
  std::vector<std::pair<DWORD, DWORD>> progress;
  const auto status = InstallPackageBytes(HandMadeSkinPackage(), u"\\P\\", target,
                                          [&](DWORD total, DWORD done) { progress.push_back({total, done}); });
  ASSERT_EQ(status, mivoPackageStatus::kOk);
  EXPECT_EQ(target.log, (std::vector<std::u16string>{
                            u"mkdir \\P\\Skins\\Clear Horizon",
                            u"write \\P\\Skins\\Clear Horizon\\a.msk",
                            u"mkdir \\P\\Skins\\Clear Horizon\\pics",
                            u"write \\P\\Skins\\Clear Horizon\\pics\\x.png",
                            u"write \\P\\Skins\\Clear Horizon\\pics\\y.png",
                            u"write \\P\\Skins\\Clear Horizon\\z.txt",
                        }));
  EXPECT_EQ(target.files[u"\\P\\Skins\\Clear Horizon\\pics\\y.png"], (Bytes{'Y', 'Y'}));
  EXPECT_EQ(progress, (std::vector<std::pair<DWORD, DWORD>>{{9, 0}, {9, 3}, {9, 5}, {9, 7}, {9, 9}}));
}

TEST(PackageInstaller, TypesWriteIntoTheirFolders) {
  for (auto [type, dest] : {std::pair{2u, u"\\P\\ColorThemes\\a.mct"}, std::pair{3u, u"\\P\\Wallpapers\\Sea\\a.mct"},
                            std::pair{4u, u"\\P\\Languages\\a.mct"}}) {
    mivoPackageHeader header;
    header.PackageType = type;
    header.PackageName = u"Sea";
    Bytes bytes;
    ASSERT_TRUE(WritePackage(header, {{false, u"a.mct", {1, 2}, {}}}, &bytes));
    MemoryTarget target;
    ASSERT_EQ(InstallPackageBytes(bytes, u"\\P\\", target), mivoPackageStatus::kOk);
    EXPECT_EQ(target.files.count(dest), 1u) << type;
    EXPECT_EQ(target.folders.size(), 1u) << "the destination is made when missing";
  }
}

TEST(PackageInstaller, TheBarStaysWithinItsTrackWhateverTheTotal) {
  MemoryTarget target;
  DWORD last = 0;
  ASSERT_EQ(InstallPackageBytes(HandMadeSkinPackage(4), u"\\P\\", target, [&](DWORD t, DWORD d) {
              EXPECT_LE(d, t);
              last = d;
            }),
            mivoPackageStatus::kOk);
  EXPECT_EQ(last, 4u);
  EXPECT_EQ(InstallerBarRect(200, 1, 4, last), MakeRect(10, 30, 190, 40));
  EXPECT_EQ(InstallerBarRect(200, 1, 4, 400), MakeRect(10, 30, 190, 40));
  // Empty while the total is unknown, and never overflowing.
  EXPECT_EQ(InstallerBarRect(200, 1, 0, 0), MakeRect(10, 30, 10, 40));
  EXPECT_EQ(InstallerBarRect(200, 1, 0, 50), MakeRect(10, 30, 10, 40));
  EXPECT_EQ(InstallerBarRect(400, 2, 100, 50), MakeRect(20, 60, 200, 80));
  // (width - 20) * done would overflow 32 bits.
  EXPECT_EQ(InstallerBarRect(400, 2, 0xFFFFFFFFu, 0xFFFFFFFEu).right, 20 + 359);
}

TEST(PackageInstaller, ReinstallingAPackageWithSubFoldersFailsAtTheFirstExistingOne) {
  MemoryTarget target;
  ASSERT_EQ(InstallPackageBytes(HandMadeSkinPackage(), u"\\P\\", target), mivoPackageStatus::kOk);
  target.log.clear();
  std::u16string message;
  EXPECT_EQ(InstallPackageBytes(HandMadeSkinPackage(), u"\\P\\", target, {}, &message),
            mivoPackageStatus::kTargetFailed);
  EXPECT_EQ(target.log.back(), u"mkdir \\P\\Skins\\Clear Horizon\\pics");
  EXPECT_NE(message.find(u"pics"), std::u16string::npos);
}

TEST(PackageInstaller, EntryNamesThatWouldLeaveTheDestinationAreDamageAndNothingIsWritten) {
  for (std::u16string bad : {u"..", u".", u"", u"..\\..\\Windows\\x.exe", u"a\\b", u"a/b", u"C:x", u"\\abs"}) {
    Bytes b = Header(2, u"", 2);
    FileEntry(b, u"fine.mct", "1");
    U32(b, 1);
    FileEntry(b, bad, "2");
    U32(b, 0);
    MemoryTarget target;
    std::u16string message;
    EXPECT_EQ(InstallPackageBytes(b, u"\\P\\", target, {}, &message), mivoPackageStatus::kDamaged) << text::ToUtf8(bad);
    EXPECT_TRUE(target.log.empty()) << "checked before the first write";
    EXPECT_FALSE(message.empty());
  }
}

TEST(PackageInstaller, BadTypesAndPackageNamesAreDamage) {
  auto make = [](DWORD type, std::u16string name) {
    Bytes b = Header(type, name, 1);
    FileEntry(b, u"f", "1");
    U32(b, 0);
    return b;
  };
  MemoryTarget target;
  for (DWORD type : {0u, 5u, 0xFFFFFFFFu}) EXPECT_EQ(InstallPackageBytes(make(type, u"A"), u"\\P\\", target), mivoPackageStatus::kDamaged);
  EXPECT_EQ(InstallPackageBytes(make(1, u"..\\..\\Windows"), u"\\P\\", target), mivoPackageStatus::kDamaged);
  EXPECT_EQ(InstallPackageBytes(make(3, u""), u"\\P\\", target), mivoPackageStatus::kDamaged);
  EXPECT_EQ(InstallPackageBytes(make(1, u"."), u"\\P\\", target), mivoPackageStatus::kDamaged);
  EXPECT_TRUE(target.log.empty());
  EXPECT_EQ(InstallPackageBytes(make(2, u""), u"\\P\\", target), mivoPackageStatus::kOk) << "themes need no name";
}

TEST(PackageInstaller, EveryTruncationAndRandomDamageIsRefusedBeforeWriting) {
  const Bytes full = HandMadeSkinPackage();
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    MemoryTarget target;
    EXPECT_EQ(InstallPackageBytes(std::span(full.data(), cut), u"\\P\\", target), mivoPackageStatus::kDamaged) << cut;
    EXPECT_TRUE(target.log.empty()) << cut;
  }
  std::mt19937 rng(7);
  for (int round = 0; round < 500; ++round) {
    Bytes b = full;
    for (int k = 0; k < 3; ++k) b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
    MemoryTarget target;
    InstallPackageBytes(b, u"\\P\\", target);
    for (const auto& [path, content] : target.files) EXPECT_EQ(path.rfind(u"\\P\\", 0), 0u);
  }
}

TEST(PackageInstaller, DeepNestingIsDamageNotAStackOverflow) {
  Bytes b = Header(2, u"", 0);
  for (int i = 0; i < 200000; ++i) {
    b.push_back(1);
    Str(b, u"d");
  }
  MemoryTarget target;
  EXPECT_EQ(InstallPackageBytes(b, u"\\P\\", target), mivoPackageStatus::kDamaged);
}

}  // namespace
