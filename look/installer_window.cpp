#include "look/installer_window.h"

#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

CmivoInstallerWnd::CmivoInstallerWnd(int screenWidth, int screenHeight)
    : m_screenWidth(screenWidth), m_screenHeight(screenHeight), m_k(screenHeight >= 480 ? 2 : 1) {
  LOGFONTW font;
  font.lfHeight = 20 * m_k;
  font.lfWeight = FW_BOLD;
  font.lfQuality = CLEARTYPE_QUALITY;
  font.lfPitchAndFamily = FF_SWISS;
  text::CopyTo(font.lfFaceName, LF_FACESIZE, u"Arial");
  m_font = CreateFontIndirectW(&font);
  m_pen = CreatePen(PS_SOLID, m_k, RGB(80, 80, 80));
  m_brush = CreateSolidBrush(RGB(48, 48, 48));
}

CmivoInstallerWnd::~CmivoInstallerWnd() {
  if (GetSafeHwnd()) DestroyWindow();
  DeleteObject(m_font);
  DeleteObject(m_pen);
  DeleteObject(m_brush);
}

bool CmivoInstallerWnd::CreateAndShow() {
  const int w = 200 * m_k, h = 60 * m_k;
  const int x = (m_screenWidth - w) / 2, y = (m_screenHeight - h) / 2;
  if (!CreateEx(0, u"", u"Installing", WS_POPUP | WS_VISIBLE, RECT{x, y, x + w, y + h}, nullptr, 0)) return false;
  Repaint();
  return true;
}

void CmivoInstallerWnd::SetTotalBytes(DWORD total) {
  m_totalBytes = total;
  m_bytesDone = 0;
  Repaint();
}

void CmivoInstallerWnd::SetBytesDone(DWORD done) {
  m_bytesDone = done < m_totalBytes ? done : m_totalBytes;
  // A package of many small files moves the bar by less than a pixel per
  // file: repaint only when the bar's width changes.
  if (m_paints > 0 && GetSafeHwnd()) {
    RECT client;
    GetClientRect(&client);
    const RECT bar = InstallerBarRect(client.right - client.left, m_k, m_totalBytes, m_bytesDone);
    if (bar.right == m_bar.right) return;
    if (bar.right > m_bar.right) {
      // The bar only grows: its new part is all that changes on screen.
      const RECT grown{m_bar.right > m_bar.left ? m_bar.right : bar.left, bar.top, bar.right, bar.bottom};
      InvalidateRect(&grown, FALSE);
      UpdateWindow();
      return;
    }
  }
  Repaint();
}

void CmivoInstallerWnd::Repaint() {
  if (!GetSafeHwnd()) return;
  InvalidateRect(nullptr, FALSE);
  UpdateWindow();
}

LRESULT CmivoInstallerWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(GetSafeHwnd(), &ps);
      if (dc) Paint(dc, ps.rcPaint);
      EndPaint(GetSafeHwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

void CmivoInstallerWnd::Paint(HDC dc, const RECT& update) {
  const int k = m_k;
  RECT client;
  GetClientRect(&client);
  const RECT bar = InstallerBarRect(client.right - client.left, k, m_totalBytes, m_bytesDone);
  if (update.left >= bar.left && update.right <= bar.right && update.top >= bar.top && update.bottom <= bar.bottom &&
      update.right > update.left && update.bottom > update.top) {
    // Inside the bar, which is white all over: the frame and the caption around it stay as they are.
    // A package of a hundred files repaints this strip a hundred times.
    FillRect(dc, &update, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    m_bar = bar;
    ++m_paints;
    return;
  }
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HGDIOBJ oldFont = SelectObject(dc, m_font);
  HGDIOBJ oldPen = SelectObject(dc, m_pen);
  HGDIOBJ oldBrush = SelectObject(dc, m_brush);
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  RoundRect(dc, client.left + 5 * k, client.top + tm.tmHeight / 2, client.right - 5 * k, client.bottom - 5 * k, 20 * k,
            20 * k);
  // The caption sits on the frame's top edge and interrupts it.
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, OPAQUE);
  RECT caption = client;
  DrawTextW(dc, u" Installing... ", -1, &caption, DT_END_ELLIPSIS | DT_NOPREFIX | DT_CENTER);
  m_bar = bar;
  if (m_bar.right > m_bar.left) FillRect(dc, &m_bar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, oldFont);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  ++m_paints;
}

mivoPackageStatus InstallPackageWithProgress(std::u16string_view packagePath, std::u16string_view programFolder,
                                             std::u16string* message) {
  const SIZE screen = window::GetScreenSize();
  CmivoInstallerWnd progressWindow(screen.cx, screen.cy);
  progressWindow.CreateAndShow();
  const mivoPackageStatus status = InstallPackage(
      packagePath, programFolder,
      [&](DWORD total, DWORD done) {
        if (total != progressWindow.TotalBytes()) progressWindow.SetTotalBytes(total);
        progressWindow.SetBytesDone(done);
      },
      message);
  progressWindow.DestroyWindow();
  return status;
}
