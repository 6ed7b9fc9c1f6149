// The base every window, page, list item and gadget carries: the pointer to
// the one core through which it reaches everything long-lived.
#pragma once

class mivoCore;

class mivoClass {
 public:
  explicit mivoClass(mivoCore* core = nullptr) : m_pCore(core) {}
  virtual ~mivoClass() = default;

  mivoCore* GetCore() const { return m_pCore; }

 protected:
  mivoCore* m_pCore;  // never owned; lives until the application ends
};
