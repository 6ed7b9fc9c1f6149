#include "platform/fs/device_path.h"

#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace fs {

namespace {
std::string g_root;
}

void SetDeviceRoot(const std::string& hostFolder) { g_root = hostFolder; }
const std::string& DeviceRoot() { return g_root; }

// A first, plain mapping: every "\" becomes "/" under the root and ".."
// components are refused. Case matching and links come with the file layer.
bool ToHostPath(std::u16string_view devicePath, std::string* hostPath) {
  std::string out = g_root;
  std::u16string component;
  auto flush = [&]() -> bool {
    if (component == u"..") return false;
    if (!component.empty() && component != u".") out += "/" + text::ToUtf8(component);
    component.clear();
    return true;
  };
  for (char16_t c : devicePath) {
    if (c == u'\\' || c == u'/') {
      if (!flush()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
      }
    } else {
      component += c;
    }
  }
  if (!flush()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (hostPath) *hostPath = out;
  return true;
}

}  // namespace fs
