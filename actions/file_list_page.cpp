#include "actions/file_list_page.h"

#include <algorithm>

#include "actions/action_kinds.h"
#include "actions/document_search.h"
#include "actions/menu_handlers.h"
#include "core/core.h"
#include "look/appearance.h"
#include "platform/fs/device_path.h"
#include "platform/fs/find.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/text.h"

CmivoFileListPage::CmivoFileListPage(mivoCore* core) : CmivoItemsPageWnd(core), CmivoContextMenu(core) {
  // One row per file: names need the width.
  SetDetailsView();
}

CmivoFileListPage::~CmivoFileListPage() { ClearItems(); }

void CmivoFileListPage::SetFolder(std::u16string folder, std::u16string filter) {
  m_folder = std::move(folder);
  m_filter = std::move(filter);
  const std::u16string name = fs::FileNamePart(m_folder);
  SetTitle(name.empty() ? m_folder : name);
  ListFolder();
}

void CmivoFileListPage::SetPageTitle(const std::u16string& title) {
  m_folder.clear();
  m_filter.clear();
  SetTitle(title);
}

void CmivoFileListPage::ClearFiles() {
  // The list's elements point into the actions: the list goes first.
  ClearItems();
  m_actions.clear();
}

void CmivoFileListPage::AddAction(std::unique_ptr<mivoAction> action) {
  if (!action) return;
  m_actions.emplace_back(std::move(action));
  mivoListElement element;
  element.Id = m_actions.size() - 1;
  AddItem(element);
}

void CmivoFileListPage::OnPageShown() {
  // A folder is read again: files come and go while the page is away.
  if (!m_folder.empty()) ListFolder();
}

void CmivoFileListPage::ListFolder() {
  ClearFiles();
  if (m_folder.empty()) return;
  struct Entry {
    std::u16string name;
    bool folder;
  };
  std::vector<Entry> entries;
  const std::u16string prefix = m_folder.back() == u'\\' ? m_folder : m_folder + u"\\";
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((prefix + u"*.*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (!folder && !MatchesAnyPattern(m_filter, data.cFileName)) continue;
      entries.push_back({data.cFileName, folder});
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.folder != b.folder) return a.folder;
    return text::CompareNoCase(a.name, b.name) < 0;
  });
  for (const Entry& e : entries) AddAction(std::make_unique<mivoActionExecuteFile>(m_pCore, prefix + e.name));
}

mivoAction* CmivoFileListPage::ActionOf(const mivoListElement& element) const { return FileAt(element.Id); }

void CmivoFileListPage::DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {
  if (mivoAction* action = ActionOf(element)) {
    action->Draw(dc, rect, IsDetailsView() ? kActionStyleRow : kActionStyleTile,
                 index == List().GetCursor() ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
  }
}

void CmivoFileListPage::OnItemTap(int index, const mivoListElement& element) {
  if (mivoAction* action = ActionOf(element); action && m_pCore) m_pCore->RunAction(action);
}

void CmivoFileListPage::OnItemHold(int index, const mivoListElement& element) {
  mivoAction* action = ActionOf(element);
  if (!action) return;
  ClearMenu();
  AddMenuHandler(std::make_unique<CmivoContextMenuActionHandler>(m_pCore, *action));
  ShowMenu();
}

std::u16string CmivoFileListPage::DescribeItem(int index, const mivoListElement& element) {
  mivoAction* action = ActionOf(element);
  return action ? action->GetTitle() : std::u16string();
}
