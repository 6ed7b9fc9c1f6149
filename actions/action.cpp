#include "actions/action.h"

#include <algorithm>

#include "look/archive.h"

void mivoAction::CopyFrom(const mivoAction& other) {
  m_pCore = other.m_pCore;
  m_flag = other.m_flag;
}

void mivoAction::SaveRecord(mivoArchiveWriter& out) const {
  out.WriteU32(m_typeId);
  out.WriteU8(m_flag);
  Save(out);
}

bool mivoAction::LoadRecord(mivoArchiveReader& in) {
  std::uint8_t flag = 0;
  if (!in.ReadU8(&flag)) return false;
  m_flag = flag;
  return Load(in) && !in.Failed();
}

bool mivoAction::IsSame(const mivoAction& other) const {
  return this == &other || (m_typeId == other.m_typeId && IsEqual(other));
}

void mivoAction::AddOwner(const void* holder) {
  m_lastOwner = holder;
  if (std::find(m_owners.begin(), m_owners.end(), holder) == m_owners.end()) m_owners.push_back(holder);
  ++m_holdCount;
}

bool mivoAction::ReleaseOwner(const void* holder) {
  if (m_owners.empty()) return false;  // never held: its maker deletes it
  auto it = std::find(m_owners.begin(), m_owners.end(), holder);
  if (it == m_owners.end()) it = m_owners.end() - 1;
  m_owners.erase(it);
  if (m_lastOwner == holder) m_lastOwner = m_owners.empty() ? nullptr : m_owners.back();
  if (!m_owners.empty()) return false;
  delete this;
  return true;
}
