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
    {3, R"sql(
-- Messaging: the message stores ("SMS" among them), their folders and
-- messages. Entry identifiers are made from the row ids (device/mapi).
CREATE TABLE msg_stores(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL);                 -- PR_DISPLAY_NAME
CREATE TABLE msg_folders(
  id INTEGER PRIMARY KEY,
  store INTEGER NOT NULL REFERENCES msg_stores(id),
  role TEXT NOT NULL DEFAULT '',       -- 'inbox', 'drafts', 'outbox', 'sent', 'deleted'; '' for others
  name TEXT NOT NULL);
CREATE TABLE messages(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  folder INTEGER NOT NULL REFERENCES msg_folders(id),
  class TEXT NOT NULL DEFAULT 'IPM.SMStext',  -- PR_MESSAGE_CLASS
  subject TEXT NOT NULL DEFAULT '',    -- PR_SUBJECT: an SMS's text
  sender_name TEXT,                    -- PR_SENDER_NAME; NULL: the message has none
  sender_address TEXT,                 -- PR_SENDER_EMAIL_ADDRESS (the number)
  flags INTEGER NOT NULL DEFAULT 0,    -- PR_MESSAGE_FLAGS (bit 0 read)
  status INTEGER NOT NULL DEFAULT 0,   -- PR_MSG_STATUS
  delivery_time INTEGER,               -- PR_MESSAGE_DELIVERY_TIME, FILETIME ticks (UTC); NULL: none
  modified_time INTEGER,               -- PR_LAST_MODIFICATION_TIME, likewise
  arrival INTEGER NOT NULL DEFAULT 0); -- how it came: 1 delivered by the network (new mail), 2 a copy, 0 made here
CREATE INDEX messages_folder ON messages(folder, delivery_time);
-- Every other property of a message, by its tag (the type is the tag's low word).
CREATE TABLE message_props(
  message INTEGER NOT NULL REFERENCES messages(id) ON DELETE CASCADE,
  tag INTEGER NOT NULL,
  value,
  PRIMARY KEY(message, tag)) WITHOUT ROWID;
CREATE TABLE message_recipients(
  message INTEGER NOT NULL REFERENCES messages(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  type INTEGER NOT NULL DEFAULT 1,     -- PR_RECIPIENT_TYPE (1 MAPI_TO)
  addrtype TEXT NOT NULL DEFAULT '',   -- PR_ADDRTYPE ("SMS")
  address TEXT NOT NULL DEFAULT '',    -- PR_EMAIL_ADDRESS (the number)
  name TEXT NOT NULL DEFAULT '',       -- PR_DISPLAY_NAME
  PRIMARY KEY(message, position)) WITHOUT ROWID;

-- The change log of messages: ref the message, name its folder, type the
-- folder it came from when it moved.
CREATE TRIGGER messages_insert AFTER INSERT ON messages BEGIN
  INSERT INTO changes(tbl, op, ref, name, data)
    VALUES ('msg', CASE NEW.arrival WHEN 1 THEN 'newmail' WHEN 2 THEN 'copy' ELSE 'insert' END,
            NEW.id, NEW.folder, NEW.class);
END;
CREATE TRIGGER messages_move AFTER UPDATE OF folder ON messages WHEN OLD.folder IS NOT NEW.folder BEGIN
  INSERT INTO changes(tbl, op, ref, name, type) VALUES ('msg', 'move', NEW.id, NEW.folder, OLD.folder);
END;
CREATE TRIGGER messages_update AFTER UPDATE ON messages WHEN OLD.folder IS NEW.folder AND (
    OLD.class IS NOT NEW.class OR OLD.subject IS NOT NEW.subject OR OLD.sender_name IS NOT NEW.sender_name OR
    OLD.sender_address IS NOT NEW.sender_address OR OLD.flags IS NOT NEW.flags OR OLD.status IS NOT NEW.status OR
    OLD.delivery_time IS NOT NEW.delivery_time OR OLD.modified_time IS NOT NEW.modified_time) BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('msg', 'update', NEW.id, NEW.folder);
END;
CREATE TRIGGER messages_delete AFTER DELETE ON messages BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('msg', 'delete', OLD.id, OLD.folder);
END;

-- Every device has its e-mail store and its SMS store with the special folders.
INSERT INTO msg_stores(id, name) VALUES (1, 'ActiveSync'), (2, 'SMS');
INSERT INTO msg_folders(id, store, role, name) VALUES
  (1, 1, 'inbox', 'Inbox'), (2, 1, 'drafts', 'Drafts'), (3, 1, 'outbox', 'Outbox'), (4, 1, 'sent', 'Sent Items'),
  (5, 1, 'deleted', 'Deleted Items'),
  (6, 2, 'inbox', 'Inbox'), (7, 2, 'drafts', 'Drafts'), (8, 2, 'outbox', 'Outbox'), (9, 2, 'sent', 'Sent Items'),
  (10, 2, 'deleted', 'Deleted Items');

-- Personal data: contacts, tasks and appointments. Every item has an object
-- identifier (OID) unique over the three; pim_items hands them out and
-- tells an OID's folder (9 calendar, 10 contacts, 13 tasks).
CREATE TABLE pim_items(
  oid INTEGER PRIMARY KEY AUTOINCREMENT,
  folder INTEGER NOT NULL);
CREATE TABLE contacts(
  oid INTEGER PRIMARY KEY,
  first_name TEXT NOT NULL DEFAULT '', middle_name TEXT NOT NULL DEFAULT '', last_name TEXT NOT NULL DEFAULT '',
  title TEXT NOT NULL DEFAULT '', suffix TEXT NOT NULL DEFAULT '', nickname TEXT NOT NULL DEFAULT '',
  file_as TEXT NOT NULL DEFAULT '', company TEXT NOT NULL DEFAULT '', department TEXT NOT NULL DEFAULT '',
  job_title TEXT NOT NULL DEFAULT '',
  email1 TEXT NOT NULL DEFAULT '', email2 TEXT NOT NULL DEFAULT '', email3 TEXT NOT NULL DEFAULT '',
  -- The eight numbers a call can go to, in the order of the phone kinds 1-8.
  mobile TEXT NOT NULL DEFAULT '', assistant TEXT NOT NULL DEFAULT '', business TEXT NOT NULL DEFAULT '',
  business2 TEXT NOT NULL DEFAULT '', car TEXT NOT NULL DEFAULT '', home TEXT NOT NULL DEFAULT '',
  home2 TEXT NOT NULL DEFAULT '', radio TEXT NOT NULL DEFAULT '',
  pager TEXT NOT NULL DEFAULT '', business_fax TEXT NOT NULL DEFAULT '', home_fax TEXT NOT NULL DEFAULT '',
  home_street TEXT NOT NULL DEFAULT '', home_city TEXT NOT NULL DEFAULT '', home_state TEXT NOT NULL DEFAULT '',
  home_postal_code TEXT NOT NULL DEFAULT '', home_country TEXT NOT NULL DEFAULT '',
  business_street TEXT NOT NULL DEFAULT '', business_city TEXT NOT NULL DEFAULT '',
  business_state TEXT NOT NULL DEFAULT '', business_postal_code TEXT NOT NULL DEFAULT '',
  business_country TEXT NOT NULL DEFAULT '',
  birthday REAL,                       -- DATE (days since 1899-12-30, local); NULL: none
  web_page TEXT NOT NULL DEFAULT '', notes TEXT NOT NULL DEFAULT '',
  picture TEXT NOT NULL DEFAULT '');   -- device path of the contact's picture; '' none
CREATE TABLE tasks(
  oid INTEGER PRIMARY KEY,
  subject TEXT NOT NULL DEFAULT '',
  start_date REAL, due_date REAL, date_completed REAL,  -- DATE values (local); NULL: none
  complete INTEGER NOT NULL DEFAULT 0,
  importance INTEGER NOT NULL DEFAULT 1,                 -- 0 low, 1 normal, 2 high
  categories TEXT NOT NULL DEFAULT '', notes TEXT NOT NULL DEFAULT '');
CREATE TABLE appointments(
  oid INTEGER PRIMARY KEY,
  subject TEXT NOT NULL DEFAULT '', location TEXT NOT NULL DEFAULT '',
  start REAL NOT NULL, end REAL NOT NULL,                -- DATE values (local)
  all_day INTEGER NOT NULL DEFAULT 0,
  reminder_minutes INTEGER NOT NULL DEFAULT 15,          -- -1: no reminder
  categories TEXT NOT NULL DEFAULT '', notes TEXT NOT NULL DEFAULT '');
CREATE INDEX appointments_start ON appointments(start);

-- The change log of personal data: ref the OID, name the folder.
CREATE TRIGGER contacts_insert AFTER INSERT ON contacts BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'insert', NEW.oid, '10');
END;
CREATE TRIGGER contacts_update AFTER UPDATE ON contacts BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'update', NEW.oid, '10');
END;
CREATE TRIGGER contacts_delete AFTER DELETE ON contacts BEGIN
  DELETE FROM pim_items WHERE oid = OLD.oid;
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'delete', OLD.oid, '10');
END;
CREATE TRIGGER tasks_insert AFTER INSERT ON tasks BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'insert', NEW.oid, '13');
END;
CREATE TRIGGER tasks_update AFTER UPDATE ON tasks BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'update', NEW.oid, '13');
END;
CREATE TRIGGER tasks_delete AFTER DELETE ON tasks BEGIN
  DELETE FROM pim_items WHERE oid = OLD.oid;
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'delete', OLD.oid, '13');
END;
CREATE TRIGGER appointments_insert AFTER INSERT ON appointments BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'insert', NEW.oid, '9');
END;
CREATE TRIGGER appointments_update AFTER UPDATE ON appointments BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'update', NEW.oid, '9');
END;
CREATE TRIGGER appointments_delete AFTER DELETE ON appointments BEGIN
  DELETE FROM pim_items WHERE oid = OLD.oid;
  INSERT INTO changes(tbl, op, ref, name) VALUES ('pim', 'delete', OLD.oid, '9');
END;

-- The phone's call log, in the fields of a call-log entry.
CREATE TABLE call_log(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  start_time INTEGER NOT NULL,         -- FILETIME ticks (UTC)
  end_time INTEGER NOT NULL,
  direction INTEGER NOT NULL,          -- 0 missed, 1 incoming, 2 outgoing
  flags INTEGER NOT NULL DEFAULT 0,    -- 1 outgoing, 2 connected, 4 ended, 8 roaming
  caller_id_type INTEGER NOT NULL DEFAULT 2,  -- 0 unavailable, 1 blocked, 2 available
  number TEXT NOT NULL DEFAULT '',
  name TEXT NOT NULL DEFAULT '',
  name_type TEXT NOT NULL DEFAULT '',  -- which of the contact's numbers it was ("m", "h", "w", ...)
  note TEXT NOT NULL DEFAULT '');
CREATE INDEX call_log_start ON call_log(start_time);
CREATE TRIGGER call_log_insert AFTER INSERT ON call_log BEGIN
  INSERT INTO changes(tbl, op, ref) VALUES ('calls', 'insert', NEW.id);
END;
CREATE TRIGGER call_log_delete AFTER DELETE ON call_log BEGIN
  INSERT INTO changes(tbl, op, ref) VALUES ('calls', 'delete', OLD.id);
END;
)sql"},
    {4, R"sql(
-- The contact fields the contacts page searches and the details page shows
-- beyond the first ones: the office, the assistant's name, a third address.
ALTER TABLE contacts ADD COLUMN office_location TEXT NOT NULL DEFAULT '';
ALTER TABLE contacts ADD COLUMN assistant_name TEXT NOT NULL DEFAULT '';
ALTER TABLE contacts ADD COLUMN other_street TEXT NOT NULL DEFAULT '';
ALTER TABLE contacts ADD COLUMN other_city TEXT NOT NULL DEFAULT '';
ALTER TABLE contacts ADD COLUMN other_state TEXT NOT NULL DEFAULT '';
ALTER TABLE contacts ADD COLUMN other_postal_code TEXT NOT NULL DEFAULT '';
ALTER TABLE contacts ADD COLUMN other_country TEXT NOT NULL DEFAULT '';
)sql"},
    {5, R"sql(
-- The radios the wireless device list offers, with their power state. Every
-- device has one of each kind; one made before this step gets them here too,
-- the phone on (it shows an operator), Wi-Fi and Bluetooth off.
CREATE TABLE radios(
  id INTEGER PRIMARY KEY,
  type INTEGER NOT NULL,               -- 1 Wi-Fi, 2 phone, 3 Bluetooth
  name TEXT NOT NULL,                  -- the radio's own name
  display_name TEXT NOT NULL,          -- what people see
  state INTEGER NOT NULL DEFAULT 0,    -- 0 off, 1 on, 2 discoverable (Bluetooth only)
  desired INTEGER NOT NULL DEFAULT 0); -- the state asked for last
CREATE TRIGGER radios_update AFTER UPDATE ON radios WHEN OLD.state IS NOT NEW.state BEGIN
  INSERT INTO changes(tbl, op, ref, name) VALUES ('radios', 'update', NEW.type, NEW.state);
END;
INSERT INTO radios(id, type, name, display_name, state, desired) VALUES
  (1, 1, 'WiFi', 'Wi-Fi', 0, 0), (2, 2, 'Phone', 'Phone', 1, 1), (3, 3, 'Bluetooth', 'Bluetooth', 0, 0);
)sql"},
};

}  // namespace

std::span<const Migration> SchemaMigrations() { return kMigrations; }

int LatestSchemaVersion() { return kMigrations[std::size(kMigrations) - 1].version; }

}  // namespace devdb
