#include "ui/look_pages/languages_page.h"

#include "core/core.h"
#include "core/settings.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/win32/text.h"
#include "ui/look_pages/look_page_util.h"

namespace {

}  // namespace

CmivoAdvLanguagesPage::CmivoAdvLanguagesPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetString(IDS_CHOOSE_LANGUAGE);
}

std::u16string CmivoAdvLanguagesPage::GetTitle(int, int) { return GetString(IDS_LANGUAGE); }

void CmivoAdvLanguagesPage::OnPageShown() {
  if (m_filled || !m_pCore) return;
  m_filled = true;
  int count = 0;
  for (const auto& entry : look_pages::FindEntries(m_pCore->GetProgramFolder() + u"Languages\\*.mlg")) {
    if (entry.folder) continue;
    AddItem(new CmivoAdvListBoxLanguageItem(m_pCore, look_pages::WithoutExtension(entry.name)));
    ++count;
  }
  AddItem(new CmivoAdvListBoxSimpleTextItem(m_pCore, text::Format(GetString(IDS_TOTAL_LANGUAGES), count)));
  // The language in use is the selected row.
  const std::u16string current = m_pCore->Settings().GetLanguage();
  for (int i = 0; i < GetItemCount(); ++i) {
    auto* item = dynamic_cast<CmivoAdvListBoxLanguageItem*>(GetItem(i));
    if (item && text::EqualsNoCase(item->Name(), current)) {
      ListBox().SetSelectedItem(item);
      break;
    }
  }
}

CmivoAdvListBoxLanguageItem::CmivoAdvListBoxLanguageItem(mivoCore* core, const std::u16string& name)
    : CmivoAdvListBoxTextWithHelp(core), m_name(name) {
  mivoLanguage language;
  language.LoadLanguage(core->GetProgramFolder(), name);
  SetTitle(language.DisplayName.empty() ? name : language.DisplayName);
}

bool CmivoAdvListBoxLanguageItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxTextWithHelp::OnTap(flags, x, y)) return true;
  mivoCore* core = m_pCore;
  const std::u16string name = m_name;
  if (!core->AskYesNo(std::u16string(kChangeLanguageQuestion), std::u16string(kChangeLanguageTitle))) return true;
  core->Settings().SetLanguage(name);
  core->RequestExit();
  return true;
}
