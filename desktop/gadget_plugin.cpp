#include "desktop/gadget_plugin.h"

#include <algorithm>
#include <cstdio>

#include "core/core.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget_properties.h"
#include "desktop/menu_entry.h"
#include "desktop/plugin_host_api.h"
#include "desktop/plugin_registry.h"
#include "look/archive.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/library.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"

namespace {

// The placeholder's side while the gadget names no library.
constexpr int kPlaceholderSide = 50;
// The longest text the state dump asks a plug-in for.
constexpr int kDumpTextChars = 256;
// Stored settings longer than this are not a plug-in's settings.
constexpr std::uint32_t kMaxSettingsBytes = 1u << 20;

// Every live plug-in gadget: the owners a library may name.
std::vector<CmivoGadgetPlugin*>& Gadgets() {
  static std::vector<CmivoGadgetPlugin*> gadgets;
  return gadgets;
}

template <typename Fn>
Fn Lookup(const mivoPluginLibrary& library, const char16_t* name) {
  return reinterpret_cast<Fn>(library.Export(name));
}

// A fixed text field of a menu item, up to its end even without a terminating zero.
template <std::size_t N>
std::u16string FieldText(const char16_t (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length]) ++length;
  return std::u16string(field, length);
}

std::u16string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text;
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

bool FromHex(const std::u16string& text, std::vector<std::uint8_t>* bytes) {
  if (text.size() % 2) return false;
  auto digit = [](char16_t c) -> int {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
  };
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int hi = digit(text[i]), lo = digit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  *bytes = std::move(out);
  return true;
}

}  // namespace

CmivoGadgetPlugin::CmivoGadgetPlugin(mivoCore* core, CmivoDesktopPage* page) : CmivoGadget(core, page, kTypeId) {
  Gadgets().push_back(this);
}

CmivoGadgetPlugin::~CmivoGadgetPlugin() {
  Stop();
  auto& gadgets = Gadgets();
  gadgets.erase(std::remove(gadgets.begin(), gadgets.end(), this), gadgets.end());
}

CmivoGadgetPlugin* CmivoGadgetPlugin::FromOwner(MIVOOWNER owner) {
  for (CmivoGadgetPlugin* gadget : Gadgets()) {
    if (static_cast<void*>(gadget) == owner) return gadget;
  }
  return nullptr;
}

void CmivoGadgetPlugin::StopGadgetsOf(const mivoPluginRegistry* registry) {
  // A copy: a library may end gadgets as it is told to stop one.
  const std::vector<CmivoGadgetPlugin*> gadgets = Gadgets();
  for (CmivoGadgetPlugin* gadget : gadgets) {
    if (!FromOwner(gadget) || !gadget->m_instance) continue;
    for (std::size_t i = 0; i < registry->Count(); ++i) {
      if (registry->At(i) == gadget->m_instance->library) {
        gadget->Stop();
        break;
      }
    }
  }
}

// ---- Life ---------------------------------------------------------------------------------

void CmivoGadgetPlugin::Start() {
  if (m_libraryPath.empty()) return;
  mivoPluginRegistry* registry = m_pCore->GetPluginRegistry();
  mivoPluginLibrary* library = registry ? registry->Find(m_libraryPath) : nullptr;
  if (!library) return;
  if (m_instance && m_instance->library->Path() == m_libraryPath) return;
  if (!library->Load()) return;
  // The index is checked against the library's count and its information
  // before the library sees it.
  const mivoGadgetInfo* info = library->GetGadgetInfo(m_index);
  if (!info) {
    std::fprintf(stderr, "mivo: plug-in %s offers no gadget %d\n", text::ToUtf8(m_libraryPath).c_str(),
                 static_cast<int>(m_index));
    return;
  }
  MIVOGADGET handle = library->CreateGadget(static_cast<MIVOOWNER>(this), m_index);
  if (!handle) return;
  auto instance = std::make_unique<Instance>();
  instance->library = library;
  instance->handle = handle;
  instance->info = info;
  // The per-gadget entry points, in the platform's order of looking them up.
  instance->onPaint = Lookup<mivoOnPaintFn>(*library, u"mivoGadgetAPI_OnPaint");
  instance->initialize = Lookup<mivoInitializeFn>(*library, u"mivoGadgetAPI_Initialize");
  instance->uninitialize = Lookup<mivoUninitializeFn>(*library, u"mivoGadgetAPI_Uninitialize");
  instance->onMessage = Lookup<mivoOnMessageFn>(*library, u"mivoGadgetAPI_OnMessage");
  instance->onTimer = Lookup<mivoOnTimerFn>(*library, u"mivoGadgetAPI_OnTimer");
  instance->onLButtonUp = Lookup<mivoOnLButtonUpFn>(*library, u"mivoGadgetAPI_OnLButtonUp");
  instance->load = Lookup<mivoLoadFn>(*library, u"mivoGadgetAPI_Load");
  instance->save = Lookup<mivoSaveFn>(*library, u"mivoGadgetAPI_Save");
  m_instance = std::move(instance);
}

void CmivoGadgetPlugin::BecomeLive() {
  if (!m_instance) return;
  if (!m_instance->initialized) {
    m_instance->initialized = true;
    if (m_instance->initialize) m_instance->initialize(m_instance->handle);
  }
  if (m_instance && m_instance->onTimer && IsActive() && m_pDesktop && !m_timerRegistered) {
    m_timerRegistered = m_pDesktop->RegisterTimer(this, kTimerPeriodMs) != 0;
  }
}

void CmivoGadgetPlugin::Stop() {
  if (m_timerRegistered && m_pDesktop) m_pDesktop->UnregisterTimer(this);
  m_timerRegistered = false;
  m_ownItems.clear();
  if (!m_instance) return;
  // Out of the member first: a library that calls back while it goes finds no live gadget.
  std::unique_ptr<Instance> instance = std::move(m_instance);
  if (instance->initialized && instance->uninitialize) instance->uninitialize(instance->handle);
  instance->library->DeleteGadget(instance->handle);
}

void CmivoGadgetPlugin::OnActivate() {
  Start();
  BecomeLive();
}

void CmivoGadgetPlugin::OnDeactivate() { Stop(); }

void CmivoGadgetPlugin::Choose(const std::u16string& path, std::int32_t index) {
  Stop();
  m_libraryPath = path;
  m_index = index;
  // The settings were the former gadget's.
  m_keptSettings.clear();
  Start();
  BecomeLive();
  Invalidate();
}

// ---- Stored fields ------------------------------------------------------------------------

bool CmivoGadgetPlugin::LoadSettings(mivoArchiveReader& in) {
  if (!m_instance || !m_instance->load) return true;
  mivoPluginArchive archive(in);
  m_instance->load(m_instance->handle, archive.Handle());
  return !archive.Failed();
}

std::vector<std::uint8_t> CmivoGadgetPlugin::SaveSettings() {
  mivoArchiveWriter out;
  if (m_instance && m_instance->save) {
    mivoPluginArchive archive(out);
    m_instance->save(m_instance->handle, archive.Handle());
  }
  return out.Take();
}

void CmivoGadgetPlugin::LoadProperties(mivoArchiveReader& in) {
  std::u16string path;
  std::int32_t index = 0;
  if (!in.ReadString(&path) || !in.ReadI32(&index)) return;
  Stop();
  m_libraryPath = std::move(path);
  m_index = index;
  m_keptSettings.clear();
  if (PropertyVersion() < kPropertyVersionWithLength) {
    // The older layout: the settings follow without a length, so only a
    // live plug-in can read them (a read past the file fails `in`).
    Start();
    LoadSettings(in);
    BecomeLive();
    return;
  }
  std::uint32_t length = 0;
  std::span<const std::uint8_t> settings;
  if (!in.ReadU32(&length) || length > kMaxSettingsBytes || !in.ReadBytes(length, &settings)) {
    in.Skip(in.Remaining() + 1);
    return;
  }
  // Kept until a live plug-in has read them.
  m_keptSettings.assign(settings.begin(), settings.end());
  Start();
  if (!m_instance) return;
  mivoArchiveReader own(settings);
  // Nothing stored (a plug-in without Save, a layout made by a tool): the
  // gadget starts from its defaults, no Load.
  if (!settings.empty() && !LoadSettings(own)) {
    // It asked for more than it had stored: it must not run on half-read
    // settings. Made anew, it starts from its defaults.
    std::fprintf(stderr, "mivo: plug-in %s read more settings than it stored; starting it afresh\n",
                 text::ToUtf8(m_libraryPath).c_str());
    Stop();
    Start();
  }
  if (m_instance) m_keptSettings.clear();
  BecomeLive();
}

void CmivoGadgetPlugin::SaveProperties(mivoArchiveWriter& out) {
  out.WriteString(m_libraryPath);
  out.WriteI32(m_index);
  const std::vector<std::uint8_t> settings = m_instance ? SaveSettings() : m_keptSettings;
  out.WriteU32(static_cast<std::uint32_t>(settings.size()));
  out.WriteBytes(settings);
}

void CmivoGadgetPlugin::ExchangeProperties(mivoGadgetProperties& properties) {
  properties.Text("library", m_libraryPath);
  properties.Int("index", m_index);
  std::u16string hex = Hex(m_instance ? SaveSettings() : m_keptSettings);
  properties.Text("settings", hex);
  std::vector<std::uint8_t> bytes;
  if (!m_instance && FromHex(hex, &bytes)) m_keptSettings = std::move(bytes);
}

// ---- Painting and taps ----------------------------------------------------------------------

void CmivoGadgetPlugin::Paint(HDC dc) {
  if (m_instance) {
    if (m_instance->onPaint) {
      // Whatever the plug-in selects or sets stays its own.
      const int saved = SaveDC(dc);
      m_instance->onPaint(m_instance->handle, dc);
      RestoreDC(dc, saved);
    }
    // In the design mode the user must see which gadget is selected and where its handles are.
    CmivoGadget::Paint(dc);
    return;
  }
  // Not live. A gadget that names no library takes the placeholder's size
  // where it stands; one whose library is missing keeps its own rectangle,
  // so nothing of it is lost when the layout is written.
  if (m_libraryPath.empty()) {
    SetRect(MakeRect(m_rect.left, m_rect.top, m_rect.left + kPlaceholderSide, m_rect.top + kPlaceholderSide), true);
  }
  FillRect(dc, &m_rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  CmivoGadget::Paint(dc);
}

void CmivoGadgetPlugin::OnTap(UINT, POINT point) {
  if (IsDesignMode() || !m_instance || !m_instance->onLButtonUp) return;
  m_instance->onLButtonUp(m_instance->handle, point.x - m_rect.left, point.y - m_rect.top);
  // The library has no way to ask for it: a tap is taken to change what it shows.
  Invalidate();
}

void CmivoGadgetPlugin::OnTimer(bool) {
  if (m_instance && m_instance->onTimer && m_instance->onTimer(m_instance->handle)) Invalidate();
}

std::u16string CmivoGadgetPlugin::GetDumpText() {
  if (!m_instance) return {};
  if (m_instance->onMessage) {
    char16_t text[kDumpTextChars] = {};
    if (m_instance->onMessage(m_instance->handle, MIVO_GM_GETTEXT, kDumpTextChars - 1,
                              reinterpret_cast<LPARAM>(text))) {
      return FieldText(text);
    }
  }
  return m_instance->library->GadgetName(m_index);
}

// ---- The design-mode menu ----------------------------------------------------------------------

void CmivoGadgetPlugin::RebuildAvailable() {
  m_available.clear();
  mivoPluginRegistry* registry = m_pCore->GetPluginRegistry();
  if (!registry) return;
  for (std::size_t position = 0; position < registry->Count(); ++position) {
    mivoPluginLibrary* library = registry->At(position);
    if (!library->Load()) continue;
    const int count = library->GadgetsCount();
    for (int j = 0; j < count; ++j) {
      // A gadget without information (or without a name) cannot be offered.
      if (!library->GetGadgetInfo(j)) continue;
      m_available.push_back(Available{library->Path(), position, j, library->GadgetName(j)});
    }
  }
}

void CmivoGadgetPlugin::CollectOwnItems() {
  m_ownItems.clear();
  if (!m_instance || !m_instance->onMessage) return;
  for (int k = 0; k < MIVO_MENU_MAX_ITEMS; ++k) {
    mivoMenuItem item{};
    if (!m_instance->onMessage(m_instance->handle, MIVO_GM_GETMENUITEM, static_cast<WPARAM>(k),
                               reinterpret_cast<LPARAM>(&item))) {
      break;
    }
    // The texts end within their fields, whatever the library wrote.
    item.text[std::size(item.text) - 1] = 0;
    item.prompt[std::size(item.prompt) - 1] = 0;
    item.value[std::size(item.value) - 1] = 0;
    m_ownItems.push_back(item);
  }
}

void CmivoGadgetPlugin::AddContextMenuItems() {
  if (!IsDesignMode() || !m_pDesktop) return;
  CollectOwnItems();
  if (!m_ownItems.empty()) {
    m_pDesktop->AddMenuSection(m_instance->library->GadgetName(m_index));
    for (std::size_t k = 0; k < m_ownItems.size(); ++k) {
      m_pDesktop->AddMenuEntry(MenuEntry(kPluginOwnItemFirst + static_cast<DWORD>(k), 0, true));
    }
  }
  RebuildAvailable();
  m_pDesktop->AddMenuSection(GetString(m_available.empty() ? IDS_NO_PLUGINS_INSTALLED : IDS_INSTALLED_PLUGINS));
  for (std::size_t i = 0; i < m_available.size(); ++i) {
    m_pDesktop->AddMenuEntry(MenuEntry(kPluginAvailableFirst + static_cast<DWORD>(i), 0, true));
  }
}

std::u16string CmivoGadgetPlugin::GetContextMenuItemText(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id >= kPluginAvailableFirst && id - kPluginAvailableFirst < m_available.size()) {
    return u"      " + m_available[id - kPluginAvailableFirst].name;
  }
  if (id >= kPluginOwnItemFirst && id - kPluginOwnItemFirst < m_ownItems.size()) {
    return FieldText(m_ownItems[id - kPluginOwnItemFirst].text);
  }
  return CmivoGadget::GetContextMenuItemText(entry);
}

bool CmivoGadgetPlugin::AskText(const mivoMenuItem& item, std::u16string* text) {
  *text = FieldText(item.value);
  return m_pCore->EnterText(FieldText(item.text), FieldText(item.prompt), text, false);
}

void CmivoGadgetPlugin::OnContextMenuCommand(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id >= kPluginAvailableFirst && id - kPluginAvailableFirst < m_available.size()) {
    const Available chosen = m_available[id - kPluginAvailableFirst];
    Choose(chosen.path, chosen.index);
    return;
  }
  if (id < kPluginOwnItemFirst || id - kPluginOwnItemFirst >= m_ownItems.size() || !m_instance) return;
  const mivoMenuItem item = m_ownItems[id - kPluginOwnItemFirst];
  const MIVOGADGET handle = m_instance->handle;
  std::u16string text;
  const bool asks = (item.flags & MIVO_MENU_ASKTEXT) != 0;
  if (asks && !AskText(item, &text)) return;
  // The entry is the live gadget's only while the same gadget is live (the
  // text entry waited for the user).
  if (!m_instance || m_instance->handle != handle || !m_instance->onMessage) return;
  const LPARAM answer = asks ? reinterpret_cast<LPARAM>(text.c_str()) : 0;
  if (m_instance->onMessage(handle, MIVO_GM_MENUCOMMAND, item.id, answer)) Invalidate();
}
