// The host's side of mivoAPI_1: the functions every gadget plug-in library
// is handed, and the archive they read and write a gadget's settings through.
//
// Nothing a library passes back is trusted: an owner that is no live plug-in
// gadget, a host handle that is no core of a living registry, an archive that
// is not the one of the Load or Save under way, or a null pointer makes the
// call do nothing (and a read return 0 or an empty text). Reads never go past
// the settings the archive holds: at the end they return 0 and an empty text
// and mark the archive failed, which the gadget checks after Load.
#pragma once

#include <cstdint>

#include "desktop/plugin_interface.h"

class mivoArchiveReader;
class mivoArchiveWriter;
class mivoCore;

namespace plugin_host {

// The table handed to every library; valid for the whole run.
const mivoAPI_1& Api();

// A core becomes (and stops being) one that host handles may name; each
// registry adds its core while it lives.
void AddHost(mivoCore* core);
void RemoveHost(mivoCore* core);
// The core a host handle names, or null.
mivoCore* HostCore(MIVOHANDLE host);

}  // namespace plugin_host

// The archive of one Load or Save call: handed to the library as its
// MIVOARCHIVE for as long as this object lives (on the host's stack).
class mivoPluginArchive {
 public:
  // Reading settings from `in`, which may hold more than them (the old
  // layout's records have no length): the reads stop only at its end.
  explicit mivoPluginArchive(mivoArchiveReader& in);
  // Writing settings to `out`.
  explicit mivoPluginArchive(mivoArchiveWriter& out);
  ~mivoPluginArchive();
  mivoPluginArchive(const mivoPluginArchive&) = delete;
  mivoPluginArchive& operator=(const mivoPluginArchive&) = delete;

  MIVOARCHIVE Handle() { return this; }
  // A read ran past the settings, or a read was tried on a writing archive
  // (or a write on a reading one).
  bool Failed() const { return m_failed; }

  // The archive a handle names while it lives, else null.
  static mivoPluginArchive* FromHandle(MIVOARCHIVE handle);

  // mivoAPI_1's archive functions on this archive.
  void WriteInt(std::int32_t value);
  void WriteBool(bool value);
  void WriteString(const char16_t* text);
  std::int32_t ReadInt();
  bool ReadBool();
  // Copies min(capacity, length) characters and no terminating zero.
  void ReadString(char16_t* buffer, int capacity);

 private:
  mivoArchiveReader* m_pIn = nullptr;   // set when reading
  mivoArchiveWriter* m_pOut = nullptr;  // set when writing
  bool m_failed = false;                // see Failed
};
