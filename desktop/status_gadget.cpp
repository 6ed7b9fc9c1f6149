#include "desktop/status_gadget.h"

#include <algorithm>

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/shared_skin_images.h"
#include "look/appearance.h"
#include "look/language.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/notify.h"
#include "platform/registry/registry.h"
#include "platform/win32/text.h"

// ---- CmivoStatusGadget ----------------------------------------------------------------

CmivoStatusGadget::CmivoStatusGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId, mivoSharedSkinImages& images,
                                     const mivoStatusStyle& style)
    : CmivoIconTextGadget(core, page, typeId), m_images(images) {
  m_style.textPosition = style.textPosition;
  m_style.textSize = style.textSize;
  m_style.bold = true;
  m_style.italic = false;
  m_style.underline = false;
  m_style.textColor = kThemeTextColor;
}

CmivoStatusGadget::~CmivoStatusGadget() {
  if (m_notify) RegistryCloseNotification(m_notify);
  m_notify = nullptr;
}

mivoSharedSkinImages& CmivoStatusGadget::Images() {
  m_images.Ensure(m_pCore);
  return m_images;
}

mivoSkinImage* CmivoStatusGadget::CurrentImage() { return Images().Get(0); }

mivoIconTextStyle& CmivoStatusGadget::GetStyle() { return m_painting ? m_paintStyle : CmivoIconTextGadget::GetStyle(); }

mivoIconTextStyle CmivoStatusGadget::FittedStyle(HDC dc) {
  mivoIconTextStyle style = CmivoIconTextGadget::GetStyle();
  const std::u16string text = GetText();
  if (text.empty()) return style;
  const int S = DisplayScale;
  const SIZE image = GetImageSize();
  const int W = m_rect.right - m_rect.left, H = m_rect.bottom - m_rect.top;
  const bool sideBySide = style.textPosition == kTextLeftOfImage || style.textPosition == kTextRightOfImage;
  // The block as the family lays it out: the text with its shadow's room,
  // 5·S apart from the picture.
  auto fits = [&](const mivoIconTextStyle& s) {
    HFONT font = CreateStyleFont(dc, s);
    const int saved = SaveDC(dc);
    SelectObject(dc, font);
    RECT measure{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RestoreDC(dc, saved);
    DeleteObject(font);
    const int tw = measure.right - measure.left + 2 * S, th = measure.bottom - measure.top + 2 * S;
    const int w = sideBySide ? image.cx + 5 * S + tw : std::max<int>(image.cx, tw);
    const int h = sideBySide ? std::max<int>(image.cy, th) : image.cy + 5 * S + th;
    return w <= W && h <= H;
  };
  while (style.textSize > kMinFittedPoints && !fits(style)) {
    style.textSize = std::max(kMinFittedPoints, style.textSize * 9 / 10);
  }
  return style;
}

void CmivoStatusGadget::Paint(HDC dc) {
  m_paintStyle = FittedStyle(dc);
  m_painting = true;
  CmivoIconTextGadget::Paint(dc);
  m_painting = false;
}

SIZE CmivoStatusGadget::GetImageSize() {
  mivoSkinImage* image = CurrentImage();
  mivoAppearance* look = m_pCore->GetAppearance();
  return image && look ? look->GetSkinImageSize(image) : SIZE{0, 0};
}

RECT CmivoStatusGadget::DrawImage(HDC dc, const RECT& rect, UINT alignment) {
  mivoSkinImage* image = CurrentImage();
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!image || !look) return RECT{};
  m_shownImage = image;
  return look->DrawSkinImage(image, dc, rect, alignment);
}

void CmivoStatusGadget::CollectImages(std::vector<mivoSkinImage*>& images) { Images().AppendTo(images); }

std::u16string CmivoStatusGadget::GetDumpImage() {
  mivoSkinImage* image = CurrentImage();
  return image ? image->Name : std::u16string();
}

void CmivoStatusGadget::WatchState(const mivoStateValue& value) {
  if (!m_pDesktop) return;
  const UINT message = m_pDesktop->RegisterNotification(this);
  m_watching = true;
  if (m_notify) RegistryCloseNotification(m_notify);
  m_notify = nullptr;
  RegistryNotifyWindow(value.root, value.key, value.name, m_pDesktop->m_hWnd, message, 0, nullptr, &m_notify);
}

void CmivoStatusGadget::OnDeactivate() {
  if (m_notify) RegistryCloseNotification(m_notify);
  m_notify = nullptr;
  if (m_pDesktop) {
    if (m_watching) m_pDesktop->UnregisterNotification(this);
    m_pDesktop->UnregisterTimer(this);
  }
  m_watching = false;
}

DWORD CmivoStatusGadget::ReadDword(const mivoStateValue& value) {
  DWORD data = 0;
  if (RegistryGetDWORD(value.root, value.key, value.name, &data) != S_OK) data = 0;
  return data;
}

void CmivoStatusGadget::Show(std::u16string text) {
  mivoSkinImage* image = CurrentImage();
  if (text == m_text && image == m_shownImage) return;
  m_text = std::move(text);
  m_shownImage = image;
  // Only the gadget's own rectangle: the rest of the desktop stays as it is.
  Invalidate();
}

// ---- CmivoNotifiedCountGadget -----------------------------------------------------------

CmivoNotifiedCountGadget::CmivoNotifiedCountGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId,
                                                   mivoSharedSkinImages& images, const mivoStatusStyle& style,
                                                   const mivoStateValue& value, const char16_t* pattern)
    : CmivoStatusGadget(core, page, typeId, images, style), m_value(value), m_pattern(pattern) {}

void CmivoNotifiedCountGadget::OnActivate() {
  Images();
  WatchState(m_value);
  OnStateChanged(0, 0);
}

void CmivoNotifiedCountGadget::OnStateChanged(WPARAM, LPARAM) {
  Show(text::Format(m_pattern, static_cast<int>(ReadDword(m_value))));
}
