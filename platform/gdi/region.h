// An area of the plane made of disjoint rectangles: invalid areas of windows,
// visible areas, clip regions. Kept as non-overlapping rectangles so that
// painting an area visits each pixel once.
#pragma once

#include <vector>

#include "platform/win32/rect.h"
#include "platform/win32/types.h"

namespace gdi {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r);

  bool IsEmpty() const { return m_rects.empty(); }
  // The smallest rectangle around the region; empty for an empty region.
  RECT Bounds() const { return m_bounds; }
  const std::vector<RECT>& Rects() const { return m_rects; }
  bool Contains(int x, int y) const;
  bool Intersects(const RECT& r) const;

  void Clear();
  void Set(const RECT& r);
  void Union(const RECT& r);
  void Union(const Region& other);
  void Intersect(const RECT& r);
  void Intersect(const Region& other);
  void Subtract(const RECT& r);
  void Subtract(const Region& other);
  // What lies in one region or the other, not in both.
  void Xor(const Region& other);
  void Offset(int dx, int dy);

  bool operator==(const Region& other) const;

 private:
  void RecomputeBounds();
  // Merges rectangles that share a full edge, to keep the list short.
  void Coalesce();

  std::vector<RECT> m_rects;  // disjoint, none empty
  RECT m_bounds{};            // bounding box of m_rects
};

}  // namespace gdi
