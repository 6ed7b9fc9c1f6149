// The actions history's ranking and the favourites' positions.
#include <algorithm>

#include "actions/actions.h"
#include "platform/win32/text.h"

// ---- History ----------------------------------------------------------------

std::u16string mivoActionsHistory::KeyOf(const mivoAction& action) {
  std::u16string key = text::FromInt(action.TypeId());
  key += u':';
  key += action.IdentityKey();
  return key;
}

mivoHistoryEntry* mivoActionsHistory::Find(const mivoAction& action) const {
  auto it = m_index.find(KeyOf(action));
  if (it == m_index.end()) return nullptr;
  // The key is exact for every kind; IsSame stays the judge.
  return it->second->Action()->IsSame(action) ? it->second : nullptr;
}

mivoHistoryEntry* mivoActionsHistory::Record(const mivoAction& action, bool* created) {
  std::u16string key = KeyOf(action);
  if (auto it = m_index.find(key); it != m_index.end()) {
    if (created) *created = false;
    return Count(it->second);
  }
  if (created) *created = true;
  return Append(action.Clone(), std::move(key));
}

mivoHistoryEntry* mivoActionsHistory::Record(std::unique_ptr<mivoAction> action, bool* created) {
  std::u16string key = KeyOf(*action);
  if (auto it = m_index.find(key); it != m_index.end()) {
    if (created) *created = false;
    return Count(it->second);
  }
  if (created) *created = true;
  return Append(std::move(action), std::move(key));
}

mivoHistoryEntry* mivoActionsHistory::Append(std::unique_ptr<mivoAction> action, std::u16string key) {
  auto entry = std::make_unique<mivoHistoryEntry>();
  entry->m_action.Reset(std::move(action));
  entry->m_count = 1;
  entry->m_stamp = m_nextStamp++;
  entry->m_position = m_entries.size();
  mivoHistoryEntry* raw = entry.get();
  m_entries.push_back(std::move(entry));
  m_index.emplace(std::move(key), raw);
  ++m_totalStarts;
  return raw;
}

// One more start. The entry moves up past every entry with its old count
// (they all reached that count before it), and stops behind the entries that
// already have its new count: equal counts keep the order they reached it in.
mivoHistoryEntry* mivoActionsHistory::Count(mivoHistoryEntry* entry) {
  ++m_totalStarts;
  if (entry->m_count == INT32_MAX) return entry;  // as high as a count goes; the ranking stands
  const int old = entry->m_count++;
  entry->m_stamp = m_nextStamp++;
  if (m_replaying) return entry;
  const std::size_t p = entry->m_position;
  // First position before p whose count is the old count (counts fall along the list).
  auto first = std::partition_point(m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(p),
                                    [old](const std::unique_ptr<mivoHistoryEntry>& e) { return e->m_count > old; });
  const std::size_t q = static_cast<std::size_t>(first - m_entries.begin());
  if (q < p) {
    std::rotate(first, m_entries.begin() + static_cast<std::ptrdiff_t>(p),
                m_entries.begin() + static_cast<std::ptrdiff_t>(p + 1));
    for (std::size_t i = q; i <= p; ++i) m_entries[i]->m_position = i;
  }
  return entry;
}

void mivoActionsHistory::EndReplay() {
  m_replaying = false;
  std::stable_sort(m_entries.begin(), m_entries.end(), [](const auto& a, const auto& b) {
    return a->m_count != b->m_count ? a->m_count > b->m_count : a->m_stamp < b->m_stamp;
  });
  for (std::size_t i = 0; i < m_entries.size(); ++i) m_entries[i]->m_position = i;
}

void mivoActionsHistory::Clear() {
  m_index.clear();
  m_entries.clear();
  m_totalStarts = 0;
}

// ---- Favourites ---------------------------------------------------------------

bool mivoFavorites::Set(std::size_t index, std::unique_ptr<mivoAction> action) {
  if (index >= m_positions.size()) return false;
  m_positions[index].Reset(std::move(action));
  return true;
}

bool mivoFavorites::Contains(const mivoAction& action) const {
  return std::any_of(m_positions.begin(), m_positions.end(),
                     [&](const mivoHeldAction& p) { return p && p->IsSame(action); });
}

int mivoFavorites::Remove(const mivoAction& action) {
  // Compare against a copy: `action` may be the very favourite that goes.
  std::unique_ptr<mivoAction> probe = action.Clone();
  int removed = 0;
  for (mivoHeldAction& p : m_positions) {
    if (p && p->IsSame(*probe)) {
      p.Reset(nullptr);
      ++removed;
    }
  }
  return removed;
}
