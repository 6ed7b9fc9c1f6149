// What the actions need from stores that other parts of the system bring:
// the contacts (Outlook store), the SMS sender (SMS store) and the
// control-panel catalogue. Those parts implement these interfaces and hand
// them to mivoActions when their store is made (the core makes stores on
// first use: mivoActions asks the core for the store, then uses what was
// registered). Until a store registers, the actions take the fallbacks of a
// missing store: numbers without names, "Invalid contact", "Unknown control
// panel", SMS that cannot be sent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win32/types.h"

class mivoHistoryEntry;

// One contact as the actions see it. Owned by the directory; valid until the
// directory changes (actions look contacts up again at every use).
class mivoContactInfo {
 public:
  virtual ~mivoContactInfo() = default;
  virtual std::uint32_t Oid() = 0;
  virtual std::u16string DisplayName() = 0;
  // The number of a phone kind (1-8); empty when the contact has none.
  virtual std::u16string Number(int kind) = 0;
  // The fixed label of a phone kind ("Mobile phone", ...).
  virtual std::u16string NumberLabel(int kind) = 0;
  // The kind a tap on the contact calls (0: none, open the details instead).
  virtual int PreferredKind() = 0;
  // The contact's picture, owned by the contact; null without one.
  virtual HBITMAP Photo() = 0;
  // Links a history entry of a call to one of the numbers, so the contact can
  // count calls per number.
  virtual void AttachHistoryEntry(int kind, mivoHistoryEntry* entry) = 0;
};

class mivoContactDirectory {
 public:
  virtual ~mivoContactDirectory() = default;
  // Null when no contact has the identifier (or it is 0).
  virtual mivoContactInfo* FindContactByOid(std::uint32_t oid) = 0;
  // The contact owning a number equal to `number` by its digits, with the
  // matching phone kind in *kind; null when none.
  virtual mivoContactInfo* FindContactByNumber(std::u16string_view number, int* kind) = 0;
  // Shows the contact in the platform's own contact viewer.
  virtual void ShowOutlookDetails(std::uint32_t oid) {}
};

class mivoSMSSender {
 public:
  virtual ~mivoSMSSender() = default;
  // Sends one message; false when it could not be sent.
  virtual bool SendSMS(std::u16string_view number, std::u16string_view text) = 0;
};

class mivoAppletInquiry {
 public:
  virtual ~mivoAppletInquiry() = default;
  // The applet's name and icon (owned by the catalogue, may be null); false
  // when the inquiry fails.
  virtual bool InquireApplet(int appletIndex, std::u16string* name, HICON* icon) = 0;
};

// Pages of other parts that actions hand something to. A catalogue page
// that implements one of these is given the value before it is shown.
class mivoPictureViewer {
 public:
  virtual ~mivoPictureViewer() = default;
  // Shows the picture (a device path) and its folder's other pictures.
  virtual void SetPicture(const std::u16string& path) = 0;
};

// The page a run-file action opens a folder in (the file explorer's page,
// which the content pages bring): given the folder, with an empty title
// (the page names itself after the folder).
class mivoFolderViewer {
 public:
  virtual ~mivoFolderViewer() = default;
  virtual void SetFolder(const std::u16string& title, const std::u16string& folder) = 0;
};

class mivoContactViewer {
 public:
  virtual ~mivoContactViewer() = default;
  // Shows the contact with this identifier.
  virtual void SetContact(std::uint32_t oid) = 0;
};
