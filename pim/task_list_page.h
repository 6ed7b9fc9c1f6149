// CmivoAdvTaskListPage: the tasks of the Outlook store: those still to do
// first, by their due date (undated ones after), then the completed ones. A
// row shows its subject and when it is due; a tap opens its details under it.
#pragma once

#include <cstdint>
#include <string>

#include "pim/empty_text_list_box.h"
#include "ui/adv_list_box_items.h"
#include "ui/adv_list_box_page.h"

class POTask;

// What a task row shows, read once from the task.
struct mivoTaskSummary {
  std::u16string subject;
  bool complete = false;
  int importance = 1;  // 0 low, 1 normal, 2 high
  bool hasStart = false, hasDue = false, hasCompleted = false;
  std::int64_t start = 0, due = 0, completed = 0;  // seconds since 1970
  std::u16string categories, notes;
};
mivoTaskSummary SummariseTask(POTask& task);

class CmivoAdvListBoxTaskDetailsItem;

class CmivoAdvListBoxTaskItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxTaskItem(mivoCore* core, mivoTaskSummary task);

  const mivoTaskSummary& Task() const { return m_task; }
  // "Due: 3/16/2010" (with the time when the task has one), or nothing.
  std::u16string DueText() const;
  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  // Opens or closes the details under the row.
  bool OnTap(UINT flags, int x, int y) override;
  void Describe(mivoRowText* out) const override;

 private:
  mivoTaskSummary m_task;
  CmivoAdvListBoxTaskDetailsItem* m_pDetails = nullptr;  // shown under it; the list owns it
};

// The details of a task: priority, status, start, due and completion dates,
// categories and notes.
class CmivoAdvListBoxTaskDetailsItem : public CmivoAdvListBoxNameValueListItem {
 public:
  CmivoAdvListBoxTaskDetailsItem(mivoCore* core, const mivoTaskSummary& task);
};

class CmivoAdvTaskListPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvTaskListPage(mivoCore* core);

  // The title of the catalogue (which has no text); the header says "Tasks".
  std::u16string GetTitle(int param, int extra) override;
  void SetPageParam(int param, int extra) override { Fill(); }
  // The tasks as they are now (another program may have changed them).
  void OnPageShown() override;
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoAdvTaskListPage"; }

  void Fill();

 private:
  CmivoAdvListBoxWithEmptyText& List() const { return *m_pList; }
  CmivoAdvListBoxWithEmptyText* m_pList = nullptr;  // the page's list (the base owns it)
};
