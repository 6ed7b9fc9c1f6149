#include "desktop/date_gadget.h"

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "desktop/shared_skin_images.h"
#include "look/archive.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"

namespace {

const mivoStateValue kTimeValue{HKEY_LOCAL_MACHINE, u"System\\State\\DateTime", u"Time"};
constexpr std::int32_t kDateSubVersion = 2;
constexpr DWORD kDateFormat = 2064;
// The text entry's prompt (no text of the string table says it).
constexpr char16_t kEnterFormat[] = u"Enter format";

mivoSharedSkinImages& NoImages() {
  static mivoSharedSkinImages images{};
  return images;
}

}  // namespace

CmivoDateGadget::CmivoDateGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoStatusGadget(core, page, 8, NoImages(), mivoStatusStyle{kTextLeftOfImage, 16}) {}

std::u16string CmivoDateGadget::GetText() {
  const std::int64_t now = datetime::Now();
  if (!m_pattern.empty()) {
    // A picture the platform cannot write shows the long date rather than nothing.
    std::u16string custom = datetime::CustomDate(now, m_pattern);
    if (!custom.empty()) return custom;
  }
  return datetime::LongDate(now);
}

void CmivoDateGadget::SetPattern(std::u16string pattern) {
  m_pattern = std::move(pattern);
  m_text = GetText();
  Invalidate();
}

void CmivoDateGadget::OnActivate() {
  WatchState(kTimeValue);
  m_text = GetText();
}

void CmivoDateGadget::OnStateChanged(WPARAM, LPARAM) {
  // The time value moves every minute; the date's text only once a day.
  std::u16string text = GetText();
  if (text == m_text) return;
  m_text = std::move(text);
  Invalidate();
}

// ---- The design-mode menu ----------------------------------------------------------------------

void CmivoDateGadget::AddContextMenuItems() {
  CmivoStatusGadget::AddContextMenuItems();
  if (IsDesignMode() && m_pDesktop) m_pDesktop->AddMenuEntry(MenuEntry(kDateFormat, IDS_DATE_FORMAT_HELP, true));
}

std::u16string CmivoDateGadget::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kDateFormat) return GetString(IDS_DATE_FORMAT);
  return CmivoStatusGadget::GetContextMenuItemText(entry);
}

void CmivoDateGadget::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kDateFormat) {
    std::u16string pattern = m_pattern;
    if (m_pCore->EnterText(GetString(IDS_DATE_FORMAT), kEnterFormat, &pattern, false)) SetPattern(pattern);
  }
  CmivoStatusGadget::OnContextMenuCommand(entry);
}

// ---- The stored picture ------------------------------------------------------------------------

void CmivoDateGadget::LoadProperties(mivoArchiveReader& in) {
  CmivoStatusGadget::LoadProperties(in);
  if (m_value >= kDateSubVersion) {
    std::u16string pattern;
    if (in.ReadString(&pattern)) m_pattern = std::move(pattern);
  }
  m_value = kDateSubVersion;
}

void CmivoDateGadget::SaveProperties(mivoArchiveWriter& out) {
  m_value = kDateSubVersion;
  CmivoStatusGadget::SaveProperties(out);
  out.WriteString(m_pattern);
}

void CmivoDateGadget::ExchangeProperties(mivoGadgetProperties& properties) {
  CmivoStatusGadget::ExchangeProperties(properties);
  properties.Text("pattern", m_pattern);
}
