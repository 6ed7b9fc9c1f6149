#include "desktop/desktop_switcher_gadget.h"

#include <algorithm>
#include <cstdlib>

#include "core/core.h"
#include "core/settings.h"
#include "desktop/desktop_page.h"
#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"

namespace {

// Times DisplayScale: the strip's height before and after the first paint,
// the band under the icons that the cell backgrounds mark, the size of an
// icon that is not the current desktop's, and the farthest a finger may move
// (in one step, or in all) for the press to stay a tap.
constexpr int kInitialHeight = 40;
constexpr int kPaintedHeight = 60;
constexpr int kMarkBand = 12;
constexpr int kSmallIcon = 32;
constexpr int kTapTravel = 5;

constexpr RECT kNoCell{-1, -1, -1, -1};
constexpr char16_t kDefaultIcon[] = u"gadget_desktop_default_wallpaper";

// The pictures of the whole program's switchers, for one orientation of one
// skin: each desktop's icon and the three cell backgrounds.
struct SwitcherPictures {
  const void* skin = nullptr;                                                 // the skin they belong to
  bool landscape = false;                                                     // the orientation of the icons
  std::array<mivoSkinImage*, CmivoDesktopSwitcherGadget::kMaxCells> icons{};  // desktop n at n - 1
  mivoSkinImage* active = nullptr;                                            // the current desktop's cell
  mivoSkinImage* inactive = nullptr;                                          // another desktop's cell
  mivoSkinImage* none = nullptr;                                              // a cell beyond the desktops
};
SwitcherPictures g_pictures;

}  // namespace

// ---- The desktop icon table ------------------------------------------------------------------

void CmivoDesktopSwitcherGadget::RefreshDesktopIcons(mivoCore* core) {
  mivoAppearance* look = core ? core->GetAppearance() : nullptr;
  if (!look) return;
  mivoSkin* skin = look->GetSkin();
  const bool landscape = !core->IsPortrait();
  mivoSkinImage* fallback = look->GetSkinImage(kDefaultIcon);
  // Everything is looked up again, backgrounds included: a skin made after
  // another one went may stand at the same address.
  g_pictures.skin = skin;
  g_pictures.landscape = landscape;
  g_pictures.active = look->GetSkinImage(u"gadget_desktop_switcher_bk_active");
  g_pictures.inactive = look->GetSkinImage(u"gadget_desktop_switcher_bk_inactive");
  g_pictures.none = look->GetSkinImage(u"gadget_desktop_switcher_bk_none");
  for (int n = 1; n <= kMaxCells; ++n) {
    const std::u16string name = core->Settings().GetDesktopIcon(n, landscape);
    // A name the skin does not know (a setting from another skin, or typed
    // by hand) shows the default icon and is not added to the skin.
    mivoSkinImage* image = name.empty() || !skin ? nullptr : skin->FindImage(name);
    g_pictures.icons[static_cast<std::size_t>(n - 1)] = image ? image : fallback;
  }
}

mivoSkinImage* CmivoDesktopSwitcherGadget::DesktopIcon(int number) {
  if (number < 1 || number > kMaxCells) return nullptr;
  return g_pictures.icons[static_cast<std::size_t>(number - 1)];
}

// ---- The gadget --------------------------------------------------------------------------------

CmivoDesktopSwitcherGadget::CmivoDesktopSwitcherGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoGadget(core, page, 30) {
  m_cells.fill(kNoCell);
  // The strip follows the finger itself: a press on it is never a page swipe.
  m_allowsPageSwipe = false;
  RECT client{};
  if (page && page->m_hWnd) page->GetClientRect(&client);
  m_minWidth = RectWidth(client);
  m_minHeight = kInitialHeight * DisplayScale;
  RefreshDesktopIcons(core);
}

int CmivoDesktopSwitcherGadget::DesktopCount() const {
  return m_pDesktop ? std::clamp(m_pDesktop->DesktopsCount(), 1, kMaxCells) : 1;
}

int CmivoDesktopSwitcherGadget::MaxScroll() const {
  return std::max(0, DesktopCount() * kCellSide * DisplayScale - RectWidth(m_rect));
}

void CmivoDesktopSwitcherGadget::SetScrollOffset(int offset) {
  const int clamped = std::clamp(offset, 0, MaxScroll());
  if (clamped == m_scroll) return;
  m_scroll = clamped;
  Invalidate();
}

void CmivoDesktopSwitcherGadget::RevealCurrent() {
  const int current = m_pDesktop ? m_pDesktop->CurrentDesktopIndex() : 0;
  if (current == m_revealedDesktop || m_following) return;
  m_revealedDesktop = current;
  const int W = kCellSide * DisplayScale;
  const int left = current * W, right = left + W, width = RectWidth(m_rect);
  if (left < m_scroll)
    m_scroll = left;
  else if (right > m_scroll + width)
    m_scroll = right - width;
  m_scroll = std::clamp(m_scroll, 0, MaxScroll());
}

void CmivoDesktopSwitcherGadget::Paint(HDC dc) {
  m_cells.fill(kNoCell);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int S = DisplayScale;
  const int W = kCellSide * S;
  // The table follows the skin and the screen's orientation.
  if (g_pictures.skin != look->GetSkin() || g_pictures.landscape == m_pCore->IsPortrait()) RefreshDesktopIcons(m_pCore);
  const SwitcherPictures& bk = g_pictures;
  const int count = DesktopCount();
  const int width = RectWidth(m_rect);
  const int current = m_pDesktop ? m_pDesktop->CurrentDesktopIndex() : 0;
  m_scrollable = width < count * W;
  RevealCurrent();
  m_scroll = std::clamp(m_scroll, 0, MaxScroll());
  const int margin = m_scrollable ? 0 : (width - count * W) / 2;
  const int top = m_rect.top, bottom = m_rect.bottom;

  const int saved = SaveDC(dc);
  IntersectClipRect(dc, m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
  // Cells stand at a pitch of one cell width, so the strip is exactly
  // count x W wide: centred it leaves equal margins, scrolled to its end its
  // last cell shows whole.
  const int first = m_scroll / W;
  const int drawn = width / W + 1;
  for (int i = first; i < first + drawn; ++i) {
    const int x = m_rect.left + margin + i * W - m_scroll;
    const RECT cell = MakeRect(x, top, x + W, bottom);
    if (i >= count) {
      look->DrawSkinImage(bk.none, dc, cell, kAlignCenterX | kAlignBottom);
      continue;
    }
    // The icons sit in the square above the band the backgrounds mark.
    const RECT iconBox = MakeRect(x, bottom - (kMarkBand + kCellSide) * S, x + W, bottom - kMarkBand * S);
    mivoSkinImage* icon = DesktopIcon(i + 1);
    if (i == current) {
      look->DrawSkinImage(bk.active, dc, cell, kAlignCenterX | kAlignBottom);
      if (icon) look->DrawSkinImage(icon, dc, iconBox, kAlignCenterX | kAlignCenterY);
    } else {
      if (icon)
        look->DrawSkinImage(icon, dc, iconBox, kAlignCenterX | kAlignCenterY, kSkinDrawDirect, kSmallIcon * S,
                            kSmallIcon * S);
      look->DrawSkinImage(bk.inactive, dc, cell, kAlignCenterX | kAlignBottom);
    }
    m_cells[static_cast<std::size_t>(i)] = cell;
  }
  // The margin left of the first cell, filled from right to left.
  for (int x = m_rect.left + margin - W; x + W > m_rect.left; x -= W)
    look->DrawSkinImage(bk.none, dc, MakeRect(x, top, x + W, bottom), kAlignCenterX | kAlignBottom);
  RestoreDC(dc, saved);

  // Painted once, the strip is as high as its cells' backgrounds and no
  // wider than the page it shows on (a strip made while the screen was
  // turned the other way took that page's width).
  RECT client = m_rect;
  if (m_pDesktop && m_pDesktop->m_hWnd) m_pDesktop->GetClientRect(&client);
  const int fit = std::min(width, RectWidth(client));
  if (m_minWidth != fit || m_minHeight != kPaintedHeight * S) SetMinSize(fit, kPaintedHeight * S);
  if (fit < width) SetRect(MakeRect(m_rect.left, m_rect.top, m_rect.left + fit, m_rect.bottom), true);
  CmivoGadget::Paint(dc);
}

// ---- The stylus --------------------------------------------------------------------------------

void CmivoDesktopSwitcherGadget::OnStylusDown(UINT, POINT point) {
  if (IsDesignMode()) return;
  m_following = true;
  m_pressIsTap = true;
  m_pressX = point.x;
  m_lastX = point.x;
}

void CmivoDesktopSwitcherGadget::OnStylusMove(UINT, POINT point) {
  if (!m_following) return;
  const int reach = kTapTravel * DisplayScale;
  // A step that goes far, or a finger that has wandered far in small steps,
  // is scrolling, not tapping.
  if (std::abs(point.x - m_lastX) > reach || std::abs(point.x - m_pressX) > reach) m_pressIsTap = false;
  if (m_scrollable) SetScrollOffset(m_scroll + (m_lastX - point.x));
  m_lastX = point.x;
}

void CmivoDesktopSwitcherGadget::OnStylusCancel() {
  m_following = false;
  m_pressIsTap = false;
}

void CmivoDesktopSwitcherGadget::OnTap(UINT flags, POINT point) {
  if (IsDesignMode()) {
    CmivoGadget::OnTap(flags, point);
    return;
  }
  // A release that ends no press of ours (a key, a test) counts as a tap.
  const bool tap = !m_following || m_pressIsTap;
  m_following = false;
  m_pressIsTap = false;
  if (!tap || !m_pDesktop) return;
  const int count = DesktopCount();
  for (int i = 0; i < count; ++i) {
    if (!PtInRect(&m_cells[static_cast<std::size_t>(i)], point)) continue;
    // Showing the desktop repaints the whole page.
    m_pDesktop->ShowDesktop(i);
    return;
  }
}

// ---- Images and the dump ----------------------------------------------------------------------

void CmivoDesktopSwitcherGadget::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (!g_pictures.skin) return;
  const SwitcherPictures& bk = g_pictures;
  images.insert(images.end(), {bk.active, bk.inactive, bk.none});
  for (int n = 1; n <= DesktopCount(); ++n) {
    mivoSkinImage* icon = DesktopIcon(n);
    if (icon && std::find(images.begin(), images.end(), icon) == images.end()) images.push_back(icon);
  }
}

std::u16string CmivoDesktopSwitcherGadget::GetDumpText() {
  const int current = m_pDesktop ? m_pDesktop->CurrentDesktopIndex() : 0;
  std::u16string out;
  for (int i = 0; i < DesktopCount(); ++i) {
    if (!out.empty()) out += u' ';
    const std::u16string number = text::FromInt(i + 1);
    out += i == current ? u"[" + number + u"]" : number;
  }
  return out;
}
