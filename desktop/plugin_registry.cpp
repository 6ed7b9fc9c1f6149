#include "desktop/plugin_registry.h"

#include <algorithm>
#include <cstdio>

#include "core/core.h"
#include "desktop/gadget_plugin.h"
#include "desktop/plugin_host_api.h"
#include "platform/fs/find.h"
#include "platform/shell/library.h"
#include "platform/win32/text.h"
#include "sdk/host/exports.h"

namespace {

// A library's name as the host reads it: at most this many characters.
constexpr std::size_t kMaxNameLength = 256;

template <typename Fn>
Fn Resolve(HMODULE module, const char16_t* name) {
  return reinterpret_cast<Fn>(GetProcAddressW(module, name));
}

// Said once per library on standard error, so that an author sees why a
// plug-in does not show (a missing export, a symbol mivo does not offer).
void Report(const std::u16string& path, const std::string& why) {
  std::fprintf(stderr, "mivo: plug-in %s: %s\n", text::ToUtf8(path).c_str(), why.c_str());
}

}  // namespace

// ---- mivoPluginLibrary -------------------------------------------------------------------------

mivoPluginLibrary::mivoPluginLibrary(MIVOHANDLE host, std::u16string path)
    : m_host(host), m_path(std::move(path)), m_api(plugin_host::Api()) {}

mivoPluginLibrary::~mivoPluginLibrary() { Unload(); }

void mivoPluginLibrary::Unload() {
  m_createGadget = nullptr;
  m_gadgetsCount = nullptr;
  m_getGadgetInfo = nullptr;
  m_deleteGadget = nullptr;
  if (m_module) FreeLibrary(m_module);
  m_module = nullptr;
}

bool mivoPluginLibrary::Load() {
  if (m_state != State::kNotTried) return m_state == State::kLoaded;
  m_state = State::kFailed;
  m_module = LoadLibraryW(m_path.c_str());
  if (!m_module) {
    Report(m_path, "cannot be loaded: " + shell::LastLibraryError());
    return false;
  }
  if (auto setHandle = Resolve<mivoSetMivoHandleFn>(m_module, u"mivoGadgetAPIDll_SetMivoHandle")) {
    setHandle(m_host);
  }
  // The sequence stops at the first export that is missing.
  const char16_t* missing = nullptr;
  if (!(m_createGadget = Resolve<mivoCreateGadgetFn>(m_module, u"mivoGadgetAPIDll_CreateGadget"))) {
    missing = u"mivoGadgetAPIDll_CreateGadget";
  } else if (!(m_gadgetsCount = Resolve<mivoGadgetsCountFn>(m_module, u"mivoGadgetAPIDll_GadgetsCount"))) {
    missing = u"mivoGadgetAPIDll_GadgetsCount";
  } else if (!(m_getGadgetInfo = Resolve<mivoGetGadgetInfoFn>(m_module, u"mivoGadgetAPIDll_GetGadgetInfo"))) {
    missing = u"mivoGadgetAPIDll_GetGadgetInfo";
  } else if (auto setApi = Resolve<mivoSetMivoAPI1Fn>(m_module, u"mivoGadgetAPIDll_SetMivoAPI_1")) {
    setApi(&m_api);
    if (!(m_deleteGadget = Resolve<mivoDeleteGadgetFn>(m_module, u"mivoGadgetAPIDll_DeleteGadget"))) {
      missing = u"mivoGadgetAPIDll_DeleteGadget";
    }
  } else {
    missing = u"mivoGadgetAPIDll_SetMivoAPI_1";
  }
  if (missing) {
    Report(m_path, "offers no gadgets: it does not export " + text::ToUtf8(missing));
    Unload();
    return false;
  }
  m_state = State::kLoaded;
  return true;
}

int mivoPluginLibrary::GadgetsCount() {
  if (!IsLoaded()) return 0;
  return std::clamp(m_gadgetsCount(), 0, kMaxGadgetsPerLibrary);
}

const mivoGadgetInfo* mivoPluginLibrary::GetGadgetInfo(int index) {
  if (index < 0 || index >= GadgetsCount()) return nullptr;
  const mivoGadgetInfo* info = m_getGadgetInfo(index);
  return info && info->name ? info : nullptr;
}

std::u16string mivoPluginLibrary::GadgetName(int index) {
  const mivoGadgetInfo* info = GetGadgetInfo(index);
  if (!info) return {};
  std::size_t length = 0;
  while (length < kMaxNameLength && info->name[length]) ++length;
  return std::u16string(info->name, length);
}

MIVOGADGET mivoPluginLibrary::CreateGadget(MIVOOWNER owner, int index) {
  if (!GetGadgetInfo(index)) return nullptr;
  return m_createGadget(owner, index);
}

void mivoPluginLibrary::DeleteGadget(MIVOGADGET gadget) {
  if (IsLoaded()) m_deleteGadget(gadget);
}

FARPROC mivoPluginLibrary::Export(const char16_t* name) const {
  return m_module ? GetProcAddressW(m_module, name) : nullptr;
}

// ---- mivoPluginRegistry ------------------------------------------------------------------------

mivoPluginRegistry::mivoPluginRegistry(mivoCore* core) : mivoPluginRegistry(core, FolderOf(core->GetProgramFolder())) {}

mivoPluginRegistry::mivoPluginRegistry(mivoCore* core, const std::u16string& folder) : m_pCore(core) {
  // The platform's functions the libraries call are part of every program
  // that can load them.
  static_cast<void>(sdk_host::ExportedFunctionCount());
  plugin_host::AddHost(core);
  Scan(folder);
}

mivoPluginRegistry::~mivoPluginRegistry() {
  // No gadget may keep a library that goes; the libraries go while the host
  // they may still ask about lives.
  CmivoGadgetPlugin::StopGadgetsOf(this);
  m_libraries.clear();
  plugin_host::RemoveHost(m_pCore);
}

std::u16string mivoPluginRegistry::FolderOf(const std::u16string& programFolder) {
  return programFolder + u"GadgetPlugins\\";
}

bool mivoPluginRegistry::IsLibraryName(const std::u16string& name) {
  const std::u16string lower = text::ToLower(name);
  auto endsWith = [&](std::u16string_view ending) {
    return lower.size() > ending.size() && lower.compare(lower.size() - ending.size(), ending.size(), ending) == 0;
  };
  return endsWith(u".so") || endsWith(u".dll");
}

void mivoPluginRegistry::Scan(const std::u16string& folder) {
  WIN32_FIND_DATAW found{};
  const std::u16string pattern = folder + u"*";
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::u16string name = found.cFileName;
    if (!IsLibraryName(name)) continue;
    m_libraries.push_back(std::make_unique<mivoPluginLibrary>(static_cast<MIVOHANDLE>(m_pCore), folder + name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

mivoPluginLibrary* mivoPluginRegistry::At(std::size_t index) const {
  return index < m_libraries.size() ? m_libraries[index].get() : nullptr;
}

mivoPluginLibrary* mivoPluginRegistry::Find(const std::u16string& path) const {
  for (const auto& library : m_libraries) {
    if (library->Path() == path) return library.get();
  }
  return nullptr;
}
