// mivoCallLog: the phone object of the core. Reads the device's call log
// through the phone library (by ordinal) and places calls through it; the
// call log page shows the entries through one of four filters.
#pragma once

#include <string>
#include <vector>

#include "platform/device/call_log.h"

class mivoCallLog {
 public:
  mivoCallLog();
  // Frees the entries' texts and closes the call log.
  ~mivoCallLog();
  mivoCallLog(const mivoCallLog&) = delete;
  mivoCallLog& operator=(const mivoCallLog&) = delete;

  // Replaces the entries with the call log as it is now (newest first);
  // an empty list when it cannot be opened or read.
  void ReadCallLog();
  const std::vector<CALLLOGENTRY>& GetEntries() const { return m_entries; }
  // Dials: the platform asks first when askFirst; a name equal to the
  // number is passed as no name.
  void MakeCall(const std::u16string& number, const std::u16string& name, bool askFirst);

 private:
  void FreeEntries();

  HANDLE m_log = nullptr;               // the open call log; null until the first read
  std::vector<CALLLOGENTRY> m_entries;  // copies of the library's entries; their texts are ours to free
};

// The call log page's filters 0-3.
struct mivoCallLogFilter {
  int titleId;            // IDS_ALL_CALLS, ...
  const char16_t* image;  // the page image
  int direction;          // IOM_* kept; -1 keeps every entry
  int emptyTextId;        // shown when nothing is kept
  int helpTextId;         // the menu entry's help
};
constexpr int kCallLogFilterAll = 0;
constexpr int kCallLogFilterIncoming = 1;
constexpr int kCallLogFilterOutgoing = 2;
constexpr int kCallLogFilterMissed = 3;
// Null for a filter outside 0-3.
const mivoCallLogFilter* GetCallLogFilter(int filter);
bool CallLogFilterKeeps(int filter, const CALLLOGENTRY& entry);
// After the missed calls have been shown: HKCU "System\State\Phone" "Missed Call Count" = 0.
void ResetMissedCallCount();
