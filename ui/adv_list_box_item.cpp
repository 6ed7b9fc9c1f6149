#include "ui/adv_list_box_item.h"

#include "core/core.h"
#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "ui/adv_list_box.h"
#include "ui/adv_list_box_card.h"

// ---- CmivoAdvListBoxItem ------------------------------------------------------------------------

CmivoAdvListBoxItem::CmivoAdvListBoxItem(mivoCore* core) : mivoClass(core), m_height(63 * DisplayScale) {}

CmivoAdvListBoxItem::~CmivoAdvListBoxItem() {
  // Deleted behind the list's back: leave it, so it never holds a dangling row.
  if (m_pListBox) m_pListBox->RemoveItem(this, false);
}

void CmivoAdvListBoxItem::SetHeight(int h) {
  if (h < 0) h = 0;
  const int delta = h - m_height;
  m_height = h;
  if (m_pListBox && delta != 0) m_pListBox->OnItemHeightChanged(this, delta);
}

int CmivoAdvListBoxItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoAppearance* look = Look();
  if (look) DrawAdvListBoxCard(*look, dc, *rect, IsSelected());
  const int s = DisplayScale;
  const int top = rect->top;
  *rect = RECT{rect->left + 5 * s, top + 5 * s, rect->right - 5 * s, top + 2 * s + m_height};
  return m_height;
}

bool CmivoAdvListBoxItem::OnKey(UINT vk) {
  switch (vk) {
    case VK_RETURN:
      OnTap(0, 0, 0);
      break;
    case VK_UP:
      if (m_pListBox) m_pListBox->SelectPrevious();
      break;
    case VK_DOWN:
      if (m_pListBox) m_pListBox->SelectNext();
      break;
    default:
      break;
  }
  return true;
}

bool CmivoAdvListBoxItem::IsSelected() const { return m_pListBox && m_pListBox->IsSelected(this); }

void CmivoAdvListBoxItem::RepaintListBox() {
  if (m_pListBox) m_pListBox->Repaint();
}

mivoAppearance* CmivoAdvListBoxItem::Look() const {
  if (m_pListBox) {
    if (mivoAppearance* look = m_pListBox->GetAppearance()) return look;
  }
  return m_pCore->GetAppearance();
}

// ---- CmivoAdvListBoxSideButtonItem --------------------------------------------------------------------

CmivoAdvListBoxSideButtonItem::CmivoAdvListBoxSideButtonItem(mivoCore* core)
    : CmivoAdvListBoxItem(core), m_baseHeight(m_height) {}

int CmivoAdvListBoxSideButtonItem::SideButtonWidth() { return 25 * DisplayScale; }

void CmivoAdvListBoxSideButtonItem::SetHeight(int h) {
  CmivoAdvListBoxItem::SetHeight(h);
  m_baseHeight = m_height;
}

int CmivoAdvListBoxSideButtonItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  CmivoAdvListBoxItem::Draw(listBox, dc, rect);
  const int s = DisplayScale;
  const int l = rect->left, t = rect->top, r = rect->right;
  const int b = t + m_baseHeight - 5;  // 5 pixels at every scale
  const bool selected = IsSelected();
  int contentRight = r;
  if (m_sideButtonKind != kSideButtonNone) {
    const int side = SideButtonWidth();
    const int middle = (t + b) / 2;
    RECT button{r - 5 - side, middle - side / 2, r - 5, middle - side / 2 + side};
    mivoAppearance* look = Look();
    mivoSkinImage* image = listBox ? listBox->GetSideButtonImage(m_sideButtonKind) : nullptr;
    if (look && image) {
      look->DrawSkinImage(image, dc, button, kAlignCenterX | kAlignCenterY,
                          selected ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
    }
    button.top += 1;
    m_sideButtonRect = button;
    contentRight = button.left - 5 * s;
  } else {
    SetRectEmpty(&m_sideButtonRect);
  }
  DrawContent(listBox, dc, RECT{l + 5 * s, t + 5 * s, contentRight - 5 * s, b - 5 * s});
  if (m_expanded) {
    const RECT expansion{l + 5 * s, b, r - 5 * s, rect->bottom - 5 * s};
    if (mivoAppearance* look = Look()) {
      HGDIOBJ old = SelectObject(dc, selected ? look->ThemePen6 : look->ThemePen4);
      MoveToEx(dc, l + 5 * s, b - 5 * s, nullptr);
      LineTo(dc, r - 5 * s, b - 5 * s);
      SelectObject(dc, old);
    }
    DrawExpanded(listBox, dc, expansion);
  }
  return m_height;
}

bool CmivoAdvListBoxSideButtonItem::OnTap(UINT flags, int x, int y) {
  const POINT pt{x, y};
  if (!IsRectEmpty(&m_sideButtonRect) && PtInRect(&m_sideButtonRect, pt)) return OnSideButton(flags, x, y);
  for (const TapRegion& region : m_tapRegions) {
    if (PtInRect(&region.rect, pt)) {
      OnRegionTap(region.value, flags, x, y);
      return true;
    }
  }
  return false;
}

bool CmivoAdvListBoxSideButtonItem::OnTapAndHold(int x, int y) {
  const POINT pt{x, y};
  for (const TapRegion& region : m_tapRegions) {
    if (PtInRect(&region.rect, pt)) {
      OnRegionHold(region.value, x, y);
      return true;
    }
  }
  return false;
}

bool CmivoAdvListBoxSideButtonItem::OnKey(UINT vk) {
  // Only a card that has something to show expands.
  if (vk == VK_LEFT) {
    if (m_expanded) SetExpanded(false);
    return true;
  }
  if (vk == VK_RIGHT) {
    if (!m_expanded && m_sideButtonKind != kSideButtonNone) SetExpandedByUser(true);
    return true;
  }
  return CmivoAdvListBoxItem::OnKey(vk);
}

void CmivoAdvListBoxSideButtonItem::OnScroll(int dy) {
  for (TapRegion& region : m_tapRegions) {
    region.rect.top += dy;
    region.rect.bottom += dy;
  }
  // The button moves with the pixels too, so a tap after a scroll finds it.
  if (!IsRectEmpty(&m_sideButtonRect)) OffsetRect(&m_sideButtonRect, 0, dy);
}

void CmivoAdvListBoxSideButtonItem::SetExpanded(bool expanded) {
  m_expanded = expanded;
  CmivoAdvListBoxItem::SetHeight(m_baseHeight + (expanded ? m_extraHeight : 0));
  if (expanded) {
    m_sideButtonKind = kSideButtonCollapse;
  } else if (m_extraHeight == 0) {
    // Nothing to expand (a row without help text): no button at all.
    m_sideButtonKind = kSideButtonNone;
  } else {
    m_sideButtonKind = m_hasHelp ? kSideButtonHelp : kSideButtonExpand;
  }
  RepaintListBox();
}

void CmivoAdvListBoxSideButtonItem::SetExpandedByUser(bool expanded) {
  SetExpanded(expanded);
  if (expanded && GetListBox()) GetListBox()->RevealItem(this);
}

void CmivoAdvListBoxSideButtonItem::SetExtraHeight(int h) {
  m_extraHeight = h;
  if (h == 0) {
    m_sideButtonKind = kSideButtonNone;
  } else {
    m_sideButtonKind = m_expanded ? kSideButtonCollapse : kSideButtonExpand;
  }
}

void CmivoAdvListBoxSideButtonItem::AddTapRegion(DWORD_PTR value, const RECT& rect) {
  m_tapRegions.push_back(TapRegion{value, rect});
}
