#include "pim/sms_items_page.h"

#include <algorithm>

#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pim/read_sms_page.h"
#include "pim/sms_store.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"
#include "ui/adv_list_box_items.h"

namespace {

// The special folders by their tag, with their texts and pictures.
struct FolderKind {
  std::uint32_t tag;
  int titleId;
  int emptyId;
  int helpId;
  const char16_t* image;
};
constexpr FolderKind kFolders[] = {
    {0x81060102u, IDS_INBOX, IDS_NO_SMS_IN_INBOX, IDS_INBOX_HELP, u"sms_incoming"},
    {0x35E40102u, IDS_SENT, IDS_NO_SMS_IN_SENT, IDS_SENT_HELP, u"sms_sent"},
    {0x81040102u, IDS_DRAFTS, IDS_NO_SMS_IN_DRAFTS, IDS_DRAFTS_HELP, u"sms_drafts"},
    {0x35E20102u, IDS_OUTBOX, IDS_NO_SMS_IN_OUTBOX, IDS_OUTBOX_HELP, u"sms_outbox"},
    {0x35E30102u, IDS_DELETED, IDS_NO_SMS_IN_DELETED, IDS_DELETED_HELP, u"sms_deleted"},
};

const FolderKind* KindOf(int param) {
  for (const FolderKind& k : kFolders)
    if (k.tag == static_cast<std::uint32_t>(param)) return &k;
  return nullptr;
}

// The cards' two fonts, Arial 18·S bold and 12·S, made once and shared by
// every card.
HFONT CardFont(bool body) {
  static HFONT fonts[2] = {};
  HFONT& font = fonts[body ? 0 : 1];
  if (!font) {
    LOGFONTW lf{};
    lf.lfHeight = (body ? 18 : 12) * DisplayScale;
    lf.lfWeight = body ? FW_BOLD : FW_NORMAL;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lf.lfPitchAndFamily = FF_SWISS;
    text::CopyTo(lf.lfFaceName, LF_FACESIZE, u"Arial");
    font = CreateFontIndirectW(&lf);
  }
  return font;
}

}  // namespace

// ---- A card --------------------------------------------------------------------------------------

CmivoAdvListBoxSMSItem::CmivoAdvListBoxSMSItem(mivoCore* core, mivoSMSMessage* message)
    : CmivoAdvListBoxItem(core), m_pMessage(message) {}

std::u16string CmivoAdvListBoxSMSItem::TimeText() const {
  std::int64_t when = 0;
  if (!m_pMessage || (!m_pMessage->GetDeliveryTime(&when) && !m_pMessage->GetLastModificationTime(&when)))
    return GetString(IDS_UNKNOWN_TIME);
  return datetime::RelativeDay(when) + u" " + datetime::HourMinute(when);
}

int CmivoAdvListBoxSMSItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoAppearance* look = Look();
  if (!look || !m_pMessage) return m_height;
  const int s = DisplayScale;
  const RECT r = *rect;
  FillRect(dc, &r, look->BackgroundBrush);
  const bool selected = IsSelected();
  const int saved = SaveDC(dc);
  SelectObject(dc, selected ? look->ThemeBrush7 : look->ThemeBrush5);
  SelectObject(dc, selected ? look->ThemePen6 : look->ThemePen4);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look->TextColor);

  // The name on a tab whose lower part the card covers.
  std::u16string name = m_pMessage->GetSenderName();
  if (name.empty()) name = GetString(IDS_NO_SENDER);
  SelectObject(dc, look->SubtitleFont);
  SIZE extent{};
  GetTextExtentExPointW(dc, name.c_str(), static_cast<int>(name.size()), 0, nullptr, nullptr, &extent);
  const int x0 = r.left + 5 * s, y0 = r.top + 5 * s;
  const int w = std::min<int>(extent.cx, r.right - x0 - 10 * s), h = extent.cy;
  RoundRect(dc, x0, y0, x0 + w + 10 * s, y0 + h + 30 * s, 10 * s, 10 * s);
  RECT tab{x0, y0, x0 + w + 10 * s, y0 + h + 10 * s};
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &tab,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);

  const int c = y0 + h + 10 * s;
  RoundRect(dc, x0, c, r.right, c + 60 * s, 20 * s, 20 * s);
  const RECT inner{x0 + 5 * s, c + 5 * s, r.right - 5 * s, c + 55 * s};
  SelectObject(dc, CardFont(true));
  const std::u16string& body = m_pMessage->GetBody();
  RECT bodyRect{inner.left, inner.top, inner.right, c + 41 * s};
  DrawTextW(dc, body.c_str(), static_cast<int>(body.size()), &bodyRect, DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX);
  // The time at the bottom right and the unread mark at the bottom left,
  // on the line under the text (not over it).
  SelectObject(dc, CardFont(false));
  RECT whenRect = inner;
  if (!m_pMessage->IsRead()) {
    const std::u16string unread = GetString(IDS_UNREAD);
    RECT unreadRect = inner;
    DrawTextW(dc, unread.c_str(), static_cast<int>(unread.size()), &unreadRect, DT_BOTTOM | DT_SINGLELINE);
    // A long date gives way to the mark rather than run over it.
    SIZE mark{};
    GetTextExtentExPointW(dc, unread.c_str(), static_cast<int>(unread.size()), 0, nullptr, nullptr, &mark);
    whenRect.left += mark.cx + 5 * s;
  }
  const std::u16string when = TimeText();
  DrawTextW(dc, when.c_str(), static_cast<int>(when.size()), &whenRect,
            DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS);
  RestoreDC(dc, saved);
  SetHeight(h + 75 * s);
  return m_height;
}

bool CmivoAdvListBoxSMSItem::OnTap(UINT, int, int) {
  auto* reader = dynamic_cast<CmivoReadSMSPage*>(m_pCore->GetPage(5));
  if (!reader) return true;
  reader->SetMessage(m_pMessage);
  m_pCore->ShowPageById(5);
  return true;
}

void CmivoAdvListBoxSMSItem::Describe(mivoRowText* out) const {
  if (!m_pMessage) return;
  out->text = m_pMessage->GetSenderName().empty() ? GetString(IDS_NO_SENDER) : m_pMessage->GetSenderName();
  out->sub = m_pMessage->GetBody();
  out->help = TimeText();
  if (!m_pMessage->IsRead()) out->help += u" " + GetString(IDS_UNREAD);
}

// ---- The page ------------------------------------------------------------------------------------

CmivoSMSItemsPage::CmivoSMSItemsPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  auto list = std::make_unique<CmivoAdvListBoxWithEmptyText>(core);
  m_pList = list.get();
  ReplaceListBox(std::move(list));
  m_title = GetTitle(0, 0);
}

CmivoSMSItemsPage::~CmivoSMSItemsPage() {
  if (m_pFolder) m_pFolder->RemoveListener(this);
}

std::u16string CmivoSMSItemsPage::GetTitle(int param, int) {
  const FolderKind* kind = KindOf(param);
  return GetString(kind ? kind->titleId : IDS_ERROR);
}

std::u16string CmivoSMSItemsPage::GetHelpText(int param, int) {
  const FolderKind* kind = KindOf(param);
  return kind ? GetString(kind->helpId) : std::u16string();
}

mivoSkinImage* CmivoSMSItemsPage::GetPageIcon(int param, int) {
  const FolderKind* kind = KindOf(param);
  mivoActions* actions = m_pCore->GetActions();
  return kind && actions ? actions->SkinImage(kind->image) : nullptr;
}

void CmivoSMSItemsPage::SetPageParam(int param, int) {
  m_tag = static_cast<std::uint32_t>(param);
  m_pCore->ShowPleaseWait(GetString(IDS_INITIALIZING_SMS_FOLDER));
  if (const FolderKind* kind = KindOf(param)) {
    SetTitle(GetString(kind->titleId));
    List().SetEmptyText(GetString(kind->emptyId));
    m_pPageIcon = GetPageIcon(param, 0);
  }
  mivoSMSStore* store = m_pCore->GetSMSStore();
  FillFrom(store ? store->GetFolder(static_cast<ULONG>(m_tag)) : nullptr);
  m_pCore->HidePleaseWait();
}

void CmivoSMSItemsPage::FillFrom(mivoSMSFolder* folder) {
  if (!folder) return;
  if (m_pFolder) m_pFolder->RemoveListener(this);
  m_pFolder = folder;
  m_pFolder->AddListener(this);
  Clear(true);
  for (std::size_t i = 0; i < folder->GetCount(); ++i) AddItem(new CmivoAdvListBoxSMSItem(m_pCore, folder->GetAt(i)));
  AddItem(new CmivoAdvListBoxSimpleTextItem(
      m_pCore, text::Format(GetString(IDS_TOTAL_MESSAGES), static_cast<int>(folder->GetCount()))));
}

void CmivoSMSItemsPage::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  List().DrawWithEmptyText(dc, m_contentRect.left, m_contentRect.top);
  CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
}

void CmivoSMSItemsPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  if (List().ShowsEmptyText()) j.String(List().GetEmptyText());
  j.EndArray();
}

// ---- The folder's changes ------------------------------------------------------------------------

void CmivoSMSItemsPage::OnOutlookItemAdded(int source, mivoOutlookObject* item) {
  if (source != kOutlookSourceSMS) return;
  auto* message = dynamic_cast<mivoSMSMessage*>(item);
  if (!message) return;
  AddItem(new CmivoAdvListBoxSMSItem(m_pCore, message));
  if (m_hWnd) Invalidate(TRUE);
  InvalidateList();
}

void CmivoSMSItemsPage::OnOutlookListChanged(int source, mivoOutlookObject*) {
  if (source != kOutlookSourceSMS) return;
  FillFrom(m_pFolder);
  if (m_hWnd) Invalidate(TRUE);
  InvalidateList();
}

void CmivoSMSItemsPage::OnOutlookItemChanged(int source, mivoOutlookObject*) {
  if (source != kOutlookSourceSMS) return;
  if (m_hWnd) Invalidate(TRUE);
  InvalidateList();
}
