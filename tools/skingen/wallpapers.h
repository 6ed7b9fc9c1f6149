// The "Default" wallpaper theme: one calm picture per desktop (1 to 32) and
// orientation, painted at the screen size of the device it ships for. Each
// is a wide sky over soft hills in one of eight moods; every pixel keeps a
// middle brightness, so white text and black text both stay legible on it.
#pragma once

#include <string>

#include "tools/skingen/raster.h"

namespace skingen {

struct WallpaperOptions {
  std::string outDir;     // the theme folder is made in here
  std::string name = "Default";
  std::string version;
  int width = 240;        // the portrait screen size; landscape swaps them
  int height = 320;
};

// The brightness band every wallpaper pixel keeps: relative luminance (as
// in the contrast ratio of WCAG) between these, so white text has a contrast
// of at least 1.05 / (kMaxLuminance + 0.05) and black text at least
// (kMinLuminance + 0.05) / 0.05: 3.5 each.
inline constexpr double kMinWallpaperLuminance = 0.125;
inline constexpr double kMaxWallpaperLuminance = 0.25;

// The picture of a desktop (1 to 32) at a size.
Rgba PaintWallpaper(int desktop, int width, int height);

bool MakeWallpaperTheme(const WallpaperOptions& options, std::string* error);

}  // namespace skingen
