#include "ui/back_buffer.h"

#include <algorithm>

#include "platform/gdi/gdi.h"

HDC mivoBackBuffer::Get(HDC like, SIZE size) {
  if (m_dc && m_size.cx == size.cx && m_size.cy == size.cy) return m_dc;
  Drop();
  m_dc = CreateCompatibleDC(like);
  m_bitmap = CreateCompatibleBitmap(like, std::max<LONG>(1, size.cx), std::max<LONG>(1, size.cy));
  if (!m_dc || !m_bitmap) {
    Drop();
    return nullptr;
  }
  m_old = SelectObject(m_dc, m_bitmap);
  m_size = size;
  return m_dc;
}

void mivoBackBuffer::Drop() {
  if (m_dc) {
    if (m_old) SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
  }
  if (m_bitmap) DeleteObject(m_bitmap);
  m_dc = nullptr;
  m_bitmap = nullptr;
  m_old = nullptr;
  m_size = SIZE{};
}
