// Skins: a skin is a folder under the program folder's Skins folder holding
// pictures and one skin file (".msk") that binds fixed image names to those
// files. Code asks for an image by name and draws whatever the skin binds to
// it; names asked for that the skin lacks are added with an empty file, so a
// saved skin file lists every name a skin author can fill.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/types.h"

struct mivoSkinImageCache;

// One named picture of a skin.
class mivoSkinImage {
 public:
  mivoSkinImage();
  ~mivoSkinImage();
  mivoSkinImage(const mivoSkinImage&) = delete;
  mivoSkinImage& operator=(const mivoSkinImage&) = delete;

  // Both drop the thumbnail and composite bitmaps; the decoded picture stays
  // until the skin is loaded again, so drawing keeps the old picture while
  // thumbnails show the new file at once.
  void SetFile(std::u16string_view file);
  void SetTransparentColor(COLORREF color);

  // Drawing state kept with the image (decoded picture, thumbnail,
  // composites); created by the drawing code on first use.
  mivoSkinImageCache* Cache() const { return m_cache.get(); }
  mivoSkinImageCache& EnsureCache();
  void DropBitmapCaches();

  DWORD RecordVersion = 1;      // 1 for every record written
  std::u16string Name;          // lookup key, compared exactly (case-sensitive)
  std::u16string File;          // "\..." a full path, else relative to the skin folder; empty: no picture
  COLORREF TransparentColor = 0;

 private:
  std::unique_ptr<mivoSkinImageCache> m_cache;  // run-time state, never stored
};

class mivoSkin {
 public:
  // programFolder ends with a backslash ("\Program Files\mivo\").
  explicit mivoSkin(std::u16string programFolder = u"\\Program Files\\mivo\\");
  ~mivoSkin();
  mivoSkin(const mivoSkin&) = delete;
  mivoSkin& operator=(const mivoSkin&) = delete;

  // Reads the skin file of the named skin; a missing or short file leaves
  // what was read so far (a skin without a file has no pictures).
  void LoadSkin(std::u16string_view name);
  // Writes the skin file back (version 2). Not done when the file exists but
  // could not be read to its end marker, since its later records would be
  // lost, nor for a skin without a name. False when nothing was written.
  bool SaveSkin();

  // The first image with exactly this name, appended (empty file) when none.
  mivoSkinImage* FindOrAddImage(std::u16string_view name);
  // The first image with exactly this name, or null; never adds.
  mivoSkinImage* FindImage(std::u16string_view name) const;

  // The file format on bytes. ReadFrom clears the images first and returns
  // whether the end marker was reached.
  bool ReadFrom(std::span<const std::uint8_t> bytes);
  std::vector<std::uint8_t> Serialize() const;

  std::u16string SkinFolder() const;    // program folder + "skins\" + Name + "\"
  std::u16string SkinFilePath() const;  // skin folder + Name + ".msk"
  const std::u16string& ProgramFolder() const { return m_programFolder; }

  // False when a file that exists could not be read to its end marker.
  bool CanSave() const { return m_canSave; }
  // Different for every skin object the process makes (never reused, unlike
  // an address): caches of its image pointers are keyed by it.
  std::uint64_t Serial() const { return m_serial; }

  std::u16string Name;          // the skin's folder name under Skins
  DWORD FileVersion = 2;        // as read (1 or 2); always written as 2
  std::u16string Description, Version, Author, WWW, Generator, GeneratorWWW;
  DWORD SkinReserved = 0;       // read from a version-2 file, written back unchanged
  std::vector<std::unique_ptr<mivoSkinImage>> Images;  // file order, new names at the end
  // The five colours of a version-1 file (background, text, subtext, two more).
  // Kept through the conversion to version 2 in a block after the end marker,
  // which readers of the plain layout never reach.
  std::optional<std::array<COLORREF, 5>> LegacyColors;

 private:
  std::u16string m_programFolder;
  bool m_canSave = true;
  std::vector<std::uint8_t> m_loadedBytes;  // what was read, to skip writing an unchanged file
  std::uint64_t m_serial;                   // this object's number among the process's skins
};

// The name as the skin editor shows it: "_" becomes a space, and the first
// letter and every letter after a space are upper-cased ("gadget_clock_0" is
// "Gadget Clock 0").
std::u16string SkinImageDisplayName(std::u16string_view name);
