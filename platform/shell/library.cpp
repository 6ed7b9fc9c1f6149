#include "platform/shell/library.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "platform/fs/device_path.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"
#include "platform/window/window.h"

namespace shell {

namespace {

struct Library {
  std::u16string key;               // the lower-case file name it was loaded by
  BuiltInExports exports = nullptr;  // a library of the device, else null
  void* host = nullptr;              // a host shared object, else null
  int references = 0;                // LoadLibraryW calls not yet freed
};

std::mutex g_libraryMutex;
std::map<std::u16string, BuiltInExports> g_builtIn;  // by lower-case file name
std::map<std::uintptr_t, Library> g_loaded;          // by handle value
std::uintptr_t g_nextLibraryHandle = 0x10000;               // handle values step by 16, never reused

thread_local std::string t_lastError;  // the loader's words for the last failure

// The platform's names of the ordinals it knows.
constexpr struct {
  std::uintptr_t ordinal;
  const char16_t* name;
} kOrdinals[] = {
    {240, u"InitializeCustomItem"},
};

std::u16string KeyOf(std::u16string_view fileName) { return text::ToLower(fs::FileNamePart(fileName)); }

Library* Find(HMODULE module) {
  auto it = g_loaded.find(reinterpret_cast<std::uintptr_t>(module));
  return it == g_loaded.end() ? nullptr : &it->second;
}

// Whether an address is code or data of the shared object `host` (a dlopen handle).
bool IsCodeOf(void* host, const void* address) {
  if (!address) return false;
  link_map* library = nullptr;
  if (dlinfo(host, RTLD_DI_LINKMAP, &library) != 0 || !library) return false;
  Dl_info info{};
  link_map* containing = nullptr;
  if (!dladdr1(address, &info, reinterpret_cast<void**>(&containing), RTLD_DL_LINKMAP)) return false;
  return containing == library;
}

}  // namespace

std::string LastLibraryError() { return t_lastError; }

void RegisterBuiltInLibrary(std::u16string_view fileName, BuiltInExports exports) {
  std::lock_guard<std::mutex> lock(g_libraryMutex);
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
  std::lock_guard<std::mutex> lock(g_libraryMutex);
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
    if (!fs::ToHostPath(fileName, &host)) {
      t_lastError = "not a path of the device: " + text::ToUtf8(fileName);
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    if (!(library.host = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL))) {
      const char* why = dlerror();
      t_lastError = why ? why : "cannot be loaded";
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
  }
  t_lastError.clear();
  library.references = 1;
  const std::uintptr_t handle = g_nextLibraryHandle;
  g_nextLibraryHandle += 16;
  g_loaded.emplace(handle, std::move(library));
  return reinterpret_cast<HMODULE>(handle);
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName) {
  using namespace shell;
  std::lock_guard<std::mutex> lock(g_libraryMutex);
  Library* library = Find(module);
  if (!library) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // An ordinal is a small number in the name's place: never read as text.
  if (reinterpret_cast<std::uintptr_t>(procName) < 0x10000) {
    const std::uintptr_t ordinal = reinterpret_cast<std::uintptr_t>(procName);
    procName = nullptr;
    for (const auto& known : kOrdinals) {
      if (known.ordinal == ordinal) procName = known.name;
    }
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
  void* host = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    Library* library = Find(module);
    if (!library) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    if (--library->references > 0) return TRUE;
    host = library->host;
    g_loaded.erase(reinterpret_cast<std::uintptr_t>(module));
  }
  if (!host) return TRUE;
  // What the windows still hold of the library goes while its code is there
  // to hear WM_DESTROY; outside the lock, as its procedures may load and free
  // libraries themselves.
  window::ForgetModuleCode(reinterpret_cast<HINSTANCE>(module),
                           [host](const void* address) { return IsCodeOf(host, address); });
  dlclose(host);
  return TRUE;
}
