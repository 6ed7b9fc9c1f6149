// The actions that stay inside the program or the device's settings: a
// control-panel applet, a page, a contact, a sub-menu, the help tutorial.
#include "actions/action_draw.h"
#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/help_topics.h"
#include "actions/services.h"
#include "actions/submenu_page.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "core/settings.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/shell/kernel.h"
#include "platform/shell/launch.h"
#include "platform/win32/text.h"
#include "ui/page_wnd.h"

namespace {

// The help tutorial's boxes around the help topics.
constexpr mivoHelpTopic kTutorialWelcome{IDS_TUTORIAL_WELCOME, IDS_TUTORIAL_WELCOME_TEXT};
constexpr mivoHelpTopic kTutorialThankYou{IDS_TUTORIAL_THANK_YOU, IDS_TUTORIAL_THANK_YOU_TEXT};

mivoContactDirectory* Directory(mivoCore* core) {
  return core && core->GetActions() ? core->GetActions()->Contacts() : nullptr;
}

}  // namespace

// ---- ControlPanel -----------------------------------------------------------

mivoActionControlPanel::mivoActionControlPanel(mivoCore* core, int appletIndex, int second)
    : mivoAction(core, kActionControlPanel), m_appletIndex(appletIndex), m_second(second) {}

bool mivoActionControlPanel::Load(mivoArchiveReader& in) {
  std::int32_t index = 0, second = 0;
  if (!in.ReadI32(&index) || !in.ReadI32(&second)) return false;
  m_appletIndex = index;
  m_second = second;
  return true;
}

void mivoActionControlPanel::Save(mivoArchiveWriter& out) const {
  out.WriteI32(m_appletIndex);
  out.WriteI32(m_second);
}

bool mivoActionControlPanel::IsEqual(const mivoAction& other) const {
  const auto& o = static_cast<const mivoActionControlPanel&>(other);
  return m_appletIndex == o.m_appletIndex && m_second == o.m_second;
}

void mivoActionControlPanel::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  const auto& o = static_cast<const mivoActionControlPanel&>(other);
  m_appletIndex = o.m_appletIndex;
  m_second = o.m_second;
}

std::unique_ptr<mivoAction> mivoActionControlPanel::Clone() const {
  auto copy = std::make_unique<mivoActionControlPanel>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

std::u16string mivoActionControlPanel::IdentityKey() const { return text::Format(u"%d,%d", m_appletIndex, m_second); }

bool mivoActionControlPanel::Inquire(std::u16string* name, HICON* icon) const {
  mivoAppletInquiry* applets = m_pCore && m_pCore->GetActions() ? m_pCore->GetActions()->Applets() : nullptr;
  HICON unused = nullptr;
  return applets && applets->InquireApplet(m_appletIndex, name, icon ? icon : &unused);
}

std::u16string mivoActionControlPanel::GetTitle() {
  std::u16string name;
  return Inquire(&name, nullptr) ? name : GetString(IDS_UNKNOWN_CONTROL_PANEL);
}

void mivoActionControlPanel::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  std::u16string name;
  HICON icon = nullptr;
  if (!Inquire(&name, &icon)) {
    name = GetString(IDS_UNKNOWN_CONTROL_PANEL);
    icon = nullptr;
  }
  action_draw::DrawIconAction(m_pCore, dc, rect, style, icon, name, subtitle);
}

void mivoActionControlPanel::Execute() {
  if (!m_pCore) return;
  if (m_pCore->Settings().GetAskBeforeControlPanel()) {
    std::u16string name;
    const std::u16string question = Inquire(&name, nullptr)
                                        ? text::Format(GetString(IDS_WOULD_YOU_LIKE_TO_RUN_CPL), name)
                                        : GetString(IDS_WOULD_YOU_LIKE_TO_RUN_UNKNOWN_CPL);
    if (m_pCore->RunMessageBox(GetString(IDS_CONTROL_PANEL), question, false) != 1) return;
  }
  // The control-panel host with the applet and its tab; a failed start is
  // not reported (the host shows nothing either).
  std::u16string commandLine = text::Format(u"cplmain.cpl,%d,%d", m_appletIndex, m_second);
  PROCESS_INFORMATION process;
  if (CreateProcessW(u"\\Windows\\ctlpnl.exe", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     nullptr, &process)) {
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
  }
}

// ---- ShowPage ---------------------------------------------------------------

mivoActionShowPage::mivoActionShowPage(mivoCore* core, int pageIndex, int param, int extra)
    : mivoAction(core, kActionShowPage), m_page(pageIndex), m_param(param), m_extra(extra) {}

bool mivoActionShowPage::Load(mivoArchiveReader& in) {
  std::int32_t page = 0, param = 0, extra = 0;
  if (!in.ReadI32(&page) || !in.ReadI32(&param) || !in.ReadI32(&extra)) return false;
  m_page = page;
  m_param = param;
  m_extra = extra;
  return true;
}

void mivoActionShowPage::Save(mivoArchiveWriter& out) const {
  out.WriteI32(m_page);
  out.WriteI32(m_param);
  out.WriteI32(m_extra);
}

bool mivoActionShowPage::IsEqual(const mivoAction& other) const {
  const auto& o = static_cast<const mivoActionShowPage&>(other);
  return m_page == o.m_page && m_param == o.m_param && m_extra == o.m_extra;
}

void mivoActionShowPage::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  const auto& o = static_cast<const mivoActionShowPage&>(other);
  m_page = o.m_page;
  m_param = o.m_param;
  m_extra = o.m_extra;
}

std::unique_ptr<mivoAction> mivoActionShowPage::Clone() const {
  auto copy = std::make_unique<mivoActionShowPage>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

std::u16string mivoActionShowPage::IdentityKey() const { return text::Format(u"%d,%d,%d", m_page, m_param, m_extra); }

CmivoPageWnd* mivoActionShowPage::Page() const { return m_pCore && m_page >= 0 ? m_pCore->GetPage(m_page) : nullptr; }

std::u16string mivoActionShowPage::GetTitle() {
  CmivoPageWnd* page = Page();
  return page ? page->GetTitle(m_param, m_extra) : GetString(IDS_ERROR);
}

std::u16string mivoActionShowPage::GetHelpText() {
  CmivoPageWnd* page = Page();
  return page ? page->GetHelpText(m_param, m_extra) : std::u16string();
}

void mivoActionShowPage::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  CmivoPageWnd* page = Page();
  action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode,
                               page ? page->GetPageIcon(m_param, m_extra) : nullptr, GetTitle(), subtitle);
}

void mivoActionShowPage::CollectImages(std::vector<mivoSkinImage*>& images) {
  CmivoPageWnd* page = Page();
  if (!page) return;
  const std::size_t before = images.size();
  page->CollectImages(images);
  if (images.size() == before) {
    if (mivoSkinImage* icon = page->GetPageIcon(m_param, m_extra)) images.push_back(icon);
  }
}

void mivoActionShowPage::Execute() {
  CmivoPageWnd* page = Page();
  if (!page) return;
  page->SetPageParam(m_param, m_extra);
  m_pCore->ShowPage(page);
}

// ---- Contact ----------------------------------------------------------------

mivoActionContact::mivoActionContact(mivoCore* core, std::uint32_t oid)
    : mivoAction(core, kActionContact), m_oid(oid) {}

bool mivoActionContact::Load(mivoArchiveReader& in) {
  std::uint32_t oid = 0;
  if (!in.ReadU32(&oid)) return false;
  m_oid = oid;
  return true;
}

void mivoActionContact::Save(mivoArchiveWriter& out) const { out.WriteU32(m_oid); }

bool mivoActionContact::IsEqual(const mivoAction& other) const {
  return m_oid == static_cast<const mivoActionContact&>(other).m_oid;
}

void mivoActionContact::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  m_oid = static_cast<const mivoActionContact&>(other).m_oid;
}

std::unique_ptr<mivoAction> mivoActionContact::Clone() const {
  auto copy = std::make_unique<mivoActionContact>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

std::u16string mivoActionContact::IdentityKey() const { return text::Format(u"%u", m_oid); }

std::u16string mivoActionContact::GetTitle() {
  mivoContactDirectory* contacts = m_oid ? Directory(m_pCore) : nullptr;
  mivoContactInfo* contact = contacts ? contacts->FindContactByOid(m_oid) : nullptr;
  return contact ? contact->DisplayName() : GetString(IDS_INVALID_CONTACT);
}

void mivoActionContact::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  mivoContactDirectory* contacts = m_oid ? Directory(m_pCore) : nullptr;
  mivoContactInfo* contact = contacts ? contacts->FindContactByOid(m_oid) : nullptr;
  if (!contact) {
    action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode,
                                 action_draw::Image(m_pCore, u"view_contact_details"), GetString(IDS_INVALID_CONTACT),
                                 subtitle);
    return;
  }
  const int kind = contact->PreferredKind();
  const std::u16string sub = !subtitle.empty() ? std::u16string(subtitle)
                             : kind            ? contact->NumberLabel(kind)
                                               : std::u16string();
  if (HBITMAP photo = contact->Photo()) {
    action_draw::DrawPhotoAction(m_pCore, dc, rect, style, imageMode, photo,
                                 kind ? action_draw::Image(m_pCore, u"small_phone") : nullptr, contact->DisplayName(),
                                 sub);
    return;
  }
  mivoSkinImage* icon = action_draw::Image(m_pCore, kind ? u"make_a_call" : u"view_contact_details");
  action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode, icon, contact->DisplayName(), sub);
}

void mivoActionContact::Execute() {
  mivoContactDirectory* contacts = m_oid ? Directory(m_pCore) : nullptr;
  mivoContactInfo* contact = contacts ? contacts->FindContactByOid(m_oid) : nullptr;
  if (!contact) return;
  const int kind = contact->PreferredKind();
  if (m_pCore->Settings().GetTapOnContact() == 1 && kind > 0) {
    mivoActionMakeCall call(m_pCore, contact->Number(kind));
    m_pCore->RunAction(&call);
    return;
  }
  CmivoPageWnd* details = m_pCore->GetPage(kContactDetailsPage);
  if (!details) return;
  if (auto* viewer = dynamic_cast<mivoContactViewer*>(details)) viewer->SetContact(m_oid);
  m_pCore->ShowPage(details);
}

// ---- SubMenu ----------------------------------------------------------------

mivoActionSubMenu::mivoActionSubMenu(mivoCore* core, std::u16string title)
    : mivoAction(core, kActionSubMenu), m_title(std::move(title)) {}

mivoActionSubMenu::~mivoActionSubMenu() {
  if (m_page) {
    if (m_pCore) {
      m_pCore->DestroyPage(m_page);
    } else {
      delete m_page;
    }
  }
}

bool mivoActionSubMenu::Load(mivoArchiveReader& in) {
  std::u16string title;
  if (!in.ReadString(&title)) return false;
  m_title = std::move(title);
  return true;
}

void mivoActionSubMenu::Save(mivoArchiveWriter& out) const { out.WriteString(m_title); }

bool mivoActionSubMenu::IsEqual(const mivoAction& other) const {
  return m_title == static_cast<const mivoActionSubMenu&>(other).m_title;
}

void mivoActionSubMenu::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  const auto& o = static_cast<const mivoActionSubMenu&>(other);
  m_title = o.m_title;
  m_shownTitle = o.m_shownTitle;
  m_titleId = o.m_titleId;
  m_helpText = o.m_helpText;
  m_icon = o.m_icon;
  m_regainTried = o.m_regainTried;
  m_children.clear();
  for (const mivoHeldAction& child : o.m_children) m_children.emplace_back(child->Clone());
  if (m_page) m_page->Refill();
}

std::unique_ptr<mivoAction> mivoActionSubMenu::Clone() const {
  auto copy = std::make_unique<mivoActionSubMenu>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

void mivoActionSubMenu::AddChild(std::unique_ptr<mivoAction> child) {
  if (!child) return;
  m_children.emplace_back(std::move(child));
  if (m_page) m_page->Refill();
}

mivoSkinImage* mivoActionSubMenu::Icon() {
  RegainFromMainMenu();
  return m_icon;
}

const std::vector<mivoHeldAction>& mivoActionSubMenu::Children() {
  RegainFromMainMenu();
  return m_children;
}

std::u16string mivoActionSubMenu::GetHelpText() {
  RegainFromMainMenu();
  return m_helpText;
}

CmivoPageWnd* mivoActionSubMenu::GetListPage() {
  RegainFromMainMenu();
  if (!m_page) {
    m_page = new mivoSubMenuPage(m_pCore, this);
    m_page->Refill();
  }
  return m_page;
}

void mivoActionSubMenu::Execute() {
  if (m_pCore) m_pCore->ShowPage(GetListPage());
}

std::u16string mivoActionSubMenu::GetTitle() {
  RegainFromMainMenu();
  return m_shownTitle.empty() ? m_title : m_shownTitle;
}

void mivoActionSubMenu::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode, Icon(), GetTitle(), subtitle);
}

void mivoActionSubMenu::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoSkinImage* icon = Icon()) images.push_back(icon);
}

// A record keeps only the title: a sub-menu read back from a favourite, the
// history or a desktop finds its children (and help text and icon) in the
// main menu's sub-menu of the same title, searched through nested sub-menus.
// A title written in English (the factory desktops) is found in any language.
void mivoActionSubMenu::RegainFromMainMenu() {
  if (m_regainTried || !m_children.empty() || !m_pCore) return;
  m_regainTried = true;
  const mivoActionSubMenu* source = FindMainMenuSubMenu(m_pCore, m_title);
  if (!source || source == this) return;
  m_helpText = source->m_helpText;
  m_icon = source->m_icon;
  // Found by its English title: it shows the title the menu shows.
  if (source->m_title != m_title) m_shownTitle = source->m_title;
  m_titleId = source->m_titleId;
  for (const mivoHeldAction& child : source->m_children) m_children.emplace_back(child->Clone());
  if (m_page) m_page->Refill();
}

// ---- HelpTutorial -----------------------------------------------------------

mivoActionHelpTutorial::mivoActionHelpTutorial(mivoCore* core) : mivoAction(core, kActionHelpTutorial) {}

std::unique_ptr<mivoAction> mivoActionHelpTutorial::Clone() const {
  auto copy = std::make_unique<mivoActionHelpTutorial>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

std::u16string mivoActionHelpTutorial::GetTitle() { return GetString(IDS_HELP_TUTORIAL); }

void mivoActionHelpTutorial::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode, action_draw::Image(m_pCore, u"help_tutorial"),
                               GetTitle(), subtitle);
}

void mivoActionHelpTutorial::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoSkinImage* image = action_draw::Image(m_pCore, u"help_tutorial")) images.push_back(image);
}

void mivoActionHelpTutorial::Execute() {
  // Each box goes on with yes; no ends the tutorial, and so does a box that a
  // quit message closed (the program is ending: no further boxes).
  auto show = [this](const mivoHelpTopic& box) {
    return m_pCore->RunMessageBox(GetString(box.title), GetString(box.text), false) == 1;
  };
  if (!show(kTutorialWelcome)) return;
  for (const mivoHelpTopic& topic : kHelpTopics) {
    if (!show(topic)) return;
  }
  show(kTutorialThankYou);
}
