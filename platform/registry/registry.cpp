#include "platform/registry/registry.h"

#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace {

using devdb::Statement;

// A key named by its root ("hklm" / "hkcu") and its path below the root.
struct KeyRef {
  std::string root;       // "hklm" or "hkcu"
  std::string pathLc;     // lower-case path, "" for the root itself
  std::u16string path;    // the path as the caller spelled it
};

constexpr std::uintptr_t kRootHklm = 0x80000002u;
constexpr std::uintptr_t kRootHkcu = 0x80000001u;

std::mutex g_handleMutex;
std::unordered_map<std::uintptr_t, KeyRef> g_handles;  // open keys by handle value
std::uintptr_t g_nextHandle = 0x52000000;

// The value cache: values by "root\path\nname" (all lower case); a missing
// value is cached as nullopt. Valid while the database and its data version
// are those recorded; guarded by the database's mutex.
struct ValueCache {
  std::uint64_t generation = 0;
  std::int64_t dataVersion = -1;
  std::unordered_map<std::string, std::optional<reg::Value>> values;
};
ValueCache g_cache;

std::string Lower8(std::u16string_view s) { return text::ToUtf8(text::ToLower(s)); }

std::vector<std::u16string> SplitKey(std::u16string_view s) {
  std::vector<std::u16string> parts;
  std::u16string cur;
  for (char16_t c : s) {
    if (c == u'\\') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

bool Resolve(HKEY key, KeyRef* out) {
  auto v = reinterpret_cast<std::uintptr_t>(key);
  if (v == kRootHklm || v == kRootHkcu) {
    *out = KeyRef{v == kRootHklm ? "hklm" : "hkcu", "", u""};
    return true;
  }
  std::lock_guard<std::mutex> lock(g_handleMutex);
  auto it = g_handles.find(v);
  if (it == g_handles.end()) return false;
  *out = it->second;
  return true;
}

KeyRef Child(const KeyRef& base, const std::vector<std::u16string>& parts) {
  KeyRef out = base;
  for (const auto& p : parts) {
    if (!out.path.empty()) out.path += u'\\';
    out.path += p;
  }
  out.pathLc = Lower8(out.path);
  return out;
}

// The key a call names: a handle's key with a sub-key appended. False for a
// handle that names no key.
bool Target(HKEY key, std::u16string_view subKey, KeyRef* out) {
  KeyRef base;
  if (!Resolve(key, &base)) return false;
  *out = Child(base, SplitKey(subKey));
  return true;
}

HKEY NewHandle(const KeyRef& ref) {
  std::lock_guard<std::mutex> lock(g_handleMutex);
  std::uintptr_t v = g_nextHandle;
  g_nextHandle += 4;
  g_handles.emplace(v, ref);
  return reinterpret_cast<HKEY>(v);
}

LONG WriteError(sqlite3* db) {
  int rc = sqlite3_errcode(db);
  if (rc == SQLITE_FULL) return ERROR_DISK_FULL;
  if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB) return ERROR_BADDB;
  return ERROR_CANTWRITE;
}

// Database helpers; the caller holds the database's mutex.
std::int64_t FindKey(sqlite3* db, const KeyRef& ref) {
  if (ref.pathLc.empty()) return ref.root == "hklm" ? 1 : 2;
  Statement st(db, "SELECT id FROM reg_keys WHERE root = ?1 AND path_lc = ?2");
  st.Bind(1, ref.root).Bind(2, ref.pathLc);
  return st.Step() == SQLITE_ROW ? st.Int(0) : 0;
}

// Creates the missing keys of ref's path; the key's id, 0 on failure.
std::int64_t EnsureKey(sqlite3* db, const KeyRef& ref, bool* created) {
  std::int64_t id = FindKey(db, ref);
  if (id) return id;
  KeyRef cur{ref.root, "", u""};
  std::int64_t parent = FindKey(db, cur);
  for (const auto& part : SplitKey(ref.path)) {
    cur = Child(cur, {part});
    std::int64_t existing = FindKey(db, cur);
    if (!existing) {
      Statement ins(db, "INSERT INTO reg_keys(parent, root, name, path_lc) VALUES (?1, ?2, ?3, ?4)");
      ins.Bind(1, parent).Bind(2, cur.root).Bind(3, part).Bind(4, cur.pathLc);
      if (!ins.Run()) return 0;
      existing = sqlite3_last_insert_rowid(db);
      if (created) *created = true;
    }
    parent = existing;
  }
  return parent;
}

// What every call on a key begins with: the handle resolved (a sub-key
// appended), the device database open, and its lock held until the call
// returns.
struct KeyCall {
  KeyRef ref;                                   // the key the call is about
  devdb::Database* db = nullptr;                // the device database, once open
  std::unique_lock<std::recursive_mutex> lock;  // held from Open until the call returns

  // False for a handle that names no key.
  bool Resolve(HKEY key, LPCWSTR subKey) { return Target(key, subKey ? subKey : u"", &ref); }
  // ERROR_SUCCESS, or ERROR_CANTOPEN when there is no device database.
  LONG Open() {
    db = devdb::DeviceDatabase();
    if (!db) return ERROR_CANTOPEN;
    lock = std::unique_lock<std::recursive_mutex>(db->mutex());
    return ERROR_SUCCESS;
  }
  // Resolve, Open, and the key's row found: ERROR_SUCCESS with *id, or the
  // call's error (`missing` when the key is not there).
  LONG Find(HKEY key, LPCWSTR subKey, LONG missing, std::int64_t* id) {
    if (!Resolve(key, subKey)) return ERROR_INVALID_HANDLE;
    if (LONG error = Open()) return error;
    *id = FindKey(handle(), ref);
    return *id ? ERROR_SUCCESS : missing;
  }
  sqlite3* handle() const { return db->handle(); }
  // Runs `body` in one transaction: it returns ERROR_SUCCESS or the call's
  // error and rolls back on an error; a commit that fails is a write error.
  LONG Write(const std::function<LONG()>& body) {
    LONG error = ERROR_SUCCESS;
    const bool ok = db->Transaction([&] {
      error = body();
      return error == ERROR_SUCCESS;
    });
    if (ok) return ERROR_SUCCESS;
    return error != ERROR_SUCCESS ? error : WriteError(handle());
  }
};

std::string CacheKey(const KeyRef& ref, const std::string& nameLc) {
  std::string k;
  k.reserve(ref.root.size() + ref.pathLc.size() + nameLc.size() + 2);
  k += ref.root;
  k += '\\';
  k += ref.pathLc;
  k += '\n';
  k += nameLc;
  return k;
}

void DropCache() { g_cache.values.clear(); }

// Reads one value, through the cache. ERROR_SUCCESS, ERROR_FILE_NOT_FOUND or
// ERROR_CANTOPEN (no device database).
LONG ReadValue(const KeyRef& ref, std::u16string_view name, reg::Value* out) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return ERROR_CANTOPEN;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  // With the change watcher running its counter tells of changes by others
  // at no cost; without it the database is asked (a few microseconds).
  std::uint64_t generation = devdb::DeviceDatabaseGeneration();
  std::int64_t version = devdb::ChangeWatcherActive() ? -static_cast<std::int64_t>(devdb::ChangeGeneration())
                                                      : db->DataVersion();
  if (generation != g_cache.generation || version != g_cache.dataVersion) {
    DropCache();
    g_cache.generation = generation;
    g_cache.dataVersion = version;
  }
  std::string nameLc = Lower8(name);
  std::string key = CacheKey(ref, nameLc);
  auto it = g_cache.values.find(key);
  if (it == g_cache.values.end()) {
    std::optional<reg::Value> found;
    if (std::int64_t id = FindKey(db->handle(), ref)) {
      Statement st(db->handle(), "SELECT type, data FROM reg_values WHERE key = ?1 AND name_lc = ?2");
      st.Bind(1, id).Bind(2, nameLc);
      if (st.Step() == SQLITE_ROW) found = reg::Value{static_cast<DWORD>(st.Int(0)), st.Blob(1)};
    }
    if (g_cache.values.size() > 4096) DropCache();
    it = g_cache.values.emplace(std::move(key), std::move(found)).first;
  }
  if (!it->second) return ERROR_FILE_NOT_FOUND;
  if (out) *out = *it->second;
  return ERROR_SUCCESS;
}

LONG WriteValue(const KeyRef& ref, std::u16string_view name, const reg::Value& value, bool createKey) {
  KeyCall call;
  call.ref = ref;
  if (LONG error = call.Open()) return error;
  const LONG error = call.Write([&]() -> LONG {
    std::int64_t id = createKey ? EnsureKey(call.handle(), ref, nullptr) : FindKey(call.handle(), ref);
    if (!id) return createKey ? WriteError(call.handle()) : ERROR_KEY_DELETED;
    Statement st(call.handle(),
                 "INSERT INTO reg_values(key, name, name_lc, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
                 "ON CONFLICT(key, name_lc) DO UPDATE SET type = excluded.type, data = excluded.data");
    st.Bind(1, id).Bind(2, std::u16string(name)).Bind(3, Lower8(name)).Bind(4, value.type);
    st.BindBlob(5, value.data.data(), value.data.size());
    if (!st.Run()) return WriteError(call.handle());
    return ERROR_SUCCESS;
  });
  DropCache();
  return error;
}

LONG Finish(LONG result) {
  if (result != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(result));
  return result;
}

void CopyName(const std::u16string& name, LPWSTR out, LPDWORD length, LONG* result) {
  if (!length) {
    *result = ERROR_INVALID_PARAMETER;
    return;
  }
  if (!out || *length < name.size() + 1) {
    *length = static_cast<DWORD>(name.size());
    *result = ERROR_MORE_DATA;
    return;
  }
  std::memcpy(out, name.c_str(), (name.size() + 1) * sizeof(char16_t));
  *length = static_cast<DWORD>(name.size());
}

LONG CopyData(const reg::Value& v, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (type) *type = v.type;
  if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  DWORD needed = static_cast<DWORD>(v.data.size());
  if (!data) {
    *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, v.data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

}  // namespace

// ---- Keys ---------------------------------------------------------------------------

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (!result) return Finish(ERROR_INVALID_PARAMETER);
  *result = nullptr;
  KeyCall call;
  std::int64_t id = 0;
  if (LONG error = call.Find(key, subKey, ERROR_FILE_NOT_FOUND, &id)) return Finish(error);
  *result = NewHandle(call.ref);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, SECURITY_ATTRIBUTES*, PHKEY result,
                     LPDWORD disposition) {
  if (!result) return Finish(ERROR_INVALID_PARAMETER);
  *result = nullptr;
  KeyCall base;
  if (!base.Resolve(key, nullptr)) return Finish(ERROR_INVALID_HANDLE);
  const KeyRef ref = Child(base.ref, SplitKey(subKey ? subKey : u""));
  if (LONG error = base.Open()) return Finish(error);
  bool created = false;
  const LONG error = base.Write([&]() -> LONG {
    if (!FindKey(base.handle(), base.ref)) return ERROR_KEY_DELETED;
    if (!EnsureKey(base.handle(), ref, &created)) return WriteError(base.handle());
    return ERROR_SUCCESS;
  });
  if (error != ERROR_SUCCESS) return Finish(error);
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = NewHandle(ref);
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  auto v = reinterpret_cast<std::uintptr_t>(key);
  if (v == kRootHklm || v == kRootHkcu) return ERROR_SUCCESS;
  std::lock_guard<std::mutex> lock(g_handleMutex);
  if (g_handles.erase(v) == 0) return Finish(ERROR_INVALID_HANDLE);
  return ERROR_SUCCESS;
}

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
  KeyCall call;
  if (!call.Resolve(key, subKey)) return Finish(ERROR_INVALID_HANDLE);
  if (call.ref.pathLc.empty()) return Finish(ERROR_ACCESS_DENIED);  // never a root
  if (LONG error = call.Open()) return Finish(error);
  const LONG error = call.Write([&]() -> LONG {
    std::int64_t id = FindKey(call.handle(), call.ref);
    if (!id) return ERROR_FILE_NOT_FOUND;
    const std::string tree =
        "WITH RECURSIVE sub(id) AS "
        "(SELECT ?1 UNION ALL SELECT k.id FROM reg_keys k JOIN sub ON k.parent = sub.id) ";
    Statement values(call.handle(), (tree + "DELETE FROM reg_values WHERE key IN sub").c_str());
    values.Bind(1, id);
    Statement keys(call.handle(), (tree + "DELETE FROM reg_keys WHERE id IN sub").c_str());
    keys.Bind(1, id);
    if (!values.Run() || !keys.Run()) return WriteError(call.handle());
    return ERROR_SUCCESS;
  });
  DropCache();
  return error != ERROR_SUCCESS ? Finish(error) : ERROR_SUCCESS;
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPWSTR keyClass,
                   LPDWORD classLength, FILETIME* lastWrite) {
  KeyCall call;
  std::int64_t id = 0;
  if (LONG error = call.Find(key, nullptr, ERROR_KEY_DELETED, &id)) return Finish(error);
  Statement st(call.handle(), "SELECT name FROM reg_keys WHERE parent = ?1 ORDER BY path_lc LIMIT 1 OFFSET ?2");
  st.Bind(1, id).Bind(2, static_cast<std::int64_t>(index));
  if (st.Step() != SQLITE_ROW) return Finish(ERROR_NO_MORE_ITEMS);
  LONG result = ERROR_SUCCESS;
  CopyName(st.Text16(0), name, nameLength, &result);
  if (keyClass && classLength && *classLength > 0) keyClass[0] = 0;
  if (classLength) *classLength = 0;
  if (lastWrite) *lastWrite = FILETIME{};
  return Finish(result);
}

LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                      LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                      LPDWORD maxValueLength, LPDWORD securityDescriptor, FILETIME* lastWrite) {
  KeyCall call;
  std::int64_t id = 0;
  if (LONG error = call.Find(key, nullptr, ERROR_KEY_DELETED, &id)) return Finish(error);
  Statement k(call.handle(), "SELECT count(*), coalesce(max(length(name)), 0) FROM reg_keys WHERE parent = ?1");
  k.Bind(1, id);
  Statement v(call.handle(),
              "SELECT count(*), coalesce(max(length(name)), 0), coalesce(max(length(data)), 0) "
              "FROM reg_values WHERE key = ?1");
  v.Bind(1, id);
  if (k.Step() != SQLITE_ROW || v.Step() != SQLITE_ROW) return Finish(ERROR_CANTREAD);
  if (keyClass && classLength && *classLength > 0) keyClass[0] = 0;
  if (classLength) *classLength = 0;
  if (subKeys) *subKeys = static_cast<DWORD>(k.Int(0));
  // length() counts characters of UTF-8 text; names beyond the BMP are rare
  // enough that the UTF-16 maximum may be one or two short for them.
  if (maxSubKeyLength) *maxSubKeyLength = static_cast<DWORD>(k.Int(1));
  if (maxClassLength) *maxClassLength = 0;
  if (values) *values = static_cast<DWORD>(v.Int(0));
  if (maxValueNameLength) *maxValueNameLength = static_cast<DWORD>(v.Int(1));
  if (maxValueLength) *maxValueLength = static_cast<DWORD>(v.Int(2));
  if (securityDescriptor) *securityDescriptor = 0;
  if (lastWrite) *lastWrite = FILETIME{};
  return ERROR_SUCCESS;
}

// ---- Values ---------------------------------------------------------------------------

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  KeyRef ref;
  if (!Resolve(key, &ref)) return Finish(ERROR_INVALID_HANDLE);
  if (data && !size) return Finish(ERROR_INVALID_PARAMETER);
  reg::Value v;
  LONG result = ReadValue(ref, valueName ? valueName : u"", &v);
  if (result == ERROR_FILE_NOT_FOUND && !ref.pathLc.empty()) {
    // A missing value of a key that is gone: say so, as for the other calls.
    devdb::Database* db = devdb::DeviceDatabase();
    std::lock_guard<std::recursive_mutex> lock(db->mutex());
    if (!FindKey(db->handle(), ref)) result = ERROR_KEY_DELETED;
  }
  if (result != ERROR_SUCCESS) return Finish(result);
  return Finish(CopyData(v, type, data, size));
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
  KeyRef ref;
  if (!Resolve(key, &ref)) return Finish(ERROR_INVALID_HANDLE);
  if (!data && size) return Finish(ERROR_INVALID_PARAMETER);
  reg::Value v{type, std::string(reinterpret_cast<const char*>(data ? data : reinterpret_cast<const BYTE*>("")), size)};
  return Finish(WriteValue(ref, valueName ? valueName : u"", v, ref.pathLc.empty()));
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD, LPDWORD type, LPBYTE data,
                   LPDWORD size) {
  KeyCall call;
  std::int64_t id = 0;
  if (LONG error = call.Find(key, nullptr, ERROR_KEY_DELETED, &id)) return Finish(error);
  Statement st(call.handle(),
               "SELECT name, type, data FROM reg_values WHERE key = ?1 ORDER BY name_lc LIMIT 1 OFFSET ?2");
  st.Bind(1, id).Bind(2, static_cast<std::int64_t>(index));
  if (st.Step() != SQLITE_ROW) return Finish(ERROR_NO_MORE_ITEMS);
  LONG result = ERROR_SUCCESS;
  CopyName(st.Text16(0), name, nameLength, &result);
  if (result != ERROR_SUCCESS) return Finish(result);
  reg::Value v{static_cast<DWORD>(st.Int(1)), st.Blob(2)};
  return Finish(CopyData(v, type, data, size));
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
  KeyCall call;
  if (!call.Resolve(key, nullptr)) return Finish(ERROR_INVALID_HANDLE);
  if (LONG error = call.Open()) return Finish(error);
  const LONG error = call.Write([&]() -> LONG {
    std::int64_t id = FindKey(call.handle(), call.ref);
    if (!id) return ERROR_KEY_DELETED;
    Statement st(call.handle(), "DELETE FROM reg_values WHERE key = ?1 AND name_lc = ?2");
    st.Bind(1, id).Bind(2, Lower8(valueName ? valueName : u""));
    if (!st.Run()) return WriteError(call.handle());
    if (sqlite3_changes(call.handle()) == 0) return ERROR_FILE_NOT_FOUND;
    return ERROR_SUCCESS;
  });
  DropCache();
  return error != ERROR_SUCCESS ? Finish(error) : ERROR_SUCCESS;
}

// ---- The shell's helpers ----------------------------------------------------------

namespace {

LONG HelperRead(HKEY root, LPCWSTR subKey, LPCWSTR valueName, reg::Value* v) {
  KeyRef ref;
  if (!Target(root, subKey ? subKey : u"", &ref)) return ERROR_INVALID_HANDLE;
  return ReadValue(ref, valueName ? valueName : u"", v);
}

LONG HelperWrite(HKEY root, LPCWSTR subKey, LPCWSTR valueName, const reg::Value& v) {
  KeyRef ref;
  if (!Target(root, subKey ? subKey : u"", &ref)) return ERROR_INVALID_HANDLE;
  return WriteValue(ref, valueName ? valueName : u"", v, true);
}

}  // namespace

HRESULT RegistryGetDWORD(HKEY root, LPCWSTR subKey, LPCWSTR valueName, DWORD* data) {
  if (!data) return E_INVALIDARG;
  reg::Value v;
  LONG result = HelperRead(root, subKey, valueName, &v);
  if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  if (!reg::AsDword(v, data)) return HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH);
  return S_OK;
}

HRESULT RegistryGetString(HKEY root, LPCWSTR subKey, LPCWSTR valueName, LPWSTR data, UINT chars) {
  if (!data || chars == 0) return E_INVALIDARG;
  reg::Value v;
  LONG result = HelperRead(root, subKey, valueName, &v);
  if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  if (v.type != REG_SZ && v.type != REG_EXPAND_SZ) return HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH);
  std::u16string s = reg::AsString(v);
  if (s.size() + 1 > chars) {
    data[0] = 0;
    return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
  }
  std::memcpy(data, s.c_str(), (s.size() + 1) * sizeof(char16_t));
  return S_OK;
}

HRESULT RegistrySetDWORD(HKEY root, LPCWSTR subKey, LPCWSTR valueName, DWORD data) {
  LONG result = HelperWrite(root, subKey, valueName, reg::DwordValue(data));
  return result == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(result);
}

HRESULT RegistrySetString(HKEY root, LPCWSTR subKey, LPCWSTR valueName, LPCWSTR data) {
  if (!data) return E_INVALIDARG;
  LONG result = HelperWrite(root, subKey, valueName, reg::StringValue(data));
  return result == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(result);
}

// ---- C++ conveniences ----------------------------------------------------------------

namespace reg {

bool Get(HKEY root, std::u16string_view subKey, std::u16string_view name, Value* value) {
  KeyRef ref;
  return Target(root, subKey, &ref) && ReadValue(ref, name, value) == ERROR_SUCCESS;
}

bool Set(HKEY root, std::u16string_view subKey, std::u16string_view name, const Value& value) {
  KeyRef ref;
  if (!Target(root, subKey, &ref)) return false;
  LONG r = WriteValue(ref, name, value, true);
  if (r != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(r));
  return r == ERROR_SUCCESS;
}

bool Delete(HKEY root, std::u16string_view subKey, std::u16string_view name) {
  HKEY key = nullptr;
  std::u16string sub(subKey);
  if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  std::u16string n(name);
  LONG r = RegDeleteValueW(key, n.c_str());
  RegCloseKey(key);
  return r == ERROR_SUCCESS;
}

bool GetDword(HKEY root, std::u16string_view subKey, std::u16string_view name, DWORD* value) {
  Value v;
  return Get(root, subKey, name, &v) && AsDword(v, value);
}

bool SetDword(HKEY root, std::u16string_view subKey, std::u16string_view name, DWORD value) {
  return Set(root, subKey, name, DwordValue(value));
}

bool GetString(HKEY root, std::u16string_view subKey, std::u16string_view name, std::u16string* value) {
  Value v;
  if (!Get(root, subKey, name, &v) || (v.type != REG_SZ && v.type != REG_EXPAND_SZ)) return false;
  *value = AsString(v);
  return true;
}

bool SetString(HKEY root, std::u16string_view subKey, std::u16string_view name, std::u16string_view value) {
  return Set(root, subKey, name, StringValue(value));
}

Value DwordValue(DWORD v) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return Value{REG_DWORD, bytes};
}

Value StringValue(std::u16string_view s, DWORD type) {
  std::string bytes;
  bytes.reserve((s.size() + 1) * 2);
  for (char16_t c : s) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  bytes += std::string(2, '\0');
  return Value{type, bytes};
}

Value MultiStringValue(const std::vector<std::u16string>& items) {
  std::string bytes;
  for (const auto& item : items) bytes += StringValue(item).data;
  bytes += std::string(2, '\0');
  return Value{REG_MULTI_SZ, bytes};
}

Value BinaryValue(const std::string& bytes) { return Value{REG_BINARY, bytes}; }

bool AsDword(const Value& v, DWORD* out) {
  if (v.type != REG_DWORD || v.data.size() != 4) return false;
  DWORD x = 0;
  for (int i = 0; i < 4; ++i) x |= static_cast<DWORD>(static_cast<unsigned char>(v.data[i])) << (8 * i);
  *out = x;
  return true;
}

namespace {
std::vector<std::u16string> Units(const std::string& bytes) {
  std::vector<std::u16string> parts(1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t c =
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (c == 0)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}
}  // namespace

std::u16string AsString(const Value& v) { return Units(v.data).front(); }

std::vector<std::u16string> AsMultiString(const Value& v) {
  std::vector<std::u16string> parts = Units(v.data);
  std::vector<std::u16string> out;
  for (auto& p : parts) {
    if (p.empty()) break;  // an empty string ends the list
    out.push_back(p);
  }
  return out;
}

bool ParseKeyPath(std::u16string_view textIn, HKEY* root, std::u16string* subKey) {
  std::u16string_view head = textIn;
  std::u16string_view rest;
  auto slash = textIn.find(u'\\');
  if (slash != std::u16string_view::npos) {
    head = textIn.substr(0, slash);
    rest = textIn.substr(slash + 1);
  }
  if (text::EqualsNoCase(head, u"HKLM") || text::EqualsNoCase(head, u"HKEY_LOCAL_MACHINE")) {
    *root = HKEY_LOCAL_MACHINE;
  } else if (text::EqualsNoCase(head, u"HKCU") || text::EqualsNoCase(head, u"HKEY_CURRENT_USER")) {
    *root = HKEY_CURRENT_USER;
  } else {
    return false;
  }
  std::u16string sub;
  for (const auto& p : SplitKey(rest)) {
    if (!sub.empty()) sub += u'\\';
    sub += p;
  }
  *subKey = sub;
  return true;
}

std::u16string RootName(HKEY root) {
  return root == HKEY_LOCAL_MACHINE ? u"HKEY_LOCAL_MACHINE" : u"HKEY_CURRENT_USER";
}

std::string ChangeRef(HKEY root, std::u16string_view subKey) {
  KeyRef ref;
  if (!Target(root, subKey, &ref)) return std::string();
  return ref.root + "\\" + ref.pathLc;
}

}  // namespace reg
