#include "platform/registry/database.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/registry/change_watcher.h"
#include "platform/win32/text.h"

namespace devdb {

namespace {

std::unique_ptr<Database> g_device;
std::atomic<std::uint64_t> g_databaseGeneration{1};

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

std::string Describe(sqlite3* db, int rc) {
  std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  return msg;
}

// Statements done with, ready for the next use of their text on their connection.
struct KeptStatements {
  std::mutex mutex;
  std::map<std::pair<sqlite3*, std::string>, sqlite3_stmt*> idle;
};

// Never destroyed: the process's database closes (and finalises its kept statements) at exit, after
// function statics made later than it are gone.
KeptStatements& Kept() {
  static KeptStatements* kept = new KeptStatements;
  return *kept;
}

// Enough for every statement text of the system; beyond it a statement is finalised as before.
constexpr std::size_t kMostKept = 256;

void FinalizeKeptStatements(sqlite3* db) {
  std::lock_guard<std::mutex> lock(Kept().mutex);
  for (auto it = Kept().idle.begin(); it != Kept().idle.end();) {
    if (it->first.first != db) {
      ++it;
      continue;
    }
    sqlite3_finalize(it->second);
    it = Kept().idle.erase(it);
  }
}

}  // namespace

// ---- Statement ----------------------------------------------------------------

Statement::Statement(sqlite3* db, const char* sql) : m_db(db), m_sql(sql ? sql : "") {
  {
    std::lock_guard<std::mutex> lock(Kept().mutex);
    auto it = Kept().idle.find({db, m_sql});
    if (it != Kept().idle.end()) {
      m_stmt = it->second;
      Kept().idle.erase(it);
      return;
    }
  }
  if (sqlite3_prepare_v3(db, m_sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
  }
}

Statement::~Statement() {
  if (!m_stmt) return;
  // Reset, it holds no lock and no value of this use.
  sqlite3_reset(m_stmt);
  sqlite3_clear_bindings(m_stmt);
  {
    std::lock_guard<std::mutex> lock(Kept().mutex);
    if (Kept().idle.size() < kMostKept && Kept().idle.emplace(std::make_pair(m_db, m_sql), m_stmt).second) return;
  }
  sqlite3_finalize(m_stmt);
}

Statement& Statement::Bind(int index, std::int64_t value) {
  sqlite3_bind_int64(m_stmt, index, value);
  return *this;
}

Statement& Statement::Bind(int index, const std::string& utf8) {
  sqlite3_bind_text(m_stmt, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::Bind(int index, const std::u16string& text) { return Bind(index, text::ToUtf8(text)); }

Statement& Statement::BindBlob(int index, const void* data, std::size_t size) {
  sqlite3_bind_blob(m_stmt, index, size ? data : "", static_cast<int>(size), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::BindNull(int index) {
  sqlite3_bind_null(m_stmt, index);
  return *this;
}

int Statement::Step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_MISUSE; }

bool Statement::Run() {
  int rc;
  while ((rc = Step()) == SQLITE_ROW) {}
  return rc == SQLITE_DONE;
}

void Statement::Reset() {
  if (!m_stmt) return;
  sqlite3_reset(m_stmt);
  sqlite3_clear_bindings(m_stmt);
}

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(m_stmt, column); }

std::string Statement::Text(int column) const {
  const auto* p = sqlite3_column_text(m_stmt, column);
  return p ? std::string(reinterpret_cast<const char*>(p),
                         static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
           : std::string();
}

std::u16string Statement::Text16(int column) const { return text::FromUtf8(Text(column)); }

std::string Statement::Blob(int column) const {
  const void* p = sqlite3_column_blob(m_stmt, column);
  int n = sqlite3_column_bytes(m_stmt, column);
  return p ? std::string(static_cast<const char*>(p), static_cast<std::size_t>(n)) : std::string();
}

bool Statement::IsNull(int column) const { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }

// ---- Database -------------------------------------------------------------------

std::unique_ptr<Database> Database::Open(const std::string& path, OpenMode mode, std::string* error,
                                         std::span<const Migration> migrations) {
  auto fail = [&](const std::string& msg) -> std::unique_ptr<Database> {
    if (error) *error = msg;
    return nullptr;
  };
  bool existed = FileExists(path);
  if (!existed && mode == OpenMode::kOpenExisting) return fail("no device database at " + path);
  sqlite3* raw = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (existed ? 0 : SQLITE_OPEN_CREATE);
  int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  std::unique_ptr<Database> db(new Database(raw, path));
  if (rc != SQLITE_OK) return fail("cannot open the device database " + path + ": " + Describe(raw, rc));
  sqlite3_busy_timeout(raw, 10000);
  sqlite3_extended_result_codes(raw, 0);

  // Read the version before anything writes: a damaged or foreign file is
  // reported and left exactly as it is.
  int version = 0;
  {
    Statement st(raw, "PRAGMA user_version");
    rc = st.Step();
    if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) {
      return fail("the device database " + path + " is damaged or not a database (" + Describe(raw, rc) +
                  "); it was left untouched");
    }
    if (rc != SQLITE_ROW) {
      // A sound database that cannot be opened for use: a folder or file
      // that cannot be written, a full disk, a lock.
      return fail("cannot use the device database " + path + " (" + Describe(raw, rc) +
                  "); check that its folder can be written");
    }
    version = static_cast<int>(st.Int(0));
  }
  int latest = migrations.empty() ? 0 : migrations.back().version;
  if (version > latest) {
    return fail("the device database " + path + " has schema version " + std::to_string(version) +
                ", newer than this program knows (" + std::to_string(latest) + "); it was left untouched");
  }
  if (version == 0 && existed) {
    Statement st(raw, "SELECT count(*) FROM sqlite_schema");
    if (st.Step() != SQLITE_ROW) {
      return fail("the device database " + path + " is damaged (" + Describe(raw, rc) + "); it was left untouched");
    }
    if (st.Int(0) != 0) {
      return fail(path + " is a database, but not a device database (no schema version); it was left untouched");
    }
  }
  {
    Statement st(raw, "PRAGMA journal_mode=WAL");
    if (st.Step() != SQLITE_ROW) return fail("cannot use the device database " + path + ": " + Describe(raw, rc));
  }
  db->Exec("PRAGMA synchronous=NORMAL");
  db->Exec("PRAGMA foreign_keys=ON");

  if (version < latest) {
    bool ok = db->Transaction([&] {
      // Another process may have upgraded meanwhile: read the version again
      // inside the write transaction.
      Statement st(raw, "PRAGMA user_version");
      int current = st.Step() == SQLITE_ROW ? static_cast<int>(st.Int(0)) : -1;
      if (current < 0) return false;
      for (const Migration& m : migrations) {
        if (m.version <= current) continue;
        if (!db->Exec(m.sql)) return false;
        std::string stamp = "PRAGMA user_version=" + std::to_string(m.version);
        if (!db->Exec(stamp.c_str())) return false;
      }
      return true;
    });
    if (!ok) {
      return fail("cannot bring the device database " + path + " from schema version " + std::to_string(version) +
                  " to " + std::to_string(latest) + ": " + db->LastError());
    }
  }
  return db;
}

Database::~Database() {
  sqlite3_finalize(m_dataVersion);
  FinalizeKeptStatements(m_db);
  if (m_db) sqlite3_close_v2(m_db);
}

int Database::SchemaVersion() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  Statement st(m_db, "PRAGMA user_version");
  return st.Step() == SQLITE_ROW ? static_cast<int>(st.Int(0)) : -1;
}

std::int64_t Database::DataVersion() {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  if (!m_dataVersion && sqlite3_prepare_v2(m_db, "PRAGMA data_version", -1, &m_dataVersion, nullptr) != SQLITE_OK) {
    return -1;
  }
  std::int64_t v = -1;
  if (sqlite3_step(m_dataVersion) == SQLITE_ROW) v = sqlite3_column_int64(m_dataVersion, 0);
  sqlite3_reset(m_dataVersion);
  return v;
}

bool Database::Exec(const char* sql) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string Database::LastError() const { return sqlite3_errmsg(m_db); }

bool Database::Transaction(const std::function<bool()>& body) {
  std::lock_guard<std::recursive_mutex> lock(m_mutex);
  // Inside a transaction of this connection (a caller that writes several
  // things at once, each through its own service): a savepoint, so the
  // inner work commits with the outer one or is undone on its own.
  // The statements are kept prepared like any other: a transaction per registry value or row
  // would otherwise parse them again each time.
  auto run = [this](const char* sql) {
    Statement st(m_db, sql);
    if (!st.ok()) return sqlite3_errcode(m_db) == SQLITE_OK ? SQLITE_ERROR : sqlite3_errcode(m_db);
    const int rc = st.Step();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
  };
  if (!sqlite3_get_autocommit(m_db)) {
    if (run("SAVEPOINT nested") != SQLITE_OK) return false;
    if (body()) return run("RELEASE nested") == SQLITE_OK;
    run("ROLLBACK TO nested");
    run("RELEASE nested");
    return false;
  }
  // The busy timeout covers BEGIN IMMEDIATE; a few retries cover the rare
  // SQLITE_BUSY that WAL returns at once (a snapshot that cannot upgrade).
  for (int attempt = 0;; ++attempt) {
    int rc = run("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) break;
    if (rc != SQLITE_BUSY || attempt >= 50) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  bool ok = body();
  if (ok) {
    for (int attempt = 0;; ++attempt) {
      int rc = run("COMMIT");
      if (rc == SQLITE_OK) return true;
      if (rc != SQLITE_BUSY || attempt >= 50) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  run("ROLLBACK");
  return false;
}

// ---- The process's device database ----------------------------------------------

bool OpenDeviceDatabase(const std::string& path, OpenMode mode, std::string* error) {
  auto db = Database::Open(path, mode, error);
  if (!db) return false;
  StopChangeWatcher();
  g_device = std::move(db);
  ++g_databaseGeneration;
  RestartChangeWatcher();
  return true;
}

void CloseDeviceDatabase() {
  StopChangeWatcher();
  g_device.reset();
  ++g_databaseGeneration;
}

std::uint64_t DeviceDatabaseGeneration() { return g_databaseGeneration.load(); }

Database* DeviceDatabase() { return g_device.get(); }

bool WriteEmptyDatabase(const std::string& path, std::string* error) {
  if (FileExists(path)) {
    if (error) *error = path + " exists already";
    return false;
  }
  // Closing the only connection moves everything into the file and removes the log.
  return Database::Open(path, OpenMode::kCreateIfMissing, error) != nullptr;
}

bool IsEmptyDatabaseOfThisSchema(std::span<const std::uint8_t> bytes) {
  // The file header: the format's name, the page size, the file's page count, the schema version.
  static const char kMagic[] = "SQLite format 3";
  if (bytes.size() < 100 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return false;
  auto be32 = [&](std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
  };
  std::uint32_t pageSize = (std::uint32_t{bytes[16]} << 8) | bytes[17];
  if (pageSize == 1) pageSize = 65536;
  const std::uint32_t pages = be32(28);
  return pageSize >= 512 && pages > 0 && std::uint64_t{pageSize} * pages == bytes.size() &&
         be32(60) == static_cast<std::uint32_t>(LatestSchemaVersion());
}

}  // namespace devdb
