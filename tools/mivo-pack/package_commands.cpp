// Packages: create from a folder, list, extract and check.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "look/package.h"
#include "tools/mivo-pack/commands.h"
#include "tools/mivo-pack/pack_util.h"

namespace pack {

namespace {

namespace stdfs = std::filesystem;

bool ParseType(const std::string& s, DWORD* type) {
  static const std::pair<const char*, DWORD> kNames[] = {
      {"skin", kPackageSkin},         {"colors", kPackageColorThemes}, {"colours", kPackageColorThemes},
      {"wallpaper", kPackageWallpaperTheme}, {"language", kPackageLanguages}, {"languages", kPackageLanguages}};
  for (const auto& [name, value] : kNames)
    if (s == name) {
      *type = value;
      return true;
    }
  std::uint32_t n = 0;
  if (ParseNumber(s, &n) && n >= 1 && n <= 4) {
    *type = n;
    return true;
  }
  return false;
}

const char* TypeName(DWORD type) {
  switch (type) {
    case kPackageSkin: return "skin";
    case kPackageColorThemes: return "colour themes";
    case kPackageWallpaperTheme: return "wallpaper theme";
    case kPackageLanguages: return "languages";
    default: return "unknown";
  }
}

// Reads a folder into package entries, sorted by name so a package is the
// same on every machine. Links to folders are skipped (they could loop);
// empty folders cannot be stored and are skipped with a note.
bool ReadTree(const stdfs::path& folder, const stdfs::path& exclude, std::vector<mivoPackageEntry>* entries,
              std::string* error) {
  std::vector<stdfs::directory_entry> items;
  std::error_code ec;
  for (const auto& item : stdfs::directory_iterator(folder, ec)) items.push_back(item);
  if (ec) {
    *error = "cannot read folder " + folder.string() + ": " + ec.message();
    return false;
  }
  std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.path() < b.path(); });
  for (const auto& item : items) {
    mivoPackageEntry entry;
    entry.Name = U16(item.path().filename().string());
    if (!IsPlainPackageName(entry.Name)) {
      *error = "cannot pack " + item.path().string() + ": its name is not a plain file name";
      return false;
    }
    std::error_code e2;
    if (stdfs::equivalent(item.path(), exclude, e2)) continue;
    if (item.is_symlink(e2) && item.is_directory(e2)) {
      std::fprintf(stderr, "mivo-pack: note: skipping the link to a folder %s\n", item.path().string().c_str());
      continue;
    }
    if (item.is_directory(e2)) {
      entry.IsFolder = true;
      if (!ReadTree(item.path(), exclude, &entry.Children, error)) return false;
      if (entry.Children.empty()) {
        std::fprintf(stderr, "mivo-pack: note: skipping the empty folder %s\n", item.path().string().c_str());
        continue;
      }
    } else if (item.is_regular_file(e2)) {
      if (!ReadFile(item.path().string(), &entry.Content, error)) return false;
    } else {
      std::fprintf(stderr, "mivo-pack: note: skipping %s (not a file)\n", item.path().string().c_str());
      continue;
    }
    entries->push_back(std::move(entry));
  }
  return true;
}

// A note for authors when the folder does not look like its type.
void NoteExpectedFiles(DWORD type, const std::u16string& name, const std::vector<mivoPackageEntry>& entries) {
  auto has = [&](const std::u16string& file) {
    return std::any_of(entries.begin(), entries.end(), [&](const auto& e) { return !e.IsFolder && e.Name == file; });
  };
  auto noteUnless = [&](const std::u16string& ext) {
    for (const auto& e : entries)
      if (e.IsFolder || e.Name.size() < ext.size() || e.Name.compare(e.Name.size() - ext.size(), ext.size(), ext) != 0)
        std::fprintf(stderr, "mivo-pack: note: %s is not a %s file\n", U8(e.Name).c_str(), U8(ext).c_str());
  };
  if (type == kPackageSkin && !has(name + u".msk"))
    std::fprintf(stderr, "mivo-pack: note: the skin has no skin file %s.msk\n", U8(name).c_str());
  if (type == kPackageWallpaperTheme && !has(name + u".mwt"))
    std::fprintf(stderr, "mivo-pack: note: the wallpaper theme has no file %s.mwt\n", U8(name).c_str());
  if (type == kPackageColorThemes) noteUnless(u".mct");
  if (type == kPackageLanguages) noteUnless(u".mlg");
}

// Counts what a package holds, and prints each entry when asked.
class Lister : public mivoPackageVisitor {
 public:
  explicit Lister(bool print) : m_print(print) {}
  bool OnFolder(std::u16string_view path) override {
    ++folders;
    if (m_print) std::printf("  %s\\\n", U8(path).c_str());
    return true;
  }
  bool OnFile(std::u16string_view path, std::span<const std::uint8_t> content) override {
    ++files;
    bytes += content.size();
    if (m_print) std::printf("  %-50s %10zu\n", U8(path).c_str(), content.size());
    return true;
  }
  int folders = 0;
  int files = 0;
  std::uint64_t bytes = 0;

 private:
  bool m_print;
};

// Writes entries below a host folder; existing folders are used, files replaced.
class Extractor : public mivoPackageVisitor {
 public:
  explicit Extractor(stdfs::path root) : m_root(std::move(root)) {}
  bool OnFolder(std::u16string_view path) override {
    std::error_code ec;
    stdfs::create_directories(HostPath(path), ec);
    if (ec) error = "cannot create folder " + HostPath(path).string() + ": " + ec.message();
    return !ec;
  }
  bool OnFile(std::u16string_view path, std::span<const std::uint8_t> content) override {
    return WriteFile(HostPath(path).string(), content, &error);
  }
  std::string error;

 private:
  stdfs::path HostPath(std::u16string_view path) const {
    std::string p = U8(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    return m_root / p;
  }
  stdfs::path m_root;
};

void PrintHeader(const mivoPackageHeader& h, const Lister& counts) {
  std::printf("type %u (%s), name \"%s\", version %u\n", h.PackageType, TypeName(h.PackageType),
              U8(h.PackageName).c_str(), h.PackageVersion);
  for (int i = 0; i < 3; ++i)
    if (!h.Descriptions[i].empty()) std::printf("info %d: %s\n", i + 1, U8(h.Descriptions[i]).c_str());
  std::printf("%d files in %d folders, %llu bytes (TotalBytes %u)\n", counts.files, counts.folders,
              static_cast<unsigned long long>(counts.bytes), h.TotalBytes);
}

}  // namespace

int CreatePackage(const Argv& argv) {
  const Args args = ParseArgs(argv, {"version", "info1", "info2", "info3"});
  if (!args.error.empty()) return Usage(args.error);
  if (args.positional.size() != 4) return Usage("create takes TYPE NAME FOLDER OUT.minst");
  mivoPackageHeader header;
  if (!ParseType(args.positional[0], &header.PackageType))
    return Usage("unknown package type '" + args.positional[0] + "' (skin, colors, wallpaper, language or 1 to 4)");
  header.PackageName = U16(args.positional[1]);
  const bool needsName = header.PackageType == kPackageSkin || header.PackageType == kPackageWallpaperTheme;
  if ((needsName || !header.PackageName.empty()) && !IsPlainPackageName(header.PackageName))
    return Usage("the package name must be a plain name (no \\, /, : or ..)");
  if (args.options.count("version") && !ParseNumber(args.options.at("version"), &header.PackageVersion))
    return Usage("--version takes a number");
  for (int i = 0; i < 3; ++i) {
    const auto it = args.options.find("info" + std::to_string(i + 1));
    if (it != args.options.end()) header.Descriptions[i] = U16(it->second);
  }
  const stdfs::path folder = args.positional[2];
  const std::string out = args.positional[3];
  std::error_code ec;
  if (!stdfs::is_directory(folder, ec)) return Fail("not a folder: " + folder.string());

  std::vector<mivoPackageEntry> entries;
  std::string error;
  if (!ReadTree(folder, out, &entries, &error)) return Fail(error);
  if (entries.empty()) return Fail("nothing to pack: " + folder.string() + " holds no files");
  NoteExpectedFiles(header.PackageType, header.PackageName, entries);
  std::vector<std::uint8_t> bytes;
  std::u16string message;
  if (!WritePackage(header, entries, &bytes, &message)) return Fail(U8(message));
  if (!WriteFile(out, bytes, &error)) return Fail(error);
  mivoPackageHeader written;
  Lister counts(false);
  ReadPackage(bytes, &written, &counts);
  std::printf("%s: %d files in %d folders, %llu bytes\n", out.c_str(), counts.files, counts.folders,
              static_cast<unsigned long long>(counts.bytes));
  return kDone;
}

// Reads a package file and checks it whole, counting what it holds. kDone,
// or the failure printed and its code.
int LoadPackage(const std::string& path, std::vector<std::uint8_t>* bytes, mivoPackageHeader* header,
                Lister* counts) {
  std::string error;
  if (!ReadFile(path, bytes, &error)) return Fail(error);
  std::u16string message;
  if (ReadPackage(*bytes, header, counts, &message) != mivoPackageStatus::kOk)
    return Fail("damaged package " + path + ": " + U8(message));
  return kDone;
}

int ListPackage(const Argv& argv) {
  Argv files;
  if (const int code = FilesOnly(argv, 1, "list takes FILE.minst", &files)) return code;
  std::vector<std::uint8_t> bytes;
  mivoPackageHeader header;
  Lister counts(false);
  if (const int code = LoadPackage(files[0], &bytes, &header, &counts)) return code;
  PrintHeader(header, counts);
  Lister printer(true);
  ReadPackage(bytes, &header, &printer);
  return kDone;
}

int ExtractPackage(const Argv& argv) {
  Argv files;
  if (const int code = FilesOnly(argv, 2, "extract takes FILE.minst DIR", &files)) return code;
  std::vector<std::uint8_t> bytes;
  mivoPackageHeader header;
  Lister counts(false);
  // Checked whole first: a damaged package writes nothing.
  if (const int code = LoadPackage(files[0], &bytes, &header, &counts)) return code;
  std::error_code ec;
  stdfs::create_directories(files[1], ec);
  if (ec) return Fail("cannot create folder " + files[1] + ": " + ec.message());
  Extractor extractor(files[1]);
  std::u16string message;
  if (ReadPackage(bytes, &header, &extractor, &message) != mivoPackageStatus::kOk) return Fail(extractor.error);
  std::printf("%d files in %d folders extracted to %s\n", counts.files, counts.folders, files[1].c_str());
  return kDone;
}

int CheckPackage(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  mivoPackageHeader header;
  Lister counts(false);
  if (const int code = LoadPackage(path, &bytes, &header, &counts)) return code;
  PrintHeader(header, counts);
  if (counts.bytes != header.TotalBytes)
    std::printf("note: TotalBytes %u differs from the %llu bytes the files hold (the progress bar is off)\n",
                header.TotalBytes, static_cast<unsigned long long>(counts.bytes));
  std::printf("%s: a good package\n", path.c_str());
  return kDone;
}

int CheckFile(const Argv& argv) {
  Argv files;
  if (const int code = FilesOnly(argv, 1, "check takes FILE", &files)) return code;
  const std::string& path = files[0];
  const std::string ext = Extension(path);
  if (ext == ".minst") return CheckPackage(path);
  if (ext == ".msk") return CheckSkin(path);
  if (ext == ".mct") return CheckColorTheme(path);
  if (ext == ".mwt") return CheckWallpaperTheme(path);
  if (ext == ".mlg") return CheckLanguage(path, false);
  if (ext == ".dat" && path.find("desktop") != std::string::npos) return CheckLayout(path);
  return Usage("cannot tell the kind of " + path + " (.minst, .msk, .mct, .mwt, .mlg or a desktop layout .dat)");
}

}  // namespace pack
