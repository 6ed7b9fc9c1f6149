#include "pages/control_panel_catalogue.h"

#include "core/core.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/registry/registry.h"
#include "platform/shell/kernel.h"
#include "platform/shell/launch.h"
#include "platform/shell/library.h"
#include "platform/win32/text.h"
#include "platform/window/framework.h"
#include "platform/window/message_box.h"

namespace {

constexpr char16_t kLibrary[] = u"cplmain.cpl";
constexpr char16_t kHost[] = u"\\Windows\\ctlpnl.exe";
constexpr char16_t kInitFailed[] = u"Initialization of library cplmain.cpl failed.";
constexpr DWORD kDefaultGroup = 1;  // an applet the registry does not place is a System one

}  // namespace

mivoControlPanelCatalogue::mivoControlPanelCatalogue(mivoCore* core) : mivoClass(core) {}

mivoControlPanelCatalogue::~mivoControlPanelCatalogue() {
  if (m_entry) Call(CPL_EXIT, 0, 0);
  if (m_library) FreeLibrary(m_library);
}

LONG mivoControlPanelCatalogue::Call(UINT message, LPARAM first, LPARAM second) {
  ++m_libraryCalls;
  return m_entry(nullptr, message, first, second);
}

void mivoControlPanelCatalogue::Load() {
  if (m_loaded) return;
  m_loaded = true;
  if (!m_entry) {
    if (!m_library) m_library = LoadLibraryW(kLibrary);
    m_entry = m_library ? reinterpret_cast<APPLET_PROC>(GetProcAddressW(m_library, u"CPlApplet")) : nullptr;
  }
  // Without the library there is nothing to list: the pages stay empty.
  if (!m_entry) return;
  if (Call(CPL_INIT, 0, 0) == 0) {
    CWnd* frame = m_pCore->GetMainFrame();
    MessageBoxW(frame ? frame->m_hWnd : nullptr, kInitFailed, GetString(IDS_ERROR).c_str(), MB_OK);
    m_entry = nullptr;
    return;
  }
  const LONG count = Call(CPL_GETCOUNT, 0, 0);
  for (LONG i = 0; i < count; ++i) {
    NEWCPLINFO info;
    if (Call(CPL_NEWINQUIRE, i, reinterpret_cast<LPARAM>(&info)) != 0) continue;
    WCHAR key[32] = {};
    if (Call(CPL_IDNAME, i, reinterpret_cast<LPARAM>(key)) != 0) continue;
    key[31] = 0;
    DWORD group = kDefaultGroup;
    if (!reg::GetDword(HKEY_LOCAL_MACHINE, u"ControlPanel\\" + std::u16string(key), u"Group", &group))
      group = kDefaultGroup;
    if (group > 2) continue;
    m_entries.push_back(Entry{static_cast<DWORD>(i), static_cast<DWORD>(info.lData), group});
    // The record just read is the applet's inquiry: the actions ask for it often.
    info.szName[31] = 0;
    m_inquiries[static_cast<int>(i)] = Inquiry{true, info.szName, info.hIcon};
  }
}

int mivoControlPanelCatalogue::GetCount() {
  Load();
  return static_cast<int>(m_entries.size());
}

bool mivoControlPanelCatalogue::GetEntry(int position, Entry* entry) {
  Load();
  if (position < 0 || position >= static_cast<int>(m_entries.size()) || !entry) return false;
  *entry = m_entries[static_cast<std::size_t>(position)];
  return true;
}

bool mivoControlPanelCatalogue::Inquire(int appletIndex, NEWCPLINFO* info) {
  Load();
  if (!m_entry || !info || appletIndex < 0) return false;
  *info = NEWCPLINFO{};
  return Call(CPL_NEWINQUIRE, appletIndex, reinterpret_cast<LPARAM>(info)) == 0;
}

bool mivoControlPanelCatalogue::InquireApplet(int appletIndex, std::u16string* name, HICON* icon) {
  auto it = m_inquiries.find(appletIndex);
  if (it == m_inquiries.end()) {
    Inquiry inquiry;
    NEWCPLINFO info;
    if (Inquire(appletIndex, &info)) {
      info.szName[31] = 0;
      inquiry = Inquiry{true, info.szName, info.hIcon};
    }
    it = m_inquiries.emplace(appletIndex, inquiry).first;
  }
  if (!it->second.ok) return false;
  if (name) *name = it->second.name;
  if (icon) *icon = it->second.icon;
  return true;
}

void mivoControlPanelCatalogue::Launch(int appletIndex, int second) {
  std::u16string commandLine = text::Format(u"cplmain.cpl,%d,%d", appletIndex, second);
  PROCESS_INFORMATION process;
  if (CreateProcessW(kHost, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &process)) {
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
  }
}
