// The look object: the skin, the colour and wallpaper themes, and the shared
// fonts, brushes, pens and colours every window paints with.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "look/color_theme.h"
#include "look/skin.h"
#include "look/wallpaper_theme.h"
#include "platform/imaging/imaging.h"
#include "platform/win32/types.h"

class mivoLookSettings;

// The pixel scale S: 1, or 2 when the screen is 480 or more pixels high at
// start. Every layout distance is a constant times S. Set by the look object's
// constructor and never changed afterwards (rotation keeps it).
extern int DisplayScale;

// Alignment flags of the picture primitives and of DrawSkinImage.
constexpr UINT kAlignCenterX = 1;
constexpr UINT kAlignRight = 2;
constexpr UINT kAlignCenterY = 4;
constexpr UINT kAlignBottom = 8;

// Modes of DrawSkinImage: 2 and 3 draw a kept composite of the picture over
// colour theme colour 5 or 7, one opaque blit instead of an alpha blend.
constexpr int kSkinDrawDirect = 0;
constexpr int kSkinDrawOverColor5 = 2;
constexpr int kSkinDrawOverColor7 = 3;

class mivoAppearance {
 public:
  // screenHeight: the screen's height at start (the platform's SM_CYSCREEN);
  // programFolder ends with a backslash. Loads the wallpaper theme and the
  // colour theme the settings name and makes the fonts, brushes and pens.
  mivoAppearance(mivoLookSettings& settings, std::u16string programFolder, int screenHeight);
  // Saves the skin, then releases everything.
  ~mivoAppearance();
  mivoAppearance(const mivoAppearance&) = delete;
  mivoAppearance& operator=(const mivoAppearance&) = delete;

  // ---- Skin ----
  // Created and loaded (name from the settings) on first use.
  mivoSkin* GetSkin();
  // Never null: a name the skin lacks is added with an empty file.
  mivoSkinImage* GetSkinImage(std::u16string_view name);
  // Draws a skin image aligned in a rectangle; returns the drawn rectangle
  // with inclusive right and bottom edges, all zero when nothing was drawn.
  RECT DrawSkinImage(mivoSkinImage* image, HDC dc, const RECT& rect, UINT flags, int mode = kSkinDrawDirect,
                     int width = 0, int height = 0);
  // The picture's natural size, (0, 0) when it cannot be loaded.
  SIZE GetSkinImageSize(mivoSkinImage* image);
  // The device path of the picture's file; empty when the image has none.
  std::u16string GetSkinImagePath(mivoSkinImage* image);
  // The picture scaled into the box, kept with the image (skin editor).
  HBITMAP GetSkinImageThumbnail(mivoSkinImage* image, HDC dc, SIZE box);

  // ---- Themes ----
  // Copies colours 1-3 into the text colours and remakes the theme brushes
  // and pens, the background brush, and the composites drawn over colours 5
  // and 7, so a theme change shows at once everywhere.
  void ApplyColorTheme();
  // Stores the name, loads the theme and applies it.
  void SetColorTheme(std::u16string_view name);
  mivoColorTheme& ColorTheme() { return m_colorTheme; }
  mivoWallpaperTheme& WallpaperTheme() { return m_wallpaperTheme; }
  mivoLookSettings& Settings() { return m_settings; }
  const std::u16string& ProgramFolder() const { return m_programFolder; }

  // ---- Wallpapers ----
  // The decoded picture of a desktop (1 to 32) in an orientation, or null.
  HBITMAP GetDesktopWallpaper(int desktop, bool landscape);
  void ResetDesktopWallpaper(int desktop, bool landscape);
  // Copies the picture as the user's wallpaper of that desktop; the setting
  // is switched on only when the copy succeeded.
  bool SetUserWallpaper(int desktop, bool landscape, std::u16string_view pictureFile);

  // ---- Shared drawing objects ----
  COLORREF BackgroundColor = 0;  // colour theme colour 1
  COLORREF TextColor = 0;        // colour 2
  COLORREF SubTextColor = 0;     // colour 3
  COLORREF LegacyColor4 = 0;     // set only by version-1 skin files; unused by drawing
  COLORREF LegacyColor5 = 0;
  // Drawn behind the rows of a Details view, large and faint: the background
  // colour 40/255 of the way to the text colour, so red, green and blue 40 on
  // the black default and a light grey on a white theme.
  COLORREF WatermarkColor() const;

  HFONT TitleFont = nullptr;       // Arial 20·S bold
  HFONT LargeTitleFont = nullptr;  // Arial 22·S bold
  HFONT SubtitleFont = nullptr;    // Arial 14·S bold
  HFONT SmallFont = nullptr;       // Arial 12·S normal

  HBRUSH BackgroundBrush = nullptr;  // BackgroundColor
  HBRUSH DarkBrush = nullptr;        // RGB(60, 60, 60)
  HBRUSH ThemeBrush5 = nullptr;      // colour 5
  HBRUSH ThemeBrush7 = nullptr;      // colour 7
  HPEN ThemePen4 = nullptr;          // width S, colour 4
  HPEN ThemePen6 = nullptr;          // width S, colour 6
  HPEN GreyPen = nullptr;            // width 1, RGB(70, 70, 70)

  int GridColumns = 3;       // grid defaults of items pages
  int GridCellHeight = 85;   // 85·S

 private:
  bool Decode(mivoSkinImage* image);
  void DropComposites();
  // The imaging library's factory, made on first use; null when unavailable.
  IImagingFactory* ImagingFactory();

  mivoLookSettings& m_settings;
  std::u16string m_programFolder;
  std::unique_ptr<mivoSkin> m_skin;  // created on first use
  mivoColorTheme m_colorTheme;
  mivoWallpaperTheme m_wallpaperTheme;
  IImagingFactory* m_imagingFactory = nullptr;
  bool m_imagingFactoryTried = false;
};

// The start-up step that installs the default skin package that fits the
// screen ("Clear Horizon VGA" at 480 or more pixels high, else "Clear
// Horizon") from the Skins folder. The package and the FinishInstallation
// flag are removed only when the installation succeeded, so a failure is
// tried again at the next start. Progress goes to the callback, or, without
// one, to the installer's progress window.
bool InstallDefaultSkin(mivoLookSettings& settings, std::u16string_view programFolder, int screenHeight,
                        const std::function<void(DWORD total, DWORD done)>& progress = {});
