#include "desktop/icon_text_gadget.h"

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
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"

namespace {

// The family's menu entries.
enum : DWORD {
  kTextPositionMenu = 2040,
  kTextPositionFirst = 2041,  // .. 2044: left, right, above, under
  kBold = 2045,
  kNonBold = 2046,
  kItalic = 2047,
  kNonItalic = 2048,
  kUnderlined = 2049,
  kNonUnderlined = 2050,
  kTextColor = 2051,
  kTextSizeMenu = 2052,
  kTextSizeEntry = 2053,  // value: the size in points
  kAlignMenu = 2054,
  kAlignFirst = 2055,  // .. 2063: top left .. bottom right
};

constexpr int kPositionTexts[4] = {IDS_TEXT_LEFT_TO_THE_IMAGE, IDS_TEXT_RIGHT_TO_THE_IMAGE, IDS_TEXT_ABOVE_THE_IMAGE,
                                   IDS_TEXT_UNDER_THE_IMAGE};
constexpr int kAlignTexts[9] = {IDS_TOP_LEFT,     IDS_TOP_CENTER,  IDS_TOP_RIGHT,     IDS_CENTER_LEFT, IDS_CENTER,
                                IDS_CENTER_RIGHT, IDS_BOTTOM_LEFT, IDS_BOTTOM_CENTER, IDS_BOTTOM_RIGHT};
constexpr int kTextSizes[11] = {10, 12, 14, 16, 20, 26, 34, 42, 50, 60, 70};

// The menu pages a gadget owns.
constexpr int kPositionPage = 0;
constexpr int kSizePage = 1;
constexpr int kAlignPage = 2;

// The gap between the picture and the text, times DisplayScale.
constexpr int kGap = 5;

template <typename Page>
void DropPage(mivoCore* core, std::unique_ptr<Page>& page) {
  // Off the page stack now, deleted once the message being handled returned.
  if (page) core->DestroyPage(page.release());
}

}  // namespace

CmivoIconTextGadget::CmivoIconTextGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId)
    : CmivoGadget(core, page, typeId) {
  m_propertyVersion = 1;
}

CmivoIconTextGadget::~CmivoIconTextGadget() {
  DropPage(m_pCore, m_pPositionPage);
  DropPage(m_pCore, m_pSizePage);
  DropPage(m_pCore, m_pAlignPage);
  DropPage(m_pCore, m_pColorPage);
}

// ---- Fields -----------------------------------------------------------------------------

void CmivoIconTextGadget::SetAlignment(std::int32_t alignment) {
  if (alignment < 0 || alignment > 8) return;
  m_alignment = alignment;
  Invalidate();
}

void CmivoIconTextGadget::SetTextColor(COLORREF color) {
  GetStyle().textColor = color;
  Invalidate();
}

COLORREF CmivoIconTextGadget::EffectiveTextColor() {
  const COLORREF stored = GetStyle().textColor;
  if (stored != kThemeTextColor) return stored;
  mivoAppearance* look = m_pCore->GetAppearance();
  return look ? look->TextColor : RGB(255, 255, 255);
}

POINT CmivoIconTextGadget::PlaceBlock(int alignment, int width, int height, int blockWidth, int blockHeight) {
  const int a = std::clamp(alignment, 0, 8);
  POINT p{0, 0};
  switch (a % 3) {
    case 1: p.x = (width - blockWidth) / 2; break;
    case 2: p.x = width - blockWidth; break;
    default: break;
  }
  switch (a / 3) {
    case 1: p.y = (height - blockHeight) / 2; break;
    case 2: p.y = height - blockHeight; break;
    default: break;
  }
  return p;
}

HFONT CmivoIconTextGadget::CreateStyleFont(HDC dc, const mivoIconTextStyle& style) {
  LOGFONTW lf{};
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96 * DisplayScale;
  const int points = std::clamp<std::int32_t>(style.textSize, 1, 500);
  lf.lfHeight = -MulDiv(points, dpi > 0 ? dpi : 96, 72);
  lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style.italic ? 1 : 0;
  lf.lfUnderline = style.underline ? 1 : 0;
  lf.lfPitchAndFamily = 0x20;
  lf.lfQuality = CLEARTYPE_QUALITY;
  text::CopyTo(lf.lfFaceName, LF_FACESIZE, u"Arial");
  return CreateFontIndirectW(&lf);
}

// ---- Painting --------------------------------------------------------------------------

void CmivoIconTextGadget::Paint(HDC dc) {
  m_iconTapRect = RECT{};
  m_textTapRect = RECT{};
  mivoAppearance* look = m_pCore->GetAppearance();
  const std::u16string text = GetText();
  const RECT g = m_rect;
  const int saved = SaveDC(dc);
  if (text.empty()) {
    m_iconTapRect = DrawImage(dc, g, kAlignCenterX);
    RestoreDC(dc, saved);
    CmivoGadget::Paint(dc);
    return;
  }
  const mivoIconTextStyle style = GetStyle();
  HFONT font = CreateStyleFont(dc, style);
  SelectObject(dc, font);
  const int S = DisplayScale;
  // The text's size, with room for its shadow (2·S right and down), so the
  // gadget's rectangle holds everything it draws.
  RECT measure = MakeRect(0, 0, 0, 0);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int tw = RectWidth(measure) + 2 * S;
  const int th = RectHeight(measure) + 2 * S;
  const SIZE image = GetImageSize();
  const int iw = image.cx, ih = image.cy;
  const int position = std::clamp<std::int32_t>(style.textPosition, kTextLeftOfImage, kTextUnderImage);
  const bool sideBySide = position == kTextLeftOfImage || position == kTextRightOfImage;
  const int w = sideBySide ? iw + kGap * S + tw : std::max(iw, tw);
  const int h = sideBySide ? std::max(ih, th) : ih + kGap * S + th;
  const POINT at = PlaceBlock(m_alignment, RectWidth(g), RectHeight(g), w, h);
  const RECT block = MakeRect(g.left + at.x, g.top + at.y, g.left + at.x + w, g.top + at.y + h);

  RECT textRect{};
  RECT imageBox{};
  UINT imageAlign = 0;
  UINT textFlags = DT_SINGLELINE | DT_NOPREFIX;
  switch (position) {
    case kTextLeftOfImage:
      textRect = MakeRect(block.left, block.top, block.left + tw, block.bottom);
      imageBox = MakeRect(block.right - iw, block.top, block.right, block.bottom);
      imageAlign = kAlignRight | kAlignCenterY;
      textFlags |= DT_LEFT | DT_VCENTER;
      m_textTapRect = MakeRect(g.left, g.top, textRect.right, g.bottom);
      m_iconTapRect = MakeRect(imageBox.left, g.top, g.right, g.bottom);
      break;
    case kTextRightOfImage:
      imageBox = MakeRect(block.left, block.top, block.left + iw, block.bottom);
      textRect = MakeRect(block.right - tw, block.top, block.right, block.bottom);
      imageAlign = kAlignCenterY;
      textFlags |= DT_LEFT | DT_VCENTER;
      m_iconTapRect = MakeRect(g.left, g.top, imageBox.right, g.bottom);
      m_textTapRect = MakeRect(textRect.left, g.top, g.right, g.bottom);
      break;
    case kTextAboveImage:
      textRect = MakeRect(block.left, block.top, block.right, block.top + th);
      imageBox = MakeRect(block.left, block.bottom - ih, block.right, block.bottom);
      imageAlign = kAlignCenterX | kAlignBottom;
      textFlags |= DT_CENTER;
      m_textTapRect = MakeRect(g.left, g.top, g.right, textRect.bottom);
      m_iconTapRect = MakeRect(g.left, imageBox.top, g.right, g.bottom);
      break;
    default:
      imageBox = MakeRect(block.left, block.top, block.right, block.top + ih);
      textRect = MakeRect(block.left, block.bottom - th, block.right, block.bottom);
      imageAlign = kAlignCenterX;
      textFlags |= DT_CENTER;
      m_iconTapRect = MakeRect(g.left, g.top, g.right, imageBox.bottom);
      m_textTapRect = MakeRect(g.left, textRect.top, g.right, g.bottom);
      break;
  }
  if (iw > 0 && ih > 0) {
    const int imageSaved = SaveDC(dc);
    DrawImage(dc, imageBox, imageAlign);
    RestoreDC(dc, imageSaved);
  }
  if (look) {
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, EffectiveTextColor());
    SelectObject(dc, font);
    // The text's own rectangle without the shadow's room (the shadow goes there).
    RECT drawn = textRect;
    drawn.right -= 2 * S;
    drawn.bottom -= 2 * S;
    DrawTextWithShadow(*look, dc, text, drawn, textFlags);
  }
  RestoreDC(dc, saved);
  DeleteObject(font);
  CmivoGadget::Paint(dc);
}

// ---- Taps -----------------------------------------------------------------------------------

void CmivoIconTextGadget::OnTextTap(POINT point) { CmivoGadget::OnTap(0, point); }

void CmivoIconTextGadget::OnIconTap(POINT point) { CmivoGadget::OnTap(0, point); }

void CmivoIconTextGadget::OnTap(UINT flags, POINT point) {
  if (!IsDesignMode()) {
    if (PtInRect(&m_iconTapRect, point)) {
      OnIconTap(point);
      return;
    }
    if (PtInRect(&m_textTapRect, point)) {
      OnTextTap(point);
      return;
    }
  }
  CmivoGadget::OnTap(flags, point);
}

// ---- The design-mode menu ----------------------------------------------------------------------

void CmivoIconTextGadget::AddContextMenuItems() {
  if (!IsDesignMode() || !m_pDesktop) return;
  CmivoDesktopPage* d = m_pDesktop;
  const mivoIconTextStyle& style = GetStyle();
  d->AddMenuEntry(MenuEntry(kTextColor, IDS_TEXT_COLOR_HELP));
  const SIZE image = GetImageSize();
  if (image.cx != 0 || image.cy != 0) d->AddMenuEntry(MenuEntry(kTextPositionMenu, IDS_TEXT_POSITION_HELP));
  d->AddMenuEntry(MenuEntry(style.bold ? kNonBold : kBold, 0, true));
  d->AddMenuEntry(MenuEntry(style.italic ? kNonItalic : kItalic, 0, true));
  d->AddMenuEntry(MenuEntry(style.underline ? kNonUnderlined : kUnderlined, 0, true));
  d->AddMenuEntry(MenuEntry(kTextSizeMenu));
  d->AddMenuEntry(MenuEntry(kAlignMenu));
}

std::u16string CmivoIconTextGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id >= kTextPositionFirst && id < kTextPositionFirst + 4)
    return GetString(kPositionTexts[id - kTextPositionFirst]);
  if (id >= kAlignFirst && id < kAlignFirst + 9) return GetString(kAlignTexts[id - kAlignFirst]);
  switch (id) {
    case kTextPositionMenu: return GetString(IDS_TEXT_POSITION);
    case kBold: return GetString(IDS_BOLD);
    case kNonBold: return GetString(IDS_NON_BOLD);
    case kItalic: return GetString(IDS_ITALIC);
    case kNonItalic: return GetString(IDS_NON_ITALIC);
    case kUnderlined: return GetString(IDS_UNDERLINED);
    case kNonUnderlined: return GetString(IDS_NON_UNDERLINED);
    case kTextColor: return GetString(IDS_TEXT_COLOR);
    case kTextSizeMenu: return GetString(IDS_TEXT_SIZE);
    case kTextSizeEntry: return text::Format(GetString(IDS_TEXT_POINTS), static_cast<int>(entry.Value));
    case kAlignMenu: return GetString(IDS_ALIGN);
    default: return CmivoGadget::GetContextMenuItemText(entry);
  }
}

void CmivoIconTextGadget::ShowMenuPage(int which) {
  if (!m_pDesktop) return;
  std::unique_ptr<CmivoDesktopMenuPage>* slot = which == kPositionPage ? &m_pPositionPage
                                                : which == kSizePage   ? &m_pSizePage
                                                                       : &m_pAlignPage;
  if (!*slot) {
    const int title = which == kPositionPage ? IDS_TEXT_POSITION : which == kSizePage ? IDS_TEXT_SIZE : IDS_ALIGN;
    slot->reset(m_pDesktop->CreateMenuPage(GetString(title)));
    CmivoDesktopMenuPage* page = slot->get();
    if (which == kPositionPage) {
      for (DWORD i = 0; i < 4; ++i) page->AddEntry(MenuEntry(kTextPositionFirst + i));
    } else if (which == kSizePage) {
      for (int size : kTextSizes) page->AddEntry(MenuEntry(kTextSizeEntry, 0, false, size));
    } else {
      for (DWORD i = 0; i < 9; ++i) page->AddEntry(MenuEntry(kAlignFirst + i));
    }
  }
  m_pCore->ShowPage(slot->get());
}

void CmivoIconTextGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  mivoIconTextStyle& style = GetStyle();
  // A choice on a page of its own leads straight back to the desktop, where it shows.
  auto chosen = [this] {
    Invalidate();
    if (m_pDesktop) m_pDesktop->ReturnToDesktop();
  };
  if (id >= kTextPositionFirst && id < kTextPositionFirst + 4) {
    style.textPosition = static_cast<std::int32_t>(id - kTextPositionFirst);
    chosen();
    return;
  }
  if (id >= kAlignFirst && id < kAlignFirst + 9) {
    m_alignment = static_cast<std::int32_t>(id - kAlignFirst);
    chosen();
    return;
  }
  switch (id) {
    case kTextPositionMenu: ShowMenuPage(kPositionPage); return;
    case kTextSizeMenu: ShowMenuPage(kSizePage); return;
    case kAlignMenu: ShowMenuPage(kAlignPage); return;
    case kTextSizeEntry:
      if (entry.Value > 0) style.textSize = entry.Value;
      chosen();
      return;
    case kBold:
    case kNonBold: style.bold = id == kBold; break;
    case kItalic:
    case kNonItalic: style.italic = id == kItalic; break;
    case kUnderlined:
    case kNonUnderlined: style.underline = id == kUnderlined; break;
    case kTextColor:
      if (!m_pColorPage) m_pColorPage = std::make_unique<CmivoChooseIconTextGadgetColorPage>(m_pCore, this);
      m_pCore->ShowPage(m_pColorPage.get());
      return;
    default: return;
  }
  Invalidate();
}

// ---- Stored fields ----------------------------------------------------------------------------

void CmivoIconTextGadget::LoadProperties(mivoArchiveReader& in) {
  mivoIconTextStyle& style = GetStyle();
  std::uint32_t alignment = static_cast<std::uint32_t>(m_alignment);
  if (m_propertyVersion != 0) in.ReadU32(&alignment);
  std::uint32_t position = 0, color = 0, size = 0;
  std::uint8_t bold = 0, italic = 0, underline = 0;
  in.ReadU32(&position);
  in.ReadU8(&bold);
  in.ReadU8(&italic);
  in.ReadU8(&underline);
  in.ReadU32(&color);
  in.ReadU32(&size);
  std::uint32_t value = static_cast<std::uint32_t>(m_value);
  if (m_propertyVersion >= 3) in.ReadU32(&value);
  if (in.Failed()) return;
  // Values out of range come back as the nearest meaningful ones.
  m_alignment = static_cast<std::int32_t>(std::min<std::uint32_t>(alignment, 8));
  style.textPosition = static_cast<std::int32_t>(std::min<std::uint32_t>(position, kTextUnderImage));
  style.bold = bold != 0;
  style.italic = italic != 0;
  style.underline = underline != 0;
  style.textColor = color;
  style.textSize = static_cast<std::int32_t>(std::clamp<std::uint32_t>(size, 1, 500));
  m_value = static_cast<std::int32_t>(value);
  m_propertyVersion = 3;
}

void CmivoIconTextGadget::SaveProperties(mivoArchiveWriter& out) {
  const mivoIconTextStyle& style = GetStyle();
  out.WriteU32(static_cast<std::uint32_t>(m_alignment));
  out.WriteU32(static_cast<std::uint32_t>(style.textPosition));
  out.WriteU8(style.bold ? 1 : 0);
  out.WriteU8(style.italic ? 1 : 0);
  out.WriteU8(style.underline ? 1 : 0);
  out.WriteU32(style.textColor);
  out.WriteU32(static_cast<std::uint32_t>(style.textSize));
  out.WriteU32(static_cast<std::uint32_t>(m_value));
}

void CmivoIconTextGadget::ExchangeProperties(mivoGadgetProperties& p) {
  mivoIconTextStyle& style = GetStyle();
  p.Choice("align", m_alignment,
           {"top-left", "top-center", "top-right", "center-left", "center", "center-right", "bottom-left",
            "bottom-center", "bottom-right"});
  p.Choice("text", style.textPosition, {"left", "right", "above", "under"});
  p.Flag("bold", style.bold);
  p.Flag("italic", style.italic);
  p.Flag("underline", style.underline);
  p.Color("color", style.textColor);
  p.Int("size", style.textSize);
  p.Int("value", m_value);
}
