#include "desktop/line_gadget.h"

#include <algorithm>

#include "core/core.h"
#include "desktop/desktop_menu_pages.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"

namespace {

enum : DWORD {
  kMakeVertical = 2040,
  kMakeHorizontal = 2041,
  kLonger = 2042,
  kDouble = 2043,
  kShorter = 2044,
  kHalf = 2045,
  kPenStyleMenu = 2046,
  kPenStyleFirst = 2047,  // .. 2049: solid, dash, dot
  kPenWidthMenu = 2050,
  kPenWidthEntry = 2051,  // value: the width
};

constexpr int kStyleTexts[3] = {IDS_SOLID, IDS_DASH, IDS_DOT};
constexpr int kPenStyles[3] = {PS_SOLID, PS_DASH, PS_DOT};
constexpr int kWidestMenuPen = 5;
// A stored pen wider than this is taken as damaged.
constexpr int kWidestPen = 50;
// Times DisplayScale: the default length, a step of "Longer"/"Shorter", the
// room beside the line, and the length above which it may be shortened.
constexpr int kDefaultLength = 30;
constexpr int kLengthStep = 5;
constexpr int kRoom = 4;
constexpr int kShortestToShorten = 10;

}  // namespace

CmivoLineGadget::CmivoLineGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoGadget(core, page, 9), m_length(kDefaultLength * DisplayScale), m_penWidth(DisplayScale) {}

CmivoLineGadget::~CmivoLineGadget() {
  // Off the page stack now, deleted once the message being handled returned.
  if (m_pStylePage) m_pCore->DestroyPage(m_pStylePage.release());
  if (m_pWidthPage) m_pCore->DestroyPage(m_pWidthPage.release());
}

RECT CmivoLineGadget::LineRect() const {
  const int across = m_penWidth + 2 * kRoom * DisplayScale;
  const int l = m_rect.left, t = m_rect.top;
  return m_vertical ? MakeRect(l, t, l + across, t + m_length) : MakeRect(l, t, l + m_length, t + across);
}

void CmivoLineGadget::Paint(HDC dc) {
  const int room = kRoom * DisplayScale;
  // The rectangle follows the line first, so the line is drawn where the
  // gadget now is (the clamping may have moved it back onto the screen).
  SetRect(LineRect(), true);
  const int l = m_rect.left, t = m_rect.top;
  HPEN pen = CreatePen(kPenStyles[std::clamp<std::int32_t>(m_penStyle, 0, 2)], m_penWidth, m_color);
  const int saved = SaveDC(dc);
  SelectObject(dc, pen);
  if (m_vertical) {
    MoveToEx(dc, l + room, t, nullptr);
    LineTo(dc, l + room, t + m_length);
  } else {
    MoveToEx(dc, l, t + room, nullptr);
    LineTo(dc, l + m_length, t + room);
  }
  RestoreDC(dc, saved);
  DeleteObject(pen);
  CmivoGadget::Paint(dc);
}

void CmivoLineGadget::SetLength(int length) {
  const int clamped = std::clamp(length, 1, kMaxLength * DisplayScale);
  if (clamped == m_length) return;
  Invalidate();
  m_length = clamped;
  SetRect(LineRect(), true);
  Invalidate();
}

void CmivoLineGadget::SetVertical(bool vertical) {
  if (vertical == m_vertical) return;
  Invalidate();
  // The length stays: a vertical line 40 long becomes a horizontal one 40 wide.
  m_vertical = vertical;
  SetRect(LineRect(), true);
  Invalidate();
}

// ---- The design-mode menu ----------------------------------------------------------------------

void CmivoLineGadget::AddContextMenuItems() {
  if (!IsDesignMode() || !m_pDesktop) return;
  CmivoDesktopPage* d = m_pDesktop;
  d->AddMenuEntry(MenuEntry(m_vertical ? kMakeHorizontal : kMakeVertical, 0, true));
  d->AddMenuEntry(MenuEntry(kLonger, 0, true));
  d->AddMenuEntry(MenuEntry(kDouble, 0, true));
  if (m_length > kShortestToShorten) {
    d->AddMenuEntry(MenuEntry(kShorter, 0, true));
    d->AddMenuEntry(MenuEntry(kHalf, 0, true));
  }
  d->AddMenuEntry(MenuEntry(kPenStyleMenu));
  d->AddMenuEntry(MenuEntry(kPenWidthMenu));
}

std::u16string CmivoLineGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id >= kPenStyleFirst && id < kPenStyleFirst + 3) return GetString(kStyleTexts[id - kPenStyleFirst]);
  switch (id) {
    case kMakeVertical: return GetString(IDS_VERTICAL_LINE);
    case kMakeHorizontal: return GetString(IDS_HORIZONTAL_LINE);
    case kLonger: return GetString(IDS_LONGER_LINE);
    case kDouble: return GetString(IDS_DOUBLE_LINE_SIZE);
    case kShorter: return GetString(IDS_SHORTER_LINE);
    case kHalf: return GetString(IDS_HALF_LINE_SIZE);
    case kPenStyleMenu: return GetString(IDS_PEN_STYLE);
    case kPenWidthMenu: return GetString(IDS_PEN_WIDTH);
    case kPenWidthEntry: return text::Format(GetString(IDS_PEN_POINTS), static_cast<int>(entry.Value));
    default: return CmivoGadget::GetContextMenuItemText(entry);
  }
}

void CmivoLineGadget::ShowMenuPage(bool widths) {
  if (!m_pDesktop) return;
  std::unique_ptr<CmivoDesktopMenuPage>& slot = widths ? m_pWidthPage : m_pStylePage;
  if (!slot) {
    slot.reset(m_pDesktop->CreateMenuPage(GetString(widths ? IDS_PEN_WIDTH : IDS_PEN_STYLE)));
    if (widths) {
      for (int w = 1; w <= kWidestMenuPen; ++w) slot->AddEntry(MenuEntry(kPenWidthEntry, 0, false, w));
    } else {
      for (DWORD i = 0; i < 3; ++i) slot->AddEntry(MenuEntry(kPenStyleFirst + i));
    }
  }
  m_pCore->ShowPage(slot.get());
}

void CmivoLineGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  // A choice on a page of its own leads straight back to the desktop, where it shows.
  auto chosen = [this] {
    Invalidate();
    if (m_pDesktop) m_pDesktop->ReturnToDesktop();
  };
  if (id >= kPenStyleFirst && id < kPenStyleFirst + 3) {
    m_penStyle = static_cast<std::int32_t>(id - kPenStyleFirst);
    chosen();
    return;
  }
  switch (id) {
    case kMakeVertical: SetVertical(true); return;
    case kMakeHorizontal: SetVertical(false); return;
    case kLonger: SetLength(m_length + kLengthStep * DisplayScale); return;
    case kDouble: SetLength(m_length * 2); return;
    case kShorter: SetLength(m_length - kLengthStep * DisplayScale); return;
    case kHalf: SetLength(m_length / 2); return;
    case kPenStyleMenu: ShowMenuPage(false); return;
    case kPenWidthMenu: ShowMenuPage(true); return;
    case kPenWidthEntry:
      if (entry.Value >= 1 && entry.Value <= kWidestMenuPen) {
        Invalidate();
        m_penWidth = entry.Value;
        SetRect(LineRect(), true);
      }
      chosen();
      return;
    default: return;
  }
}

// ---- Stored fields ------------------------------------------------------------------------------

void CmivoLineGadget::LoadProperties(mivoArchiveReader& in) {
  std::uint8_t vertical = 1;
  std::int32_t length = 0, style = 0, width = 0;
  std::uint32_t color = 0;
  in.ReadU8(&vertical);
  in.ReadI32(&length);
  in.ReadI32(&style);
  in.ReadI32(&width);
  in.ReadU32(&color);
  if (in.Failed()) return;
  // Values no menu could have made come back as the nearest that draw.
  m_vertical = vertical != 0;
  m_length = std::clamp(length, 1, kMaxLength * DisplayScale);
  m_penStyle = std::clamp(style, 0, 2);
  m_penWidth = std::clamp(width, 1, kWidestPen);
  m_color = color & 0x00FFFFFF;
}

void CmivoLineGadget::SaveProperties(mivoArchiveWriter& out) {
  out.WriteU8(m_vertical ? 1 : 0);
  out.WriteI32(m_length);
  out.WriteI32(m_penStyle);
  out.WriteI32(m_penWidth);
  out.WriteU32(m_color);
}

void CmivoLineGadget::ExchangeProperties(mivoGadgetProperties& p) {
  p.Flag("vertical", m_vertical);
  p.Int("length", m_length);
  p.Choice("pen", m_penStyle, {"solid", "dash", "dot"});
  p.Int("width", m_penWidth);
  p.Color("color", m_color);
  // A text form may name anything: the same limits as a stored record.
  m_length = std::clamp(m_length, 1, kMaxLength * DisplayScale);
  m_penStyle = std::clamp(m_penStyle, 0, 2);
  m_penWidth = std::clamp(m_penWidth, 1, kWidestPen);
}

std::u16string CmivoLineGadget::GetDumpText() {
  return text::Format(u"%s %d", m_vertical ? u"vertical" : u"horizontal", static_cast<int>(m_length));
}
