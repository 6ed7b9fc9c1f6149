#include "pages/memory_info_page.h"

#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/device/system.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"

namespace {

// Each line's label and its band below the base line (·S).
struct Line {
  int labelId;
  int top;
  int bottom;
};
constexpr Line kLines[] = {
    {IDS_FREE_PHYSICAL_MEMORY, 0, 15},   {IDS_TOTAL_PHYSICAL_MEMORY, 20, 35},
    {IDS_FREE_VIRTUAL_MEMORY, 50, 65},   {IDS_TOTAL_VIRTUAL_MEMORY, 65, 80},
    {IDS_FREE_PAGE_FILE_MEMORY, 95, 110}, {IDS_TOTAL_PAGE_FILE_MEMORY, 110, 125},
};

}  // namespace

std::u16string MemorySizeText(DWORD bytes) {
  // The quotient is taken in double precision and shown as a float would be.
  auto scaled = [bytes](double unit) { return static_cast<double>(static_cast<float>(bytes / unit)); };
  if (bytes >= 1073741824u) return text::Format(u"%.2fGB", scaled(1073741824.0));
  if (bytes >= 1048576u) return text::Format(u"%.2fMB", scaled(1048576.0));
  if (bytes >= 1024u) return text::Format(u"%.2fkB", scaled(1024.0));
  return text::Format(u"%dB", bytes);
}

CmivoMemoryInfoPage::CmivoMemoryInfoPage(mivoCore* core) : CmivoPageWnd(core) {
  m_title = GetTitle(0, 0);
  m_pPageIcon = GetPageIcon(0, 0);
}

BOOL CmivoMemoryInfoPage::CreatePage(CWnd* frame) {
  if (!CmivoPageWnd::CreatePage(frame)) return FALSE;
  SetTimer(kRefreshTimer, kRefreshMs);
  return TRUE;
}

std::u16string CmivoMemoryInfoPage::GetTitle(int, int) { return GetString(IDS_MEMORY_INFO); }

std::u16string CmivoMemoryInfoPage::GetHelpText(int, int) { return GetString(IDS_MEMORY_INFO_HELP); }

mivoSkinImage* CmivoMemoryInfoPage::GetPageIcon(int, int) {
  mivoActions* actions = m_pCore->GetActions();
  return actions ? actions->SkinImage(u"memory_info_page") : nullptr;
}

std::vector<std::u16string> CmivoMemoryInfoPage::Lines() {
  MEMORYSTATUS memory;
  GlobalMemoryStatus(&memory);
  const DWORD figures[] = {memory.dwAvailPhys,    memory.dwTotalPhys,     memory.dwAvailVirtual,
                           memory.dwTotalVirtual, memory.dwAvailPageFile, memory.dwTotalPageFile};
  std::vector<std::u16string> lines;
  for (std::size_t i = 0; i < std::size(kLines); ++i) {
    lines.push_back(text::Format(u"%s: %s", GetString(kLines[i].labelId), MemorySizeText(figures[i])));
  }
  return lines;
}

void CmivoMemoryInfoPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int s = DisplayScale;
  const HGDIOBJ oldFont = SelectObject(dc, look->SmallFont);
  const COLORREF oldColor = SetTextColor(dc, look->TextColor);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const int base = m_contentRect.top + 10 * s;
  const std::vector<std::u16string> lines = Lines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    RECT band{m_contentRect.left + 5 * s, base + kLines[i].top * s, m_contentRect.right, base + kLines[i].bottom * s};
    DrawTextW(dc, lines[i].c_str(), static_cast<int>(lines[i].size()), &band,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
}

void CmivoMemoryInfoPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  for (const std::u16string& line : Lines()) j.String(line);
  j.EndArray();
}

LRESULT CmivoMemoryInfoPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kRefreshTimer) {
    Invalidate();
    return 0;
  }
  if (message == WM_DESTROY) KillTimer(kRefreshTimer);
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
