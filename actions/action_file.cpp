// Running a file: programs and documents start through the shell, folders
// open the document-list page, JPEG pictures the internal viewer when asked.
#include "actions/action_draw.h"
#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/file_list_page.h"
#include "actions/services.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "core/settings.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/fs/device_path.h"
#include "platform/fs/files.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/file_info.h"
#include "platform/shell/launch.h"
#include "platform/win32/messages.h"
#include "platform/win32/text.h"
#include "platform/window/window.h"
#include "ui/page_wnd.h"

mivoActionExecuteFile::mivoActionExecuteFile(mivoCore* core, std::u16string path)
    : mivoAction(core, kActionExecuteFile), m_path(std::move(path)) {}

mivoActionExecuteFile::~mivoActionExecuteFile() {
  DropShellInfo();
  // The page may be running the handler that let this action go.
  if (m_folderPage) {
    if (m_pCore) {
      m_pCore->DestroyPage(m_folderPage);
    } else {
      delete m_folderPage;
    }
  }
}

void mivoActionExecuteFile::SetPath(std::u16string path) {
  m_path = std::move(path);
  DropShellInfo();
}

void mivoActionExecuteFile::DropShellInfo() {
  if (m_icon) DestroyIcon(m_icon);
  m_icon = nullptr;
  m_shellInfoRead = false;
  m_iconRead = false;
}

// The shell is asked when the information is first needed, not when the path
// is set: a history of thousands of files loads without touching any of them.
// The name and the attributes come first (a folder of thousands sorts by
// them); the icon and the file's times wait until the row is drawn.
void mivoActionExecuteFile::EnsureShellInfo() {
  if (m_shellInfoRead) return;
  m_shellInfoRead = true;
  SHFILEINFO info;
  if (!m_path.empty() && SHGetFileInfo(m_path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES)) {
    m_displayName = info.szDisplayName;
    m_attributes = info.dwAttributes;
  } else {
    m_displayName.clear();
    m_attributes = 0;
  }
  // A file that is gone still shows what it was called.
  if (m_displayName.empty()) m_displayName = fs::FileNamePart(m_path);
}

void mivoActionExecuteFile::EnsureIconAndData() {
  if (m_iconRead) return;
  m_iconRead = true;
  SHFILEINFO info;
  if (!m_path.empty() && SHGetFileInfo(m_path.c_str(), 0, &info, sizeof info, SHGFI_ICON)) m_icon = info.hIcon;
  m_fileData = WIN32_FILE_ATTRIBUTE_DATA{};
  if (!m_path.empty()) GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &m_fileData);
}

const std::u16string& mivoActionExecuteFile::DisplayName() {
  EnsureShellInfo();
  return m_displayName;
}

DWORD mivoActionExecuteFile::Attributes() {
  EnsureShellInfo();
  return m_attributes;
}

HICON mivoActionExecuteFile::Icon() {
  EnsureIconAndData();
  return m_icon;
}

const WIN32_FILE_ATTRIBUTE_DATA& mivoActionExecuteFile::FileData() {
  EnsureIconAndData();
  return m_fileData;
}

bool mivoActionExecuteFile::Load(mivoArchiveReader& in) {
  std::u16string path;
  if (!in.ReadString(&path)) return false;
  SetPath(std::move(path));
  return true;
}

void mivoActionExecuteFile::Save(mivoArchiveWriter& out) const { out.WriteString(m_path); }

bool mivoActionExecuteFile::IsEqual(const mivoAction& other) const {
  return m_path == static_cast<const mivoActionExecuteFile&>(other).m_path;
}

void mivoActionExecuteFile::CopyFrom(const mivoAction& other) {
  mivoAction::CopyFrom(other);
  SetPath(static_cast<const mivoActionExecuteFile&>(other).m_path);
}

std::unique_ptr<mivoAction> mivoActionExecuteFile::Clone() const {
  auto copy = std::make_unique<mivoActionExecuteFile>(m_pCore);
  copy->CopyFrom(*this);
  return copy;
}

void mivoActionExecuteFile::Execute() {
  if (!m_pCore) return;
  // A folder opens its list without asking: in the file explorer's page
  // where there is one, else in a document list.
  if (IsFolder()) {
    if (!m_folderPage) {
      mivoActions* actions = m_pCore->GetActions();
      mivoActions::FolderPageMaker make = actions ? actions->GetFolderPageMaker() : nullptr;
      m_folderPage = make ? make(m_pCore) : nullptr;
      if (!m_folderPage) m_folderPage = new CmivoFileListPage(m_pCore);
    }
    if (auto* explorer = dynamic_cast<mivoFolderViewer*>(m_folderPage)) {
      explorer->SetFolder(u"", m_path);
    } else if (auto* list = dynamic_cast<CmivoFileListPage*>(m_folderPage)) {
      list->SetFolder(m_path, u"");
    }
    m_pCore->ShowPage(m_folderPage);
    return;
  }
  if (m_pCore->Settings().GetUseInternalImageViewer() && m_path.size() >= 4 &&
      text::ToLower(std::u16string_view(m_path).substr(m_path.size() - 4)) == u".jpg") {
    if (CmivoPageWnd* viewer = m_pCore->GetPage(kImageViewPage)) {
      if (auto* pictures = dynamic_cast<mivoPictureViewer*>(viewer)) pictures->SetPicture(m_path);
      m_pCore->ShowPage(viewer);
      return;
    }
  }
  if (m_pCore->Settings().GetAskBeforeExecuteFile()) {
    const std::u16string question = text::Format(GetString(IDS_WOULD_YOU_LIKE_TO_EXECUTE), DisplayName());
    if (m_pCore->RunMessageBox(GetString(IDS_EXECUTE_FILE_APP), question, false) != 1) return;
  }
  SHELLEXECUTEINFO run;
  run.lpVerb = u"Open";
  run.lpFile = m_path.c_str();
  run.nShow = SW_SHOW;
  if (!ShellExecuteEx(&run)) m_pCore->ShowLastError(GetString(IDS_CANNOT_EXECUTE_FILE));
}

void mivoActionExecuteFile::Draw(HDC dc, const RECT& rect, int style, int imageMode, std::u16string_view subtitle) {
  action_draw::DrawIconAction(m_pCore, dc, rect, style, Icon(), DisplayName(), subtitle);
}
