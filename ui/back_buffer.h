// mivoBackBuffer: an off-screen bitmap of a window's client size, kept while
// the size fits, so that a paint can be drawn whole before it is shown
// (no half-drawn frame during a slide, a refill or a change of view).
#pragma once

#include "platform/win32/types.h"

class mivoBackBuffer {
 public:
  mivoBackBuffer() = default;
  ~mivoBackBuffer() { Drop(); }
  mivoBackBuffer(const mivoBackBuffer&) = delete;
  mivoBackBuffer& operator=(const mivoBackBuffer&) = delete;

  // A memory DC compatible with `like` with a bitmap of `size` selected
  // (at least 1 x 1): the kept one while its size fits, else a new one.
  // Null when it cannot be made.
  HDC Get(HDC like, SIZE size);
  // Gives the bitmap back; the next Get makes a new one.
  void Drop();

 private:
  HDC m_dc = nullptr;          // the memory DC, null while there is no buffer
  HBITMAP m_bitmap = nullptr;  // selected into m_dc
  HGDIOBJ m_old = nullptr;     // what m_dc held before m_bitmap
  SIZE m_size{};               // the size it was made for
};
