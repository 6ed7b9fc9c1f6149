// The object model's objects behind poom.h (internal to platform/device).
#pragma once

#include <memory>
#include <variant>
#include <vector>

#include "platform/device/com_object.h"
#include "platform/device/pim_db.h"
#include "platform/device/poom.h"
#include "platform/device/poom_restriction.h"

namespace poom {

using comimpl::ComBase;

// What an item was read from; one of the three records.
using ItemRecord = std::variant<device::ContactRecord, device::TaskRecord, device::AppointmentRecord>;

// Whether an item read earlier may have changed since: per item while an
// application is logged on (the change log is followed then); otherwise any
// commit to the database counts.
struct ItemStamp {
  bool tracked = false;
  std::int64_t value = 0;
  bool operator==(const ItemStamp&) const = default;
};
ItemStamp StampOfItem(std::int64_t oid);
// A write of this process: the item's readers read it again.
void NoteItemWritten(std::int64_t oid);

// The item object of a record (IContact, ITask or IAppointment), as IDispatch.
IDispatch* MakeItem(const ItemRecord& record);
// The record of an item object made here; null for another object.
const ItemRecord* RecordOfItem(IDispatch* item);
// The record of an OID, read now; false when no item has it.
bool LoadItem(std::int64_t oid, ItemRecord* out);

// A property of a record by its object-model name, for restrictions and sorting.
bool ItemField(const ItemRecord& record, std::u16string_view name, FieldValue* out);

// A collection over records read now (of the folder, or those given).
IPOutlookItemCollection* MakeCollection(int folder);
IPOutlookItemCollection* MakeCollection(int folder, std::vector<ItemRecord> records);

}  // namespace poom
