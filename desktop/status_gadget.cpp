#include "desktop/status_gadget.h"

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/shared_skin_images.h"
#include "look/appearance.h"
#include "look/language.h"
#include "platform/registry/notify.h"
#include "platform/registry/registry.h"
#include "platform/win32/text.h"

mivoContextMenuEntry GadgetMenuEntry(DWORD command, int helpId, bool close, LONG value) {
  mivoContextMenuEntry entry;
  entry.CommandId = command;
  entry.Value = value;
  if (helpId) entry.HelpText = GetString(helpId);
  entry.Close = close;
  return entry;
}

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
