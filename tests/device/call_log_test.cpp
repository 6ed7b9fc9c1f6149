// The phone library's call log, reached by ordinal, and the calls the device records.
#include "platform/device/call_log.h"

#include <gtest/gtest.h>

#include "platform/device/device.h"
#include "platform/device/phone.h"
#include "platform/device/pim_db.h"
#include "platform/registry/registry.h"
#include "platform/win32/local_memory.h"
#include "tests/device/device_fixture.h"

namespace {

using OpenFn = HRESULT (*)(HANDLE*);
using GetFn = HRESULT (*)(HANDLE, PCALLLOGENTRY);
using CloseFn = HRESULT (*)(HANDLE);
using SeekFn = HRESULT (*)(HANDLE, DWORD, DWORD, LPDWORD);

class CallLogTest : public devicetest::DeviceTest {
 protected:
  CallLogTest() : DeviceTest(Unprovisioned()) {}

  std::int64_t Add(DWORD direction, const char16_t* number, std::int64_t start, std::int64_t seconds = 0) {
    device::CallRecord r;
    r.direction = direction;
    r.number = number;
    r.startUnixMs = start;
    r.endUnixMs = start + seconds * 1000;
    r.flags = (direction == IOM_OUTGOING ? CALLLOGFLAG_OUTGOING : 0) | CALLLOGFLAG_ENDED;
    return device::AddCall(r);
  }
};

TEST_F(CallLogTest, EntriesAreReadByOrdinalNewestFirstAndTheirTextsAreTheReaders) {
  device::ContactRecord anna;
  anna.firstName = u"Anna";
  anna.home = u"+420 224 812 345";
  ASSERT_NE(device::AddContact(&anna), 0);
  ASSERT_NE(Add(IOM_INCOMING, u"+420224812345", 1000000, 90), 0);
  ASSERT_NE(Add(IOM_OUTGOING, u"+1 555 0100", 2000000, 30), 0);
  ASSERT_NE(Add(IOM_MISSED, u"+420 224 812 345", 3000000), 0);

  ASSERT_EQ(PhoneLibraryProc(0), nullptr);
  ASSERT_EQ(PhoneLibraryProc(6), nullptr);
  auto open = reinterpret_cast<OpenFn>(PhoneLibraryProc(1));
  auto get = reinterpret_cast<GetFn>(PhoneLibraryProc(2));
  auto close = reinterpret_cast<CloseFn>(PhoneLibraryProc(3));
  auto seek = reinterpret_cast<SeekFn>(PhoneLibraryProc(4));
  ASSERT_TRUE(open && get && close && seek && PhoneLibraryProc(5));

  HANDLE log = nullptr;
  ASSERT_EQ(open(&log), S_OK);
  ASSERT_EQ(seek(log, CALLLOGSEEK_BEGINNING, 0, nullptr), S_OK);
  std::vector<CALLLOGENTRY> entries;
  for (;;) {
    CALLLOGENTRY e{};
    e.cbSize = sizeof e;
    if (get(log, &e) != S_OK) break;
    entries.push_back(e);
  }
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].iom, IOM_MISSED);
  EXPECT_EQ(entries[1].iom, IOM_OUTGOING);
  EXPECT_EQ(entries[2].iom, IOM_INCOMING);
  EXPECT_EQ(std::u16string(entries[2].pszName), u"Anna");  // named from the contacts
  EXPECT_EQ(std::u16string(entries[2].pszNameType), u"h");
  EXPECT_EQ(std::u16string(entries[1].pszName), u"");
  std::uint64_t start =
      (static_cast<std::uint64_t>(entries[2].ftStartTime.dwHighDateTime) << 32) | entries[2].ftStartTime.dwLowDateTime;
  std::uint64_t end =
      (static_cast<std::uint64_t>(entries[2].ftEndTime.dwHighDateTime) << 32) | entries[2].ftEndTime.dwLowDateTime;
  EXPECT_EQ(end - start, 90ull * 10000000ull);
  for (CALLLOGENTRY& e : entries)
    for (LPWSTR s : {e.pszNumber, e.pszName, e.pszNameType, e.pszNote}) LocalFree(s);

  // A wrong size is refused; a seek reads the log anew.
  CALLLOGENTRY bad{};
  bad.cbSize = 48;
  EXPECT_EQ(get(log, &bad), E_INVALIDARG);
  ASSERT_NE(Add(IOM_INCOMING, u"+420 1", 4000000), 0);
  DWORD at = 99;
  ASSERT_EQ(seek(log, CALLLOGSEEK_BEGINNING, 1, &at), S_OK);
  EXPECT_EQ(at, 1u);
  CALLLOGENTRY second{};
  second.cbSize = sizeof second;
  ASSERT_EQ(get(log, &second), S_OK);
  EXPECT_EQ(second.iom, IOM_MISSED);
  for (LPWSTR s : {second.pszNumber, second.pszName, second.pszNameType, second.pszNote}) LocalFree(s);
  ASSERT_EQ(close(log), S_OK);
  EXPECT_EQ(close(log), E_INVALIDARG);
  CALLLOGENTRY after{};
  after.cbSize = sizeof after;
  EXPECT_EQ(get(log, &after), E_INVALIDARG);
}

TEST_F(CallLogTest, MissedCallsAreCountedAndDialsAreOutgoingCalls) {
  ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", 0));
  ASSERT_NE(Add(IOM_MISSED, u"+420 603 111 222", 1000), 0);
  ASSERT_NE(Add(IOM_MISSED, u"+420 603 111 333", 2000), 0);
  ASSERT_NE(Add(IOM_INCOMING, u"+420 603 111 444", 3000, 5), 0);
  DWORD missed = 0;
  ASSERT_TRUE(reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", &missed));
  EXPECT_EQ(missed, 2u);
  std::u16string last;
  ASSERT_TRUE(reg::GetString(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Last Incoming Caller Number", &last));
  EXPECT_EQ(last, u"+420 603 111 444");

  PHONEMAKECALLINFO call;
  call.dwFlags = PMCF_DEFAULT;
  call.pszDestAddress = u"+420 777 000 111";
  call.pszCalledParty = u"Pizzerie";
  ASSERT_EQ(PhoneMakeCall(&call), 0);
  auto calls = device::ListCalls(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].direction, IOM_OUTGOING);
  EXPECT_EQ(calls[0].number, u"+420 777 000 111");
  EXPECT_EQ(calls[0].name, u"Pizzerie");
  EXPECT_TRUE(calls[0].flags & CALLLOGFLAG_OUTGOING);
  // Outgoing calls leave the last caller and the missed calls alone.
  ASSERT_TRUE(reg::GetDword(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", &missed));
  EXPECT_EQ(missed, 2u);
}

}  // namespace
