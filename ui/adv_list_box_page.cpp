#include "ui/adv_list_box_page.h"

#include "platform/win32/rect.h"
#include "platform/window/describe.h"

CmivoAdvListBoxPage::CmivoAdvListBoxPage(mivoCore* core)
    : CmivoPageWnd(core), m_listBox(std::make_unique<CmivoAdvListBox>(core)) {
  m_listBox->SetOwnerPage(this);
}

CmivoAdvListBoxPage::~CmivoAdvListBoxPage() = default;

void CmivoAdvListBoxPage::ReplaceListBox(std::unique_ptr<CmivoAdvListBox> listBox) {
  if (!listBox || m_listBox->m_hWnd) return;
  // Rows added so far move over, in order.
  while (CmivoAdvListBoxItem* item = m_listBox->GetItem(0)) listBox->AddItem(item);
  listBox->SetComparer(m_listBox->GetComparer());
  m_listBox = std::move(listBox);
  m_listBox->SetOwnerPage(this);
}

void CmivoAdvListBoxPage::LayoutPage() {
  if (!m_hWnd) return;
  if (!m_listBox->m_hWnd) {
    m_listBox->CreateListBox(this, m_contentRect);
  } else {
    RECT now{};
    m_listBox->GetWindowRect(&now);
    ScreenToClient(&now);
    if (!EqualRect(&now, &m_contentRect)) m_listBox->MoveWindow(m_contentRect);
  }
  m_listBox->SetScrollTop(0);
}

void CmivoAdvListBoxPage::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  m_listBox->DrawAll(dc, m_contentRect.left, m_contentRect.top);
  CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
}

void CmivoAdvListBoxPage::DumpRows(window::JsonWriter& j) { m_listBox->DescribeRows(j); }

LRESULT CmivoAdvListBoxPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      // Keys go to the list: Up, Down, Enter and the rows' own keys.
      if (m_listBox->m_hWnd) {
        m_listBox->SetFocus();
        return 0;
      }
      break;
    default:
      break;
  }
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
