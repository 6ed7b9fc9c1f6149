#include "desktop/plugin_host_api.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/core.h"
#include "desktop/gadget_plugin.h"
#include "look/appearance.h"
#include "look/archive.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"

namespace {

// The longest text a plug-in may hand the host: a text without its
// terminating zero is cut here instead of being read on and on.
constexpr std::size_t kMaxTextLength = 0x8000;

std::vector<mivoCore*>& Hosts() {
  static std::vector<mivoCore*> hosts;
  return hosts;
}

std::vector<mivoPluginArchive*>& Archives() {
  static std::vector<mivoPluginArchive*> archives;
  return archives;
}

mivoAppearance* LookOf(MIVOHANDLE host) {
  mivoCore* core = plugin_host::HostCore(host);
  return core ? core->GetAppearance() : nullptr;
}

// ---- The table's functions, in its order ----

void SetGadgetRect(MIVOOWNER owner, const mivoGadgetRect* rect) {
  CmivoGadgetPlugin* gadget = CmivoGadgetPlugin::FromOwner(owner);
  if (!gadget || !rect) return;
  gadget->SetRect(MakeRect(rect->left, rect->top, rect->right, rect->bottom), rect->repaint != 0);
}

void GetGadgetRect(RECT* rect, MIVOOWNER owner) {
  if (!rect) return;
  CmivoGadgetPlugin* gadget = CmivoGadgetPlugin::FromOwner(owner);
  *rect = gadget ? gadget->GetRect() : RECT{};
}

COLORREF GetThemeTextColor(MIVOHANDLE host) {
  mivoAppearance* look = LookOf(host);
  return look ? look->TextColor : RGB(255, 255, 255);
}

COLORREF GetThemeBackgroundColor(MIVOHANDLE host) {
  mivoAppearance* look = LookOf(host);
  return look ? look->BackgroundColor : RGB(0, 0, 0);
}

HFONT GetLargeFont(MIVOHANDLE host) {
  mivoAppearance* look = LookOf(host);
  return look && look->TitleFont ? look->TitleFont : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

HFONT GetSmallFont(MIVOHANDLE host) {
  mivoAppearance* look = LookOf(host);
  return look && look->SubtitleFont ? look->SubtitleFont : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void WriteInt(MIVOARCHIVE archive, std::int32_t value) {
  if (mivoPluginArchive* a = mivoPluginArchive::FromHandle(archive)) a->WriteInt(value);
}

void WriteDword(MIVOARCHIVE archive, DWORD value) { WriteInt(archive, static_cast<std::int32_t>(value)); }

void WriteBool(MIVOARCHIVE archive, BOOL value) {
  if (mivoPluginArchive* a = mivoPluginArchive::FromHandle(archive)) a->WriteBool(value != 0);
}

void WriteString(MIVOARCHIVE archive, const char16_t* text) {
  if (mivoPluginArchive* a = mivoPluginArchive::FromHandle(archive)) a->WriteString(text);
}

std::int32_t ReadInt(MIVOARCHIVE archive) {
  mivoPluginArchive* a = mivoPluginArchive::FromHandle(archive);
  return a ? a->ReadInt() : 0;
}

DWORD ReadDword(MIVOARCHIVE archive) { return static_cast<DWORD>(ReadInt(archive)); }

BOOL ReadBool(MIVOARCHIVE archive) {
  mivoPluginArchive* a = mivoPluginArchive::FromHandle(archive);
  return a && a->ReadBool() ? TRUE : FALSE;
}

void ReadString(MIVOARCHIVE archive, char16_t* buffer, int capacity) {
  if (mivoPluginArchive* a = mivoPluginArchive::FromHandle(archive)) a->ReadString(buffer, capacity);
}

constexpr mivoAPI_1 kApi = {
    &SetGadgetRect, &GetGadgetRect, &GetThemeTextColor, &GetThemeBackgroundColor,
    &GetLargeFont,  &GetSmallFont,  &WriteInt,          &WriteDword,
    &WriteBool,     &WriteString,   &ReadInt,           &ReadDword,
    &ReadBool,      &ReadString,
};

}  // namespace

// ---- Hosts ----------------------------------------------------------------------------------

namespace plugin_host {

const mivoAPI_1& Api() { return kApi; }

void AddHost(mivoCore* core) {
  if (core) Hosts().push_back(core);
}

void RemoveHost(mivoCore* core) {
  auto& hosts = Hosts();
  auto it = std::find(hosts.begin(), hosts.end(), core);
  if (it != hosts.end()) hosts.erase(it);
}

mivoCore* HostCore(MIVOHANDLE host) {
  for (mivoCore* core : Hosts()) {
    if (static_cast<void*>(core) == host) return core;
  }
  return nullptr;
}

}  // namespace plugin_host

// ---- The archive ------------------------------------------------------------------------------

mivoPluginArchive::mivoPluginArchive(mivoArchiveReader& in) : m_pIn(&in) { Archives().push_back(this); }

mivoPluginArchive::mivoPluginArchive(mivoArchiveWriter& out) : m_pOut(&out) { Archives().push_back(this); }

mivoPluginArchive::~mivoPluginArchive() {
  auto& archives = Archives();
  archives.erase(std::remove(archives.begin(), archives.end(), this), archives.end());
}

mivoPluginArchive* mivoPluginArchive::FromHandle(MIVOARCHIVE handle) {
  for (mivoPluginArchive* archive : Archives()) {
    if (static_cast<void*>(archive) == handle) return archive;
  }
  return nullptr;
}

void mivoPluginArchive::WriteInt(std::int32_t value) {
  if (!m_pOut) {
    m_failed = true;
    return;
  }
  m_pOut->WriteI32(value);
}

void mivoPluginArchive::WriteBool(bool value) {
  if (!m_pOut) {
    m_failed = true;
    return;
  }
  m_pOut->WriteU8(value ? 1 : 0);
}

void mivoPluginArchive::WriteString(const char16_t* text) {
  if (!m_pOut) {
    m_failed = true;
    return;
  }
  std::size_t length = 0;
  while (text && length < kMaxTextLength && text[length]) ++length;
  m_pOut->WriteString(std::u16string_view(text ? text : u"", length));
}

std::int32_t mivoPluginArchive::ReadInt() {
  std::int32_t value = 0;
  if (!m_pIn || !m_pIn->ReadI32(&value)) {
    m_failed = true;
    return 0;
  }
  return value;
}

bool mivoPluginArchive::ReadBool() {
  std::uint8_t value = 0;
  if (!m_pIn || !m_pIn->ReadU8(&value)) {
    m_failed = true;
    return false;
  }
  return value != 0;
}

void mivoPluginArchive::ReadString(char16_t* buffer, int capacity) {
  std::u16string text;
  if (!m_pIn || !m_pIn->ReadString(&text)) {
    m_failed = true;
    text.clear();
  }
  if (!buffer || capacity <= 0) return;
  const std::size_t count = std::min(text.size(), static_cast<std::size_t>(capacity));
  std::copy_n(text.begin(), count, buffer);
}
