// Messaging (MAPI) on device.db: a session with its message stores table,
// stores with their special folders, folders with contents tables, messages
// with properties and recipients, submission, and advise sinks.
//
// The stores, folders and messages are rows of device.db (msg_stores,
// msg_folders, messages), so mivo-device and the launcher see the same
// messages. Every change, whoever made it (this process or another), reaches
// the advise sinks through the change log: on the change watcher's thread,
// never on the caller's, with the event kinds fnevNewMail (a message the
// network delivered; raised together with fnevObjectCreated, in one call),
// fnevObjectCreated, fnevObjectDeleted, fnevObjectModified and fnevObjectMoved.
//
// Submitting a message is the transport's work done at once: the message
// goes to the folder named by PR_SENTMAIL_ENTRYID (or is deleted with
// PR_DELETE_AFTER_SUBMIT), marked sent; this host has no radio, so the
// Sent folder is the record. The device can be told to fail the next
// submission (device::FailNextSMS), which then returns MAPI_E_NETWORK_ERROR
// and leaves the message where it was.
//
// Memory the calls hand out (property arrays, row sets) is freed with
// MAPIFreeBuffer and FreeProws. Entry identifiers are 16 bytes: four zero
// flag bytes, a kind byte and the row's id; CompareEntryIDs compares bytes.
#pragma once

#include "platform/device/mapi_defs.h"

struct IMAPIAdviseSink : IUnknown {
  // Called on the change watcher's thread; must not block. Only valid
  // during the call: the notifications and what they point at.
  virtual ULONG OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) = 0;
};
using LPMAPIADVISESINK = IMAPIAdviseSink*;

struct IMAPITable : IUnknown {
  virtual HRESULT SetColumns(LPSPropTagArray lpPropTagArray, ULONG ulFlags) = 0;
  virtual HRESULT SortTable(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) = 0;
  // The next rows from the cursor (fewer at the end, none past it); the
  // caller frees them with FreeProws. A column a row lacks is PT_ERROR.
  virtual HRESULT QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows) = 0;
  virtual HRESULT GetRowCount(ULONG ulFlags, ULONG* lpulCount) = 0;
};
using LPMAPITABLE = IMAPITable*;

struct IMAPIProp : IUnknown {
  // Writes what SetProps changed; KEEP_OPEN_READWRITE keeps the object
  // writable, KEEP_OPEN_READONLY read-only, neither closes it for writing.
  virtual HRESULT SaveChanges(ULONG ulFlags) = 0;
  // The values of the tags (all of them for null), in order; a property the
  // object lacks comes back as PT_ERROR with MAPI_E_NOT_FOUND and the call
  // returns MAPI_W_ERRORS_RETURNED. Free with MAPIFreeBuffer.
  virtual HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                           LPSPropValue* lppPropArray) = 0;
  virtual HRESULT SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems) = 0;
};
using LPMAPIPROP = IMAPIProp*;

struct IMessage : IMAPIProp {
  virtual HRESULT ModifyRecipients(ULONG ulFlags, LPADRLIST lpMods) = 0;
  // Sends the saved message now (see the head of this file).
  virtual HRESULT SubmitMessage(ULONG ulFlags) = 0;
};
using LPMESSAGE = IMessage*;

struct IMAPIContainer : IMAPIProp {
  virtual HRESULT GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
};

struct IMAPIFolder : IMAPIContainer {
  // A new message of this folder, written at its first SaveChanges.
  virtual HRESULT CreateMessage(LPCIID lpInterface, ULONG ulFlags, LPMESSAGE* lppMessage) = 0;
  virtual HRESULT DeleteMessages(LPENTRYLIST lpMsgList, ULONG_PTR ulUIParam, LPVOID lpProgress, ULONG ulFlags) = 0;
  // MESSAGE_MOVE moves instead of copying; lpDestFolder is an IMAPIFolder.
  virtual HRESULT CopyMessages(LPENTRYLIST lpMsgList, LPCIID lpInterface, LPVOID lpDestFolder, ULONG_PTR ulUIParam,
                               LPVOID lpProgress, ULONG ulFlags) = 0;
};
using LPMAPIFOLDER = IMAPIFolder*;

struct IMsgStore : IMAPIProp {
  // lpEntryID null: the whole store; a folder's: the messages in it; a
  // message's: that message. *lpulConnection is for Unadvise.
  virtual HRESULT Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask, LPMAPIADVISESINK lpAdviseSink,
                         ULONG* lpulConnection) = 0;
  // After it returns the sink is not called again (and has been released).
  virtual HRESULT Unadvise(ULONG ulConnection) = 0;
  virtual HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                            LPUNKNOWN* lppUnk) = 0;
};
using LPMDB = IMsgStore*;

struct IMAPISession : IUnknown {
  // Columns PR_DISPLAY_NAME, PR_ENTRYID, PR_OBJECT_TYPE; rows in the stores' order.
  virtual HRESULT GetMsgStoresTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
  virtual HRESULT OpenMsgStore(ULONG_PTR ulUIParam, ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface,
                               ULONG ulFlags, LPMDB* lppMDB) = 0;
  // Opens a store, folder or message; *lpulObjType says which (MAPI_STORE,
  // MAPI_FOLDER, MAPI_MESSAGE). MAPI_E_NOT_FOUND for an entry that is gone.
  virtual HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                            LPUNKNOWN* lppUnk) = 0;
  // *lpulResult TRUE when both identify the same object.
  virtual HRESULT CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                                  ULONG ulFlags, ULONG* lpulResult) = 0;
  virtual HRESULT Logoff(ULONG_PTR ulUIParam, ULONG ulFlags, ULONG ulReserved) = 0;
};
using LPMAPISESSION = IMAPISession*;

// MAPIInitialize before anything else (counted); MAPIUninitialize for each.
HRESULT MAPIInitialize(LPVOID lpMapiInit);
void MAPIUninitialize();
// A session on the open device (MAPI_E_LOGON_FAILED without one;
// MAPI_E_NOT_INITIALIZED before MAPIInitialize). Profile and password are not used.
HRESULT MAPILogonEx(ULONG_PTR ulUIParam, LPWSTR lpszProfileName, LPWSTR lpszPassword, FLAGS flFlags,
                    LPMAPISESSION* lppSession);

// Memory of the calls: a buffer, further blocks tied to it (freed with it).
SCODE MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer);
SCODE MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer);
ULONG MAPIFreeBuffer(LPVOID lpBuffer);
// Frees every row's property array, then the row set.
void FreeProws(LPSRowSet lpRows);
