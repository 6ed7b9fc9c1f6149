#include "pages/pending_page.h"

CmivoPendingPage::CmivoPendingPage(mivoCore* core, int index) : CmivoPageWnd(core), m_index(index) {}

std::u16string CmivoPendingPage::GetTitle() { return m_title; }
