// mivo-skingen: makes what mivo ships that is not code: the default skin
// packages from an icon theme and drawn pictures, and the "Default"
// wallpaper theme. The build runs it; it writes only when asked where.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/skingen/skins.h"
#include "tools/skingen/wallpapers.h"

namespace {

constexpr char kHelp[] = R"(Usage: mivo-skingen COMMAND [OPTIONS]

  skins --icon-theme DIR --out DIR --work DIR [--rsvg PROGRAM] [--version V]
        [--licence FILE] [--depfile FILE --stamp FILE] [--contact-sheets]
        [--scale 1|2]
        make "Clear Horizon.minst" and "Clear Horizon VGA.minst" in --out from the
        icon theme (Papirus) and the generator's drawings; --work keeps the
        rendered sheets (and contact sheets to look at)
  wallpapers --out DIR --size WxH [--name NAME] [--version V]
        make the wallpaper theme (default "Default") for a screen of that
        portrait size: DIR/NAME/NAME.mwt, desktop1.jpg ... desktop32_horz.jpg

Exit codes: 0 done, 1 the operation failed, 2 wrong usage.
)";

int Usage(const std::string& message) {
  std::fprintf(stderr, "mivo-skingen: %s\nTry 'mivo-skingen --help'.\n", message.c_str());
  return 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "mivo-skingen: %s\n", message.c_str());
  return 1;
}

// "--name value" options; flags listed in `flags` take no value.
bool ParseOptions(int argc, char** argv, const std::set<std::string>& known, const std::set<std::string>& flags,
                  std::map<std::string, std::string>* out, std::string* error) {
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if (a.rfind("--", 0) != 0 || !known.count(a.substr(2))) {
      *error = "unknown argument " + a;
      return false;
    }
    a = a.substr(2);
    if (flags.count(a)) {
      (*out)[a] = "1";
      continue;
    }
    if (i + 1 >= argc) {
      *error = "option --" + a + " needs a value";
      return false;
    }
    (*out)[a] = argv[++i];
  }
  return true;
}

// A Makefile-style dependency list for the build: target: input input ...
bool WriteDepfile(const std::string& path, const std::string& target, const std::set<std::string>& inputs) {
  auto escape = [](const std::string& s) {
    std::string o;
    for (char c : s) {
      if (c == ' ' || c == '#' || c == '\\') o += '\\';
      if (c == '$') o += '$';
      o += c;
    }
    return o;
  };
  std::ofstream out(path, std::ios::trunc);
  out << escape(target) << ":";
  for (const auto& f : inputs) out << " \\\n  " << escape(f);
  out << "\n";
  return static_cast<bool>(out);
}

int Skins(int argc, char** argv) {
  std::map<std::string, std::string> o;
  std::string error;
  if (!ParseOptions(argc, argv,
                    {"icon-theme", "out", "work", "rsvg", "version", "licence", "depfile", "stamp", "contact-sheets",
                     "scale"},
                    {"contact-sheets"}, &o, &error))
    return Usage(error);
  if (!o.count("icon-theme") || !o.count("out") || !o.count("work"))
    return Usage("skins needs --icon-theme, --out and --work");
  if (o.count("depfile") != o.count("stamp")) return Usage("--depfile and --stamp go together");
  skingen::SkinOptions options;
  options.iconTheme = o["icon-theme"];
  options.outDir = o["out"];
  options.workDir = o["work"];
  options.rsvg = o.count("rsvg") ? o["rsvg"] : "rsvg-convert";
  options.version = o.count("version") ? o["version"] : "1.0";
  options.licenceText = o.count("licence") ? o["licence"] : "";
  options.contactSheets = o.count("contact-sheets") > 0;
  std::vector<int> scales = {1, 2};
  if (o.count("scale")) {
    if (o["scale"] != "1" && o["scale"] != "2") return Usage("--scale is 1 or 2");
    scales = {std::stoi(o["scale"])};
  }
  std::set<std::string> inputs;
  for (int scale : scales)
    if (!skingen::MakeSkinPackage(options, scale, &inputs, &error)) return Fail(error);
  if (o.count("stamp")) {
    if (!WriteDepfile(o["depfile"], o["stamp"], inputs)) return Fail("cannot write " + o["depfile"]);
    std::ofstream stamp(o["stamp"], std::ios::trunc);
    stamp << "made by mivo-skingen\n";
    if (!stamp) return Fail("cannot write " + o["stamp"]);
  }
  return 0;
}

int Wallpapers(int argc, char** argv) {
  std::map<std::string, std::string> o;
  std::string error;
  if (!ParseOptions(argc, argv, {"out", "size", "name", "version"}, {}, &o, &error)) return Usage(error);
  if (!o.count("out") || !o.count("size")) return Usage("wallpapers needs --out and --size");
  int w = 0, h = 0;
  if (std::sscanf(o["size"].c_str(), "%dx%d", &w, &h) != 2 || w < 16 || h < 16 || w > 4096 || h > 4096)
    return Usage("--size is WIDTHxHEIGHT, for example 240x320");
  skingen::WallpaperOptions options;
  options.outDir = o["out"];
  options.name = o.count("name") ? o["name"] : "Default";
  options.version = o.count("version") ? o["version"] : "1.0";
  options.width = w;
  options.height = h;
  if (!skingen::MakeWallpaperTheme(options, &error)) return Fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage("no command given");
  const std::string command = argv[1];
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fputs(kHelp, stdout);
      return 0;
    }
  if (command == "skins") return Skins(argc, argv);
  if (command == "wallpapers") return Wallpapers(argc, argv);
  return Usage("unknown command '" + command + "'");
}
