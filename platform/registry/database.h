// device.db: the one SQLite database of a device. It holds the registry, the
// device's state and services, the launches, and a change log that the
// running launcher turns into notifications.
//
// Several processes use it at once (the launcher and mivo-device): WAL mode,
// a busy timeout, short transactions. The schema version is PRAGMA
// user_version; opening upgrades an older database step by step, and refuses
// (with a clear message, touching nothing) a file that is not a device
// database, is damaged, or comes from a newer program.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>

namespace devdb {

// One upgrade step: the SQL that takes the schema from version-1 to version.
struct Migration {
  int version;
  const char* sql;
};

// The schema's steps, oldest first (schema.cpp). A new table is a new step
// appended there; steps that have shipped never change.
std::span<const Migration> SchemaMigrations();
int LatestSchemaVersion();

enum class OpenMode {
  kOpenExisting,    // the file must exist
  kCreateIfMissing  // a missing file becomes a new, empty device database
};

class Database {
 public:
  // Opens (and if needed creates or upgrades) the database at a host path.
  // On failure returns null and a message fit for a user in *error.
  static std::unique_ptr<Database> Open(const std::string& path, OpenMode mode, std::string* error,
                                        std::span<const Migration> migrations = SchemaMigrations());
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* handle() const { return m_db; }
  const std::string& path() const { return m_path; }
  // Serialises the users of this connection (one statement sequence at a time).
  std::recursive_mutex& mutex() { return m_mutex; }

  int SchemaVersion();
  // Changes whenever another connection (any process) commits.
  std::int64_t DataVersion();

  // Runs body in BEGIN IMMEDIATE ... COMMIT; a false body or a failing
  // statement rolls back. Waits (busy timeout) while another writer holds
  // the database. Called inside another transaction of this connection it
  // nests (a savepoint): its work is undone alone when it fails, and is
  // committed only with the outer transaction.
  bool Transaction(const std::function<bool()>& body);
  // Runs SQL without results; false (and the message in LastError) on failure.
  bool Exec(const char* sql);
  std::string LastError() const;

 private:
  Database(sqlite3* db, std::string path) : m_db(db), m_path(std::move(path)) {}

  sqlite3* m_db = nullptr;             // the connection
  std::string m_path;                  // host path of device.db
  std::recursive_mutex m_mutex;        // one user at a time
  sqlite3_stmt* m_dataVersion = nullptr;  // prepared "PRAGMA data_version"
};

// A prepared statement. Statements are kept prepared for their connection
// and text when done with (most run again and again: a row per contact, a
// lookup per key typed, and preparing one costs more than running it), and
// the next Statement of the same text takes the kept one; a connection's
// kept statements go when the Database closes.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return m_stmt != nullptr; }
  sqlite3_stmt* get() const { return m_stmt; }
  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, const std::string& utf8);
  Statement& Bind(int index, const std::u16string& text);
  Statement& BindBlob(int index, const void* data, std::size_t size);
  Statement& BindNull(int index);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  // Steps to the end; true when the statement completed.
  bool Run();
  void Reset();

  std::int64_t Int(int column) const;
  std::string Text(int column) const;
  std::u16string Text16(int column) const;
  std::string Blob(int column) const;
  bool IsNull(int column) const;

 private:
  sqlite3* m_db = nullptr;
  std::string m_sql;
  sqlite3_stmt* m_stmt = nullptr;
};

// The device's database for this process, opened by OpenDevice (or a tool or
// a test) and used by the registry and the device services.
bool OpenDeviceDatabase(const std::string& path, OpenMode mode, std::string* error);
void CloseDeviceDatabase();
Database* DeviceDatabase();
// Changes each time the device database is opened or closed (caches compare it).
std::uint64_t DeviceDatabaseGeneration();

// An empty device database (this program's schema, no rows but the schema's own) made at path,
// which must not exist yet. The build makes one; a new device starts as a copy of it.
bool WriteEmptyDatabase(const std::string& path, std::string* error);
// True when bytes are a whole database file (by its header) of this program's schema version:
// one a new device can start as.
bool IsEmptyDatabaseOfThisSchema(std::span<const std::uint8_t> bytes);

}  // namespace devdb
