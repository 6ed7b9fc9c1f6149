// The watcher of device.db's change log. A thread waits for the database to
// change (a file watch on its folder, with a slow poll as a safety net),
// reads the new rows of the change log and hands each to the subscribers of
// its table, on the watcher's thread. Subscribers post window messages
// (thread-safe) or hand work to the UI thread; they must not block.
//
// The watcher starts with the first subscription and sees only changes made
// after it started; current state is read directly at start.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace devdb {

// One row of the change log.
struct Change {
  std::int64_t id = 0;
  std::string table;  // "reg", "device", ...
  std::string op;     // "insert", "update", "delete"
  std::string ref;    // for "reg": "hklm\system\state\battery" (lower case)
  std::string name;   // for "reg": the value name (lower case)
  bool hasData = false;     // for "reg": the new value (false when deleted)
  std::int64_t type = 0;
  std::string data;
};

using ChangeHandler = std::function<void(const Change&)>;

// Subscribes to the changes of one table ("" for all); returns an id for
// Unsubscribe. Starts the watcher when the device database is open.
int SubscribeChanges(const std::string& table, ChangeHandler handler);
// After it returns the handler is not running and will not run again.
void UnsubscribeChanges(int id);

// Stops the watcher thread (CloseDevice calls it before closing the database).
void StopChangeWatcher();
// Starts the watcher again on the (newly opened) device database when it has
// subscribers; OpenDeviceDatabase calls it.
void RestartChangeWatcher();
// While the watcher runs, a counter that moves whenever the database changed
// (it moves before the change's subscribers run). Caches compare it instead
// of asking the database on every read.
bool ChangeWatcherActive();
std::uint64_t ChangeGeneration();
// Waits until the watcher has handled every change committed before the
// call (tests and tools use it to order their checks); false on timeout.
bool SyncChangeWatcher(int timeoutMs = 2000);

}  // namespace devdb
