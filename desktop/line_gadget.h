// CmivoLineGadget: a divider, a vertical or horizontal line that separates
// groups of gadgets. Its design-mode menu turns it, makes it longer or
// shorter, and chooses the pen's style (solid, dash, dot) and width. The
// gadget's rectangle follows the line: its length along the line, the pen
// width and 8·S of room across it.
//
// Stored fields (after the common record): u8 vertical, u32 length, u32 pen
// style (0 solid, 1 dash, 2 dot), u32 pen width, u32 colour.
#pragma once

#include <cstdint>
#include <memory>

#include "desktop/gadget.h"

class CmivoDesktopMenuPage;

class CmivoLineGadget : public CmivoGadget {
 public:
  // The longest a line may be made (times DisplayScale): longer than any
  // screen, short enough that doubling it never overflows.
  static constexpr int kMaxLength = 2000;

  CmivoLineGadget(mivoCore* core, CmivoDesktopPage* page);
  ~CmivoLineGadget() override;

  // The line, then the rectangle it takes, then the design frame.
  void Paint(HDC dc) override;
  // Design mode: orientation, longer and doubled, shorter and halved (above
  // a length of 10), pen style and pen width.
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  const char* GadgetClassName() const override { return "CmivoLineGadget"; }
  // "vertical 30" or "horizontal 60".
  std::u16string GetDumpText() override;

  bool IsVertical() const { return m_vertical; }
  int Length() const { return m_length; }
  int PenStyle() const { return m_penStyle; }
  int PenWidth() const { return m_penWidth; }
  COLORREF Color() const { return m_color; }
  // The rectangle the line takes from the gadget's top-left corner.
  RECT LineRect() const;

 private:
  // Sets the length (kept between 1 and the longest line) and takes the new rectangle.
  void SetLength(int length);
  void SetVertical(bool vertical);
  // Shows the pen style or the pen width page, made on first use.
  void ShowMenuPage(bool widths);

  bool m_vertical = true;                              // else horizontal
  std::int32_t m_length;                               // pixels along the line; 30·S
  std::int32_t m_penStyle = 2;                         // 0 solid, 1 dash, 2 dot
  std::int32_t m_penWidth;                             // pixels; S
  COLORREF m_color = RGB(155, 155, 155);               // grey
  std::unique_ptr<CmivoDesktopMenuPage> m_pStylePage;  // "Pen style", made on first use
  std::unique_ptr<CmivoDesktopMenuPage> m_pWidthPage;  // "Pen width", made on first use
};
