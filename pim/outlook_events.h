// How the SMS store and the contacts tell pages what changed: the listener
// interface and the ordered list of listeners that folders, messages and
// the contacts collection keep.
#pragma once

#include <memory>
#include <vector>

// What the store hands to listeners: a folder, a message, a contact. Take
// the kind of object the source kind says (dynamic_cast).
class mivoOutlookObject {
 public:
  virtual ~mivoOutlookObject() = default;
};

// Source kinds of the notifications.
constexpr int kOutlookSourceSMS = 0;       // the SMS store
constexpr int kOutlookSourceContacts = 1;  // the contacts collection
constexpr int kOutlookSourceAppointments = 2;  // the appointments collection

class mivoOutlookEventHandler {
 public:
  virtual ~mivoOutlookEventHandler() = default;
  // An item was added to the source's list.
  virtual void OnOutlookItemAdded(int source, mivoOutlookObject* item) = 0;
  // The list changed (an item went): fill again from the source.
  virtual void OnOutlookListChanged(int source, mivoOutlookObject* list) = 0;
  // An item changed: draw it again.
  virtual void OnOutlookItemChanged(int source, mivoOutlookObject* item) = 0;
};

// An ordered list of listeners; each operation is forwarded to every
// listener in list order.
//
// Listeners may add and remove themselves (and others) while they are being
// told, and may even delete the container: the walk goes over the listeners
// registered when it started, skips those removed meanwhile, never tells one
// added meanwhile, and stops when the container is gone.
class mivoOutlookEventsContainer : public mivoOutlookObject, public mivoOutlookEventHandler {
 public:
  mivoOutlookEventsContainer();
  ~mivoOutlookEventsContainer() override;

  // A listener is in the list at most once; adding it again keeps its place.
  void AddListener(mivoOutlookEventHandler* listener);
  void RemoveListener(mivoOutlookEventHandler* listener);
  bool HasListener(mivoOutlookEventHandler* listener) const;
  std::size_t ListenerCount() const { return m_listeners.size(); }

  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override;
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override;
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override;

 private:
  template <typename Fn>
  void Tell(Fn fn);

  std::vector<mivoOutlookEventHandler*> m_listeners;  // in the order they were added
  std::shared_ptr<bool> m_alive;                      // false once the container is gone; walks hold it
};
