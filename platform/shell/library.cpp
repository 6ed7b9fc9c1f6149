#include "platform/shell/library.h"

#include <dlfcn.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "platform/fs/device_path.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace shell {

namespace {

struct Library {
  std::u16string key;               // the lower-case file name it was loaded by
  BuiltInExports exports = nullptr;  // a library of the device, else null
  void* host = nullptr;              // a host shared object, else null
  int references = 0;                // LoadLibraryW calls not yet freed
};

std::mutex g_mutex;
std::map<std::u16string, BuiltInExports> g_builtIn;  // by lower-case file name
std::map<std::uintptr_t, Library> g_loaded;          // by handle value
std::uintptr_t g_nextHandle = 0x10000;               // handle values step by 16, never reused

std::u16string KeyOf(std::u16string_view fileName) { return text::ToLower(fs::FileNamePart(fileName)); }

Library* Find(HMODULE module) {
  auto it = g_loaded.find(reinterpret_cast<std::uintptr_t>(module));
  return it == g_loaded.end() ? nullptr : &it->second;
}

}  // namespace

void RegisterBuiltInLibrary(std::u16string_view fileName, BuiltInExports exports) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_builtIn[KeyOf(fileName)] = exports;
}

}  // namespace shell

HMODULE LoadLibraryW(LPCWSTR fileName) {
  using namespace shell;
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::u16string key = KeyOf(fileName);
  std::lock_guard<std::mutex> lock(g_mutex);
  // The same library loaded again is the same handle with one more reference.
  for (auto& [handle, library] : g_loaded) {
    if (library.key == key) {
      ++library.references;
      return reinterpret_cast<HMODULE>(handle);
    }
  }
  Library library;
  library.key = key;
  if (auto builtIn = g_builtIn.find(key); builtIn != g_builtIn.end()) {
    library.exports = builtIn->second;
  } else {
    std::string host;
    if (!fs::ToHostPath(fileName, &host) || !(library.host = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL))) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
  }
  library.references = 1;
  const std::uintptr_t handle = g_nextHandle;
  g_nextHandle += 16;
  g_loaded.emplace(handle, std::move(library));
  return reinterpret_cast<HMODULE>(handle);
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName) {
  using namespace shell;
  std::lock_guard<std::mutex> lock(g_mutex);
  Library* library = Find(module);
  if (!library) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!procName || !*procName) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  FARPROC proc = nullptr;
  if (library->exports) {
    proc = library->exports(procName);
  } else if (library->host) {
    proc = reinterpret_cast<FARPROC>(dlsym(library->host, text::ToUtf8(procName).c_str()));
  }
  if (!proc) SetLastError(ERROR_PROC_NOT_FOUND);
  return proc;
}

BOOL FreeLibrary(HMODULE module) {
  using namespace shell;
  std::lock_guard<std::mutex> lock(g_mutex);
  Library* library = Find(module);
  if (!library) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (--library->references > 0) return TRUE;
  if (library->host) dlclose(library->host);
  g_loaded.erase(reinterpret_cast<std::uintptr_t>(module));
  return TRUE;
}
