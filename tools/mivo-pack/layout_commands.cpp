// Desktop layouts: made from their text form, printed as text, checked.
#include <cstdio>
#include <string>
#include <vector>

#include "desktop/gadget.h"
#include "desktop/gadget_catalogue.h"
#include "desktop/gadget_container.h"
#include "desktop/layout_text.h"
#include "tools/mivo-pack/commands.h"
#include "tools/mivo-pack/layout_core.h"
#include "tools/mivo-pack/pack_util.h"

namespace pack {

namespace {

// Reads a layout file's gadgets as written (no clamping, nothing activated).
bool ReadLayoutFile(const std::string& path, LayoutCore& core, mivoGadgetContainer& container,
                    mivoLayoutReadResult* result, std::string* error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFile(path, &bytes, error)) return false;
  mivoLayoutReadOptions options;
  options.clamp = false;
  options.activate = false;
  *result = container.ReadLayout(bytes, nullptr, options);
  return true;
}

int CreateLayout(const Argv& argv) {
  const Args args = ParseArgs(argv, {"scale"});
  if (!args.error.empty()) return Usage(args.error);
  if (args.positional.size() != 2) return Usage("layout create takes IN.txt OUT.dat [--scale N]");
  const Argv& files = args.positional;
  std::uint32_t scale = 1;
  if (auto it = args.options.find("scale"); it != args.options.end()) {
    if (!ParseNumber(it->second, &scale) || scale < 1 || scale > 8) return Usage("--scale takes 1 to 8");
  }
  std::vector<std::uint8_t> text;
  std::string error;
  if (!ReadFile(files[0], &text, &error)) return Fail(error);
  LayoutCore core;
  mivoGadgetContainer container(&core);
  if (!layout_text::Parse(std::string(text.begin(), text.end()), &core, container, &error)) {
    return Fail(files[0] + ": " + error);
  }
  int hidden = 0;
  for (const auto& gadget : container.Gadgets()) {
    hidden += gadget->Desktops() == 0 ? 1 : 0;
    // A layout for a screen of a larger pixel scale: every distance times the scale.
    const RECT& r = gadget->GetRect();
    const LONG n = static_cast<LONG>(scale);
    gadget->SetRectUnclamped(RECT{r.left * n, r.top * n, r.right * n, r.bottom * n});
  }
  if (hidden) std::fprintf(stderr, "mivo-pack: warning: %d gadget(s) on no desktop will never show\n", hidden);
  if (!WriteFile(files[1], container.SerializeLayout(), &error)) return Fail(error);
  std::printf("%s: %zu gadgets\n", files[1].c_str(), container.Count());
  return kDone;
}

int PrintLayout(const Argv& argv) {
  Argv files;
  if (const int code = FilesOnly(argv, 1, "layout print takes FILE.dat", &files)) return code;
  LayoutCore core;
  mivoGadgetContainer container(&core);
  mivoLayoutReadResult result;
  std::string error;
  if (!ReadLayoutFile(files[0], core, container, &result, &error)) return Fail(error);
  std::fputs(layout_text::Format(&core, container).c_str(), stdout);
  if (!result.complete) return Fail(files[0] + ": " + result.problem);
  return kDone;
}

}  // namespace

int CheckLayout(const std::string& path) {
  LayoutCore core;
  mivoGadgetContainer container(&core);
  mivoLayoutReadResult result;
  std::string error;
  if (!ReadLayoutFile(path, core, container, &result, &error)) return Fail(error);
  if (!result.complete) {
    return Fail(path + ": " + result.problem + " (" + std::to_string(result.gadgets) + " gadgets read before)");
  }
  int hidden = 0;
  for (const auto& gadget : container.Gadgets()) hidden += gadget->Desktops() == 0 ? 1 : 0;
  std::printf("%s: a good desktop layout, %zu gadgets", path.c_str(), container.Count());
  if (hidden) std::printf(" (%d on no desktop)", hidden);
  std::printf("\n");
  return kDone;
}

int LayoutCommand(const Argv& argv) {
  if (argv.empty()) return Usage("layout takes create, print or check");
  const Argv rest(argv.begin() + 1, argv.end());
  if (argv[0] == "create") return CreateLayout(rest);
  if (argv[0] == "print") return PrintLayout(rest);
  if (argv[0] == "check") {
    Argv files;
    if (const int code = FilesOnly(rest, 1, "layout check takes FILE.dat", &files)) return code;
    return CheckLayout(files[0]);
  }
  return Usage("unknown layout command '" + argv[0] + "' (create, print or check)");
}

}  // namespace pack
