#include "tools/skingen/drawings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/skingen/svg.h"

namespace skingen {

namespace {

constexpr const char* kFont = "font-family=\"Liberation Sans, Arial, sans-serif\"";
constexpr const char* kInk = "#ffffff";         // lettering on keys and buttons
constexpr const char* kKeyLetters = "#aebbd0";  // the letters under a keypad digit
constexpr const char* kKeyAccent = "#9fd0ff";   // the back and clear glyphs

// A vertical gradient from `top` to `bottom`.
std::string Gradient(const std::string& id, const char* top, const char* bottom) {
  return Fmt("<linearGradient id=\"%s\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
             "<stop offset=\"0\" stop-color=\"%s\"/><stop offset=\"1\" stop-color=\"%s\"/></linearGradient>",
             id.c_str(), top, bottom);
}

// A lighter and a darker shade of a "#rrggbb" colour (t > 0 towards white).
std::string Shade(const char* color, double t) {
  unsigned r = 0, g = 0, b = 0;
  std::sscanf(color + 1, "%02x%02x%02x", &r, &g, &b);
  auto mix = [t](unsigned c) {
    const double v = t >= 0 ? c + (255 - c) * t : c * (1 + t);
    return static_cast<unsigned>(std::lround(std::clamp(v, 0.0, 255.0)));
  };
  return Fmt("#%02x%02x%02x", mix(r), mix(g), mix(b));
}

// The graphite face shared by clock digits and keypad keys.
std::string GraphiteFace(const std::string& id, double x, double y, double w, double h, double r) {
  return Fmt("<defs><linearGradient id=\"%sf\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
             "<stop offset=\"0\" stop-color=\"#525b6b\"/><stop offset=\"0.5\" stop-color=\"#3a414d\"/>"
             "<stop offset=\"1\" stop-color=\"#262b33\"/></linearGradient></defs>"
             "<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\" fill=\"url(#%sf)\"/>"
             "<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\" fill=\"none\" stroke=\"#ffffff\" "
             "stroke-opacity=\"0.13\" stroke-width=\"1\"/>",
             id.c_str(), x, y, w, h, r, id.c_str(), x + 0.5, y + 0.5, w - 1, h - 1, r - 0.5);
}

// A coloured round button face: a disc or pill with a soft top light.
std::string ColourFace(const std::string& id, const char* color, double x, double y, double w, double h) {
  const double r = std::min(w, h) / 2;
  return "<defs>" + Gradient(id + "c", Shade(color, 0.18).c_str(), Shade(color, -0.12).c_str()) + "</defs>" +
         Fmt("<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\" fill=\"url(#%sc)\"/>"
             "<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\" fill=\"none\" stroke=\"#ffffff\" "
             "stroke-opacity=\"0.22\"/>",
             x, y, w, h, r, id.c_str(), x + 0.5, y + 0.5, w - 1, h - 1, r - 0.5);
}

// A telephone handset in a 24-unit box, filled.
std::string Handset(const char* fill) {
  return Fmt("<path d=\"M4.3 4.7 L8.5 3.6 L10.4 8.4 L8.2 10.1 C9.3 12.6 11.4 14.7 13.9 15.8 L15.6 13.6 "
             "L20.4 15.5 L19.3 19.7 C10.9 20.5 3.5 13.1 4.3 4.7 Z\" fill=\"%s\" stroke=\"%s\" stroke-width=\"1.6\" "
             "stroke-linejoin=\"round\"/>",
             fill, fill);
}

// A loudspeaker in a 24-unit box; with waves or a cross.
std::string Speaker(bool waves, bool cross) {
  std::string s = Fmt("<path d=\"M3.5 9.3 H7.6 L12.6 5 V19 L7.6 14.7 H3.5 Z\" fill=\"%s\" stroke=\"%s\" "
                      "stroke-width=\"1.2\" stroke-linejoin=\"round\"/>",
                      kInk, kInk);
  if (waves)
    s += Fmt("<path d=\"M15.5 9 C17 10.6 17 13.4 15.5 15 M18.2 6.6 C21.4 9.8 21.4 14.2 18.2 17.4\" fill=\"none\" "
             "stroke=\"%s\" stroke-width=\"1.9\" stroke-linecap=\"round\"/>",
             kInk);
  if (cross)
    s += Fmt("<path d=\"M15.5 9.5 L20.5 14.5 M20.5 9.5 L15.5 14.5\" stroke=\"%s\" stroke-width=\"2.1\" "
             "stroke-linecap=\"round\"/>",
             kInk);
  return s;
}

// Places a 24-unit glyph centred on (cx, cy) at a scale.
std::string Place(const std::string& glyph, double cx, double cy, double scale) {
  return Fmt("<g transform=\"translate(%g %g) scale(%g) translate(-12 -12)\">", cx, cy, scale) + glyph + "</g>";
}

std::string Stroke(const std::string& d, double width, const char* color = kInk) {
  return Fmt("<path d=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"%g\" stroke-linecap=\"round\" "
             "stroke-linejoin=\"round\"/>",
             d.c_str(), color, width);
}

std::string Text(double x, double y, double size, const char* weight, const char* color, const std::string& text,
                 const char* extra = "") {
  return Fmt("<text x=\"%g\" y=\"%g\" %s font-weight=\"%s\" font-size=\"%g\" text-anchor=\"middle\" fill=\"%s\" %s>"
             "%s</text>",
             x, y, kFont, weight, size, color, extra, XmlEscape(text).c_str());
}

}  // namespace

// ---- Badges ------------------------------------------------------------------------------

std::string DrawBadge(Glyph glyph, const char* color, const std::string& text, int size) {
  // Drawn in a 48-unit square, then scaled to the picture.
  std::string g;
  switch (glyph) {
    case Glyph::kPlus: g = Stroke("M32 37 H42 M37 32 V42", 3); break;
    case Glyph::kMinus: g = Stroke("M32 37 H42", 3); break;
    case Glyph::kCheck: g = Stroke("M32.2 37.4 L35.8 41 L42.2 33.6", 3); break;
    case Glyph::kCross: g = Stroke("M33.2 33.2 L40.8 40.8 M40.8 33.2 L33.2 40.8", 3); break;
    case Glyph::kArrowIn: g = Stroke("M41.5 32.5 L33.2 40.8 M33.2 35.2 V40.8 H38.8", 2.7); break;
    case Glyph::kArrowOut: g = Stroke("M33 41 L41.3 32.7 M35.7 32.7 H41.3 V38.3", 2.7); break;
    case Glyph::kArrowRight: g = Stroke("M31.8 37 H41.6 M37.6 32.8 L41.8 37 L37.6 41.2", 2.7); break;
    case Glyph::kPencil:
      g = Fmt("<path d=\"M32.3 41.7 L33 38.3 L39.6 31.7 L42.3 34.4 L35.7 41 Z\" fill=\"%s\" stroke=\"%s\" "
              "stroke-width=\"0.8\" stroke-linejoin=\"round\"/>",
              kInk, kInk);
      break;
    case Glyph::kExclaim:
      g = Stroke("M37 31.4 V38.2", 3.2) + Fmt("<circle cx=\"37\" cy=\"42.2\" r=\"1.7\" fill=\"%s\"/>", kInk);
      break;
    case Glyph::kClock:
      g = Fmt("<circle cx=\"37\" cy=\"37\" r=\"5.6\" fill=\"none\" stroke=\"%s\" stroke-width=\"1.9\"/>", kInk) +
          Stroke("M37 33.9 V37.2 H39.6", 1.8);
      break;
    case Glyph::kList: g = Stroke("M32.6 33.4 H41.4 M32.6 37 H41.4 M32.6 40.6 H41.4", 2.1); break;
    case Glyph::kPhone: g = Place(Handset(kInk), 37, 37.2, 0.56); break;
    case Glyph::kCopy:
      g = Fmt("<rect x=\"31.8\" y=\"31.8\" width=\"7\" height=\"7\" rx=\"1.3\" fill=\"none\" stroke=\"%s\" "
              "stroke-width=\"1.8\"/><rect x=\"35.2\" y=\"35.2\" width=\"7\" height=\"7\" rx=\"1.3\" fill=\"%s\"/>",
              kInk, kInk);
      break;
    case Glyph::kScissors:
      g = Fmt("<circle cx=\"33.6\" cy=\"40.2\" r=\"2.2\" fill=\"none\" stroke=\"%s\" stroke-width=\"1.6\"/>"
              "<circle cx=\"40.4\" cy=\"40.2\" r=\"2.2\" fill=\"none\" stroke=\"%s\" stroke-width=\"1.6\"/>",
              kInk, kInk) +
          Stroke("M35.2 38.6 L40.6 31.6 M38.8 38.6 L33.4 31.6", 1.7);
      break;
    case Glyph::kDot: g = Fmt("<circle cx=\"37\" cy=\"37\" r=\"3.6\" fill=\"%s\"/>", kInk); break;
    case Glyph::kWaves:
      g = Fmt("<circle cx=\"33.6\" cy=\"37\" r=\"1.9\" fill=\"%s\"/>", kInk) +
          Stroke("M36.6 33.6 C38.4 35.4 38.4 38.6 36.6 40.4 M39.6 31.2 C42.8 34.4 42.8 39.6 39.6 42.8", 1.8);
      break;
    case Glyph::kText: g = Text(37, 40.6, text.size() > 1 ? 9.5 : 11, "bold", kInk, text); break;
  }
  const std::string disc =
      Fmt("<circle cx=\"37\" cy=\"37\" r=\"10.6\" fill=\"%s\" stroke=\"#ffffff\" stroke-width=\"1.6\"/>", color);
  return Fmt("<g transform=\"scale(%g)\">", size / 48.0) + disc + g + "</g>";
}

// ---- Clock ---------------------------------------------------------------------------------

std::string ClockDigit(const std::string& id, int digit) {
  // A flip-clock card: the digit on graphite, split by a thin hinge line.
  return GraphiteFace(id, 2, 1, 44, 70, 7) + Text(24, 56.5, 54, "bold", "#f3f6fa", std::to_string(digit)) +
         "<rect x=\"2\" y=\"35.3\" width=\"44\" height=\"1.2\" fill=\"#10141a\" fill-opacity=\"0.7\"/>"
         "<rect x=\"2\" y=\"36.5\" width=\"44\" height=\"0.8\" fill=\"#ffffff\" fill-opacity=\"0.08\"/>";
}

std::string ClockDivider(const std::string&) {
  std::string s;
  for (double cy : {26.0, 46.0})
    s += Fmt("<circle cx=\"8\" cy=\"%g\" r=\"4.2\" fill=\"#f3f6fa\" stroke=\"#10141a\" stroke-opacity=\"0.45\" "
             "stroke-width=\"1\"/>",
             cy);
  return s;
}

std::string ClockMeridiem(const std::string& id, bool pm) {
  return GraphiteFace(id, 1, 1, 38, 22, 6) + Text(20, 16.6, 12.5, "bold", "#f3f6fa", pm ? "PM" : "AM");
}

// ---- Keypad --------------------------------------------------------------------------------

std::string KeypadKey(const std::string& id, const std::string& digit, const std::string& letters) {
  std::string s = GraphiteFace(id, 1, 1, 56, 35, 6);
  if (letters.empty()) return s + Text(29, 25.5, 20, "bold", kInk, digit);
  return s + Text(29, 20.5, 18, "bold", kInk, digit) +
         Text(29, 31, 8, "bold", kKeyLetters, letters, "letter-spacing=\"1\"");
}

std::string KeypadBack(const std::string& id) {
  // The erase-left key: an arrow-shaped tab with a cross in it.
  return GraphiteFace(id, 1, 1, 56, 35, 6) +
         Fmt("<path d=\"M19.5 11 H38.5 A2.5 2.5 0 0 1 41 13.5 V23.5 A2.5 2.5 0 0 1 38.5 26 H19.5 L13 18.5 Z\" "
             "fill=\"none\" stroke=\"%s\" stroke-width=\"2\" stroke-linejoin=\"round\"/>",
             kKeyAccent) +
         Stroke("M26 14.8 L33.4 22.2 M33.4 14.8 L26 22.2", 2, kKeyAccent);
}

std::string KeypadClear(const std::string& id) {
  return GraphiteFace(id, 1, 1, 56, 35, 6) + Text(29, 25.5, 20, "bold", kKeyAccent, "C");
}

// ---- Message box ---------------------------------------------------------------------------

std::string MessageBoxButton(const std::string& id, bool yes) {
  std::string s = ColourFace(id, yes ? palette::kGreen : palette::kRed, 4, 4, 88, 40);
  if (yes) return s + Stroke("M37.5 24.5 L44.5 31.5 L58.5 17", 4.4);
  return s + Stroke("M41 17 L55 31 M55 17 L41 31", 4.4);
}

// ---- SMS reading page ----------------------------------------------------------------------

std::string SmsButtonPicture(const std::string& id, SmsButton button) {
  const char* colour = palette::kSlate;
  std::string glyph;
  switch (button) {
    case SmsButton::kPrevious: glyph = Stroke("M29.5 13.5 L22 21 L29.5 28.5", 3.6); break;
    case SmsButton::kNext: glyph = Stroke("M23.5 13.5 L31 21 L23.5 28.5", 3.6); break;
    case SmsButton::kReply:
      colour = palette::kBlue;
      glyph = Stroke("M24 14 L17.5 20 L24 26 M17.8 20 H29 C33.5 20 35.5 23 35.5 28", 3);
      break;
    case SmsButton::kCall:
      colour = palette::kGreen;
      glyph = Place(Handset(kInk), 26.5, 21, 0.92);
      break;
  }
  return ColourFace(id, colour, 3, 5, 47, 32) + glyph;
}

std::string SmsBackground(const std::string&) {
  // A faint speech bubble behind the message text; grey at low opacity reads
  // on any text colour the theme gives the bubble.
  return "<path d=\"M32 8 H128 A24 24 0 0 1 152 32 V70 A24 24 0 0 1 128 94 H66 L36 114 L44 94 H32 "
         "A24 24 0 0 1 8 70 V32 A24 24 0 0 1 32 8 Z\" fill=\"#8a8a8a\" fill-opacity=\"0.16\"/>";
}

// ---- Lists ---------------------------------------------------------------------------------

std::string ListSideButton(const std::string& id, SideButton button) {
  std::string s = ColourFace(id, palette::kBlue, 1.5, 1.5, 22, 22);
  switch (button) {
    case SideButton::kExpand: return s + Stroke("M8 10.8 L12.5 15.3 L17 10.8", 2.6);
    case SideButton::kCollapse: return s + Stroke("M8 14.4 L12.5 9.9 L17 14.4", 2.6);
    case SideButton::kHelp: return s + Text(12.5, 17.9, 15, "bold", kInk, "?");
  }
  return s;
}

std::string ScrollBall(const std::string& id) {
  return "<defs>" + Gradient(id + "b", "#6fb6f2", "#2478c4") + "</defs>" +
         Fmt("<circle cx=\"6\" cy=\"6\" r=\"5.3\" fill=\"url(#%sb)\" stroke=\"#ffffff\" stroke-opacity=\"0.55\" "
             "stroke-width=\"1\"/>",
             id.c_str());
}

std::string ListEnd(const std::string& id, int width, int height) {
  // A rule that fades out towards both ends, with a dot in the middle.
  const double cy = height / 2.0;
  return Fmt("<defs><linearGradient id=\"%se\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"0\">"
             "<stop offset=\"0\" stop-color=\"#8c96a5\" stop-opacity=\"0\"/>"
             "<stop offset=\"0.5\" stop-color=\"#8c96a5\" stop-opacity=\"0.8\"/>"
             "<stop offset=\"1\" stop-color=\"#8c96a5\" stop-opacity=\"0\"/></linearGradient></defs>"
             "<rect x=\"0\" y=\"%g\" width=\"%d\" height=\"1.4\" fill=\"url(#%se)\"/>"
             "<circle cx=\"%g\" cy=\"%g\" r=\"%g\" fill=\"%s\"/>",
             id.c_str(), cy - 0.7, width, id.c_str(), width / 2.0, cy, std::min(cy - 1, 3.0), palette::kBlue);
}

// ---- Desktop switcher ----------------------------------------------------------------------

std::string SwitcherCellPicture(const std::string&, SwitcherCell cell) {
  switch (cell) {
    case SwitcherCell::kActive:
      return Fmt("<rect x=\"2\" y=\"1.5\" width=\"44\" height=\"57\" rx=\"9\" fill=\"#ffffff\" fill-opacity=\"0.17\" "
                 "stroke=\"#ffffff\" stroke-opacity=\"0.5\" stroke-width=\"1\"/>"
                 "<rect x=\"15\" y=\"52.5\" width=\"18\" height=\"3\" rx=\"1.5\" fill=\"%s\"/>",
                 palette::kBlue);
    case SwitcherCell::kInactive:
      return "<circle cx=\"24\" cy=\"54\" r=\"2.2\" fill=\"#ffffff\" fill-opacity=\"0.75\" stroke=\"#000000\" "
             "stroke-opacity=\"0.3\" stroke-width=\"0.8\"/>";
    case SwitcherCell::kNone:
      return "<circle cx=\"24\" cy=\"54\" r=\"1.6\" fill=\"#ffffff\" fill-opacity=\"0.3\"/>";
  }
  return {};
}

// ---- Volume window -------------------------------------------------------------------------

std::string VolumePicture(const std::string& id, VolumeImage image, int size) {
  const double c = size / 2.0;
  const double k = size / 30.0;  // glyphs are laid out for a 30-unit disc
  switch (image) {
    case VolumeImage::kSystem:
      return ColourFace(id, palette::kBlue, 1, 1, size - 2, size - 2) + Place(Speaker(true, false), c, c, 0.92 * k);
    case VolumeImage::kPhone:
      return ColourFace(id, palette::kGreen, 1, 1, size - 2, size - 2) + Place(Handset(kInk), c, c + 0.3, 0.78 * k);
    case VolumeImage::kMute:
      return ColourFace(id, palette::kRed, 1, 1, size - 2, size - 2) + Place(Speaker(false, true), c, c, 0.92 * k);
    case VolumeImage::kVibrate:
      return ColourFace(id, palette::kPurple, 1, 1, size - 2, size - 2) +
             Place(Fmt("<rect x=\"8.5\" y=\"5\" width=\"7\" height=\"14\" rx=\"1.6\" fill=\"none\" stroke=\"%s\" "
                       "stroke-width=\"1.8\"/>",
                       kInk) +
                       Stroke("M5 9 L3.5 10.5 L5 12 L3.5 13.5 L5 15 M19 9 L20.5 10.5 L19 12 L20.5 13.5 L19 15", 1.5),
                   c, c, 0.95 * k);
  }
  return {};
}

// ---- Single pictures -----------------------------------------------------------------------

std::string CustomColor(const std::string&) {
  // A colour wheel of twelve hues around a white hub.
  std::string s;
  const double cx = 24, cy = 24, r = 20.5;
  for (int i = 0; i < 12; ++i) {
    const double a0 = (i * 30 - 105) * M_PI / 180, a1 = ((i + 1) * 30 - 105) * M_PI / 180;
    const double hue = i * 30;
    // HSV to RGB at full saturation and value.
    const double h = hue / 60;
    const int sector = static_cast<int>(h) % 6;
    const double f = h - std::floor(h);
    double rgb[3];
    switch (sector) {
      case 0: rgb[0] = 1, rgb[1] = f, rgb[2] = 0; break;
      case 1: rgb[0] = 1 - f, rgb[1] = 1, rgb[2] = 0; break;
      case 2: rgb[0] = 0, rgb[1] = 1, rgb[2] = f; break;
      case 3: rgb[0] = 0, rgb[1] = 1 - f, rgb[2] = 1; break;
      case 4: rgb[0] = f, rgb[1] = 0, rgb[2] = 1; break;
      default: rgb[0] = 1, rgb[1] = 0, rgb[2] = 1 - f; break;
    }
    const std::string colour = Fmt("#%02x%02x%02x", static_cast<int>(std::lround(40 + rgb[0] * 200)),
                                   static_cast<int>(std::lround(40 + rgb[1] * 200)),
                                   static_cast<int>(std::lround(40 + rgb[2] * 200)));
    s += Fmt("<path d=\"M%.3f %.3f L%.3f %.3f A%g %g 0 0 1 %.3f %.3f Z\" fill=\"%s\" stroke=\"%s\" "
             "stroke-width=\"0.4\"/>",
             cx, cy, cx + r * std::cos(a0), cy + r * std::sin(a0), r, r, cx + r * std::cos(a1), cy + r * std::sin(a1),
             colour.c_str(), colour.c_str());
  }
  s += "<circle cx=\"24\" cy=\"24\" r=\"20.5\" fill=\"none\" stroke=\"#ffffff\" stroke-opacity=\"0.35\"/>"
       "<circle cx=\"24\" cy=\"24\" r=\"8\" fill=\"#ffffff\" stroke=\"#000000\" stroke-opacity=\"0.15\"/>";
  return s;
}

std::string NoPhoto(const std::string& id) {
  return "<defs>" + Gradient(id + "p", "#a3afc1", "#6c788b") + Fmt("<clipPath id=\"%sc\">", id.c_str()) +
         "<rect x=\"3\" y=\"3\" width=\"42\" height=\"42\" rx=\"9\"/></clipPath></defs>" +
         Fmt("<rect x=\"3\" y=\"3\" width=\"42\" height=\"42\" rx=\"9\" fill=\"url(#%sp)\"/>"
             "<g clip-path=\"url(#%sc)\" fill=\"#eef2f7\"><circle cx=\"24\" cy=\"19.5\" r=\"8\"/>"
             "<path d=\"M8 46 C8 35 15 29.5 24 29.5 C33 29.5 40 35 40 46 Z\"/></g>",
             id.c_str(), id.c_str());
}

std::string DefaultWallpaperIcon(const std::string& id) {
  // A small landscape under a wide sky, like the default wallpapers.
  return "<defs>" + Gradient(id + "s", "#2f6fb6", "#a9d0ee") + Fmt("<clipPath id=\"%sc\">", id.c_str()) +
         "<rect x=\"3\" y=\"7\" width=\"42\" height=\"34\" rx=\"6\"/></clipPath></defs>" +
         Fmt("<g clip-path=\"url(#%sc)\"><rect x=\"3\" y=\"7\" width=\"42\" height=\"34\" fill=\"url(#%ss)\"/>"
             "<circle cx=\"33\" cy=\"18\" r=\"4.6\" fill=\"#ffd873\"/>"
             "<path d=\"M3 32 C12 26 20 27 28 31 C35 34 40 30 45 28 V41 H3 Z\" fill=\"#3f8f7a\"/>"
             "<path d=\"M3 36 C14 31 26 33 34 36 C38 37.5 42 37 45 35.5 V41 H3 Z\" fill=\"#2a6a5e\"/></g>"
             "<rect x=\"3.5\" y=\"7.5\" width=\"41\" height=\"33\" rx=\"5.5\" fill=\"none\" stroke=\"#ffffff\" "
             "stroke-opacity=\"0.45\"/>",
             id.c_str(), id.c_str());
}

std::string SmallPhone(const std::string& id) {
  return ColourFace(id, palette::kGreen, 1, 1, 22, 22) + Place(Handset(kInk), 12, 12.2, 0.62);
}

std::string PhoneDisc(const std::string& id, int size) {
  const double k = size / 48.0;
  return Fmt("<g transform=\"scale(%g)\">", k) + ColourFace(id, palette::kGreen, 4, 4, 40, 40) +
         Place(Handset(kInk), 24, 24.4, 1.22) + "</g>";
}

std::string SignalStrength(const std::string& id) {
  std::string s = "<defs>" + Gradient(id + "g", "#7ee08f", "#2f9a4b") + "</defs>";
  for (int i = 0; i < 4; ++i) {
    const double h = 8 + i * 6;
    s += Fmt("<rect x=\"%g\" y=\"%g\" width=\"5\" height=\"%g\" rx=\"1.2\" fill=\"url(#%sg)\" stroke=\"#10141a\" "
             "stroke-opacity=\"0.35\" stroke-width=\"0.8\"/>",
             4.5 + i * 6.5, 29 - h, h, id.c_str());
  }
  return s;
}

std::string StartEmblem(const std::string& id) {
  // Drawn at 48 units and scaled, as the round buttons are.
  return Fmt("<g transform=\"scale(%g)\">", 20.0 / 48) + ColourFace(id, palette::kBlue, 2, 2, 44, 44) +
         Fmt("<path d=\"M13 34 V21 A5.5 5.5 0 0 1 24 21 V34 M24 21 A5.5 5.5 0 0 1 35 21 V34\" fill=\"none\" "
             "stroke=\"%s\" stroke-width=\"5.2\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>",
             kInk) +
         "</g>";
}

}  // namespace skingen
