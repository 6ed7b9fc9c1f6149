// The base every window, page, list item and gadget carries: the pointer to
// the one core through which it reaches everything long-lived. Every such
// object is made by the core or by an object that has it, so the pointer is
// never null: code above reads m_pCore without checking it.
#pragma once

#include "core/assert.h"

class mivoCore;

class mivoClass {
 public:
  explicit mivoClass(mivoCore* core) : m_pCore(core) { MIVO_ASSERT(core != nullptr); }
  virtual ~mivoClass() = default;

  mivoCore* GetCore() const { return m_pCore; }

 protected:
  mivoCore* const m_pCore;  // never owned, never null; lives until the application ends
};
