// CmivoFileListPage: the document-list page. It shows one row per file, each
// holding an action (an mivoActionExecuteFile, or the office action that
// starts the program a list is about). It lists a folder (the folders of
// run-file actions) or a list the caller fills (the office document lists).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "actions/action.h"
#include "ui/page_wnd.h"

class CmivoFileListPage : public CmivoPageWnd {
 public:
  explicit CmivoFileListPage(mivoCore* core);
  ~CmivoFileListPage() override;

  // Lists the folder's entries whose names match the filter ("" or "*.*":
  // all), folders first, each group by name; refreshed at every showing.
  void SetFolder(std::u16string folder, std::u16string filter);
  const std::u16string& Folder() const { return m_folder; }
  // A list filled by the caller (no folder): the title, then rows.
  void SetPageTitle(std::u16string title);
  void ClearFiles();
  void AddAction(std::unique_ptr<mivoAction> action);
  std::size_t FileCount() const { return m_actions.size(); }
  mivoAction* FileAt(std::size_t index) const { return index < m_actions.size() ? m_actions[index].get() : nullptr; }

  const char* PageClassName() const override { return "CmivoFileListPage"; }
  void OnPageShown() override;

 private:
  void ListFolder();

  std::u16string m_folder;                // "" for a list filled by the caller
  std::u16string m_filter;                // patterns for the folder's files
  std::vector<mivoHeldAction> m_actions;  // the rows' actions, in order
};
