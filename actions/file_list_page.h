// CmivoFileListPage: the document-list page (catalogue page 17, and the own
// page of every folder a run-file action opens). One row per file, each
// holding an action (an mivoActionExecuteFile, or the office action that
// starts the program a list is about). It lists a folder, re-read at every
// showing, or a list the caller fills (the office document lists).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "actions/action.h"
#include "ui/context_menu.h"
#include "ui/items_page.h"

class CmivoFileListPage : public CmivoItemsPageWnd, public CmivoContextMenu {
 public:
  explicit CmivoFileListPage(mivoCore* core);
  ~CmivoFileListPage() override;

  // Lists the folder's entries whose names match the filter ("" or "*.*":
  // all; "|" separates patterns), folders first, each group by name.
  void SetFolder(std::u16string folder, std::u16string filter);
  const std::u16string& Folder() const { return m_folder; }
  // A list filled by the caller (no folder): the title, then the rows.
  void SetPageTitle(const std::u16string& title);
  void ClearFiles();
  void AddAction(std::unique_ptr<mivoAction> action);
  std::size_t FileCount() const { return m_actions.size(); }
  mivoAction* FileAt(std::size_t index) const { return index < m_actions.size() ? m_actions[index].get() : nullptr; }

  void OnPageShown() override;
  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  void OnItemTap(int index, const mivoListElement& element) override;
  void OnItemHold(int index, const mivoListElement& element) override;
  std::u16string DescribeItem(int index, const mivoListElement& element) override;
  const char* PageClassName() const override { return "CmivoFileListPage"; }

 private:
  void ListFolder();
  mivoAction* ActionOf(const mivoListElement& element) const;

  std::u16string m_folder;                // "" for a list filled by the caller
  std::u16string m_filter;                // patterns for the folder's files
  std::vector<mivoHeldAction> m_actions;  // the rows' actions, in order; element Id is the index
};
