// Messaging (MAPI) types, property tags and values, as the phone platform
// names them. The objects themselves are in mapi.h.
#pragma once

#include <cstdint>

#include "platform/device/com.h"
#include "platform/win32/types.h"

using SCODE = LONG;
using FLAGS = ULONG;

// ---- Results --------------------------------------------------------------------

constexpr HRESULT MAPI_E_CALL_FAILED = E_FAIL;
constexpr HRESULT MAPI_E_NOT_ENOUGH_MEMORY = E_OUTOFMEMORY;
constexpr HRESULT MAPI_E_INVALID_PARAMETER = E_INVALIDARG;
constexpr HRESULT MAPI_E_NO_ACCESS = E_ACCESSDENIED;
constexpr HRESULT MAPI_E_NO_SUPPORT = static_cast<HRESULT>(0x80040102u);
constexpr HRESULT MAPI_E_NOT_FOUND = static_cast<HRESULT>(0x8004010Fu);
constexpr HRESULT MAPI_E_LOGON_FAILED = static_cast<HRESULT>(0x80040111u);
constexpr HRESULT MAPI_E_NETWORK_ERROR = static_cast<HRESULT>(0x80040115u);
constexpr HRESULT MAPI_E_INVALID_ENTRYID = static_cast<HRESULT>(0x80040107u);
constexpr HRESULT MAPI_E_OBJECT_DELETED = static_cast<HRESULT>(0x8004010Au);
constexpr HRESULT MAPI_E_NOT_INITIALIZED = static_cast<HRESULT>(0x80040605u);
constexpr HRESULT MAPI_E_NO_RECIPIENTS = static_cast<HRESULT>(0x80040607u);
constexpr HRESULT MAPI_E_UNCONFIGURED = static_cast<HRESULT>(0x8004011Cu);
constexpr HRESULT MAPI_E_DISK_ERROR = static_cast<HRESULT>(0x80040116u);
constexpr HRESULT MAPI_W_ERRORS_RETURNED = 0x00040380;

// ---- Property tags ----------------------------------------------------------------
// A tag is the property's id in the high word and its type in the low word.

constexpr ULONG PT_UNSPECIFIED = 0x0000;
constexpr ULONG PT_NULL = 0x0001;
constexpr ULONG PT_I2 = 0x0002;
constexpr ULONG PT_LONG = 0x0003;
constexpr ULONG PT_BOOLEAN = 0x000B;
constexpr ULONG PT_ERROR = 0x000A;
constexpr ULONG PT_I8 = 0x0014;
constexpr ULONG PT_STRING8 = 0x001E;
constexpr ULONG PT_UNICODE = 0x001F;
constexpr ULONG PT_SYSTIME = 0x0040;
constexpr ULONG PT_BINARY = 0x0102;

constexpr ULONG PROP_TYPE(ULONG tag) { return tag & 0xFFFF; }
constexpr ULONG PROP_ID(ULONG tag) { return tag >> 16; }
constexpr ULONG PROP_TAG(ULONG type, ULONG id) { return (id << 16) | type; }
constexpr ULONG CHANGE_PROP_TYPE(ULONG tag, ULONG type) { return (tag & 0xFFFF0000u) | type; }

constexpr ULONG PR_ORIGINATOR_DELIVERY_REPORT_REQUESTED = 0x0023000B;
constexpr ULONG PR_MESSAGE_CLASS = 0x001A001F;
constexpr ULONG PR_SUBJECT = 0x0037001F;
constexpr ULONG PR_CLIENT_SUBMIT_TIME = 0x00390040;
constexpr ULONG PR_SENDER_NAME = 0x0C1A001F;
constexpr ULONG PR_SENDER_EMAIL_ADDRESS = 0x0C1F001F;
constexpr ULONG PR_RECIPIENT_TYPE = 0x0C150003;
constexpr ULONG PR_DISPLAY_TO = 0x0E04001F;
constexpr ULONG PR_MESSAGE_DELIVERY_TIME = 0x0E060040;
constexpr ULONG PR_MESSAGE_FLAGS = 0x0E070003;
constexpr ULONG PR_MESSAGE_SIZE = 0x0E080003;
constexpr ULONG PR_PARENT_ENTRYID = 0x0E090102;
constexpr ULONG PR_SENTMAIL_ENTRYID = 0x0E0A0102;
constexpr ULONG PR_MSG_STATUS = 0x0E170003;
constexpr ULONG PR_ENTRYID = 0x0FFF0102;
constexpr ULONG PR_OBJECT_TYPE = 0x0FFE0003;
constexpr ULONG PR_BODY = 0x1000001F;
constexpr ULONG PR_DISPLAY_NAME = 0x3001001F;
constexpr ULONG PR_ADDRTYPE = 0x3002001F;
constexpr ULONG PR_EMAIL_ADDRESS = 0x3003001F;
constexpr ULONG PR_LAST_MODIFICATION_TIME = 0x30080040;
constexpr ULONG PR_CONTENT_COUNT = 0x36020003;
constexpr ULONG PR_CONTENT_UNREAD = 0x36030003;
constexpr ULONG PR_IPM_OUTBOX_ENTRYID = 0x35E20102;
constexpr ULONG PR_IPM_WASTEBASKET_ENTRYID = 0x35E30102;
constexpr ULONG PR_IPM_SENTMAIL_ENTRYID = 0x35E40102;
constexpr ULONG PR_CE_IPM_DRAFTS_ENTRYID = 0x81040102;
constexpr ULONG PR_CE_IPM_INBOX_ENTRYID = 0x81060102;
constexpr ULONG PR_DELETE_AFTER_SUBMIT = 0x0E01000B;

// PR_MESSAGE_FLAGS
constexpr ULONG MSGFLAG_READ = 0x0001;
constexpr ULONG MSGFLAG_UNMODIFIED = 0x0002;
constexpr ULONG MSGFLAG_SUBMIT = 0x0004;
constexpr ULONG MSGFLAG_UNSENT = 0x0008;
constexpr ULONG MSGFLAG_FROMME = 0x0020;

// PR_MSG_STATUS of an SMS.
constexpr ULONG MSGSTATUS_RECTYPE_SMS = 0x00040000;

// Object types.
constexpr ULONG MAPI_STORE = 1;
constexpr ULONG MAPI_FOLDER = 3;
constexpr ULONG MAPI_MESSAGE = 5;

constexpr ULONG MAPI_TO = 1;
constexpr ULONG MAPI_CC = 2;

// ---- Flags ---------------------------------------------------------------------------

constexpr ULONG MAPI_UNICODE = 0x80000000u;
constexpr ULONG MAPI_MODIFY = 0x00000001;
constexpr ULONG MAPI_BEST_ACCESS = 0x00000010;
constexpr ULONG MAPI_EXTENDED = 0x00000020;
constexpr ULONG MAPI_NEW_SESSION = 0x00000002;
constexpr ULONG MDB_NO_DIALOG = 0x00000001;
constexpr ULONG KEEP_OPEN_READONLY = 0x00000001;
constexpr ULONG KEEP_OPEN_READWRITE = 0x00000002;
constexpr ULONG FORCE_SAVE = 0x00000004;
constexpr ULONG MODRECIP_ADD = 0x00000002;
constexpr ULONG MODRECIP_MODIFY = 0x00000004;
constexpr ULONG MODRECIP_REMOVE = 0x00000008;
constexpr ULONG TABLE_SORT_ASCEND = 0x00000000;
constexpr ULONG TABLE_SORT_DESCEND = 0x00000001;
constexpr ULONG MESSAGE_MOVE = 0x00000001;

// Advise event kinds (the event mask of Advise and NOTIFICATION::ulEventType).
constexpr ULONG fnevCriticalError = 0x00000001;
constexpr ULONG fnevNewMail = 0x00000002;
constexpr ULONG fnevObjectCreated = 0x00000004;
constexpr ULONG fnevObjectDeleted = 0x00000008;
constexpr ULONG fnevObjectModified = 0x00000010;
constexpr ULONG fnevObjectMoved = 0x00000020;
constexpr ULONG fnevObjectCopied = 0x00000040;

// ---- Structures ------------------------------------------------------------------------

// An entry identifier: four flag bytes, then the provider's bytes.
struct ENTRYID {
  BYTE abFlags[4];
  BYTE ab[1];
};
using LPENTRYID = ENTRYID*;

struct SBinary {
  ULONG cb = 0;
  LPBYTE lpb = nullptr;
};

union _PV {
  _PV() : li(0) {}
  short int i;
  LONG l;
  ULONG ul;
  unsigned short int b;
  double dbl;
  LONGLONG li;
  FILETIME ft;
  LPSTR lpszA;
  LPWSTR lpszW;
  SBinary bin;
  SCODE err;
  LONG x;
};

struct SPropValue {
  ULONG ulPropTag;
  ULONG dwAlignPad;
  _PV Value;
};
using LPSPropValue = SPropValue*;

struct SPropTagArray {
  ULONG cValues;
  ULONG aulPropTag[1];
};
using LPSPropTagArray = SPropTagArray*;

// A fixed-size tag array on the stack: SizedSPropTagArray(2, tags) = {2, {A, B}}.
template <ULONG N>
struct SizedSPropTagArrayT {
  ULONG cValues;
  ULONG aulPropTag[N];
  LPSPropTagArray get() { return reinterpret_cast<LPSPropTagArray>(this); }
};

struct SPropProblem {
  ULONG ulIndex;
  ULONG ulPropTag;
  SCODE scode;
};
struct SPropProblemArray {
  ULONG cProblem;
  SPropProblem aProblem[1];
};
using LPSPropProblemArray = SPropProblemArray*;

struct SRow {
  ULONG ulAdrEntryPad;
  ULONG cValues;
  LPSPropValue lpProps;
};
using LPSRow = SRow*;

struct SRowSet {
  ULONG cRows;
  SRow aRow[1];
};
using LPSRowSet = SRowSet*;

struct SSortOrder {
  ULONG ulPropTag;
  ULONG ulOrder;  // TABLE_SORT_ASCEND or TABLE_SORT_DESCEND
};
struct SSortOrderSet {
  ULONG cSorts;
  ULONG cCategories;
  ULONG cExpanded;
  SSortOrder aSort[1];
};
using LPSSortOrderSet = SSortOrderSet*;

struct ADRENTRY {
  ULONG ulReserved1;
  ULONG cValues;
  LPSPropValue rgPropVals;
};
struct ADRLIST {
  ULONG cEntries;
  ADRENTRY aEntries[1];
};
using LPADRLIST = ADRLIST*;

struct ENTRYLIST {
  ULONG cValues;
  SBinary* lpbin;
};
using LPENTRYLIST = ENTRYLIST*;

struct NEWMAIL_NOTIFICATION {
  ULONG cbEntryID;
  LPENTRYID lpEntryID;
  ULONG cbParentID;
  LPENTRYID lpParentID;
  ULONG ulFlags;  // MAPI_UNICODE: the class is UTF-16
  LPWSTR lpszMessageClass;
  ULONG ulMessageFlags;
};

struct OBJECT_NOTIFICATION {
  ULONG cbEntryID;
  LPENTRYID lpEntryID;
  ULONG ulObjType;
  ULONG cbParentID;
  LPENTRYID lpParentID;
  ULONG cbOldID;
  LPENTRYID lpOldID;
  ULONG cbOldParentID;
  LPENTRYID lpOldParentID;
  LPSPropTagArray lpPropTagArray;
};

struct NOTIFICATION {
  ULONG ulEventType;
  ULONG ulAlignPad;
  union {
    NEWMAIL_NOTIFICATION newmail;
    OBJECT_NOTIFICATION obj;
  } info;
};
using LPNOTIFICATION = NOTIFICATION*;

// Identifiers of the messaging interfaces.
extern const IID IID_IMAPISession;
extern const IID IID_IMsgStore;
extern const IID IID_IMAPIFolder;
extern const IID IID_IMessage;
extern const IID IID_IMAPITable;
extern const IID IID_IMAPIAdviseSink;
