// CmivoIconTextGadget: the family of gadgets that show a picture with a text
// (battery, signal, unread counts, clock, date...). The base lays out a block
// of the image and the text (the text left or right of the image, above or
// under it) at one of nine alignments inside the gadget, draws the text with
// the gadget's font and colour, and dispatches taps on the picture and on
// the text. In design mode its menu sets the text colour, position, size,
// weight, slant, underline and the alignment. A member gives its text
// (m_text or GetText), its picture (GetImageSize, DrawImage) and its taps.
//
// Stored fields (after the common record), property version 3:
//   u32 alignment (read when the property version is not 0), u32 text
//   position, u8 bold, u8 italic, u8 underline, u32 text colour, u32 text
//   size in points, u32 the clock/date value (read from property version 3).
// A member appends its own fields after these.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/gadget.h"

class CmivoChooseIconTextGadgetColorPage;
class CmivoDesktopMenuPage;

// The text colour that follows the colour theme's text colour: the default,
// so that a theme change recolours every gadget that was not given a colour
// of its own.
constexpr COLORREF kThemeTextColor = 0xFFFFFFFF;

// Where the text stands beside the picture.
constexpr int kTextLeftOfImage = 0;
constexpr int kTextRightOfImage = 1;
constexpr int kTextAboveImage = 2;
constexpr int kTextUnderImage = 3;

// The text style block.
struct mivoIconTextStyle {
  std::int32_t textPosition = kTextLeftOfImage;  // kText*
  bool bold = false;
  bool italic = false;
  bool underline = false;
  COLORREF textColor = kThemeTextColor;  // or kThemeTextColor
  std::int32_t textSize = 16;            // points
};

class CmivoIconTextGadget : public CmivoGadget {
 public:
  CmivoIconTextGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId);
  // The owned menu and colour pages go with the gadget.
  ~CmivoIconTextGadget() override;

  // ---- The family's operations, in order ----
  // The text shown; m_text by default.
  virtual std::u16string GetText() { return m_text; }
  // The picture's size; (0, 0) means no picture. m_imageSize by default.
  virtual SIZE GetImageSize() { return m_imageSize; }
  virtual mivoIconTextStyle& GetStyle() { return m_style; }
  // Draws the picture aligned (kAlign* flags) in the rectangle; returns the
  // rectangle it took. Nothing (and the empty rectangle) by default.
  virtual RECT DrawImage(HDC dc, const RECT& rect, UINT alignment) { return RECT{}; }
  // A tap on the text or the picture outside design mode; both are the
  // general gadget tap (the main menu) by default.
  virtual void OnTextTap(POINT point);
  virtual void OnIconTap(POINT point);
  // The colour chooser's answer: stores the colour and repaints.
  virtual void SetTextColor(COLORREF color);

  // ---- The gadget's operations ----
  void Paint(HDC dc) override;
  void OnTap(UINT flags, POINT point) override;
  // Design mode: text colour, position (with a picture), bold, italic,
  // underline, size and alignment.
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  // An icon-text gadget always writes the version-3 layout.
  DWORD StoredPropertyVersion() const override { return 3; }
  const char* GadgetClassName() const override { return "CmivoIconTextGadget"; }
  std::u16string GetDumpText() override { return GetText(); }

  // ---- Fields ----
  std::int32_t Alignment() const { return m_alignment; }
  void SetAlignment(std::int32_t alignment);
  std::int32_t Value() const { return m_value; }
  void SetValue(std::int32_t value) { m_value = value; }
  // The colour the text is drawn in now (the theme's unless a colour was chosen).
  COLORREF EffectiveTextColor();
  // Where the last paint put the picture and the text (empty before).
  const RECT& IconTapRect() const { return m_iconTapRect; }
  const RECT& TextTapRect() const { return m_textTapRect; }

  // The block's offset inside a W x H gadget for an alignment (0..8):
  // horizontally 0, (W - w) / 2 or W - w; vertically likewise.
  static POINT PlaceBlock(int alignment, int width, int height, int blockWidth, int blockHeight);
  // The font of a style: Arial, bold or normal, the slant and underline, the
  // height of the size in points on the screen.
  static HFONT CreateStyleFont(HDC dc, const mivoIconTextStyle& style);

 protected:
  // Shows one of the gadget's menu pages, made on first use.
  void ShowMenuPage(int which);

  std::u16string m_text;                                             // the display text
  SIZE m_imageSize{};                                                // (0, 0): no picture
  mivoIconTextStyle m_style;                                         // position, weight, slant, underline, colour, size
  std::int32_t m_alignment = 4;                                      // of the block in the gadget, 0..8 (4: centre)
  std::int32_t m_value = 1;                                          // the clock's and the date's own sub-version
  RECT m_iconTapRect{};                                              // computed by Paint
  RECT m_textTapRect{};                                              // computed by Paint
  std::unique_ptr<CmivoDesktopMenuPage> m_pPositionPage;             // "Text position", made on first use
  std::unique_ptr<CmivoDesktopMenuPage> m_pSizePage;                 // "Text size", made on first use
  std::unique_ptr<CmivoDesktopMenuPage> m_pAlignPage;                // "Align", made on first use
  std::unique_ptr<CmivoChooseIconTextGadgetColorPage> m_pColorPage;  // made on first use
};
