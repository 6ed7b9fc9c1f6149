#include "platform/device/device_state.h"

#include <mutex>

#include "platform/registry/database.h"

namespace device {

std::string StateText(const char* name) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return std::string();
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(), "SELECT value FROM device_state WHERE name = ?1");
  st.Bind(1, std::string(name));
  return st.Step() == SQLITE_ROW ? st.Text(0) : std::string();
}

bool SetStateText(const char* name, const std::string& value) {
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) return false;
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  return db->Transaction([&] {
    devdb::Statement st(db->handle(), "INSERT INTO device_state(name, value) VALUES (?1, ?2) "
                                      "ON CONFLICT(name) DO UPDATE SET value = excluded.value");
    st.Bind(1, std::string(name)).Bind(2, value);
    return st.Run();
  });
}

}  // namespace device
