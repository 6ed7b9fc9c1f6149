#include "actions/info_pages.h"

#include "actions/action_kinds.h"
#include "actions/action_list_item.h"
#include "actions/actions.h"
#include "actions/help_topics.h"
#include "core/core.h"
#include "core/settings.h"
#include "look/language.h"
#include "look/string_ids.h"

namespace {

mivoSkinImage* Icon(mivoCore* core, std::u16string_view name) {
  return core && core->GetActions() ? core->GetActions()->SkinImage(name) : nullptr;
}

// The FAQ: the help topics, then these, each question a title of the string
// table and its answer a text.
constexpr mivoHelpTopic kMoreQuestions[] = {
    {IDS_FAVORITES, IDS_ADD_TO_FAVORITES_HELP},
    {IDS_ACTIONS_HISTORY, IDS_MOST_USED_ACTIONS_HELP},  // what it counts
    {IDS_DETAILS_VIEW, IDS_DETAILS_VIEW_HELP},
    {IDS_GRID_VIEW, IDS_GRID_VIEW_HELP},
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
  auto* card = new CmivoAdvListBoxNameValueListItem(m_pCore, GetString(IDS_MIVO));
  card->AddPair(GetString(IDS_VERSION), mivoCore::GetVersionText());
  mivoSettings& settings = m_pCore->Settings();
  card->AddPair(GetString(IDS_SKINS), settings.GetSkinName());
  card->AddPair(GetString(IDS_COLOR_THEMES), settings.GetThemeName());
  card->AddPair(GetString(IDS_WALLPAPER_THEMES), settings.GetWallpaperTheme());
  card->AddPair(GetString(IDS_LANGUAGE), settings.GetLanguage());
  AddItem(card);
  // What is there to learn next: the FAQ and the tutorial.
  AddItem(new CmivoAdvListBoxActionItem(m_pCore, std::make_unique<mivoActionShowPage>(m_pCore, 33, 0, 0)));
  AddItem(new CmivoAdvListBoxActionItem(m_pCore, std::make_unique<mivoActionHelpTutorial>(m_pCore)));
}

// ---- FAQ -------------------------------------------------------------------------

CmivoFAQPage::CmivoFAQPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  SetTitle(GetString(IDS_FAQ));
  m_pPageIcon = GetPageIcon(0, 0);
}

CmivoFAQPage::~CmivoFAQPage() { Clear(true); }

std::u16string CmivoFAQPage::GetTitle(int, int) { return GetString(IDS_FAQ); }
mivoSkinImage* CmivoFAQPage::GetPageIcon(int, int) { return Icon(m_pCore, u"faq_page"); }

void CmivoFAQPage::OnPageShown() {
  if (m_filled) return;
  m_filled = true;
  auto add = [this](const mivoHelpTopic& q) {
    AddItem(new CmivoAdvListBoxFAQItem(m_pCore, GetString(q.title), GetString(q.text)));
  };
  for (const mivoHelpTopic& q : kHelpTopics) add(q);
  for (const mivoHelpTopic& q : kMoreQuestions) add(q);
}
