#include "pim/task_list_page.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "core/core.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pim/outlook_app.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"

namespace {

// A date, with its time when it is not midnight.
std::u16string DateText(std::int64_t t) {
  struct tm local {};
  std::u16string text = datetime::ShortDate(t);
  if (datetime::ToLocal(t, &local) && (local.tm_hour || local.tm_min)) text += u" " + datetime::HourMinute(t);
  return text;
}

int PriorityId(int importance) {
  return importance == 0 ? IDS_PRIORITY_LOW : importance == 2 ? IDS_PRIORITY_HIGH : IDS_PRIORITY_NORMAL;
}

// A date that is past its day (the day itself counts as in time).
bool Overdue(std::int64_t due) {
  struct tm then {
  }, now{};
  if (!datetime::ToLocal(due, &then) || !datetime::ToLocal(datetime::Now(), &now)) return false;
  return std::make_tuple(then.tm_year, then.tm_yday) < std::make_tuple(now.tm_year, now.tm_yday);
}

}  // namespace

mivoTaskSummary SummariseTask(POTask& task) {
  mivoTaskSummary s;
  s.subject = task.GetSubject();
  s.complete = task.IsComplete();
  s.importance = task.GetImportance();
  s.hasStart = task.GetStartDate(&s.start);
  s.hasDue = task.GetDueDate(&s.due);
  s.hasCompleted = task.GetDateCompleted(&s.completed);
  s.categories = task.GetCategories();
  s.notes = task.GetNotes();
  return s;
}

// ---- A task --------------------------------------------------------------------------------------

CmivoAdvListBoxTaskItem::CmivoAdvListBoxTaskItem(mivoCore* core, mivoTaskSummary task)
    : CmivoAdvListBoxItem(core), m_task(std::move(task)) {}

std::u16string CmivoAdvListBoxTaskItem::DueText() const {
  if (!m_task.hasDue) return {};
  return GetString(IDS_DUE) + u": " + DateText(m_task.due);
}

int CmivoAdvListBoxTaskItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  mivoAppearance* look = Look();
  const int height = CmivoAdvListBoxItem::Draw(listBox, dc, rect);
  if (!look) return height;
  const int s = DisplayScale;
  const RECT& c = *rect;
  const int saved = SaveDC(dc);
  // A box, ticked when the task is done.
  const int box = 18 * s;
  const int middle = (c.top + c.bottom) / 2;
  const RECT check{c.left + 8 * s, middle - box / 2, c.left + 8 * s + box, middle + box / 2};
  HPEN pen = CreatePen(PS_SOLID, 2 * s, m_task.complete ? look->SubTextColor : look->TextColor);
  SelectObject(dc, pen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, check.left, check.top, check.right, check.bottom);
  if (m_task.complete) {
    MoveToEx(dc, check.left + 4 * s, middle, nullptr);
    LineTo(dc, check.left + 8 * s, check.bottom - 4 * s);
    LineTo(dc, check.right - 3 * s, check.top + 3 * s);
  }
  const RECT text{check.right + 8 * s, c.top, c.right - 5 * s, c.bottom};
  SetBkMode(dc, TRANSPARENT);
  // High priority stands out with a mark before the subject.
  const std::u16string subject = (m_task.importance == 2 ? u"! " : u"") + m_task.subject;
  SelectObject(dc, look->TitleFont);
  SetTextColor(dc, m_task.complete ? look->SubTextColor : look->TextColor);
  const std::u16string due = m_task.complete && m_task.hasCompleted
                                 ? GetString(IDS_COMPLETED) + u": " + DateText(m_task.completed)
                                 : DueText();
  RECT subjectRect{text.left, text.top, text.right, due.empty() ? text.bottom : middle + 2 * s};
  DrawTextW(dc, subject.c_str(), static_cast<int>(subject.size()), &subjectRect,
            (due.empty() ? DT_VCENTER : DT_BOTTOM) | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (!due.empty()) {
    SelectObject(dc, look->SubtitleFont);
    // A task past its day is shown in red.
    SetTextColor(dc, !m_task.complete && Overdue(m_task.due) ? RGB(230, 70, 60) : look->SubTextColor);
    RECT dueRect{text.left, middle + 4 * s, text.right, text.bottom};
    DrawTextW(dc, due.c_str(), static_cast<int>(due.size()), &dueRect,
              DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  RestoreDC(dc, saved);
  DeleteObject(pen);
  return height;
}

bool CmivoAdvListBoxTaskItem::OnTap(UINT, int, int) {
  CmivoAdvListBox* list = m_pListBox;
  if (!list) return true;
  if (m_pDetails) {
    list->RemoveItem(m_pDetails, true);
    m_pDetails = nullptr;
  } else {
    // The details go right under the row: the rows after it move down.
    const int at = list->IndexOf(this) + 1;
    std::vector<CmivoAdvListBoxItem*> after;
    while (list->GetItemCount() > at) {
      CmivoAdvListBoxItem* item = list->GetItem(at);
      after.push_back(item);
      list->RemoveItem(item, false);
    }
    m_pDetails = new CmivoAdvListBoxTaskDetailsItem(m_pCore, m_task);
    list->AddItem(m_pDetails);
    for (CmivoAdvListBoxItem* item : after) list->AddItem(item);
  }
  list->Repaint();
  return true;
}

void CmivoAdvListBoxTaskItem::Describe(mivoRowText* out) const {
  out->text = m_task.subject;
  out->sub = m_task.complete ? GetString(IDS_COMPLETED) : DueText();
}

CmivoAdvListBoxTaskDetailsItem::CmivoAdvListBoxTaskDetailsItem(mivoCore* core, const mivoTaskSummary& task)
    : CmivoAdvListBoxNameValueListItem(core, task.subject) {
  SetSelectable(false);
  AddPair(GetString(IDS_PRIORITY), GetString(PriorityId(task.importance)));
  AddPair(GetString(IDS_STATUS), GetString(task.complete ? IDS_COMPLETED : IDS_NOT_COMPLETED));
  AddPair(GetString(IDS_STARTS), task.hasStart ? DateText(task.start) : GetString(IDS_NONE));
  AddPair(GetString(IDS_DUE), task.hasDue ? DateText(task.due) : GetString(IDS_NONE));
  if (task.hasCompleted) AddPair(GetString(IDS_COMPLETED), DateText(task.completed));
  if (!task.categories.empty()) AddPair(GetString(IDS_CATEGORIES), task.categories);
  if (!task.notes.empty()) AddPair(GetString(IDS_NOTES_TAB), task.notes);
}

// ---- The page ------------------------------------------------------------------------------------

CmivoAdvTaskListPage::CmivoAdvTaskListPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  auto list = std::make_unique<CmivoAdvListBoxWithEmptyText>(core);
  m_pList = list.get();
  ReplaceListBox(std::move(list));
  // The catalogue's title has no text; a page needs a header to be found again.
  m_title = GetString(IDS_TASKS_TITLE);
  m_pList->SetEmptyText(GetString(IDS_NONE));
}

std::u16string CmivoAdvTaskListPage::GetTitle(int, int) { return GetString(IDS_TASK_LIST_TITLE); }

void CmivoAdvTaskListPage::OnPageShown() {
  POApplication* outlook = m_pCore->GetOutlookStore();
  if (POTasksCollection* tasks = outlook && outlook->IsOpen() ? outlook->GetTasks() : nullptr) tasks->Refresh();
  Fill();
}

void CmivoAdvTaskListPage::Fill() {
  Clear(true);
  POApplication* outlook = m_pCore->GetOutlookStore();
  POTasksCollection* tasks = outlook && outlook->IsOpen() ? outlook->GetTasks() : nullptr;
  std::vector<mivoTaskSummary> all;
  for (std::size_t i = 0; tasks && i < tasks->GetCount(); ++i)
    if (POTask* task = tasks->GetTaskAt(i)) all.push_back(SummariseTask(*task));
  // To do first, by due date (undated after the dated), then the done ones.
  std::stable_sort(all.begin(), all.end(), [](const mivoTaskSummary& a, const mivoTaskSummary& b) {
    if (a.complete != b.complete) return !a.complete;
    if (a.hasDue != b.hasDue) return a.hasDue;
    return a.hasDue && a.due < b.due;
  });
  for (mivoTaskSummary& task : all) AddItem(new CmivoAdvListBoxTaskItem(m_pCore, std::move(task)));
  InvalidateList();
}

void CmivoAdvTaskListPage::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  List().DrawWithEmptyText(dc, m_contentRect.left, m_contentRect.top);
  CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
}

void CmivoAdvTaskListPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  if (List().ShowsEmptyText()) j.String(List().GetEmptyText());
  j.EndArray();
}
