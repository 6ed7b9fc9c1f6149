#include "tools/skingen/wallpapers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <vector>

#include "look/wallpaper_theme.h"
#include "platform/fs/file_io.h"
#include "platform/win32/text.h"
#include "tools/skingen/svg.h"

namespace skingen {

namespace {

struct Linear {
  double r = 0, g = 0, b = 0;
};

double ToLinear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double ToSrgb(double c) { return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055; }

Linear Hex(unsigned rgb) {
  return {ToLinear(((rgb >> 16) & 255) / 255.0), ToLinear(((rgb >> 8) & 255) / 255.0), ToLinear((rgb & 255) / 255.0)};
}

Linear Mix(const Linear& a, const Linear& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Luminance(const Linear& c) { return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b; }

// Keeps the brightness inside the band with a soft knee at both ends, so a
// bright glow or a dark hill is compressed gently instead of cut flat: too
// bright is darkened at the same hue, too dark is lifted towards grey.
Linear FitLuminance(Linear c) {
  const double l = Luminance(c);
  // A little inside the band, so rounding to 8 bits and the JPEG's small
  // errors cannot carry a pixel over its edge.
  const double lo = kMinWallpaperLuminance + 0.012, hi = kMaxWallpaperLuminance - 0.02;
  double t = (l - lo) / (hi - lo);
  constexpr double kKnee = 0.3;
  if (t > 1 - kKnee) {
    t = 1 - kKnee + kKnee * std::tanh((t - (1 - kKnee)) / kKnee);
  } else if (t < kKnee) {
    t = kKnee - kKnee * std::tanh((kKnee - t) / kKnee);
  } else {
    return c;
  }
  const double target = lo + t * (hi - lo);
  if (target < l) {
    const double k = target / l;
    return {c.r * k, c.g * k, c.b * k};
  }
  return Mix(c, {1, 1, 1}, (target - l) / (1 - l));
}

// Linear light to 8-bit sRGB with a fraction kept for the dither.
double ToSrgb255(double c) {
  static const std::vector<double> table = [] {
    std::vector<double> t(4097);
    for (int i = 0; i <= 4096; ++i) t[i] = ToSrgb(i / 4096.0) * 255;
    return t;
  }();
  const double x = std::clamp(c, 0.0, 1.0) * 4096;
  const int i = std::min(static_cast<int>(x), 4095);
  return table[i] + (table[i + 1] - table[i]) * (x - i);
}

double Smooth(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// One mood: the sky from its top to the horizon, the glow of a low sun, and
// three hill layers from far to near.
struct Mood {
  unsigned skyTop, skyHorizon, glow;
  std::array<unsigned, 3> hills;
};

constexpr Mood kMoods[8] = {
    {0x285a8f, 0x86abcc, 0xd4dde4, {0x6a93b1, 0x4e7d9d, 0x3d6b8a}},  // clear blue day
    {0x54487f, 0xd49a88, 0xf3caa4, {0x92789c, 0x76618c, 0x5f4f7d}},  // dawn
    {0x1f6676, 0x8dc3bf, 0xd3e8de, {0x54a09b, 0x408b87, 0x327875}},  // sea
    {0x3b366c, 0xc8816a, 0xf2b47d, {0x86618a, 0x6a4e77, 0x544066}},  // dusk
    {0x3b6b60, 0xa7c29c, 0xe2e7c5, {0x78a171, 0x5f8c5d, 0x4c784c}},  // meadow
    {0x4b4b88, 0xaba5d2, 0xdfd9f0, {0x8580b6, 0x6f6aa3, 0x5d5992}},  // lavender
    {0x66503c, 0xcaa270, 0xeed6a2, {0xa07855, 0x886546, 0x72543b}},  // autumn
    {0x1f2e56, 0x5d72a2, 0x97a8cc, {0x48598a, 0x3b4b7a, 0x313f6b}},  // night
};

// A small deterministic hash for the dither and the hill shapes.
std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352d;
  x ^= x >> 15;
  x *= 0x846ca68b;
  x ^= x >> 16;
  return x;
}

double Unit(std::uint32_t seed) { return (Hash(seed) & 0xFFFFFF) / double(0x1000000); }

}  // namespace

Rgba PaintWallpaper(int desktop, int width, int height) {
  const int index = std::clamp(desktop, 1, 32) - 1;
  const Mood& mood = kMoods[index % 8];
  const int variant = index / 8;
  const std::uint32_t seed = static_cast<std::uint32_t>(index) * 977u + 13u;
  const bool landscape = width > height;

  const Linear top = Hex(mood.skyTop), horizon = Hex(mood.skyHorizon), glow = Hex(mood.glow);
  // The sun sits low, on the left or right, higher in the later variants.
  const double sunX = (variant % 2 == 0) ? 0.72 - 0.08 * Unit(seed + 1) : 0.28 + 0.08 * Unit(seed + 1);
  const double horizonY = landscape ? 0.60 : 0.62;
  const double sunY = horizonY - 0.07 - 0.05 * variant;
  const double glowRadius = landscape ? 0.42 : 0.50;

  // Hill layers: a base height under the horizon and a few gentle waves.
  struct Wave {
    double amplitude, frequency, phase;
  };
  struct Hill {
    double base;
    std::array<Wave, 3> waves;
    Linear colour;
  };
  std::array<Hill, 3> hills;
  for (int l = 0; l < 3; ++l) {
    Hill& h = hills[l];
    h.base = horizonY + 0.015 + l * (landscape ? 0.11 : 0.095);
    for (int w = 0; w < 3; ++w) {
      const std::uint32_t s = seed * 31u + l * 7u + w;
      h.waves[w] = {(0.035 - 0.009 * w) * (1.0 - 0.18 * l) * (0.6 + 0.8 * Unit(s)),
                    (1.2 + 1.3 * w) * (0.7 + 0.6 * Unit(s + 100)), 6.2832 * Unit(s + 200)};
    }
    h.colour = Hex(mood.hills[l]);
  }

  Rgba out;
  out.width = width;
  out.height = height;
  out.bytes.resize(static_cast<std::size_t>(width) * height * 4);
  const double aspect = static_cast<double>(width) / height;
  // The ridge of each hill depends on the column only.
  std::vector<std::array<double, 3>> ridges(width);
  for (int x = 0; x < width; ++x) {
    const double u = (x + 0.5) / width;
    for (int l = 0; l < 3; ++l) {
      double ridge = hills[l].base;
      for (const Wave& w : hills[l].waves) ridge -= w.amplitude * std::sin(w.frequency * 6.2832 * u + w.phase);
      ridges[x][l] = ridge;
    }
  }
  for (int y = 0; y < height; ++y) {
    const double v = (y + 0.5) / height;
    for (int x = 0; x < width; ++x) {
      const double u = (x + 0.5) / width;
      // Sky: top colour to the horizon colour, then the glow around the sun.
      Linear c = Mix(top, horizon, Smooth(v / horizonY) * 0.85 + 0.15 * (v / horizonY));
      const double dx = (u - sunX) * aspect, dy = v - sunY;
      const double d2 = (dx * dx + dy * dy) / (glowRadius * glowRadius);
      c = Mix(c, glow, 0.65 * std::exp(-3.0 * d2));
      // Hills, far to near, each with a soft edge and a little haze at its top.
      for (int l = 0; l < 3; ++l) {
        const Hill& h = hills[l];
        const double ridge = ridges[x][l];
        const double pixel = 1.0 / height;
        const double cover = std::clamp((v - ridge) / pixel + 0.5, 0.0, 1.0);
        if (cover <= 0) continue;
        const double depth = std::clamp((v - ridge) / 0.25, 0.0, 1.0);
        // Haze towards the horizon at the ridge, the full colour further down.
        c = Mix(c, Mix(h.colour, horizon, 0.18 * (1 - depth)), cover);
      }
      c = FitLuminance(c);
      // Dither by half a step so gradients show no bands.
      std::uint8_t* p = out.At(x, y);
      const std::uint32_t hsh = Hash(static_cast<std::uint32_t>(y * 65537 + x) ^ seed);
      const double channels[3] = {c.r, c.g, c.b};
      for (int k = 0; k < 3; ++k) {
        const double noise = (((hsh >> (k * 8)) & 255) / 255.0 - 0.5) * 0.9;
        p[k] = static_cast<std::uint8_t>(std::clamp(std::lround(ToSrgb255(channels[k]) + noise), 0L, 255L));
      }
      p[3] = 255;
    }
  }
  return out;
}

bool MakeWallpaperTheme(const WallpaperOptions& options, std::string* error) {
  const std::string folder = options.outDir + "/" + options.name;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  mivoWallpaperTheme theme;
  theme.Name = text::FromUtf8(options.name);
  theme.Description = text::FromUtf8(Fmt(
      "Calm horizons in eight moods, one for each desktop, made for %dx%d screens. Every picture keeps a middle "
      "brightness, so light and dark text both read well on it.",
      options.width, options.height));
  theme.Version = text::FromUtf8(options.version);
  theme.Author = u"mivo developers";
  theme.Generator = text::FromUtf8("mivo-skingen " + options.version);
  theme.GeneratorWWW = u"mivo's own skin generator (tools/skingen)";
  const auto mwt = theme.Serialize();
  const std::string mwtPath = folder + "/" + options.name + ".mwt";
  if (!fs::WriteHostFileAtomic(mwtPath, mwt.data(), mwt.size())) {
    *error = "cannot write " + mwtPath;
    return false;
  }
  for (int desktop = 1; desktop <= kMaxWallpaperDesktops; ++desktop) {
    for (bool landscape : {false, true}) {
      const int w = landscape ? options.height : options.width;
      const int h = landscape ? options.width : options.height;
      const auto jpeg = EncodeJpeg(PaintWallpaper(desktop, w, h), 92);
      const std::string path = folder + Fmt("/desktop%d%s.jpg", desktop, landscape ? "_horz" : "");
      if (jpeg.empty() || !fs::WriteHostFileAtomic(path, jpeg.data(), jpeg.size())) {
        *error = "cannot write " + path;
        return false;
      }
    }
  }
  return true;
}

}  // namespace skingen
