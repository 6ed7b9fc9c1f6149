// A set of pixels kept as merged horizontal spans per row, so that a shape
// made of overlapping pieces (a wide line's stamps, an outline and its joins)
// paints each pixel once: with R2_NOT or R2_XORPEN a pixel painted twice would
// come back to where it was.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/gdi/raster.h"

namespace gdi::detail {

class SpanSet {
 public:
  // Rows outside [top, bottom) are dropped as they are added.
  SpanSet(int top, int bottom) : m_top(top), m_rows(static_cast<std::size_t>(std::max(0, bottom - top))) {}

  void Add(int y, int x0, int x1) {
    if (x0 >= x1 || y < m_top || y >= m_top + static_cast<int>(m_rows.size())) return;
    m_rows[static_cast<std::size_t>(y - m_top)].emplace_back(x0, x1);
  }
  bool Contains(int y, int x) const {
    if (y < m_top || y >= m_top + static_cast<int>(m_rows.size())) return false;
    for (const auto& [a, b] : m_rows[static_cast<std::size_t>(y - m_top)])
      if (x >= a && x < b) return true;
    return false;
  }
  void Paint(const Canvas& c, const struct Paint& paint) {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
      auto& row = m_rows[i];
      if (row.empty()) continue;
      std::sort(row.begin(), row.end());
      int a = row[0].first, b = row[0].second;
      for (std::size_t k = 1; k < row.size(); ++k) {
        if (row[k].first <= b) {
          b = std::max(b, row[k].second);
        } else {
          PaintSpan(c, m_top + static_cast<int>(i), a, b, paint);
          a = row[k].first;
          b = row[k].second;
        }
      }
      PaintSpan(c, m_top + static_cast<int>(i), a, b, paint);
    }
  }

 private:
  int m_top;
  std::vector<std::vector<std::pair<int, int>>> m_rows;
};

}  // namespace gdi::detail
