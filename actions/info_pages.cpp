#include "actions/info_pages.h"

#include "actions/action_kinds.h"
#include "actions/action_list_item.h"
#include "actions/actions.h"
#include "core/core.h"
#include "core/settings.h"
#include "look/language.h"

namespace {

mivoSkinImage* Icon(mivoCore* core, std::u16string_view name) {
  return core && core->GetActions() ? core->GetActions()->SkinImage(name) : nullptr;
}

// The FAQ: each question a topic title of the string table, its answer the
// topic's text.
constexpr int kQuestions[][2] = {
    {140, 141},  // Desktop
    {142, 143},  // Desktop 2
    {144, 145},  // Context menu
    {146, 147},  // Design mode
    {148, 149},  // Design mode 2
    {150, 151},  // Add contact on desktop
    {152, 153},  // Add any item on desktop
    {154, 155},  // Gestures
    {356, 310},  // Favorites
    {15, 537},   // Actions history: what it counts
    {162, 163},  // Details view
    {160, 161},  // 3x3 view
};

}  // namespace

// ---- About -----------------------------------------------------------------------

CmivoAboutPage::CmivoAboutPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  SetTitle(kTitle);
  m_pPageIcon = GetPageIcon(0, 0);
}

CmivoAboutPage::~CmivoAboutPage() { Clear(true); }

std::u16string CmivoAboutPage::GetTitle(int, int) { return kTitle; }
mivoSkinImage* CmivoAboutPage::GetPageIcon(int, int) { return Icon(m_pCore, u"about_page"); }

void CmivoAboutPage::OnPageShown() {
  Clear(true);
  auto* card = new CmivoAdvListBoxNameValueListItem(m_pCore, GetString(111));
  card->AddPair(GetString(165), mivoCore::GetVersionText());
  if (m_pCore) {
    mivoSettings& settings = m_pCore->Settings();
    card->AddPair(GetString(247), settings.GetSkinName());
    card->AddPair(GetString(170), settings.GetThemeName());
    card->AddPair(GetString(253), settings.GetWallpaperTheme());
    card->AddPair(GetString(523), settings.GetLanguage());
  }
  AddItem(card);
  // What is there to learn next: the FAQ and the tutorial.
  AddItem(new CmivoAdvListBoxActionItem(m_pCore, std::make_unique<mivoActionShowPage>(m_pCore, 33, 0, 0)));
  AddItem(new CmivoAdvListBoxActionItem(m_pCore, std::make_unique<mivoActionHelpTutorial>(m_pCore)));
}

// ---- FAQ -------------------------------------------------------------------------

CmivoFAQPage::CmivoFAQPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  SetTitle(GetString(521));
  m_pPageIcon = GetPageIcon(0, 0);
}

CmivoFAQPage::~CmivoFAQPage() { Clear(true); }

std::u16string CmivoFAQPage::GetTitle(int, int) { return GetString(521); }
mivoSkinImage* CmivoFAQPage::GetPageIcon(int, int) { return Icon(m_pCore, u"faq_page"); }

void CmivoFAQPage::OnPageShown() {
  if (m_filled) return;
  m_filled = true;
  for (const auto& q : kQuestions) AddItem(new CmivoAdvListBoxFAQItem(m_pCore, GetString(q[0]), GetString(q[1])));
}
