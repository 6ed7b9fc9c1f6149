// Colour themes: eight colours and a ninth value that paint backgrounds,
// texts, list cards and scroll bars, kept in ".mct" files in the program
// folder's ColorThemes folder.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/types.h"

class mivoColorTheme {
 public:
  // Sets the name and reads program folder + "ColorThemes\" + name + ".mct".
  // A file of another version, a missing file or a short one changes only
  // what was read; false unless the whole version-1 record was read.
  bool LoadColorTheme(std::u16string_view programFolder, std::u16string_view name);
  bool ReadFrom(std::span<const std::uint8_t> bytes);
  // Always version 1.
  std::vector<std::uint8_t> Serialize() const;

  static std::u16string FilePath(std::u16string_view programFolder, std::u16string_view name);

  // Colour n (1 to 8), or the ninth value for n = 9; 0 outside.
  COLORREF GetColor(int n) const { return n >= 1 && n <= 9 ? Colors[n - 1] : 0; }
  void SetColor(int n, COLORREF c) {
    if (n >= 1 && n <= 9) Colors[n - 1] = c;
  }

  std::u16string Name;     // file name without folder and extension
  DWORD FileVersion = 1;
  std::u16string Description, Version, Author, WWW, Generator, GeneratorWWW;
  // 1 background, 2 text, 3 subtext, 4 card outline, 5 card fill, 6 selected
  // outline, 7 selected fill, 8 scroll track, 9 scroll thumb. Until a theme
  // is read they hold a dark theme, so a missing theme file still reads well.
  std::array<COLORREF, 9> Colors = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(160, 160, 160),
                                    RGB(70, 70, 70),    RGB(28, 28, 28),    RGB(120, 160, 220),
                                    RGB(40, 64, 104),   RGB(60, 60, 60),    RGB(150, 150, 150)};
};
