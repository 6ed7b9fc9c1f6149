// mivo-pack: builds and inspects mivo's look files: packages (.minst), skin
// files (.msk), colour themes (.mct), wallpaper themes (.mwt) and languages
// (.mlg), and desktop layouts. Paths are host paths.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/mivo-pack/commands.h"
#include "tools/mivo-pack/pack_util.h"

namespace {

constexpr char kHelp[] = R"(Usage: mivo-pack COMMAND ...

Packages
  create TYPE NAME FOLDER OUT.minst [--version N] [--info1 T] [--info2 T] [--info3 T]
                        pack every file under FOLDER; TYPE is skin, colors, wallpaper
                        or language (or 1 to 4); NAME names the skin or wallpaper theme
  list FILE.minst       show the header and every entry
  extract FILE.minst DIR
                        unpack the entries under DIR (a damaged package writes nothing)
  check FILE            check any look file: .minst, .msk, .mct, .mwt or .mlg, or a
                        desktop layout (a .dat file whose name holds "desktop")

Skin files
  skin print FILE.msk   show the descriptive strings and every image
  skin set FILE.msk [IMAGE] [--file F] [--transparent COLOR] [STRINGS]
                        bind IMAGE to picture file F and/or set its transparent
                        colour; the file is created when missing

Colour themes and wallpaper themes
  colors create OUT.mct C1 C2 C3 C4 C5 C6 C7 C8 C9 [STRINGS]
                        colours: 1 background, 2 text, 3 subtext, 4 card outline,
                        5 card fill, 6 selected outline, 7 selected fill,
                        8 scroll track, 9 scroll thumb
  colors print FILE.mct
  wallpaper create OUT.mwt [--file-version N] [--reserved N] [STRINGS]
  wallpaper print FILE.mwt

Languages
  language template OUT.txt [FROM.mlg]
                        every id with its English text (and FROM's translations)
  language create IN.txt OUT.mlg
                        lines of id, English text and translation, tab separated
  language check FILE.mlg
                        how many ids match this version's texts, which differ

Desktop layouts
  layout create IN.txt OUT.dat [--scale N]
                        the layout the text describes: one gadget a line, e.g.
                        action rect=10,40,80,110 desktops=1 portrait style=tile action="page 19"
                        (--scale: every rectangle times N, for a screen of pixel scale N)
  layout print FILE.dat every gadget as a line of that text
  layout check FILE.dat read to the end marker, or say what stops it

STRINGS are --description, --version, --author, --www, --generator and
--generator-www. A COLOR is #RRGGBB, R,G,B or 0x00BBGGRR.
Exit codes: 0 done, 1 the operation failed, 2 wrong usage.
)";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return pack::Usage("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kHelp, stdout);
    return pack::kDone;
  }
  for (const auto& a : args)
    if (a == "--help") {
      std::fputs(kHelp, stdout);
      return pack::kDone;
    }
  const std::string command = args[0];
  const pack::Argv rest(args.begin() + 1, args.end());
  if (command == "create") return pack::CreatePackage(rest);
  if (command == "list") return pack::ListPackage(rest);
  if (command == "extract") return pack::ExtractPackage(rest);
  if (command == "check") return pack::CheckFile(rest);
  if (command == "skin") return pack::SkinCommand(rest);
  if (command == "colors" || command == "colours") return pack::ColorsCommand(rest);
  if (command == "wallpaper") return pack::WallpaperCommand(rest);
  if (command == "language") return pack::LanguageCommand(rest);
  if (command == "layout") return pack::LayoutCommand(rest);
  return pack::Usage("unknown command '" + command + "'");
}
