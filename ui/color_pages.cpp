#include "ui/color_pages.h"

#include <algorithm>

#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"

namespace {

// String table ids.

// The chooser's colours as red, green, blue.
constexpr BYTE kColors[CmivoChooseColorPage::kColorCount][3] = {
    {0, 191, 0},     {0, 127, 0},     {0, 63, 0},    {191, 0, 0},     {127, 0, 0},     {63, 0, 0},
    {0, 0, 191},     {0, 0, 127},     {0, 0, 63},    {0, 191, 191},   {0, 127, 127},   {0, 63, 63},
    {191, 191, 0},   {127, 127, 0},   {63, 63, 0},   {191, 0, 191},   {127, 0, 127},   {63, 0, 63},
    {255, 255, 255}, {159, 159, 159}, {95, 95, 95},  {0, 0, 0}};

constexpr const char16_t* kChannelNames[3] = {u"red", u"green", u"blue"};

// The "Apply" label stays valid until the frame has handled the posted message.
char16_t g_applyLabel[64];

std::u16string HexText(COLORREF c) {
  return text::Format(u"#%.2X%.2X%.2X", GetRValue(c), GetGValue(c), GetBValue(c));
}

void FillColor(HDC dc, const RECT& r, COLORREF color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace

// ---- CmivoChooseColorPage ------------------------------------------------------------------------

CmivoChooseColorPage::CmivoChooseColorPage(mivoCore* core) : CmivoItemsPageWnd(core) {
  m_title = GetString(IDS_PICK_A_COLOR);
  mivoListElement custom;
  custom.Id = kCustomEntry;
  AddItem(custom);
  for (int i = 0; i < kColorCount; ++i) {
    mivoListElement e;
    e.Id = kColorEntry;
    e.Data = ColorAt(i);
    AddItem(e);
  }
}

CmivoChooseColorPage::~CmivoChooseColorPage() = default;

COLORREF CmivoChooseColorPage::ColorAt(int i) {
  if (i < 0 || i >= kColorCount) return 0;
  return RGB(kColors[i][0], kColors[i][1], kColors[i][2]);
}

std::u16string CmivoChooseColorPage::GetTitle(int, int) { return GetString(IDS_PICK_A_COLOR); }

void CmivoChooseColorPage::OnItemTap(int index, const mivoListElement& element) {
  if (element.Id != kCustomEntry || !m_pCore) return;
  if (!m_customPage) m_customPage = std::make_unique<CmivoCustomColorPage>(m_pCore, this);
  m_pCore->ShowPage(m_customPage.get());
}

void CmivoChooseColorPage::DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const bool cursor = index == List().GetCursor();
  if (element.Id == kCustomEntry) {
    if (!m_customImage) m_customImage = look->GetSkinImage(u"custom_color");
    DrawGridCellImage(*look, dc, m_customImage, GetString(IDS_CUSTOM_COLOR_ENTRY), rect,
                      cursor ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
    return;
  }
  // A swatch of the colour with its value under it.
  const int s = DisplayScale;
  const COLORREF color = static_cast<COLORREF>(element.Data);
  const RECT swatch{rect.left + 4 * s, rect.top + 4 * s, rect.right - 4 * s, rect.bottom - 18 * s};
  if (swatch.right > swatch.left && swatch.bottom > swatch.top) {
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, cursor ? look->ThemePen6 : look->ThemePen4);
    RoundRect(dc, swatch.left, swatch.top, swatch.right, swatch.bottom, 10 * s, 10 * s);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  }
  const std::u16string value = HexText(color);
  DrawSmallText(*look, dc, value, RECT{rect.left, rect.bottom - 16 * s, rect.right, rect.bottom},
                DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

std::u16string CmivoChooseColorPage::DescribeItem(int, const mivoListElement& element) {
  if (element.Id == kCustomEntry) return GetString(IDS_CUSTOM_COLOR_ENTRY);
  return HexText(static_cast<COLORREF>(element.Data));
}

// ---- CmivoCustomColorPage ------------------------------------------------------------------------

CmivoCustomColorPage::CmivoCustomColorPage(mivoCore* core, CmivoChooseColorPage* chooser)
    : CmivoPageWnd(core), m_pChooser(chooser) {
  m_title = GetString(IDS_CUSTOM_COLOR);
  // Dragging across the bars must never read as a swipe back.
  m_swipeBackEnabled = false;
}

std::u16string CmivoCustomColorPage::GetTitle(int, int) { return GetString(IDS_CUSTOM_COLOR); }

void CmivoCustomColorPage::SetColor(COLORREF color) {
  m_channels[0] = GetRValue(color);
  m_channels[1] = GetGValue(color);
  m_channels[2] = GetBValue(color);
  Changed();
}

std::u16string CmivoCustomColorPage::ColorText() const { return HexText(GetColor()); }

void CmivoCustomColorPage::GoBack() {
  if (m_pChooser) {
    mivoListElement element;
    element.Id = CmivoChooseColorPage::kColorEntry;
    element.Data = GetColor();
    m_pChooser->OnItemTap(-1, element);
  }
  CmivoPageWnd::GoBack();
}

void CmivoCustomColorPage::UpdateSoftKeys() {
  CmivoPageWnd::UpdateSoftKeys();
  const std::u16string apply = GetString(IDS_APPLY);
  text::CopyTo(g_applyLabel, sizeof g_applyLabel / sizeof g_applyLabel[0], apply);
  m_pCore->PostSoftKeys(g_applyLabel, nullptr);
}

RECT CmivoCustomColorPage::BarsRect() const {
  const int s = DisplayScale;
  return RECT{m_contentRect.left, m_contentRect.top + 20 * s, m_contentRect.right, m_contentRect.bottom - 60 * s};
}

void CmivoCustomColorPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int s = DisplayScale;
  const RECT bars = BarsRect();
  const int third = RectWidth(bars) / 3;
  const int height = RectHeight(bars);
  if (third <= 8 * s || height <= 0) return;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < 3; ++i) {
    const RECT bar{bars.left + i * third + 6 * s, bars.top, bars.left + (i + 1) * third - 6 * s, bars.bottom};
    const COLORREF full = i == 0 ? RGB(255, 0, 0) : i == 1 ? RGB(0, 255, 0) : RGB(0, 0, 255);
    DrawVerticalGradient(dc, RGB(0, 0, 0), full, bar.left, bar.top, bar.right, bar.bottom, bar.top, bar.bottom);
    // The active channel is framed in the selected card colour.
    if (i == m_activeChannel) {
      HPEN pen = CreatePen(PS_SOLID, 2 * s, look->ColorTheme().GetColor(6));
      SelectObject(dc, pen);
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, bar.left - 3 * s, bar.top - 3 * s, bar.right + 3 * s, bar.bottom + 3 * s);
      SelectObject(dc, GetStockObject(BLACK_PEN));
      DeleteObject(pen);
    }
    // The value's mark: a white line with a dark edge above and below.
    const int y = bar.top + m_channels[i] * (height - 1) / 255;
    FillColor(dc, RECT{bar.left, y - 2 * s, bar.right, y + 2 * s}, RGB(0, 0, 0));
    FillColor(dc, RECT{bar.left, y - s, bar.right, y + s}, RGB(255, 255, 255));
    // The channel's initial over its bar.
    SelectObject(dc, look->SmallFont);
    SetTextColor(dc, look->TextColor);
    RECT label{bar.left, m_contentRect.top, bar.right, bars.top};
    const char16_t initial[2] = {static_cast<char16_t>(u"RGB"[i]), 0};
    DrawTextW(dc, initial, 1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  // The sample and the value under the bars.
  const int bottom0 = m_contentRect.bottom - 2 * s;
  const int middle = (m_contentRect.left + m_contentRect.right) / 2;
  const RECT sample{m_contentRect.left + 10 * s, bars.bottom + 10 * s, middle - 5 * s, bottom0 - 8 * s};
  if (sample.bottom > sample.top) {
    HBRUSH brush = CreateSolidBrush(GetColor());
    SelectObject(dc, brush);
    SelectObject(dc, look->ThemePen4);
    RoundRect(dc, sample.left, sample.top, sample.right, sample.bottom, 10 * s, 10 * s);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
  }
  SelectObject(dc, look->TitleFont);
  SetTextColor(dc, look->TextColor);
  const std::u16string value = ColorText();
  RECT valueRect{middle + 5 * s, bars.bottom + 10 * s, m_contentRect.right - 10 * s, bottom0 - 8 * s};
  DrawTextW(dc, value.c_str(), static_cast<int>(value.size()), &valueRect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  RestoreDC(dc, saved);
}

void CmivoCustomColorPage::TouchBars(int x, int y) {
  const RECT bars = BarsRect();
  const int third = RectWidth(bars) / 3;
  const int height = RectHeight(bars);
  if (third <= 0 || height <= 0) return;
  // The last few pixels of a width not divisible by three belong to blue.
  m_activeChannel = std::clamp((x - bars.left) / third, 0, 2);
  m_channels[m_activeChannel] = std::clamp((y - bars.top) * 255 / height, 0, 255);
  Changed();
}

void CmivoCustomColorPage::OnKey(UINT vk) {
  if (m_activeChannel < 0 || m_activeChannel > 2) m_activeChannel = 0;
  int& value = m_channels[m_activeChannel];
  switch (vk) {
    case VK_LEFT:
      m_activeChannel = (m_activeChannel + 2) % 3;
      break;
    case VK_RIGHT:
      m_activeChannel = (m_activeChannel + 1) % 3;
      break;
    case VK_UP:
      value = std::max(0, value - 1);
      break;
    case VK_DOWN:
      value = std::min(255, value + 1);
      break;
    default:
      return;
  }
  Changed();
}

void CmivoCustomColorPage::Changed() {
  if (m_hWnd) InvalidateRect(&m_contentRect, FALSE);
}

void CmivoCustomColorPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  j.String(ColorText());
  j.String(std::u16string_view(kChannelNames[std::clamp(m_activeChannel, 0, 2)]));
  j.EndArray();
}

LRESULT CmivoCustomColorPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const RECT bars = BarsRect();
      m_tracking = PtInRect(&bars, pt) != FALSE;
      if (m_tracking) TouchBars(pt.x, pt.y);
      break;
    }
    case WM_MOUSEMOVE:
      // A finger that started in the bars keeps its channel's value pinned
      // at the ends when it slides past them.
      if (m_tracking && (wParam & MK_LBUTTON)) {
        const RECT bars = BarsRect();
        TouchBars(std::clamp<int>(GET_X_LPARAM(lParam), bars.left, bars.right - 1), GET_Y_LPARAM(lParam));
      }
      break;
    case WM_LBUTTONUP:
      m_tracking = false;
      break;
    case WM_KEYDOWN:
      OnKey(static_cast<UINT>(wParam));
      return 0;
    default:
      break;
  }
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
