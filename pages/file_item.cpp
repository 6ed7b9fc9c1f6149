#include "pages/file_item.h"

#include "actions/action_kinds.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "pages/thumbnail_cache.h"
#include "platform/fs/device_path.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/shell/file_info.h"
#include "platform/win32/clock.h"
#include "platform/win32/text.h"
#include "ui/adv_list_box.h"

namespace {

constexpr int kPictureRowHeight = 155;  // ·S
constexpr int kFileRowHeight = 85;      // ·S

std::u16string TimeText(const FILETIME& utc) {
  if (utc.dwLowDateTime == 0 && utc.dwHighDateTime == 0) return u"-";
  FILETIME local;
  SYSTEMTIME t;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return u"-";
  return text::Format(u"%04d-%02d-%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

}  // namespace

CmivoAdvListBoxFileItem::CmivoAdvListBoxFileItem(mivoCore* core, const std::u16string& path, bool isFolder,
                                                 mivoThumbnailCache* thumbnails)
    : CmivoAdvListBoxActionItem(core, std::make_unique<mivoActionExecuteFile>(core, path)),
      m_path(path),
      m_folder(isFolder),
      m_displayName(shell::DisplayNameOf(path, isFolder)),
      m_picture(!isFolder && IsPicturePath(path)),
      m_pThumbnails(thumbnails) {
  SetHeight((m_picture ? kPictureRowHeight : kFileRowHeight) * DisplayScale);
  SetHelpText(Details(false));
}

bool CmivoAdvListBoxFileItem::IsPicturePath(std::u16string_view path) {
  if (path.size() <= 5) return false;
  const std::u16string lower = text::ToLower(path);
  for (std::u16string_view ext : {u".jpg", u".bmp", u".jpeg", u".png", u".gif"}) {
    if (lower.size() >= ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0) return true;
  }
  return false;
}

mivoActionExecuteFile* CmivoAdvListBoxFileItem::FileAction() const {
  return static_cast<mivoActionExecuteFile*>(m_action.get());
}

std::u16string CmivoAdvListBoxFileItem::Details(bool withFileData) const {
  std::u16string details = GetString(IDS_FILENAME) + u": " + fs::FileNamePart(m_path);
  mivoActionExecuteFile* file = FileAction();
  if (!withFileData || !file) return details;
  const WIN32_FILE_ATTRIBUTE_DATA& data = file->FileData();
  if (!m_folder) {
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    details += u"\n" + text::Format(GetString(IDS_SIZE_BYTES), size);
  }
  details += u"\n" + GetString(IDS_CREATED) + u": " + TimeText(data.ftCreationTime);
  details += u"\n" + GetString(IDS_MODIFIED) + u": " + TimeText(data.ftLastWriteTime);
  details += u"\n" + GetString(IDS_ACCESSED) + u": " + TimeText(data.ftLastAccessTime);
  return details;
}

bool CmivoAdvListBoxFileItem::OnSideButton(UINT flags, int x, int y) {
  if (!m_expanded && !m_detailsRead) {
    m_detailsRead = true;
    SetHelpText(Details(true));
  }
  return CmivoAdvListBoxActionItem::OnSideButton(flags, x, y);
}

void CmivoAdvListBoxFileItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  mivoActionExecuteFile* file = FileAction();
  mivoAppearance* look = Look();
  if (!file || !look) return;
  IImage* thumbnail = nullptr;
  RECT box = rect;
  if (m_picture && m_pThumbnails) {
    // The picture stands in a box at the row's left, as high as the row's
    // content and a third wider (at most half the row, so the
    // name keeps its room on a narrow screen), centred in it.
    const int height = rect.bottom - rect.top;
    const int width = rect.right - rect.left;
    box.right = rect.left + std::min(height * 4 / 3, width / 2);
    thumbnail = m_pThumbnails->Get(m_path, box.right - box.left, height);
  }
  if (!thumbnail) {
    CmivoAdvListBoxActionItem::DrawContent(listBox, dc, rect);
    return;
  }
  ImageInfo info;
  thumbnail->GetImageInfo(&info);
  const int w = static_cast<int>(info.Width), h = static_cast<int>(info.Height);
  const int left = box.left + (box.right - box.left - w) / 2, top = box.top + (box.bottom - box.top - h) / 2;
  const RECT picture{left, top, left + w, top + h};
  thumbnail->Draw(dc, &picture, nullptr);
  // The name beside it, in the smaller title font, wrapped and centred on the picture.
  const std::u16string& name = m_displayName;
  constexpr UINT kFlags = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_END_ELLIPSIS;
  const HGDIOBJ oldFont = SelectObject(dc, look->SubtitleFont);
  RECT measure{box.right + 7 * DisplayScale, rect.top, rect.right, rect.bottom};
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &measure, kFlags | DT_CALCRECT);
  const int textHeight = std::min<int>(measure.bottom - measure.top, rect.bottom - rect.top);
  const RECT text{box.right + 7 * DisplayScale, rect.top + (rect.bottom - rect.top - textHeight) / 2, rect.right,
                  rect.top + (rect.bottom - rect.top + textHeight) / 2};
  SetTextColor(dc, look->TextColor);
  SetBkMode(dc, TRANSPARENT);
  DrawTextWithShadow(*look, dc, name, text, kFlags);
  SelectObject(dc, oldFont);
}

bool CmivoAdvListBoxFolderSummaryItem::OnTapAndHold(int x, int y) {
  CmivoAdvListBox* list = GetListBox();
  if (!list) return false;
  list->OnTapAndHoldEmpty(x, y);
  return true;
}
