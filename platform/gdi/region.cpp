#include "platform/gdi/region.h"

#include <algorithm>

namespace gdi {

namespace {

// Appends the parts of r that lie outside cut (at most four rectangles).
void AppendDifference(const RECT& r, const RECT& cut, std::vector<RECT>& out) {
  RECT inter;
  if (!IntersectRect(&inter, &r, &cut)) {
    out.push_back(r);
    return;
  }
  if (r.top < inter.top) out.push_back(MakeRect(r.left, r.top, r.right, inter.top));
  if (inter.bottom < r.bottom) out.push_back(MakeRect(r.left, inter.bottom, r.right, r.bottom));
  if (r.left < inter.left) out.push_back(MakeRect(r.left, inter.top, inter.left, inter.bottom));
  if (inter.right < r.right) out.push_back(MakeRect(inter.right, inter.top, r.right, inter.bottom));
}

}  // namespace

Region::Region(const RECT& r) { Set(r); }

bool Region::Contains(int x, int y) const {
  const POINT p = MakePoint(x, y);
  if (!PtInRect(&m_bounds, p)) return false;
  for (const RECT& r : m_rects)
    if (PtInRect(&r, p)) return true;
  return false;
}

bool Region::Intersects(const RECT& r) const {
  RECT tmp;
  if (!IntersectRect(&tmp, &m_bounds, &r)) return false;
  for (const RECT& q : m_rects)
    if (IntersectRect(&tmp, &q, &r)) return true;
  return false;
}

void Region::Clear() {
  m_rects.clear();
  SetRectEmpty(&m_bounds);
}

void Region::Set(const RECT& r) {
  Clear();
  if (!IsRectEmpty(&r)) {
    m_rects.push_back(r);
    m_bounds = r;
  }
}

void Region::Union(const RECT& r) {
  if (IsRectEmpty(&r)) return;
  // Add only the parts of r not yet covered, so the rectangles stay disjoint.
  std::vector<RECT> pieces{r};
  for (const RECT& have : m_rects) {
    RECT tmp;
    if (!IntersectRect(&tmp, &have, &r)) continue;
    std::vector<RECT> next;
    for (const RECT& p : pieces) AppendDifference(p, have, next);
    pieces.swap(next);
    if (pieces.empty()) return;
  }
  m_rects.insert(m_rects.end(), pieces.begin(), pieces.end());
  Coalesce();
  RecomputeBounds();
}

void Region::Union(const Region& other) {
  for (const RECT& r : other.m_rects) Union(r);
}

void Region::Intersect(const RECT& r) {
  std::vector<RECT> out;
  for (const RECT& have : m_rects) {
    RECT tmp;
    if (IntersectRect(&tmp, &have, &r)) out.push_back(tmp);
  }
  m_rects.swap(out);
  RecomputeBounds();
}

void Region::Intersect(const Region& other) {
  std::vector<RECT> out;
  for (const RECT& a : m_rects)
    for (const RECT& b : other.m_rects) {
      RECT tmp;
      if (IntersectRect(&tmp, &a, &b)) out.push_back(tmp);
    }
  m_rects.swap(out);
  Coalesce();
  RecomputeBounds();
}

void Region::Subtract(const RECT& r) {
  RECT tmp;
  if (IsRectEmpty(&r) || !IntersectRect(&tmp, &m_bounds, &r)) return;
  std::vector<RECT> out;
  for (const RECT& have : m_rects) AppendDifference(have, r, out);
  m_rects.swap(out);
  Coalesce();
  RecomputeBounds();
}

void Region::Subtract(const Region& other) {
  for (const RECT& r : other.m_rects) Subtract(r);
}

void Region::Xor(const Region& other) {
  Region both = *this;
  both.Intersect(other);
  Union(other);
  Subtract(both);
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : m_rects) OffsetRect(&r, dx, dy);
  if (!m_rects.empty()) OffsetRect(&m_bounds, dx, dy);
}

bool Region::operator==(const Region& other) const {
  // Equal areas, whatever their split into rectangles.
  Region a = *this;
  a.Subtract(other);
  if (!a.IsEmpty()) return false;
  Region b = other;
  b.Subtract(*this);
  return b.IsEmpty();
}

void Region::RecomputeBounds() {
  SetRectEmpty(&m_bounds);
  for (const RECT& r : m_rects) UnionRect(&m_bounds, &m_bounds, &r);
}

void Region::Coalesce() {
  bool merged = true;
  while (merged && m_rects.size() > 1) {
    merged = false;
    for (std::size_t i = 0; i < m_rects.size() && !merged; ++i) {
      for (std::size_t j = i + 1; j < m_rects.size(); ++j) {
        RECT& a = m_rects[i];
        const RECT& b = m_rects[j];
        const bool sameColumns = a.left == b.left && a.right == b.right;
        const bool sameRows = a.top == b.top && a.bottom == b.bottom;
        if (sameColumns && (a.bottom == b.top || b.bottom == a.top)) {
          a.top = std::min(a.top, b.top);
          a.bottom = std::max(a.bottom, b.bottom);
        } else if (sameRows && (a.right == b.left || b.right == a.left)) {
          a.left = std::min(a.left, b.left);
          a.right = std::max(a.right, b.right);
        } else {
          continue;
        }
        m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
        break;
      }
    }
  }
}

}  // namespace gdi
