/*
 * What the test libraries tell the tests: counters and values under the
 * device registry's HKEY_CURRENT_USER "Software\PluginTest\<library>", so a
 * test can read them even after the library was unloaded.
 */
#ifndef MIVO_TESTS_PLUGIN_PROBE_H
#define MIVO_TESTS_PLUGIN_PROBE_H

#include "mivo/platform.h"

#define PROBE_ROOT u"Software\\PluginTest\\"

static inline void ProbeKey(WCHAR* key, const WCHAR* library) {
  const WCHAR* root = PROBE_ROOT;
  int n = 0;
  while (*root) key[n++] = *root++;
  while (*library && n < 120) key[n++] = *library++;
  key[n] = 0;
}

static inline void ProbeSet(const WCHAR* library, const WCHAR* name, DWORD value) {
  WCHAR key[128];
  ProbeKey(key, library);
  RegistrySetDWORD(HKEY_CURRENT_USER, key, name, value);
}

static inline DWORD ProbeGet(const WCHAR* library, const WCHAR* name) {
  WCHAR key[128];
  DWORD value = 0;
  ProbeKey(key, library);
  if (FAILED(RegistryGetDWORD(HKEY_CURRENT_USER, key, name, &value))) return 0;
  return value;
}

static inline void ProbeCount(const WCHAR* library, const WCHAR* name) {
  ProbeSet(library, name, ProbeGet(library, name) + 1);
}

#endif
