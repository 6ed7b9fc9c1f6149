// A page as far as the core and the main frame need one: a child window of
// the frame that covers its client area, stacked by the core, with the
// operations the frame calls (Back, hide, soft keys, exit) and the header
// rectangles that state changes repaint. The page framework grows this into
// the full page base (header, swipes, children); the root page stands where
// the desktop page will stand.
#pragma once

#include <string>

#include "app/mivo_class.h"
#include "platform/window/framework.h"

class CmivoPageWnd : public CWnd, public mivoClass {
 public:
  explicit CmivoPageWnd(mivoCore* core) : mivoClass(core) {}

  // Creates the window: a visible child of the frame over its client area.
  virtual BOOL CreatePage(CWnd* frame);

  virtual bool IsDoubleBuffered() { return m_doubleBuffered; }
  virtual void SetDoubleBuffered(bool on) { m_doubleBuffered = on; }
  // Paint once through an off-screen bitmap (after a slide).
  virtual void RequestBufferedPaint() { m_bufferNextPaint = true; }
  // The left soft key: the core's PopPage.
  virtual void GoBack();
  // The right soft key: the core's MinimizeApplication.
  virtual void HideApplication();
  // Posts the shared labels "Back" and "Hide", refreshed from the string
  // table when the language's texts differ from the kept copies.
  virtual void UpdateSoftKeys();
  virtual std::u16string GetTitle() { return m_title; }
  virtual void OnPageShown() {}
  virtual void OnPageHidden() {}
  // The exit request reaches the root page before its window goes: the
  // desktop page stores its desktops and releases its gadgets here.
  virtual void OnExitRequest() {}
  // The class name the state dump shows.
  virtual const char* PageClassName() const { return "CmivoPageWnd"; }

  // Where the header last drew its indicators (empty without a header).
  const RECT& ClockRect() const { return m_clockRect; }
  const RECT& BatteryRect() const { return m_batteryRect; }
  const RECT& SignalRect() const { return m_signalRect; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // Sizes the window to the frame's client area (creation and relayout).
  void FitToFrame();
  // Draws the page; the base fills the area with the look's background colour.
  virtual void Paint(HDC dc, const RECT& area);

  std::u16string m_title;        // empty: no header
  RECT m_clockRect{};            // the header's clock, as last drawn
  RECT m_batteryRect{};          // the header's battery, as last drawn
  RECT m_signalRect{};           // the header's signal bars, as last drawn
  bool m_doubleBuffered = false;   // paint always through an off-screen bitmap
  bool m_bufferNextPaint = false;  // paint once through an off-screen bitmap
};

// The root page until the desktop page takes its place: no header, the
// background colour over the whole frame.
class CmivoRootPage : public CmivoPageWnd {
 public:
  explicit CmivoRootPage(mivoCore* core) : CmivoPageWnd(core) {}
  const char* PageClassName() const override { return "CmivoRootPage"; }
};
