#include "pages/image_view_page.h"

#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/fs/device_path.h"
#include "platform/fs/find.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/win32/errors.h"
#include "platform/win32/format_message.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"

CmivoImageViewPage::CmivoImageViewPage(mivoCore* core) : CmivoPageWnd(core) { m_title = GetString(IDS_IMAGE_VIEWER); }

CmivoImageViewPage::~CmivoImageViewPage() {
  DropScaled();
  if (m_factory) m_factory->Release();
}

void CmivoImageViewPage::DropScaled() {
  if (m_scaled) m_scaled->Release();
  m_scaled = nullptr;
  m_scaledPath.clear();
  m_scaledBox = SIZE{};
  m_decodedSize = SIZE{};
}

void CmivoImageViewPage::SetPicture(const std::u16string& path) {
  m_pictures.clear();
  m_index = -1;
  m_message.clear();
  DropScaled();
  const std::size_t slash = path.rfind(u'\\');
  const std::u16string folder = slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
  int found = -1;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + u"\\*.*").c_str(), &data);
  DWORD error = find == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY)) continue;
      const std::u16string entry = folder + u"\\" + data.cFileName;
      if (entry.size() < 4 || text::ToLower(std::u16string_view(entry).substr(entry.size() - 4)) != u".jpg") continue;
      if (entry == path) found = static_cast<int>(m_pictures.size());
      m_pictures.push_back(entry);
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  if (m_pictures.empty()) {
    // Nothing to step through: the page says so rather than showing nothing.
    m_title = GetString(IDS_IMAGE_VIEWER);
    m_message = fs::FileNamePart(path) + u"\n" + SystemErrorText(error ? error : ERROR_FILE_NOT_FOUND);
    if (m_hWnd) Invalidate();
    return;
  }
  ShowPicture(found < 0 ? 0 : found);
}

void CmivoImageViewPage::ShowPicture(int index) {
  if (m_pictures.empty()) return;
  const int count = static_cast<int>(m_pictures.size());
  if (index < 0) index = count - 1;
  if (index >= count) index = 0;
  m_index = index;
  const std::u16string& path = m_pictures[static_cast<std::size_t>(index)];
  SetTitle(text::Format(u"%s (%d/%d)", fs::FileNamePart(path), index + 1, count));
  if (m_hWnd) Invalidate();
}

IImage* CmivoImageViewPage::Scaled(int boxWidth, int boxHeight, SIZE* fitted) {
  const std::u16string& path = m_pictures[static_cast<std::size_t>(m_index)];
  if (path == m_scaledPath && m_scaledBox.cx == boxWidth && m_scaledBox.cy == boxHeight) {
    *fitted = m_decodedSize;
    return m_scaled;
  }
  DropScaled();
  m_scaledPath = path;
  m_scaledBox = SIZE{boxWidth, boxHeight};
  if (!m_factory) CreateImagingFactory(&m_factory);
  IImage* picture = nullptr;
  if (m_factory && SUCCEEDED(m_factory->CreateImageFromFile(path.c_str(), &picture)) && picture) {
    ImageInfo info;
    if (SUCCEEDED(picture->GetImageInfo(&info)) && info.Width > 0 && info.Height > 0) {
      int w = static_cast<int>(info.Width), h = static_cast<int>(info.Height);
      FitSizeInBox(boxWidth, boxHeight, &w, &h);
      // Decoded at the size it is shown: the decoder scales a large JPEG down as it reads it.
      if (w > 0 && h > 0 && SUCCEEDED(picture->GetThumbnail(static_cast<UINT>(w), static_cast<UINT>(h), &m_scaled))) {
        m_decodedSize = SIZE{w, h};
      }
    }
    picture->Release();
  }
  *fitted = m_decodedSize;
  return m_scaled;
}

void CmivoImageViewPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  const RECT& area = m_contentRect;
  if (m_index >= 0) {
    SIZE fitted{};
    if (IImage* picture = Scaled(RectWidth(area), RectHeight(area), &fitted)) {
      const int x = area.left + (RectWidth(area) - fitted.cx) / 2;
      const int y = area.top + (RectHeight(area) - fitted.cy) / 2;
      const RECT to{x, y, x + fitted.cx, y + fitted.cy};
      picture->Draw(dc, &to, nullptr);
    }
    return;
  }
  if (m_message.empty()) return;
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int s = DisplayScale;
  RECT box{area.left + 10 * s, area.top + 20 * s, area.right - 10 * s, area.bottom};
  const HGDIOBJ oldFont = SelectObject(dc, look->SubtitleFont);
  const COLORREF oldColor = SetTextColor(dc, look->SubTextColor);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, m_message.c_str(), static_cast<int>(m_message.size()), &box, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
}

void CmivoImageViewPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  if (m_index < 0 && !m_message.empty()) j.String(m_message);
  j.EndArray();
}

void CmivoImageViewPage::OnTap(int x) {
  if (m_pictures.empty()) return;
  if (x >= (m_contentRect.left + m_contentRect.right) / 2) {
    ShowNext();
  } else {
    ShowPrevious();
  }
}

LRESULT CmivoImageViewPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONUP:
      OnTap(GET_X_LPARAM(lParam));
      break;  // the page's own handling of the release follows
    case WM_KEYDOWN:
      if (wParam == VK_RIGHT || wParam == VK_LEFT) {
        if (wParam == VK_RIGHT) {
          ShowNext();
        } else {
          ShowPrevious();
        }
        return 0;
      }
      break;
    case WM_SIZE:
      DropScaled();
      break;
    default:
      break;
  }
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
