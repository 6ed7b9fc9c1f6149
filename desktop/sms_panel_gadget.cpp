#include "desktop/sms_panel_gadget.h"

#include "actions/action_kinds.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pim/read_sms_page.h"
#include "pim/sms_folder.h"
#include "pim/sms_message.h"
#include "pim/sms_store.h"
#include "platform/gdi/gdi.h"

namespace {

constexpr char16_t kPanelImage[] = u"gadget_sms_detail_panel";

// A message's text on one line: its line breaks become spaces.
std::u16string OneLine(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    const bool lineBreak = c == u'\r' || c == u'\n';
    if (lineBreak && !out.empty() && out.back() == u' ') continue;
    out += lineBreak ? u' ' : c;
  }
  return out;
}

// When the message came: its time today, else its day.
std::u16string WhenText(mivoSMSMessage& message) {
  std::int64_t when = 0;
  if (!message.GetDeliveryTime(&when) && !message.GetLastModificationTime(&when)) return {};
  struct tm then {
  }, today{};
  const bool sameDay = datetime::ToLocal(when, &then) && datetime::ToLocal(datetime::Now(), &today) &&
                       then.tm_year == today.tm_year && then.tm_yday == today.tm_yday;
  return sameDay ? datetime::HourMinute(when) : datetime::ShortDate(when);
}

}  // namespace

CmivoSMSDetailsGadget::CmivoSMSDetailsGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoDetailsPanelGadget(core, page, 18) {}

CmivoSMSDetailsGadget::~CmivoSMSDetailsGadget() { StopListening(); }

mivoSMSFolder* CmivoSMSDetailsGadget::Inbox() const {
  mivoSMSStore* store = m_pCore->GetSMSStore();
  return store ? store->GetFolder(PR_CE_IPM_INBOX_ENTRYID) : nullptr;
}

mivoSMSMessage* CmivoSMSDetailsGadget::NewestMessage() const {
  mivoSMSFolder* inbox = Inbox();
  // The folder keeps only usable messages, newest first.
  return inbox ? inbox->GetAt(0) : nullptr;
}

void CmivoSMSDetailsGadget::OnActivate() {
  // The Inbox is opened when the panel is first drawn, not here: a panel on
  // a desktop not shown costs the start nothing.
  StopListening();
}

void CmivoSMSDetailsGadget::ListenTo(mivoSMSFolder* inbox) {
  if (!inbox || inbox == m_pListened || !IsActive()) return;
  StopListening();
  inbox->AddListener(this);
  m_pListened = inbox;
}

void CmivoSMSDetailsGadget::OnDeactivate() { StopListening(); }

void CmivoSMSDetailsGadget::StopListening() {
  if (!m_pListened) return;
  // The store may have gone first (the program ending): its folders with it.
  mivoSMSStore* store = m_pCore->GetSMSStore();
  if (store && store->OpenedFolder(PR_CE_IPM_INBOX_ENTRYID) == m_pListened) m_pListened->RemoveListener(this);
  m_pListened = nullptr;
  m_pShown = nullptr;
}

void CmivoSMSDetailsGadget::DrawIcon(HDC dc, const RECT& rect) {
  mivoAppearance* look = m_pCore->GetAppearance();
  DrawCentredImage(dc, look ? look->GetSkinImage(kPanelImage) : nullptr, rect);
}

void CmivoSMSDetailsGadget::DrawDetails(HDC dc, const RECT& rect) {
  // Read again at every paint: the newest message is whatever the Inbox holds now.
  m_pShown = nullptr;
  mivoSMSFolder* inbox = Inbox();
  if (!inbox) {
    DrawNote(dc, rect, GetString(IDS_ERROR_READING_SMS));
    return;
  }
  // From now on a message that arrives repaints the panel.
  ListenTo(inbox);
  m_pShown = inbox->GetAt(0);
  if (!m_pShown) {
    DrawNote(dc, rect, GetString(IDS_NO_SMS_IN_INBOX_PANEL));
    return;
  }
  DrawTwoLines(dc, rect, m_pShown->GetSenderName(), OneLine(m_pShown->GetBody()), WhenText(*m_pShown));
}

void CmivoSMSDetailsGadget::OnIconTap(POINT) {
  // As a page action, so the Inbox counts in the actions history.
  mivoActionShowPage inbox(m_pCore, kSMSListPage, static_cast<int>(PR_CE_IPM_INBOX_ENTRYID), 0);
  m_pCore->RunAction(&inbox);
}

void CmivoSMSDetailsGadget::OnDetailsTap(POINT point) {
  // The message shown now (one may have arrived since the last paint).
  m_pShown = NewestMessage();
  auto* reader = m_pShown ? dynamic_cast<CmivoReadSMSPage*>(m_pCore->GetPage(kReadSMSPage)) : nullptr;
  if (!reader) {
    OnIconTap(point);
    return;
  }
  reader->SetMessage(m_pShown);
  m_pCore->ShowPage(reader);
}

void CmivoSMSDetailsGadget::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoAppearance* look = m_pCore->GetAppearance()) images.push_back(look->GetSkinImage(kPanelImage));
}

std::u16string CmivoSMSDetailsGadget::GetDumpText() {
  mivoSMSFolder* inbox = Inbox();
  if (!inbox) return GetString(IDS_ERROR_READING_SMS);
  mivoSMSMessage* newest = inbox->GetAt(0);
  if (!newest) return GetString(IDS_NO_SMS_IN_INBOX_PANEL);
  return newest->GetSenderName() + u": " + OneLine(newest->GetBody());
}
