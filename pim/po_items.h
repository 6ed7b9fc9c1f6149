// Wrappers of the Outlook items: a contact with its names and eight phone
// numbers, a task and an appointment with their dates. Each field is read
// from the item when first asked for and kept until DropCache.
//
// Times are values in seconds since 1970 (UTC), which the date routines show
// in local time; the items' own dates are local.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "pim/outlook_events.h"
#include "platform/device/poom.h"

// The base of the three: the item and its object identifier.
class POItem : public mivoOutlookObject {
 public:
  // Takes over the reference to `item`.
  explicit POItem(IDispatch* item);
  ~POItem() override;
  POItem(const POItem&) = delete;
  POItem& operator=(const POItem&) = delete;

  IDispatch* GetItem() const { return m_pItem; }
  // The item's OID; 0 when it cannot be read.
  LONG GetOid();
  // The item changed: read its fields again when asked.
  virtual void DropCache() {}

 protected:
  IDispatch* m_pItem;  // the Outlook item; one reference
  LONG m_oid = 0;      // once read
  bool m_hasOid = false;
};

// A link from one of a contact's numbers to the actions-history record of
// calls to it (which counts them); made by whoever keeps the history.
class POHistoryLink {
 public:
  virtual ~POHistoryLink() = default;
  virtual int UsageCount() const = 0;
};

// Phone kinds 1-8.
constexpr int kPhoneKindMobile = 1;
constexpr int kPhoneKindAssistant = 2;
constexpr int kPhoneKindBusiness = 3;
constexpr int kPhoneKindBusiness2 = 4;
constexpr int kPhoneKindCar = 5;
constexpr int kPhoneKindHome = 6;
constexpr int kPhoneKindHome2 = 7;
constexpr int kPhoneKindRadio = 8;

class POContact : public POItem {
 public:
  explicit POContact(IDispatch* item);
  ~POContact() override;

  const std::u16string& GetFirstName();
  const std::u16string& GetLastName();
  // The name used when first and last name are both empty: the file-as
  // name, else the company, else the first e-mail address.
  const std::u16string& GetAlternativeName();
  // "First Last"; the alternative name when both are empty.
  std::u16string GetDisplayName();
  // The number of a kind (1-8); empty for another kind or none.
  const std::u16string& GetNumber(int kind);
  // The first number in kind order, or "(no phone number)".
  std::u16string GetFirstNumber();
  // The kind a tap should call (see the .cpp); 0: none, open the details.
  int GetPreferredKind();
  // The fixed label of a kind ("Mobile phone", ...; "(error)" for another).
  static std::u16string GetNumberLabel(int kind);
  // The contact's picture (a device path); empty when it has none.
  std::u16string GetPicturePath();

  // The further texts of a contact, which the contacts page searches and
  // the details page shows; all are read together on the first ask.
  enum Field : int {
    kFieldMiddleName,
    kFieldSuffix,
    kFieldTitle,
    kFieldCompany,
    kFieldDepartment,
    kFieldEmail1,
    kFieldEmail2,
    kFieldEmail3,
    kFieldOfficeLocation,
    kFieldJobTitle,
    kFieldAssistantName,
    kFieldHomeStreet,
    kFieldHomeCity,
    kFieldHomeState,
    kFieldHomePostalCode,
    kFieldHomeCountry,
    kFieldOtherStreet,
    kFieldOtherCity,
    kFieldOtherState,
    kFieldOtherPostalCode,
    kFieldOtherCountry,
    kFieldBusinessStreet,
    kFieldBusinessCity,
    kFieldBusinessState,
    kFieldBusinessPostalCode,
    kFieldBusinessCountry,
    kFieldNotes,
    kFieldCount
  };
  // Empty for a field out of range or one that cannot be read.
  const std::u16string& GetField(int field);

  // The history link of a kind (owned by the contact); null when none.
  POHistoryLink* GetHistoryLink(int kind) const;
  void SetHistoryLink(int kind, std::unique_ptr<POHistoryLink> link);

  void DropCache() override;

 private:
  // The IContact of the item, null when it is none.
  IContact* Contact();

  IContact* m_pContact = nullptr;                 // the item as a contact; one reference
  bool m_asked = false;                           // m_pContact was asked for
  std::u16string m_first, m_last, m_alternative;  // once read
  bool m_hasFirst = false, m_hasLast = false, m_hasAlternative = false;
  std::array<std::u16string, 9> m_numbers;  // by kind (0 unused), once read
  std::array<bool, 9> m_hasNumber{};
  std::array<std::u16string, kFieldCount> m_fields;  // GetField's texts, once read
  bool m_hasFields = false;
  std::array<std::unique_ptr<POHistoryLink>, 9> m_history;  // by kind (0 unused)
};

class POTask : public POItem {
 public:
  explicit POTask(IDispatch* item);
  ~POTask() override;

  std::u16string GetSubject();
  bool IsComplete();
  // 0 low, 1 normal, 2 high; 1 when it cannot be read.
  int GetImportance();
  std::u16string GetCategories();
  std::u16string GetNotes();
  // False when the task has no such date: none stored (0 or less), the
  // object model's "no date" (949998.0), or a value that is not a date.
  bool GetStartDate(std::int64_t* time);
  bool GetDueDate(std::int64_t* time);
  bool GetDateCompleted(std::int64_t* time);
  void DropCache() override;

 private:
  struct CachedDate {
    bool read = false;
    bool present = false;
    std::int64_t time = 0;
  };
  bool Date(HRESULT (ITask::*get)(DATE*), CachedDate* cache, std::int64_t* time);
  ITask* Task();

  ITask* m_pTask = nullptr;  // the item as a task; one reference
  bool m_asked = false;
  CachedDate m_start, m_due, m_completed;
};

class POAppointment : public POItem {
 public:
  explicit POAppointment(IDispatch* item);
  ~POAppointment() override;

  std::u16string GetSubject();
  std::u16string GetLocation();
  std::u16string GetNotes();
  bool IsAllDay();
  // False when the date is 0 (none) or not a date.
  bool GetStart(std::int64_t* time);
  bool GetEnd(std::int64_t* time);
  void DropCache() override;

 private:
  struct CachedDate {
    bool read = false;
    DATE value = 0;
  };
  bool Date(HRESULT (IAppointment::*get)(DATE*), CachedDate* cache, std::int64_t* time);
  IAppointment* Appointment();

  IAppointment* m_pAppointment = nullptr;  // the item as an appointment; one reference
  bool m_asked = false;
  CachedDate m_start, m_end;
};

// A local DATE as a time value; false when it is not a date.
bool mivoLocalDateToTime(DATE date, std::int64_t* time);
