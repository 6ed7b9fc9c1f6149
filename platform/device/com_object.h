// The reference counting and QueryInterface that every object of the
// platform's object models shares (internal to platform/device).
#pragma once

#include <atomic>

#include "platform/device/com.h"

namespace comimpl {

// The reference count and QueryInterface of every object: the interface
// identifiers it answers to, besides IUnknown.
template <typename Interface>
class ComBase : public Interface {
 public:
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || Answers(iid)) {
      AddRef();
      *object = static_cast<Interface*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

 protected:
  virtual bool Answers(REFIID iid) const = 0;

 private:
  std::atomic<ULONG> m_refs{1};  // starts with the creator's reference
};

}  // namespace comimpl
