#include "ui/look_pages/choose_image_page.h"

#include <algorithm>

#include "core/core.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "look/file_operations.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/fs/files.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/shell/file_info.h"
#include "platform/win32/errors.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"
#include "ui/adv_list_box_card.h"
#include "ui/look_pages/look_page_util.h"
#include "ui/look_pages/skin_image_apply.h"

namespace {

// The list's entries.
enum : DWORD_PTR { kEntryUp = 1, kEntryFolder = 2, kEntryFile = 3 };
// The page's own context-menu entry.
constexpr DWORD kMenuSetTransparent = 900;

constexpr char16_t kUpText[] = u"Up (..)";
constexpr char16_t kNoExtension[] = u"Invalid filename - does not have any extension.";
constexpr char16_t kTransparentColor[] = u"Transparent color: ";
constexpr char16_t kSetTransparent[] = u"Set as transparent color";
constexpr char16_t kCancelText[] = u"Cancel";
constexpr char16_t kCopying[] = u"Copying...";
constexpr char16_t kNotAPicture[] = u"This file cannot be shown as a picture.";
constexpr char16_t kBadImageName[] = u"The name of this image cannot be used as a file name.";

std::u16string ParentOf(const std::u16string& folder) {
  // "\A\B\" gives "\A\"; the root stays the root.
  if (folder.size() <= 1) return u"\\";
  const std::size_t slash = folder.rfind(u'\\', folder.size() - 2);
  return slash == std::u16string::npos ? std::u16string(u"\\") : folder.substr(0, slash + 1);
}

std::u16string ColorText(COLORREF c) {
  return text::Format(u"#%.2X%.2X%.2X", static_cast<unsigned>(GetRValue(c)), static_cast<unsigned>(GetGValue(c)),
                      static_cast<unsigned>(GetBValue(c)));
}

}  // namespace

CmivoChooseSkinImageFilePage::CmivoChooseSkinImageFilePage(mivoCore* core)
    : CmivoItemsPageWnd(core), CmivoContextMenu(core) {
  m_title = u"Choose image file";
  SetDetailsView();
}

CmivoChooseSkinImageFilePage::~CmivoChooseSkinImageFilePage() {
  ClearItems();
  ClearIcons();
  if (m_picture) DeleteObject(m_picture);
}

void CmivoChooseSkinImageFilePage::SetImage(mivoSkinImage* image) {
  if (IsPreviewing()) ClosePreview();
  m_pImage = image;
}

// ---- The list ---------------------------------------------------------------------------

void CmivoChooseSkinImageFilePage::ClearIcons() {
  for (HICON icon : m_icons) {
    if (icon) DestroyIcon(icon);
  }
  m_icons.clear();
}

void CmivoChooseSkinImageFilePage::OpenFolder(const std::u16string& folder) {
  m_folder = folder.empty() ? std::u16string(u"\\") : folder;
  if (m_folder.back() != u'\\') m_folder += u'\\';
  if (!fs::IsDirectory(m_folder)) m_folder = u"\\";
  Fill();
}

void CmivoChooseSkinImageFilePage::Fill() {
  ClearItems();
  ClearIcons();
  auto iconOf = [](const std::u16string& path) -> HICON {
    SHFILEINFO info{};
    if (!SHGetFileInfo(path.c_str(), 0, &info, sizeof info, SHGFI_ICON)) return nullptr;
    return info.hIcon;
  };
  if (m_folder != u"\\") {
    AddItem(mivoListElement{.Id = kEntryUp, .Text = kUpText, .SubText = {}});
    m_icons.push_back(iconOf(ParentOf(m_folder)));
  }
  const std::vector<look_pages::FoundEntry> entries = look_pages::FindEntries(m_folder + u"*.*");
  // Folders first, then files, each in the file system's order.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& entry : entries) {
      if (entry.folder != (pass == 0)) continue;
      AddItem(mivoListElement{.Id = entry.folder ? kEntryFolder : kEntryFile, .Text = entry.name, .SubText = {}});
      m_icons.push_back(iconOf(m_folder + entry.name));
    }
  }
  List().Invalidate(FALSE);
}

void CmivoChooseSkinImageFilePage::OnPageShown() {
  // Back from the preview's own context menu: the preview stays.
  if (IsPreviewing()) return;
  if (m_folder.empty()) {
    std::u16string start = m_remembered;
    if (start.empty()) start = fs::IsDirectory(u"\\My Documents") ? u"\\My Documents\\" : u"\\";
    OpenFolder(start);
  } else {
    Fill();
  }
}

void CmivoChooseSkinImageFilePage::DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  HICON icon = index >= 0 && static_cast<std::size_t>(index) < m_icons.size() ? m_icons[static_cast<std::size_t>(index)]
                                                                             : nullptr;
  const int saved = SaveDC(dc);
  DrawRowIconTitle(*look, dc, icon, element.Text, rect, false);
  RestoreDC(dc, saved);
}

void CmivoChooseSkinImageFilePage::OnItemTap(int, const mivoListElement& element) {
  switch (element.Id) {
    case kEntryUp:
      OpenFolder(ParentOf(m_folder));
      return;
    case kEntryFolder:
      OpenFolder(m_folder + element.Text + u"\\");
      return;
    default: {
      if (FileExtension(element.Text).empty()) {
        m_pCore->ShowError(kNoExtension);
        return;
      }
      OpenPreview(m_folder + element.Text);
      return;
    }
  }
}

// ---- The preview -----------------------------------------------------------------------

bool CmivoChooseSkinImageFilePage::OpenPreview(const std::u16string& path) {
  HBITMAP picture = SHLoadImageFile(path.c_str());
  BITMAP info{};
  if (!picture || !GetObjectW(picture, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    if (picture) DeleteObject(picture);
    m_pCore->ShowError(kNotAPicture);
    return false;
  }
  if (m_picture) DeleteObject(m_picture);
  m_picture = picture;
  m_pictureSize = SIZE{info.bmWidth, info.bmHeight};
  m_picturePath = path;
  m_picked = false;
  m_color = m_pImage ? m_pImage->TransparentColor : 0;
  if (List().m_hWnd) List().ShowWindow(SW_HIDE);
  LayoutPreview();
  if (m_hWnd) Invalidate(FALSE);
  return true;
}

void CmivoChooseSkinImageFilePage::ClosePreview() {
  if (m_picture) DeleteObject(m_picture);
  m_picture = nullptr;
  m_picturePath.clear();
  m_picked = false;
  if (List().m_hWnd) {
    List().ShowWindow(SW_SHOW);
    List().Invalidate(FALSE);
  }
  if (m_hWnd) Invalidate(FALSE);
}

void CmivoChooseSkinImageFilePage::LayoutPreview() {
  const int S = DisplayScale;
  RECT client{};
  if (m_hWnd) GetClientRect(&client);
  RECT c = ContentRect();
  c.bottom = std::min(c.bottom, client.bottom);
  // The buttons at the bottom, the colour's line above them, the picture above that.
  const int buttonsTop = c.bottom - 44 * S;
  const int middle = (c.left + c.right) / 2;
  m_applyRect = MakeRect(c.left + 5 * S, buttonsTop, middle - 3 * S, c.bottom - 5 * S);
  m_cancelRect = MakeRect(middle + 3 * S, buttonsTop, c.right - 5 * S, c.bottom - 5 * S);
  m_colorLine = MakeRect(c.left + 10 * S, buttonsTop - 26 * S, c.right - 10 * S, buttonsTop - 4 * S);
  const RECT area = MakeRect(c.left + 10 * S, c.top + 5 * S, c.right - 10 * S, m_colorLine.top - 5 * S);
  int w = m_pictureSize.cx, h = m_pictureSize.cy;
  FitSizeInBox(std::max<LONG>(1, RectWidth(area)), std::max<LONG>(1, RectHeight(area)), &w, &h);
  const int x = area.left + (RectWidth(area) - w) / 2;
  const int y = area.top + (RectHeight(area) - h) / 2;
  m_pictureRect = MakeRect(x, y, x + w, y + h);
}

bool CmivoChooseSkinImageFilePage::PickAt(POINT p) {
  if (!m_picture || !PtInRect(&m_pictureRect, p)) return false;
  const int w = std::max<LONG>(1, RectWidth(m_pictureRect));
  const int h = std::max<LONG>(1, RectHeight(m_pictureRect));
  const int px = std::clamp<int>((p.x - m_pictureRect.left) * m_pictureSize.cx / w, 0, m_pictureSize.cx - 1);
  const int py = std::clamp<int>((p.y - m_pictureRect.top) * m_pictureSize.cy / h, 0, m_pictureSize.cy - 1);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, m_picture);
  const COLORREF c = GetPixel(dc, px, py);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (c == CLR_INVALID) return false;
  m_color = c;
  m_picked = true;
  m_pickPoint = POINT{px, py};
  if (m_hWnd) Invalidate(FALSE);
  return true;
}

void CmivoChooseSkinImageFilePage::Apply() {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look || !m_pImage || !m_picture) return;
  m_pCore->ShowPleaseWait(kCopying);
  const mivoApplyResult result = ApplySkinImageFile(*look->GetSkin(), *m_pImage, m_picturePath, m_color);
  const DWORD error = GetLastError();
  m_pCore->HidePleaseWait();
  if (result == mivoApplyResult::kBadName || result == mivoApplyResult::kNoExtension) {
    m_pCore->ShowError(result == mivoApplyResult::kBadName ? kBadImageName : kNoExtension);
    return;
  }
  if (result == mivoApplyResult::kCopyFailed) {
    SetLastError(error);
    m_pCore->FileOperationsUI().ShowSystemError(IDS_ERROR_DURING_COPYING);
  }
  m_remembered = m_folder;
  ClosePreview();
  CmivoItemsPageWnd::GoBack();
}

void CmivoChooseSkinImageFilePage::GoBack() {
  if (IsPreviewing()) {
    ClosePreview();
    return;
  }
  CmivoItemsPageWnd::GoBack();
}

void CmivoChooseSkinImageFilePage::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  if (IsPreviewing()) {
    // Only the header and the preview: the list is hidden.
    CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
    return;
  }
  CmivoItemsPageWnd::DrawArea(dc, erase, left, top, right, bottom);
}

void CmivoChooseSkinImageFilePage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoItemsPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  if (IsPreviewing()) DrawPreview(dc);
}

void CmivoChooseSkinImageFilePage::DrawPreview(HDC dc) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int S = DisplayScale;
  LayoutPreview();
  const int saved = SaveDC(dc);

  // The picture, scaled pixel by pixel so the colours stay the file's own.
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, m_picture);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, m_pictureRect.left, m_pictureRect.top, RectWidth(m_pictureRect), RectHeight(m_pictureRect), source, 0,
             0, m_pictureSize.cx, m_pictureSize.cy, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  SelectObject(dc, look->ThemePen4);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, m_pictureRect.left - 1, m_pictureRect.top - 1, m_pictureRect.right + 1, m_pictureRect.bottom + 1);

  // The cross-hair over the picked pixel, inverting what lies under it.
  if (m_picked) {
    const int cx = m_pictureRect.left + (2 * m_pickPoint.x + 1) * RectWidth(m_pictureRect) / (2 * m_pictureSize.cx);
    const int cy = m_pictureRect.top + (2 * m_pickPoint.y + 1) * RectHeight(m_pictureRect) / (2 * m_pictureSize.cy);
    const int arm = 10 * S;
    const int oldRop = SetROP2(dc, R2_NOT);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, std::max<int>(m_pictureRect.left, cx - arm), cy, nullptr);
    LineTo(dc, std::min<int>(m_pictureRect.right, cx + arm + 1), cy);
    MoveToEx(dc, cx, std::max<int>(m_pictureRect.top, cy - arm), nullptr);
    LineTo(dc, cx, std::min<int>(m_pictureRect.bottom, cy + arm + 1));
    SetROP2(dc, oldRop);
  }

  // "Transparent color: " with a sample and the colour's value.
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look->TextColor);
  SelectObject(dc, look->SubtitleFont);
  const std::u16string label = kTransparentColor;
  RECT labelRect = m_colorLine;
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &labelRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  RECT measure = MakeRect(0, 0, 0, 0);
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
  const int sampleLeft = m_colorLine.left + RectWidth(measure) + 2 * S;
  const int side = RectHeight(m_colorLine) - 4 * S;
  RECT sample = MakeRect(sampleLeft, m_colorLine.top + 2 * S, sampleLeft + 2 * side, m_colorLine.top + 2 * S + side);
  HBRUSH brush = CreateSolidBrush(m_color);
  SelectObject(dc, brush);
  SelectObject(dc, look->ThemePen4);
  Rectangle(dc, sample.left, sample.top, sample.right, sample.bottom);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  DeleteObject(brush);
  const std::u16string value = ColorText(m_color);
  RECT valueRect = MakeRect(sample.right + 5 * S, m_colorLine.top, m_colorLine.right, m_colorLine.bottom);
  DrawTextW(dc, value.c_str(), static_cast<int>(value.size()), &valueRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);

  // The two buttons, as cards.
  SelectObject(dc, look->TitleFont);
  const std::u16string apply = GetString(IDS_APPLY);
  const std::u16string cancel = kCancelText;
  for (const auto& [rect, caption] : {std::pair{m_applyRect, &apply}, std::pair{m_cancelRect, &cancel}}) {
    DrawAdvListBoxCardShape(*look, dc, rect, false);
    RECT r = rect;
    DrawTextW(dc, caption->c_str(), static_cast<int>(caption->size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  RestoreDC(dc, saved);
}

void CmivoChooseSkinImageFilePage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  if (IsPreviewing()) {
    j.String(std::u16string(kTransparentColor) + ColorText(m_color));
    j.String(GetString(IDS_APPLY));
    j.String(kCancelText);
  }
  j.EndArray();
}

// ---- The context menu --------------------------------------------------------------------

std::u16string CmivoChooseSkinImageFilePage::GetMenuItemText(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kMenuSetTransparent) return kSetTransparent;
  return CmivoContextMenu::GetMenuItemText(entry);
}

void CmivoChooseSkinImageFilePage::OnMenuCommand(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kMenuSetTransparent) {
    PickAt(m_holdPoint);
    return;
  }
  CmivoContextMenu::OnMenuCommand(entry);
}

// ---- Messages ---------------------------------------------------------------------------------

LRESULT CmivoChooseSkinImageFilePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsPreviewing()) return CmivoItemsPageWnd::WindowProc(message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      m_pressed = true;
      return CmivoItemsPageWnd::WindowProc(message, wParam, lParam);
    case WM_LBUTTONUP: {
      const LRESULT result = CmivoItemsPageWnd::WindowProc(message, wParam, lParam);
      if (!m_pressed) return result;
      m_pressed = false;
      const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (PtInRect(&m_applyRect, p)) {
        Apply();
      } else if (PtInRect(&m_cancelRect, p)) {
        ClosePreview();
      } else {
        PickAt(p);
      }
      return result;
    }
    case WM_CONTEXTMENU: {
      m_pressed = false;
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(&p);
      if (!PtInRect(&m_pictureRect, p)) return 0;
      m_holdPoint = p;
      ClearMenu();
      mivoContextMenuEntry entry;
      entry.CommandId = kMenuSetTransparent;
      entry.Close = true;
      AddMenuEntry(entry);
      ShowMenu();
      return 0;
    }
    default:
      break;
  }
  const LRESULT result = CmivoItemsPageWnd::WindowProc(message, wParam, lParam);
  if (message == WM_SIZE || message == WM_MIVO_RELAYOUT) LayoutPreview();
  return result;
}
