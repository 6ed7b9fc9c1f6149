#include "pim/outlook_events.h"

#include <algorithm>

mivoOutlookEventsContainer::mivoOutlookEventsContainer() : m_alive(std::make_shared<bool>(true)) {}

mivoOutlookEventsContainer::~mivoOutlookEventsContainer() { *m_alive = false; }

void mivoOutlookEventsContainer::AddListener(mivoOutlookEventHandler* listener) {
  if (listener && !HasListener(listener)) m_listeners.push_back(listener);
}

void mivoOutlookEventsContainer::RemoveListener(mivoOutlookEventHandler* listener) {
  std::erase(m_listeners, listener);
}

bool mivoOutlookEventsContainer::HasListener(mivoOutlookEventHandler* listener) const {
  return std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end();
}

template <typename Fn>
void mivoOutlookEventsContainer::Tell(Fn fn) {
  // The listeners of this moment; the list itself may change under the walk
  // (a page that fills again leaves and joins while it is being told).
  const std::vector<mivoOutlookEventHandler*> listeners = m_listeners;
  const std::shared_ptr<bool> alive = m_alive;
  for (mivoOutlookEventHandler* listener : listeners) {
    if (!*alive) return;
    if (HasListener(listener)) fn(listener);
  }
}

void mivoOutlookEventsContainer::OnOutlookItemAdded(int source, mivoOutlookObject* item) {
  Tell([&](mivoOutlookEventHandler* l) { l->OnOutlookItemAdded(source, item); });
}

void mivoOutlookEventsContainer::OnOutlookListChanged(int source, mivoOutlookObject* list) {
  Tell([&](mivoOutlookEventHandler* l) { l->OnOutlookListChanged(source, list); });
}

void mivoOutlookEventsContainer::OnOutlookItemChanged(int source, mivoOutlookObject* item) {
  Tell([&](mivoOutlookEventHandler* l) { l->OnOutlookItemChanged(source, item); });
}
