// The office actions: calendar views, the office programs, and the lists of
// tasks, notes and documents.
#include "actions/action_draw.h"
#include "actions/action_kinds.h"
#include "actions/document_search.h"
#include "actions/file_list_page.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/shell/launch.h"
#include "platform/win32/messages.h"
#include "platform/win32/text.h"

namespace {

// The title and help text of the calendar views 0-4 and of kinds 1-9.
struct OfficeTexts {
  int title;
  int help;
};
constexpr OfficeTexts kCalendarTexts[] = {
    {IDS_NEW_APPOINTMENT, IDS_NEW_APPOINTMENT_HELP}, {IDS_TODAY, IDS_TODAY_HELP},
    {IDS_TOMORROW, IDS_TOMORROW_HELP},               {IDS_THIS_WEEK, IDS_THIS_WEEK_HELP},
    {IDS_THIS_MONTH, IDS_THIS_MONTH_HELP},
};
constexpr OfficeTexts kKindTexts[] = {
    {0, 0},
    {IDS_RUN_POCKET_WORD, IDS_RUN_POCKET_WORD_HELP},
    {IDS_RUN_POCKET_EXCEL, IDS_RUN_POCKET_EXCEL_HELP},
    {IDS_RUN_TASKS, IDS_RUN_TASKS_HELP},
    {IDS_MESSAGING, IDS_MESSAGING_HELP},
    {IDS_RUN_NOTES, IDS_RUN_NOTES_HELP},
    {IDS_TASKS, IDS_TASKS_HELP},
    {IDS_NOTES, IDS_NOTES_HELP},
    {IDS_POCKET_WORD, IDS_POCKET_WORD_HELP},
    {IDS_POCKET_EXCEL, IDS_POCKET_EXCEL_HELP},
};

// The texts of a kind and calendar view; null for an unknown one.
const OfficeTexts* TextsFor(int kind, int view) {
  if (kind == kOfficeCalendar) return view >= 0 && view <= 4 ? &kCalendarTexts[view] : nullptr;
  return kind >= 1 && kind <= 9 ? &kKindTexts[kind] : nullptr;
}

constexpr const char16_t* kCalendarParameters[] = {u"-new", u"-va -d0", u"-va -d1", u"-vw -d0", u"-vm -d0"};
constexpr const char16_t* kKindPrograms[] = {u"calendar.exe", u"pword.exe", u"pxl.exe",
                                             u"tasks.exe",    u"tmail.exe", u"notes.exe"};

// The skin images in the order CollectImages gives them: calendar views 0-4,
// then word, excel, tasks, messaging, notes.
constexpr const char16_t* kImageNames[] = {u"calendar_new_appointment", u"calendar_today", u"calendar_tommorow",
                                           u"calendar_this_week",       u"calendar_this_month", u"office_word",
                                           u"office_excel",             u"office_tasks",   u"office_messaging",
                                           u"office_notes"};

const char16_t* ImageNameFor(int kind, int view) {
  switch (kind) {
    case kOfficeCalendar: return view >= 0 && view <= 4 ? kImageNames[view] : nullptr;
    case kOfficeRunWord: case kOfficeWordList: return u"office_word";
    case kOfficeRunExcel: case kOfficeExcelList: return u"office_excel";
    case kOfficeRunTasks: case kOfficeTasksList: return u"office_tasks";
    case kOfficeMessaging: return u"office_messaging";
    case kOfficeRunNotes: case kOfficeNotesList: return u"office_notes";
    default: return nullptr;
  }
}

// A document list: its title id, the program action's kind, the patterns.
struct DocumentList {
  int titleId;
  int programKind;
  const char16_t* patterns;
  const char16_t* program;
};
const DocumentList* DocumentListFor(int kind) {
  static const DocumentList kNotes{IDS_NOTES_AND_RECORDINGS, kOfficeRunNotes, u"*.pwi|*.wav", u"notes.exe"};
  static const DocumentList kWord{IDS_WORD_DOCUMENTS, kOfficeRunWord, u"*.doc", u"pword.exe"};
  static const DocumentList kExcel{IDS_EXCEL_DOCUMENTS, kOfficeRunExcel, u"*.xls", u"pxl.exe"};
  switch (kind) {
    case kOfficeNotesList: return &kNotes;
    case kOfficeWordList: return &kWord;
    case kOfficeExcelList: return &kExcel;
    default: return nullptr;
  }
}

}  // namespace

mivoActionOffice::mivoActionOffice(mivoCore* core, int kind, int calendarView)
    : mivoAction(core, kActionOffice), m_kind(kind), m_view(calendarView) {}

bool mivoActionOffice::Load(mivoArchiveReader& in) {
  std::int32_t kind = 0, view = 0;
  if (!in.ReadI32(&kind) || !in.ReadI32(&view)) return false;
  m_kind = kind;
  m_view = view;
  return true;
}

void mivoActionOffice::Save(mivoArchiveWriter& out) const {
  out.WriteI32(m_kind);
  out.WriteI32(m_view);
}

bool mivoActionOffice::IsEqual(const mivoAction& other) const {
  const auto& o = static_cast<const mivoActionOffice&>(other);
  return m_kind == o.m_kind && m_view == o.m_view;
}

void mivoActionOffice::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  const auto& o = static_cast<const mivoActionOffice&>(other);
  m_kind = o.m_kind;
  m_view = o.m_view;
}

std::unique_ptr<mivoAction> mivoActionOffice::Clone() const {
  auto copy = std::make_unique<mivoActionOffice>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

std::u16string mivoActionOffice::IdentityKey() const { return text::Format(u"%d,%d", m_kind, m_view); }

int mivoActionOffice::TitleId() const {
  const OfficeTexts* texts = TextsFor(m_kind, m_view);
  return texts ? texts->title : 0;
}

int mivoActionOffice::HelpId() const {
  const OfficeTexts* texts = TextsFor(m_kind, m_view);
  return texts ? texts->help : 0;
}

std::u16string mivoActionOffice::GetTitle() {
  const int id = TitleId();
  return id ? GetString(id) : std::u16string();
}

std::u16string mivoActionOffice::GetHelpText() {
  const int id = HelpId();
  return id ? GetString(id) : std::u16string();
}

void mivoActionOffice::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  const char16_t* name = ImageNameFor(m_kind, m_view);
  action_draw::DrawImageAction(m_pCore, dc, rect, style, imageMode, name ? action_draw::Image(m_pCore, name) : nullptr,
                               GetTitle(), subtitle);
}

void mivoActionOffice::CollectImages(std::vector<mivoSkinImage*>& images) {
  for (const char16_t* name : kImageNames)
    if (mivoSkinImage* image = action_draw::Image(m_pCore, name)) images.push_back(image);
}

void mivoActionOffice::StartProgram(const char16_t* program, const char16_t* parameters) {
  SHELLEXECUTEINFO run;
  run.lpVerb = u"Open";
  run.lpFile = program;
  run.lpParameters = parameters;
  run.nShow = SW_SHOW;
  if (!ShellExecuteEx(&run) && m_pCore) m_pCore->ShowLastError(GetString(IDS_CANNOT_RUN_OFFICE_APPLICATION));
}

void mivoActionOffice::Execute() {
  if (m_kind == kOfficeCalendar) {
    if (m_view >= 0 && m_view <= 4) StartProgram(kKindPrograms[0], kCalendarParameters[m_view]);
  } else if (m_kind >= kOfficeRunWord && m_kind <= kOfficeRunNotes) {
    StartProgram(kKindPrograms[m_kind], nullptr);
  } else if (m_kind == kOfficeTasksList) {
    if (m_pCore) m_pCore->ShowPageById(kTaskListPage);
  } else if (DocumentListFor(m_kind)) {
    ShowDocumentList();
  }
}

void mivoActionOffice::ShowDocumentList() {
  const DocumentList* list = DocumentListFor(m_kind);
  auto* page = m_pCore ? dynamic_cast<CmivoFileListPage*>(m_pCore->GetPage(kDocumentListPage)) : nullptr;
  if (!page) {
    StartProgram(list->program, nullptr);
    return;
  }
  page->SetPageTitle(GetString(list->titleId));
  page->ClearFiles();
  page->AddAction(std::make_unique<mivoActionOffice>(m_pCore, list->programKind, 0));
  // The walk over the whole device may take a moment.
  m_pCore->ShowPleaseWait(GetString(IDS_READING_FILE_LIST));
  for (std::u16string& path : FindDocuments(u"\\", list->patterns))
    page->AddAction(std::make_unique<mivoActionExecuteFile>(m_pCore, std::move(path)));
  m_pCore->HidePleaseWait();
  if (page->FileCount() > 1) {
    m_pCore->ShowPage(page);
  } else {
    page->ClearFiles();
    StartProgram(list->program, nullptr);
  }
}
