// CmivoAdvListBoxPage: a page whose whole content area is one advanced list
// box. The list box exists with the page object (rows can be added before
// the page is first shown); its window is made with the page's.
#pragma once

#include <memory>

#include "ui/adv_list_box.h"
#include "ui/page_wnd.h"

class CmivoAdvListBoxPage : public CmivoPageWnd {
 public:
  explicit CmivoAdvListBoxPage(mivoCore* core);
  ~CmivoAdvListBoxPage() override;

  // ---- The list, forwarded ----
  void AddItem(CmivoAdvListBoxItem* item) { m_listBox->AddItem(item); }
  void InsertItemSorted(CmivoAdvListBoxItem* item) { m_listBox->InsertItemSorted(item); }
  void RemoveItem(CmivoAdvListBoxItem* item, bool deleteItem) { m_listBox->RemoveItem(item, deleteItem); }
  void Clear(bool deleteItems) { m_listBox->Clear(deleteItems); }
  CmivoAdvListBoxItem* GetItem(int index) const { return m_listBox->GetItem(index); }
  int GetItemCount() const { return m_listBox->GetItemCount(); }
  void SetComparer(CmivoAdvListBoxComparer* comparer) { m_listBox->SetComparer(comparer); }
  // Invalidate the list: paint it later.
  void InvalidateList() { m_listBox->Repaint(); }
  CmivoAdvListBox& ListBox() { return *m_listBox; }

  // The list box over the content rectangle, scrolled to the top.
  void LayoutPage() override;
  // The list's rows first, offset to the content rectangle, then the header
  // over them: the page drawn whole into any DC (the slide's picture).
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpRows(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoAdvListBoxPage"; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // A page that needs its own list box class (a swipe handler, a hold on
  // the empty area) puts it in place in its constructor.
  void ReplaceListBox(std::unique_ptr<CmivoAdvListBox> listBox);

 private:
  std::unique_ptr<CmivoAdvListBox> m_listBox;  // never null
};
