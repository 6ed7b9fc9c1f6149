// Reading properties in the messaging tests, and a sink that records what it hears.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/device/mapi.h"

namespace mapitest {

inline std::optional<SPropValue> Prop(IMAPIProp* object, ULONG tag, std::string* bytes = nullptr,
                                      std::u16string* text = nullptr) {
  SizedSPropTagArrayT<1> tags{1, {tag}};
  ULONG count = 0;
  LPSPropValue props = nullptr;
  if (FAILED(object->GetProps(tags.get(), MAPI_UNICODE, &count, &props)) || count != 1) return std::nullopt;
  std::optional<SPropValue> out;
  if (props[0].ulPropTag == tag) {
    out = props[0];
    if (bytes && PROP_TYPE(tag) == PT_BINARY)
      bytes->assign(reinterpret_cast<char*>(props[0].Value.bin.lpb), props[0].Value.bin.cb);
    if (text && PROP_TYPE(tag) == PT_UNICODE) *text = props[0].Value.lpszW;
  }
  MAPIFreeBuffer(props);
  return out;
}

inline std::string Binary(IMAPIProp* object, ULONG tag) {
  std::string bytes;
  Prop(object, tag, &bytes);
  return bytes;
}

inline std::u16string Text(IMAPIProp* object, ULONG tag) {
  std::u16string text;
  Prop(object, tag, nullptr, &text);
  return text;
}

inline LONG Long(IMAPIProp* object, ULONG tag) {
  auto p = Prop(object, tag);
  return p ? p->Value.l : -1;
}

// One notification as the sink copied it.
struct Heard {
  ULONG call = 0;  // which OnNotify call it came in
  ULONG event = 0;
  std::string entry;      // the message
  std::string parent;     // its folder
  std::string oldParent;  // for a move
};

class RecordingSink : public IMAPIAdviseSink {
 public:
  HRESULT QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  ULONG OnNotify(ULONG count, LPNOTIFICATION n) override {
    std::lock_guard<std::mutex> lock(mutex);
    ++calls;
    for (ULONG i = 0; i < count; ++i) {
      Heard h;
      h.call = calls;
      h.event = n[i].ulEventType;
      if (h.event == fnevNewMail) {
        h.entry.assign(reinterpret_cast<char*>(n[i].info.newmail.lpEntryID), n[i].info.newmail.cbEntryID);
        h.parent.assign(reinterpret_cast<char*>(n[i].info.newmail.lpParentID), n[i].info.newmail.cbParentID);
      } else {
        const OBJECT_NOTIFICATION& o = n[i].info.obj;
        h.entry.assign(reinterpret_cast<char*>(o.lpEntryID), o.cbEntryID);
        h.parent.assign(reinterpret_cast<char*>(o.lpParentID), o.cbParentID);
        if (o.lpOldParentID) h.oldParent.assign(reinterpret_cast<char*>(o.lpOldParentID), o.cbOldParentID);
      }
      heard.push_back(h);
    }
    changed.notify_all();
    return 0;
  }
  bool WaitFor(std::size_t n) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(5), [&] { return heard.size() >= n; });
  }
  std::vector<Heard> Snapshot() {
    std::lock_guard<std::mutex> lock(mutex);
    return heard;
  }

  ULONG refs = 1;
  ULONG calls = 0;
  std::vector<Heard> heard;
  std::mutex mutex;
  std::condition_variable changed;
};

}  // namespace mapitest
