#include "platform/shell/clipboard.h"

#include <cstring>
#include <mutex>
#include <thread>

#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/local_memory.h"
#include "platform/win32/text.h"
#include "platform/window/edit.h"

namespace {

std::mutex g_clipboardMutex;
bool g_open = false;
std::thread::id g_openBy;
HANDLE g_data = nullptr;          // the block of CF_UNICODETEXT, owned here
shell::HostClipboard g_host;

bool IsOpenHere() { return g_open && g_openBy == std::this_thread::get_id(); }

void FreeData() {
  if (g_data) LocalFree(g_data);
  g_data = nullptr;
}

HANDLE MakeBlock(const std::u16string& s) {
  auto* block = static_cast<char16_t*>(LocalAlloc(LMEM_FIXED, (s.size() + 1) * sizeof(char16_t)));
  if (block) std::memcpy(block, s.c_str(), (s.size() + 1) * sizeof(char16_t));
  return block;
}

}  // namespace

namespace shell {
void SetHostClipboard(HostClipboard host) {
  std::lock_guard<std::mutex> lock(g_clipboardMutex);
  g_host = std::move(host);
}

void InstallEditClipboard() {
  window::SetEditClipboard({
      [](std::u16string* text) {
        if (!OpenClipboard(nullptr)) return false;
        const auto* data = static_cast<const char16_t*>(GetClipboardData(CF_UNICODETEXT));
        if (data) *text = data;
        CloseClipboard();
        return data != nullptr;
      },
      [](const std::u16string& text) {
        if (!OpenClipboard(nullptr)) return;
        EmptyClipboard();
        if (HANDLE block = MakeBlock(text); block && !SetClipboardData(CF_UNICODETEXT, block)) LocalFree(block);
        CloseClipboard();
      },
  });
}
}  // namespace shell

BOOL OpenClipboard(HWND) {
  std::lock_guard<std::mutex> lock(g_clipboardMutex);
  if (g_open && !IsOpenHere()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  g_open = true;
  g_openBy = std::this_thread::get_id();
  return TRUE;
}

BOOL CloseClipboard() {
  std::lock_guard<std::mutex> lock(g_clipboardMutex);
  if (!IsOpenHere()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  g_open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  std::lock_guard<std::mutex> lock(g_clipboardMutex);
  if (!IsOpenHere()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  FreeData();
  if (g_host.set) g_host.set(u"");
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  std::lock_guard<std::mutex> lock(g_clipboardMutex);
  if (!IsOpenHere()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (format != CF_UNICODETEXT || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Never read past the block, even when its text is not terminated.
  std::size_t units = LocalSize(data) / sizeof(char16_t);
  const auto* p = static_cast<const char16_t*>(data);
  std::size_t n = 0;
  while (n < units && p[n]) ++n;
  std::u16string textValue(p, n);
  if (data != g_data) FreeData();
  g_data = MakeBlock(textValue);
  LocalFree(data);
  if (g_host.set) g_host.set(textValue);
  return g_data;
}

HANDLE GetClipboardData(UINT format) {
  std::lock_guard<std::mutex> lock(g_clipboardMutex);
  if (!IsOpenHere()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (format != CF_UNICODETEXT) {
    SetLastError(ERROR_NOT_FOUND);
    return nullptr;
  }
  std::u16string hostText;
  if (g_host.get && g_host.get(&hostText)) {
    const char16_t* mine = static_cast<const char16_t*>(g_data);
    if (!mine || hostText != mine) {
      FreeData();
      g_data = hostText.empty() ? nullptr : MakeBlock(hostText);
    }
  }
  if (!g_data) SetLastError(ERROR_NOT_FOUND);
  return g_data;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (format != CF_UNICODETEXT) return FALSE;
  std::lock_guard<std::mutex> lock(g_clipboardMutex);
  std::u16string hostText;
  if (g_host.get && g_host.get(&hostText)) return !hostText.empty();
  return g_data != nullptr;
}
