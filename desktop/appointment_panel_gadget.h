// CmivoAppointmentPanelGadget: the coming appointments at a glance. Under a
// heading for each day ("Today", "Tommorow", the weekday, the date) every
// appointment takes two lines: when (and where) it is, then what it is,
// each cut with "..." when too long. One that is under way stands under
// Today. With nothing to come the panel says "None" under Today. A tap
// opens the calendar page on the day tapped (on today elsewhere).
//
// The appointments are collected when the panel is first drawn, again when
// the calendar changes (the Outlook notifications) and at midnight; the system
// time's state value repaints it every minute, so a finished appointment
// leaves. No stored fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/gadget.h"
#include "pim/outlook_events.h"

class POAppointmentsCollection;

class CmivoAppointmentPanelGadget : public CmivoGadget, public mivoOutlookEventHandler {
 public:
  // One appointment, copied from the collection.
  struct Appointment {
    std::int64_t start = 0;  // seconds since 1970
    std::int64_t end = 0;    // not before start
    bool allDay = false;
    std::u16string subject;
    std::u16string location;
  };

  CmivoAppointmentPanelGadget(mivoCore* core, CmivoDesktopPage* page);
  ~CmivoAppointmentPanelGadget() override;

  // Collects the appointments that end after the start of today, ordered by
  // start (and from then on follows the calendar's changes).
  void Collect();
  // Collects unless the appointments were collected today.
  void EnsureCollected();
  const std::vector<Appointment>& Appointments() const { return m_appointments; }
  // The restriction the collection is asked with for the day (days since 1970):
  // [End] > "yyyy-mm-dd 00:00", a form every locale reads the same.
  static std::u16string Restriction(std::int64_t day);
  // The day an appointment is listed under, at `now`: its start's day, or
  // today for one already under way.
  static std::int64_t ListedDay(const Appointment& appointment, std::int64_t now);

  void Paint(HDC dc) override;
  // Outside design mode: the calendar page on the day under the point.
  void OnTap(UINT flags, POINT point) override;
  void OnActivate() override;
  void OnDeactivate() override;
  // The time changed: a new day collects again; every change repaints.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;
  const char* GadgetClassName() const override { return "CmivoAppointmentPanelGadget"; }
  // "Today: 09:00 - 10:00 Dentist | Tommorow: ..." or "Today: None".
  std::u16string GetDumpText() override;

  // The calendar changed: collect again.
  void OnOutlookItemAdded(int source, mivoOutlookObject* item) override { Refresh(); }
  void OnOutlookListChanged(int source, mivoOutlookObject* list) override { Refresh(); }
  void OnOutlookItemChanged(int source, mivoOutlookObject* item) override { Refresh(); }

  // The day (days since 1970) under a point of the last paint, or -1.
  std::int64_t DayAt(POINT point) const;

 private:
  // A heading or an appointment as last painted, with the day it belongs to.
  struct Hit {
    RECT rect;
    std::int64_t day;
  };
  // One line of the panel, before drawing.
  struct Line {
    enum class Kind { kHeading, kWhen, kWhat, kNone } kind;
    std::u16string text;
    std::int64_t day;
  };
  // The lines to show now: headings, two lines per appointment still to end.
  std::vector<Line> MakeLines(std::int64_t now) const;
  // The first line of an appointment: its times and place.
  static std::u16string WhenText(const Appointment& appointment);
  void Refresh();
  POAppointmentsCollection* Collection() const;
  void StopListening();

  std::vector<Appointment> m_appointments;          // ending after the start of m_collectedDay, by start
  std::int64_t m_collectedDay = -1;                 // today when they were collected; -1: not yet
  std::vector<Hit> m_hits;                          // as last painted
  POAppointmentsCollection* m_pListened = nullptr;  // the Outlook store's collection listened to
  UINT m_message = 0;                               // the page's notification message; 0: none
  HREGNOTIFY m_notify = nullptr;                    // the system time's notification; null: none
};
