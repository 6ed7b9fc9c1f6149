// The pictures no icon theme has, drawn as SVG: clock digits, keypad keys,
// message box and SMS buttons, list box buttons, the desktop switcher's cell
// backgrounds, volume images and a few more, all in one style: rounded
// graphite keys with white lettering, and round buttons in the skin's four
// signal colours. Each function returns the body of an SVG drawing in a
// coordinate space of the picture's size at display scale 1; `id` prefixes
// every element id, so many drawings can share one document.
#pragma once

#include <string>

namespace skingen {

// The skin's signal colours.
namespace palette {
inline constexpr const char* kBlue = "#2f8fe0";
inline constexpr const char* kGreen = "#36a856";
inline constexpr const char* kRed = "#e0493f";
inline constexpr const char* kOrange = "#ee8a22";
inline constexpr const char* kSlate = "#5d6d84";
inline constexpr const char* kPurple = "#8a5fd6";
}  // namespace palette

// Small white glyphs drawn on a coloured disc in the corner of an icon.
enum class Glyph {
  kPlus, kMinus, kCheck, kCross, kArrowIn, kArrowOut, kArrowRight, kPencil, kExclaim, kClock, kList,
  kPhone, kCopy, kScissors, kDot, kWaves, kText,
};

// A badge in the bottom-right corner of a `size`-unit square picture.
std::string DrawBadge(Glyph glyph, const char* color, const std::string& text, int size);

std::string ClockDigit(const std::string& id, int digit);   // 48 x 72
std::string ClockDivider(const std::string& id);            // 16 x 72
std::string ClockMeridiem(const std::string& id, bool pm);  // 40 x 24

// 58 x 37: a digit with its letters, or the back and clear keys.
std::string KeypadKey(const std::string& id, const std::string& digit, const std::string& letters);
std::string KeypadBack(const std::string& id);
std::string KeypadClear(const std::string& id);

std::string MessageBoxButton(const std::string& id, bool yes);  // 96 x 48

enum class SmsButton { kPrevious, kNext, kReply, kCall };
std::string SmsButtonPicture(const std::string& id, SmsButton button);  // 53 x 42
std::string SmsBackground(const std::string& id);                      // 160 x 120

enum class SideButton { kExpand, kCollapse, kHelp };
std::string ListSideButton(const std::string& id, SideButton button);  // 25 x 25
std::string ScrollBall(const std::string& id);                          // 12 x 12
std::string ListEnd(const std::string& id, int width, int height);

enum class SwitcherCell { kActive, kInactive, kNone };
std::string SwitcherCellPicture(const std::string& id, SwitcherCell cell);  // 48 x 60

enum class VolumeImage { kSystem, kPhone, kMute, kVibrate };
std::string VolumePicture(const std::string& id, VolumeImage image, int size);

std::string CustomColor(const std::string& id);           // 48 x 48
std::string NoPhoto(const std::string& id);               // 48 x 48
std::string DefaultWallpaperIcon(const std::string& id);  // 48 x 48
std::string SmallPhone(const std::string& id);            // 24 x 24
// A green disc with a white handset, `size` square: calls.
std::string PhoneDisc(const std::string& id, int size);
std::string SignalStrength(const std::string& id);        // 32 x 32
// mivo's own start emblem on the shell's task bar: a blue disc with a white
// "m" of two finger-tip arches.
std::string StartEmblem(const std::string& id);           // 20 x 20

}  // namespace skingen
