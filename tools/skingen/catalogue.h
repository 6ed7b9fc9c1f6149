// Every picture of the default skins: its image name, its size at display
// scale 1 (doubled for the VGA skin) and where it comes from, either an icon
// of the icon theme (optionally with a badge or greyed out) or a drawing.
//
// The sizes follow where each picture is drawn: page, action, context-menu
// and large gadget icons are 48 square (the desktop icon chooser offers
// exactly the 48-square pictures); small status icons 32; keypad keys 58 x 37;
// SMS buttons 53 x 42 (inside the 53 x 48 portrait and 53 x 38 landscape
// buttons); list box side buttons 25; clock digits 48 x 72 and the divider
// 16 x 72, so four digits and the divider (208) fit a 240-pixel screen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/skingen/drawings.h"

namespace skingen {

struct Badge {
  bool present = false;
  Glyph glyph = Glyph::kPlus;
  const char* color = palette::kBlue;
  std::string text;  // for Glyph::kText
};

struct SkinPicture {
  std::string name;    // the skin image name
  int width = 0;       // at display scale 1
  int height = 0;
  std::string icon;    // icon theme name; empty for a drawing
  Badge badge;         // drawn over the icon
  bool greyed = false; // the icon without colour and faded (off, disabled)
  // The drawing's SVG body in a width x height space; ids start with the
  // argument.
  std::function<std::string(const std::string& id)> draw;
};

// The pictures in the order the skin file lists them.
const std::vector<SkinPicture>& Catalogue();

}  // namespace skingen
