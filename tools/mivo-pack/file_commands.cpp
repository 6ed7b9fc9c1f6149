// Skin files, colour themes and wallpaper themes.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "look/color_theme.h"
#include "look/skin.h"
#include "look/wallpaper_theme.h"
#include "tools/mivo-pack/commands.h"
#include "tools/mivo-pack/pack_util.h"

namespace pack {

namespace {

namespace stdfs = std::filesystem;

// The six descriptive strings every look file carries, as options.
const std::vector<std::string> kStringOptions = {"description", "version", "author", "www", "generator",
                                                 "generator-www"};

template <typename T>
void ApplyStrings(const Args& args, T& file) {
  std::u16string* fields[] = {&file.Description, &file.Version, &file.Author, &file.WWW, &file.Generator,
                              &file.GeneratorWWW};
  for (std::size_t i = 0; i < kStringOptions.size(); ++i) {
    const auto it = args.options.find(kStringOptions[i]);
    if (it != args.options.end()) *fields[i] = U16(it->second);
  }
}

template <typename T>
void PrintStrings(const T& file) {
  const std::u16string* fields[] = {&file.Description, &file.Version, &file.Author, &file.WWW, &file.Generator,
                                    &file.GeneratorWWW};
  const char* labels[] = {"Description", "Version", "Author", "WWW", "Generator", "Generator WWW"};
  for (int i = 0; i < 6; ++i) std::printf("%-14s %s\n", (std::string(labels[i]) + ":").c_str(), U8(*fields[i]).c_str());
}

std::vector<std::string> With(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

int PrintSkin(const std::string& path, bool check) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadFile(path, &bytes, &error)) return Fail(error);
  mivoSkin skin;
  const bool complete = skin.ReadFrom(bytes);
  std::printf("%s: skin file version %u\n", path.c_str(), skin.FileVersion);
  PrintStrings(skin);
  std::printf("%-14s 0x%08X\n", "Reserved:", skin.SkinReserved);
  if (skin.LegacyColors) {
    std::printf("Colours of a version-1 skin:");
    for (COLORREF c : *skin.LegacyColors) std::printf(" %s", ColorText(c).c_str());
    std::printf("\n");
  }
  std::printf("%zu images:\n", skin.Images.size());
  const stdfs::path folder = stdfs::path(path).parent_path();
  int missing = 0;
  for (const auto& image : skin.Images) {
    std::string note;
    if (!image->File.empty() && image->File[0] != u'\\') {
      std::error_code ec;
      std::string relative = U8(image->File);
      std::replace(relative.begin(), relative.end(), '\\', '/');
      if (!stdfs::exists(folder / relative, ec)) {
        note = "  (missing)";
        ++missing;
      }
    }
    std::printf("  %-44s %-32s %s%s\n", U8(image->Name).c_str(), image->File.empty() ? "-" : U8(image->File).c_str(),
                ColorText(image->TransparentColor).c_str(), note.c_str());
  }
  if (!complete)
    return Fail("damaged skin file " + path + ": it ends before its end marker; " + std::to_string(skin.Images.size()) +
                " images could be read");
  if (check) {
    if (missing) std::printf("note: %d picture files are not beside the skin file\n", missing);
    std::printf("%s: a good skin file\n", path.c_str());
  }
  return kDone;
}

// skin set FILE.msk [IMAGE] [--file F] [--transparent COLOR] [string options]
int SetSkin(const Args& args) {
  if (args.positional.empty() || args.positional.size() > 2) return Usage("skin set takes FILE.msk [IMAGE] [options]");
  const std::string path = args.positional[0];
  const bool hasImage = args.positional.size() == 2;
  if (!hasImage && (args.options.count("file") || args.options.count("transparent")))
    return Usage("--file and --transparent need the IMAGE name");
  COLORREF transparent = 0;
  if (args.options.count("transparent") && !ParseColor(args.options.at("transparent"), &transparent))
    return Usage("cannot read the colour '" + args.options.at("transparent") + "' (#RRGGBB, R,G,B or 0x00BBGGRR)");

  mivoSkin skin;
  std::error_code ec;
  if (stdfs::exists(path, ec)) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFile(path, &bytes, &error)) return Fail(error);
    if (!skin.ReadFrom(bytes))
      return Fail("damaged skin file " + path + ": not changed, since the images after the damage would be lost");
  }
  ApplyStrings(args, skin);
  if (hasImage) {
    mivoSkinImage* image = skin.FindOrAddImage(U16(args.positional[1]));
    if (args.options.count("file")) image->SetFile(U16(args.options.at("file")));
    if (args.options.count("transparent")) image->SetTransparentColor(transparent);
  }
  std::string error;
  if (!WriteFile(path, skin.Serialize(), &error)) return Fail(error);
  return kDone;
}

int PrintColorTheme(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadFile(path, &bytes, &error)) return Fail(error);
  mivoColorTheme theme;
  const bool complete = theme.ReadFrom(bytes);
  if (!complete && theme.FileVersion != 1)
    return Fail("colour theme " + path + " has version " + std::to_string(theme.FileVersion) +
                "; only version 1 is read");
  std::printf("%s: colour theme version %u\n", path.c_str(), theme.FileVersion);
  PrintStrings(theme);
  const char* roles[] = {"background", "text", "subtext", "card outline", "card fill", "selected outline",
                         "selected fill", "scroll track", "scroll thumb"};
  for (int n = 1; n <= 9; ++n)
    std::printf("  colour %d  %-20s %s\n", n, roles[n - 1], ColorText(theme.GetColor(n)).c_str());
  if (!complete) return Fail("damaged colour theme " + path + ": it is cut short");
  return kDone;
}

int PrintWallpaperTheme(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadFile(path, &bytes, &error)) return Fail(error);
  mivoWallpaperTheme theme;
  const bool complete = theme.ReadFrom(bytes);
  std::printf("%s: wallpaper theme version %u\n", path.c_str(), theme.FileVersion);
  PrintStrings(theme);
  std::printf("%-14s 0x%08X\n", "Reserved:", theme.WallpaperReserved);
  if (!complete) return Fail("damaged wallpaper theme " + path + ": it is cut short");
  const stdfs::path folder = stdfs::path(path).parent_path();
  int pictures = 0;
  std::error_code ec;
  for (int d = 1; d <= kMaxWallpaperDesktops; ++d)
    for (const char* suffix : {"", "_horz"})
      pictures += stdfs::exists(folder / ("desktop" + std::to_string(d) + suffix + ".jpg"), ec);
  std::printf("%d desktop pictures beside it\n", pictures);
  return kDone;
}

}  // namespace

int CheckSkin(const std::string& path) { return PrintSkin(path, true); }

int CheckColorTheme(const std::string& path) {
  const int code = PrintColorTheme(path);
  if (code == kDone) std::printf("%s: a good colour theme\n", path.c_str());
  return code;
}

int CheckWallpaperTheme(const std::string& path) {
  const int code = PrintWallpaperTheme(path);
  if (code == kDone) std::printf("%s: a good wallpaper theme\n", path.c_str());
  return code;
}

int SkinCommand(const Argv& argv) {
  if (argv.empty()) return Usage("skin takes print or set");
  const Argv rest(argv.begin() + 1, argv.end());
  if (argv[0] == "print") {
    Argv files;
    if (const int code = FilesOnly(rest, 1, "skin print takes FILE.msk", &files)) return code;
    return PrintSkin(files[0], false);
  }
  if (argv[0] == "set") {
    const Args args = ParseArgs(rest, With({"file", "transparent"}, kStringOptions));
    if (!args.error.empty()) return Usage(args.error);
    return SetSkin(args);
  }
  return Usage("unknown skin command '" + argv[0] + "' (print or set)");
}

int ColorsCommand(const Argv& argv) {
  if (argv.empty()) return Usage("colors takes create or print");
  const Argv rest(argv.begin() + 1, argv.end());
  if (argv[0] == "print") {
    Argv files;
    if (const int code = FilesOnly(rest, 1, "colors print takes FILE.mct", &files)) return code;
    return PrintColorTheme(files[0]);
  }
  if (argv[0] != "create") return Usage("unknown colors command '" + argv[0] + "' (create or print)");
  const Args args = ParseArgs(rest, kStringOptions);
  if (!args.error.empty()) return Usage(args.error);
  if (args.positional.size() != 10) return Usage("colors create takes OUT.mct and nine colours");
  mivoColorTheme theme;
  for (int n = 1; n <= 9; ++n) {
    COLORREF c = 0;
    if (!ParseColor(args.positional[n], &c))
      return Usage("cannot read colour " + std::to_string(n) + " '" + args.positional[n] +
                   "' (#RRGGBB, R,G,B or 0x00BBGGRR)");
    theme.SetColor(n, c);
  }
  ApplyStrings(args, theme);
  std::string error;
  if (!WriteFile(args.positional[0], theme.Serialize(), &error)) return Fail(error);
  return kDone;
}

int WallpaperCommand(const Argv& argv) {
  if (argv.empty()) return Usage("wallpaper takes create or print");
  const Argv rest(argv.begin() + 1, argv.end());
  if (argv[0] == "print") {
    Argv files;
    if (const int code = FilesOnly(rest, 1, "wallpaper print takes FILE.mwt", &files)) return code;
    return PrintWallpaperTheme(files[0]);
  }
  if (argv[0] != "create") return Usage("unknown wallpaper command '" + argv[0] + "' (create or print)");
  const Args args = ParseArgs(rest, With({"file-version", "reserved"}, kStringOptions));
  if (!args.error.empty()) return Usage(args.error);
  if (args.positional.size() != 1) return Usage("wallpaper create takes OUT.mwt");
  mivoWallpaperTheme theme;
  if (args.options.count("file-version") && !ParseNumber(args.options.at("file-version"), &theme.FileVersion))
    return Usage("--file-version takes a number");
  if (args.options.count("reserved") && !ParseNumber(args.options.at("reserved"), &theme.WallpaperReserved))
    return Usage("--reserved takes a number");
  ApplyStrings(args, theme);
  std::string error;
  if (!WriteFile(args.positional[0], theme.Serialize(), &error)) return Fail(error);
  return kDone;
}

}  // namespace pack
