#include "pages/programs_page.h"

#include <algorithm>
#include <memory>
#include <set>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/document_search.h"
#include "core/core.h"
#include "look/file_operations.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pages/file_item.h"
#include "platform/fs/device_path.h"
#include "platform/fs/files.h"
#include "platform/fs/find.h"
#include "platform/shell/change_notify.h"
#include "platform/shell/file_info.h"
#include "platform/shell/special_folders.h"
#include "platform/win32/text.h"

namespace {

// The page tells itself of a failed change-notification registration, so
// the message box runs after the paint that read the folder.
constexpr UINT WM_PROGRAMS_WATCH_FAILED = WM_USER + 0x120;

std::u16string ProgramsFolderPath() {
  WCHAR path[MAX_PATH] = {};
  return SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, FALSE) ? std::u16string(path) : std::u16string(u"\\");
}

std::u16string WithBackslash(std::u16string folder) {
  if (folder.empty() || folder.back() != u'\\') folder += u'\\';
  return folder;
}

// Device paths: folders compare without case (the device does), names exactly.
bool SamePath(std::u16string_view a, std::u16string_view b) {
  const std::size_t sa = a.rfind(u'\\'), sb = b.rfind(u'\\');
  if (sa == std::u16string_view::npos || sb == std::u16string_view::npos) return a == b;
  return a.substr(sa) == b.substr(sb) && text::EqualsNoCase(a.substr(0, sa), b.substr(0, sb));
}

}  // namespace

// ---- CmivoAdvProgramsPageComparer ---------------------------------------------------------

int CmivoAdvProgramsPageComparer::Compare(CmivoAdvListBoxItem* a, CmivoAdvListBoxItem* b) {
  auto* fa = dynamic_cast<CmivoAdvListBoxFileItem*>(a);
  auto* fb = dynamic_cast<CmivoAdvListBoxFileItem*>(b);
  if (!fa) return 1;
  if (!fb) return -1;
  const bool folderA = fa->IsFolder(), folderB = fb->IsFolder();
  if (folderA != folderB) return folderA ? -1 : 1;
  return text::CompareNoCase(fa->DisplayName(), fb->DisplayName());
}

// ---- CmivoAdvProgramsPage -------------------------------------------------------------------

CmivoAdvProgramsPage::CmivoAdvProgramsPage(mivoCore* core) : CmivoAdvListBoxPage(core), CmivoContextMenu(core) {
  SetComparer(&m_comparer);
  SetFolder(u"", u"");
}

CmivoAdvProgramsPage::~CmivoAdvProgramsPage() {
  StopWatching();
  // The rows use the thumbnail cache: they go first.
  Clear(true);
}

void CmivoAdvProgramsPage::SetFolder(const std::u16string& title, const std::u16string& folder) {
  m_folder = folder;
  m_kind = folder.empty() ? FolderKind::kPrograms : folder == u"\\" ? FolderKind::kRoot : FolderKind::kOther;
  std::u16string copy = folder.empty() ? ProgramsFolderPath() : folder;
  // A trailing backslash does not hide the folder's name.
  while (copy.size() > 1 && copy.back() == u'\\') copy.pop_back();
  std::u16string name = title;
  if (name.empty()) name = copy == u"\\" ? std::u16string() : fs::FileNamePart(copy);
  if (name.empty()) name = GetString(IDS_ROOT_FOLDER);
  SetTitle(name);
  m_pPageIcon = GetPageIcon(0, 0);
  m_filled = false;
  if (m_hWnd) Invalidate();
}

void CmivoAdvProgramsPage::SetFilter(const std::u16string& filter) {
  if (filter == m_filter) return;
  m_filter = filter;
  m_filled = false;
  if (m_hWnd) Invalidate();
}

std::u16string CmivoAdvProgramsPage::GetTitle(int, int) {
  switch (m_kind) {
    case FolderKind::kPrograms: return GetString(IDS_PROGRAMS);
    case FolderKind::kRoot: return GetString(IDS_EXPLORE_ROOT);
    default: return GetString(IDS_EXPLORE_UNKNOWN_FOLDER);
  }
}

mivoSkinImage* CmivoAdvProgramsPage::GetPageIcon(int, int) {
  mivoActions* actions = m_pCore->GetActions();
  if (!actions || m_kind == FolderKind::kOther) return nullptr;
  return actions->SkinImage(m_kind == FolderKind::kPrograms ? u"programs_page" : u"explore_root_page");
}

void CmivoAdvProgramsPage::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoActions* actions = m_pCore->GetActions()) {
    images.push_back(actions->SkinImage(u"programs_page"));
    images.push_back(actions->SkinImage(u"explore_root_page"));
  }
}

void CmivoAdvProgramsPage::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  if (!m_filled && !m_reading) ReadFolder();
  CmivoAdvListBoxPage::DrawArea(dc, erase, left, top, right, bottom);
}

// ---- Reading ---------------------------------------------------------------------------------

void CmivoAdvProgramsPage::ReadFolder() {
  if (m_reading) return;
  m_reading = true;
  m_pCore->ShowPleaseWait(GetString(IDS_READING_FILE_LIST));
  // From now on the page's folder is the one read.
  if (m_folder.empty()) m_folder = ProgramsFolderPath();
  Watch(m_folder);
  m_folder = WithBackslash(m_folder);

  // What is on disk now.
  struct Found {
    std::u16string path;
    bool folder;
  };
  std::vector<Found> found;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((m_folder + u"*.*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
      const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (!folder && !m_filter.empty() && !MatchesAnyPattern(m_filter, data.cFileName)) continue;
      found.push_back({m_folder + data.cFileName, folder});
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }

  // Another folder than the one listed: every row goes.
  if (!text::EqualsNoCase(m_listedFolder, m_folder)) {
    Clear(true);
    m_pSummary = nullptr;
    m_fileCount = m_folderCount = 0;
    m_thumbnails.Clear();
    m_listedFolder = m_folder;
  }
  // Rows of entries that went away go; those still there stay as they are.
  std::set<std::u16string> onDisk;
  for (const Found& f : found) onDisk.insert(f.path);
  std::set<std::u16string> listed;
  for (int i = GetItemCount() - 1; i >= 0; --i) {
    auto* row = dynamic_cast<CmivoAdvListBoxFileItem*>(GetItem(i));
    if (!row) continue;
    if (!onDisk.count(row->Path()) || listed.count(row->Path())) {
      CountRow(row, -1);
      RemoveItem(row, true);
    } else {
      listed.insert(row->Path());
    }
  }
  // New entries. Into an empty list they go sorted once (names lowered once,
  // not at every comparison), else each into its place.
  std::vector<const Found*> added;
  for (const Found& f : found) {
    if (!listed.insert(f.path).second) continue;
    added.push_back(&f);
  }
  const bool fresh = GetItemCount() == (m_pSummary ? 1 : 0);
  if (fresh && m_pSummary) {
    RemoveItem(m_pSummary, true);
    m_pSummary = nullptr;
  }
  if (fresh) {
    std::vector<std::u16string> keys(found.size());
    for (const Found* f : added) {
      keys[static_cast<std::size_t>(f - found.data())] = text::ToLower(shell::DisplayNameOf(f->path, f->folder));
    }
    std::stable_sort(added.begin(), added.end(), [&](const Found* a, const Found* b) {
      if (a->folder != b->folder) return a->folder;
      return keys[static_cast<std::size_t>(a - found.data())] < keys[static_cast<std::size_t>(b - found.data())];
    });
  }
  for (const Found* f : added) {
    auto* row = new CmivoAdvListBoxFileItem(m_pCore, f->path, f->folder, &m_thumbnails);
    CountRow(row, +1);
    if (fresh) {
      AddItem(row);
    } else {
      InsertItemSorted(row);
    }
  }
  UpdateSummary();
  m_filled = true;
  m_pCore->HidePleaseWait();
  m_reading = false;
}

void CmivoAdvProgramsPage::Watch(const std::u16string& folder) {
  if (!m_hWnd || text::EqualsNoCase(WithBackslash(folder), m_watchedFolder)) return;
  StopWatching();
  m_watchedFolder = WithBackslash(folder);
  std::u16string path = folder;
  SHCHANGENOTIFYENTRY entry;
  entry.dwEventMask = 0x7FFFFFFF;
  entry.pszWatchDir = path.data();
  entry.fRecursive = FALSE;
  m_watchFailed = !SHChangeNotifyRegister(m_hWnd, &entry);
  if (!m_watchFailed) ++m_registrations;
  if (m_watchFailed) PostMessage(WM_PROGRAMS_WATCH_FAILED);
}

void CmivoAdvProgramsPage::StopWatching() {
  if (m_hWnd && !m_watchedFolder.empty() && !m_watchFailed) SHChangeNotifyDeregister(m_hWnd);
  m_watchedFolder.clear();
  m_watchFailed = false;
}

// ---- Rows --------------------------------------------------------------------------------------

CmivoAdvListBoxFileItem* CmivoAdvProgramsPage::FindRow(const std::u16string& path) const {
  CmivoAdvListBox& list = const_cast<CmivoAdvProgramsPage*>(this)->ListBox();
  for (int i = 0; i < list.GetItemCount(); ++i) {
    auto* row = dynamic_cast<CmivoAdvListBoxFileItem*>(list.GetItem(i));
    if (row && SamePath(row->Path(), path)) return row;
  }
  return nullptr;
}

void CmivoAdvProgramsPage::CountRow(CmivoAdvListBoxFileItem* row, int delta) {
  (row->IsFolder() ? m_folderCount : m_fileCount) += delta;
}

bool CmivoAdvProgramsPage::InListedFolder(const std::u16string& path) const {
  const std::size_t slash = path.rfind(u'\\');
  return slash != std::u16string::npos && slash + 1 < path.size() &&
         text::EqualsNoCase(std::u16string_view(path).substr(0, slash + 1), m_listedFolder);
}

void CmivoAdvProgramsPage::AddPath(const std::u16string& path) {
  if (!InListedFolder(path) || FindRow(path)) return;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_HIDDEN)) return;
  const std::u16string name = fs::FileNamePart(path);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && !m_filter.empty() && !MatchesAnyPattern(m_filter, name)) return;
  // The row's path is spelled as the folder was read.
  auto* row = new CmivoAdvListBoxFileItem(m_pCore, m_listedFolder + name, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                          &m_thumbnails);
  CountRow(row, +1);
  InsertItemSorted(row);
}

void CmivoAdvProgramsPage::RemovePath(const std::u16string& path) {
  CmivoAdvListBoxFileItem* row = FindRow(path);
  if (!row) return;
  m_thumbnails.Forget(row->Path());
  CountRow(row, -1);
  RemoveItem(row, true);
}

void CmivoAdvProgramsPage::UpdateSummary() {
  const std::u16string text = text::Format(GetString(IDS_TOTAL_FOLDERS_AND_FILES), m_folderCount, m_fileCount);
  if (!m_pSummary) {
    m_pSummary = new CmivoAdvListBoxFolderSummaryItem(m_pCore, text);
    AddItem(m_pSummary);
  } else {
    m_pSummary->SetText(text);
  }
  InvalidateList();
}

void CmivoAdvProgramsPage::OnFileChange(LONG event, const std::u16string& path, const std::u16string& newPath) {
  // Before the first reading (or after the folder changed) the next reading sees everything.
  if (!m_filled || m_reading) return;
  switch (event) {
    case SHCNE_CREATE:
    case SHCNE_MKDIR:
      AddPath(path);
      break;
    case SHCNE_DELETE:
    case SHCNE_RMDIR:
      RemovePath(path);
      break;
    case SHCNE_UPDATEITEM:
      // A picture written anew gets a new thumbnail.
      if (CmivoAdvListBoxFileItem* row = FindRow(path)) {
        m_thumbnails.Forget(row->Path());
      } else {
        AddPath(path);
      }
      break;
    case SHCNE_RENAMEITEM:
    case SHCNE_RENAMEFOLDER:
      RemovePath(path);
      AddPath(newPath);
      break;
    default:
      return;
  }
  UpdateSummary();
  Invalidate();
}

LRESULT CmivoAdvProgramsPage::OnFileChangeInfo(FILECHANGENOTIFY* notify) {
  if (!notify) return 1;
  const auto text16 = [](DWORD_PTR item) {
    const auto* p = reinterpret_cast<const char16_t*>(item);
    return p ? std::u16string(p) : std::u16string();
  };
  OnFileChange(notify->fci.wEventId, text16(notify->fci.dwItem1), text16(notify->fci.dwItem2));
  SHChangeNotifyFree(notify);
  return 1;
}

// ---- The page's menu -----------------------------------------------------------------------

void CmivoAdvProgramsPage::OnContextMenu() {
  ClearMenu();
  AddMenuEntry({.CommandId = kMenuCreateFolder, .Text1 = GetString(IDS_CREATE_FOLDER_ENTRY), .Close = true});
  if (FileClipboard().Mode != mivoClipboardMode::kEmpty) {
    AddMenuEntry({.CommandId = kMenuPaste, .Text1 = GetString(IDS_PASTE_ENTRY), .Close = true});
  }
  ShowMenu();
}

void CmivoAdvProgramsPage::OnMenuCommand(const mivoContextMenuEntry& entry) {
  // Where the rows were read from; before any reading, the folder as set.
  const std::u16string folder = m_listedFolder.empty() ? m_folder : m_listedFolder;
  switch (entry.CommandId) {
    case kMenuCreateFolder:
      CreateFolder(folder, m_pCore->FileOperationsUI());
      break;
    case kMenuPaste:
      Paste(folder, m_pCore->FileOperationsUI());
      break;
    default:
      CmivoContextMenu::OnMenuCommand(entry);
      break;
  }
}

LRESULT CmivoAdvProgramsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_FILECHANGEINFO:
      return OnFileChangeInfo(reinterpret_cast<FILECHANGENOTIFY*>(lParam));
    case WM_CONTEXTMENU:
      OnContextMenu();
      return 0;
    case WM_PROGRAMS_WATCH_FAILED:
      m_pCore->RunMessageBox(GetString(IDS_ERROR), GetString(IDS_CANNOT_SET_FILE_CHANGES_NOTIFICATION), true);
      return 0;
    case WM_CREATE: {
      // A folder read before the window existed is watched from now on.
      const LRESULT result = CmivoAdvListBoxPage::WindowProc(message, wParam, lParam);
      if (result != -1 && m_filled && !m_listedFolder.empty()) Watch(m_listedFolder);
      return result;
    }
    case WM_DESTROY:
      StopWatching();
      break;
    default:
      break;
  }
  return CmivoAdvListBoxPage::WindowProc(message, wParam, lParam);
}
