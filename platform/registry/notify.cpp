#include "platform/registry/notify.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

#include "platform/window/message.h"

namespace {

struct Subscription {
  HKEY root;
  std::u16string subKey;
  std::u16string name;
  std::string ref;       // "hklm\path" lower case, as the change log writes it
  std::string nameLc;
  HWND window = nullptr;
  UINT msg = 0;
  REGISTRYNOTIFYCALLBACK callback = nullptr;
  DWORD userData = 0;
  bool hasCondition = false;
  NOTIFICATIONCONDITION condition;
  std::u16string conditionText;  // the condition's text, copied
};

std::mutex g_mutex;
std::recursive_mutex g_dispatch;  // held while notifications go out
std::map<std::uintptr_t, Subscription> g_subs;
std::uintptr_t g_next = 0x4E000000;
int g_watchId = 0;
reg::MessagePoster g_poster;

void Post(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  reg::MessagePoster poster;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    poster = g_poster;
  }
  if (poster) {
    poster(window, msg, wp, lp);
    return;
  }
  PostMessageW(window, msg, wp, lp);
}

bool Meets(const Subscription& s, const reg::Value* v) {
  if (!s.hasCondition || s.condition.ctComparisonType == REG_CT_ANYCHANGE) return true;
  if (!v) return false;
  DWORD dw;
  if (reg::AsDword(*v, &dw)) {
    DWORD x = dw & s.condition.dwMask, t = s.condition.TargetValue.dw;
    switch (s.condition.ctComparisonType) {
      case REG_CT_EQUAL: return x == t;
      case REG_CT_NOT_EQUAL: return x != t;
      case REG_CT_GREATER: return x > t;
      case REG_CT_GREATER_OR_EQUAL: return x >= t;
      case REG_CT_LESS: return x < t;
      case REG_CT_LESS_OR_EQUAL: return x <= t;
      default: return false;
    }
  }
  if (v->type != REG_SZ && v->type != REG_EXPAND_SZ) return false;
  std::u16string value = text::ToLower(reg::AsString(*v));
  std::u16string target = text::ToLower(s.conditionText);
  int c = value.compare(target);
  switch (s.condition.ctComparisonType) {
    case REG_CT_EQUAL: return c == 0;
    case REG_CT_NOT_EQUAL: return c != 0;
    case REG_CT_GREATER: return c > 0;
    case REG_CT_GREATER_OR_EQUAL: return c >= 0;
    case REG_CT_LESS: return c < 0;
    case REG_CT_LESS_OR_EQUAL: return c <= 0;
    case REG_CT_CONTAINS: return value.find(target) != std::u16string::npos;
    case REG_CT_STARTS_WITH: return value.rfind(target, 0) == 0;
    case REG_CT_ENDS_WITH:
      return value.size() >= target.size() && value.compare(value.size() - target.size(), target.size(), target) == 0;
    default: return false;
  }
}

// Runs on the watcher's thread for every registry change.
void OnChange(const devdb::Change& c) {
  std::vector<std::pair<std::uintptr_t, Subscription>> hits;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    for (const auto& [id, s] : g_subs)
      if (s.ref == c.ref && s.nameLc == c.name) hits.emplace_back(id, s);
  }
  if (hits.empty()) return;
  // The value as this change left it (later changes have rows of their own).
  reg::Value value{static_cast<DWORD>(c.type), c.data};
  bool present = c.hasData;
  DWORD dw = 0;
  if (present) reg::AsDword(value, &dw);
  std::lock_guard<std::recursive_mutex> dispatch(g_dispatch);
  for (const auto& [id, s] : hits) {
    {
      // Closed meanwhile: nothing more for it.
      std::lock_guard<std::mutex> lock(g_mutex);
      if (!g_subs.count(id)) continue;
    }
    if (!Meets(s, present ? &value : nullptr)) continue;
    if (s.callback) {
      s.callback(reinterpret_cast<HREGNOTIFY>(id), s.userData,
                 present ? reinterpret_cast<const BYTE*>(value.data.data()) : nullptr,
                 present ? static_cast<UINT>(value.data.size()) : 0);
    } else {
      Post(s.window, s.msg, static_cast<WPARAM>(dw), static_cast<LPARAM>(s.userData));
    }
  }
}

HRESULT Register(Subscription s, HKEY root, LPCWSTR subKey, LPCWSTR valueName, NOTIFICATIONCONDITION* condition,
                 HREGNOTIFY* notify) {
  if (!notify) return E_INVALIDARG;
  *notify = nullptr;
  if (!devdb::DeviceDatabase()) return HRESULT_FROM_WIN32(ERROR_CANTOPEN);
  s.root = root;
  s.subKey = subKey ? subKey : u"";
  s.name = valueName ? valueName : u"";
  s.ref = reg::ChangeRef(root, s.subKey);
  if (s.ref.empty()) return E_INVALIDARG;
  s.nameLc = text::ToUtf8(text::ToLower(s.name));
  if (condition) {
    s.hasCondition = true;
    s.condition = *condition;
    // A text condition's target is copied; a DWORD one is used as given.
    if (condition->ctComparisonType >= REG_CT_CONTAINS && condition->ctComparisonType <= REG_CT_ENDS_WITH &&
        condition->TargetValue.psz) {
      s.conditionText = condition->TargetValue.psz;
    }
  }
  bool needWatch;
  std::uintptr_t id;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    id = g_next;
    g_next += 4;
    g_subs.emplace(id, std::move(s));
    needWatch = g_watchId == 0;
    if (needWatch) g_watchId = -1;  // being set up
  }
  if (needWatch) {
    int w = devdb::SubscribeChanges("reg", OnChange);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_watchId = w;
  }
  *notify = reinterpret_cast<HREGNOTIFY>(id);
  return S_OK;
}

}  // namespace

HRESULT RegistryNotifyWindow(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT msg, DWORD userData,
                             NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify) {
  if (!window) return E_INVALIDARG;
  Subscription s;
  s.window = window;
  s.msg = msg;
  s.userData = userData;
  return Register(std::move(s), root, subKey, valueName, condition, notify);
}

HRESULT RegistryNotifyCallback(HKEY root, LPCWSTR subKey, LPCWSTR valueName, REGISTRYNOTIFYCALLBACK callback,
                               DWORD userData, NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify) {
  if (!callback) return E_INVALIDARG;
  Subscription s;
  s.callback = callback;
  s.userData = userData;
  return Register(std::move(s), root, subKey, valueName, condition, notify);
}

HRESULT RegistryCloseNotification(HREGNOTIFY notify) {
  std::lock_guard<std::recursive_mutex> dispatch(g_dispatch);
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_subs.erase(reinterpret_cast<std::uintptr_t>(notify)) == 0) return E_INVALIDARG;
  return S_OK;
}

namespace reg {

void SetMessagePoster(MessagePoster poster) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_poster = std::move(poster);
}

}  // namespace reg
