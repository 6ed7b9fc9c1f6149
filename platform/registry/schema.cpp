// The schema of device.db, one step per version. Each step runs inside the
// upgrade transaction and is followed by PRAGMA user_version = its version.
// Steps that have shipped never change: a new table or column is a new step.
//
// The change log: every table whose changes the launcher must hear of gets
// triggers that append a row to `changes` (tbl, op, ref, name); the launcher's
// watcher reads the new rows and hands them to the subscribers of tbl.
#include "platform/registry/database.h"

namespace devdb {

namespace {

constexpr Migration kMigrations[] = {
    {1, R"sql(
CREATE TABLE changes(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  tbl TEXT NOT NULL,       -- the table that changed: 'reg', 'device', 'sounds', ...
  op TEXT NOT NULL,        -- 'insert', 'update' or 'delete'
  ref TEXT,                -- the row: for 'reg' the root and key path, lower case ("hklm\system\state\battery")
  name TEXT,               -- for 'reg' the value name, lower case
  type INTEGER,            -- for 'reg' the new value's type and bytes; NULL when deleted
  data BLOB);

-- The registry: keys as a tree, values per key. Names keep the spelling they
-- were created with; the lower-case columns make comparisons case-blind.
CREATE TABLE reg_keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER REFERENCES reg_keys(id),
  root TEXT NOT NULL,      -- 'hklm' or 'hkcu'
  name TEXT NOT NULL,
  path_lc TEXT NOT NULL,   -- full path below the root, lower case; '' for the root itself
  UNIQUE(root, path_lc));
CREATE INDEX reg_keys_parent ON reg_keys(parent);
INSERT INTO reg_keys(id, parent, root, name, path_lc) VALUES (1, NULL, 'hklm', '', ''), (2, NULL, 'hkcu', '', '');

CREATE TABLE reg_values(
  key INTEGER NOT NULL REFERENCES reg_keys(id),
  name TEXT NOT NULL,
  name_lc TEXT NOT NULL,
  type INTEGER NOT NULL,   -- REG_SZ 1, REG_BINARY 3, REG_DWORD 4, REG_MULTI_SZ 7, ...
  data BLOB NOT NULL,      -- the bytes as the platform stores them (UTF-16LE texts, little-endian DWORDs)
  PRIMARY KEY(key, name_lc)) WITHOUT ROWID;

CREATE TRIGGER reg_values_insert AFTER INSERT ON reg_values BEGIN
  INSERT INTO changes(tbl, op, ref, name, type, data)
    SELECT 'reg', 'insert', k.root || '\' || k.path_lc, NEW.name_lc, NEW.type, NEW.data FROM reg_keys k WHERE k.id = NEW.key;
END;
CREATE TRIGGER reg_values_update AFTER UPDATE ON reg_values
  WHEN OLD.type IS NOT NEW.type OR OLD.data IS NOT NEW.data BEGIN
  INSERT INTO changes(tbl, op, ref, name, type, data)
    SELECT 'reg', 'update', k.root || '\' || k.path_lc, NEW.name_lc, NEW.type, NEW.data FROM reg_keys k WHERE k.id = NEW.key;
END;
CREATE TRIGGER reg_values_delete AFTER DELETE ON reg_values BEGIN
  INSERT INTO changes(tbl, op, ref, name)
    SELECT 'reg', 'delete', k.root || '\' || k.path_lc, OLD.name_lc FROM reg_keys k WHERE k.id = OLD.key;
END;

-- Device state that is not a registry value: the simulated battery, the time
-- zone, the wave volume.
CREATE TABLE device_state(
  name TEXT PRIMARY KEY,
  value) WITHOUT ROWID;
CREATE TRIGGER device_state_insert AFTER INSERT ON device_state BEGIN
  INSERT INTO changes(tbl, op, ref) VALUES ('device', 'insert', NEW.name);
END;
CREATE TRIGGER device_state_update AFTER UPDATE ON device_state WHEN OLD.value IS NOT NEW.value BEGIN
  INSERT INTO changes(tbl, op, ref) VALUES ('device', 'update', NEW.name);
END;

-- The sound type and file of each sound event (SndGetSound / SndSetSound).
CREATE TABLE sounds(
  event INTEGER PRIMARY KEY,
  type INTEGER NOT NULL,
  file TEXT NOT NULL DEFAULT '');

-- Every start of a program or document through the shell.
CREATE TABLE launches(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  time INTEGER NOT NULL,    -- seconds since 1970, host clock
  verb TEXT NOT NULL DEFAULT '',
  file TEXT NOT NULL,       -- what was asked for (a device path or a program name)
  parameters TEXT NOT NULL DEFAULT '',
  command TEXT NOT NULL DEFAULT '',  -- the host command it resolved to; '' when none
  pid INTEGER NOT NULL DEFAULT 0,
  error INTEGER NOT NULL DEFAULT 0); -- 0, or the platform's error code of a failed launch

-- Running processes and their top-level windows, so that windows of other
-- processes can be listed and brought to the front.
CREATE TABLE processes(
  pid INTEGER PRIMARY KEY,
  start_time INTEGER NOT NULL,  -- the host's start time of the process, to tell a reused pid
  module TEXT NOT NULL,         -- device path of its program ("\Program Files\mivo\mivo.exe")
  host INTEGER NOT NULL DEFAULT 0);  -- 1 for a host program started through the shell
CREATE TABLE windows(
  pid INTEGER NOT NULL,
  hwnd INTEGER NOT NULL,        -- the handle value within its process
  class TEXT NOT NULL,
  caption TEXT NOT NULL,
  visible INTEGER NOT NULL DEFAULT 1,
  PRIMARY KEY(pid, hwnd));

-- CeRunAppAtEvent registrations.
CREATE TABLE run_at_event(
  app TEXT NOT NULL,
  event INTEGER NOT NULL,
  PRIMARY KEY(app, event));
)sql"},
    {2, R"sql(
-- Every number the launcher dialled (PhoneMakeCall): this host has no radio,
-- so a dial is a record that tests and mivo-device can see.
CREATE TABLE dials(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  time INTEGER NOT NULL,    -- seconds since 1970, host clock
  number TEXT NOT NULL,     -- the destination as it was dialled
  called_party TEXT NOT NULL DEFAULT '');
CREATE TRIGGER dials_insert AFTER INSERT ON dials BEGIN
  INSERT INTO changes(tbl, op, ref) VALUES ('dials', 'insert', NEW.id);
END;
)sql"},
};

}  // namespace

std::span<const Migration> SchemaMigrations() { return kMigrations; }

int LatestSchemaVersion() { return kMigrations[std::size(kMigrations) - 1].version; }

}  // namespace devdb
