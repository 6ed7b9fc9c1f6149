// CmivoPageWnd: a page, the unit of the page stack. A child window of the
// main frame over its client area, with an optional header (title, clock,
// signal and battery), the two soft keys "Back" and "Hide", and swipe
// tracking: a leftward swipe goes Back, other swipes are handed to the window
// under the press point (WM_MIVO_SWIPE) with the direction in SwipeText().
//
// Pages are made once and live until the program ends; the core shows them
// (ShowPage), activates them each time they come on top (OnPageShown) and
// deactivates them when they stop being the top (OnPageHidden).
#pragma once

#include <string>

#include "ui/wnd.h"

class mivoSkinImage;
namespace window {
class JsonWriter;
}

class CmivoPageWnd : public CmivoWnd {
 public:
  explicit CmivoPageWnd(mivoCore* core) : CmivoWnd(core) {}
  // A page that goes away leaves the page stack first.
  ~CmivoPageWnd() override;

  // Creates the window: a visible child of the frame over its client area, id -1.
  virtual BOOL CreatePage(CWnd* frame);

  // ---- The page operations ----
  // Pages with modes take their mode here; called before showing.
  virtual void SetPageParam(int param, int extra) {}
  // The left soft key: the core's PopPage.
  virtual void GoBack();
  // The right soft key: the core's MinimizeApplication.
  virtual void HideApplication();
  // Posts the shared labels "Back" and "Hide", refreshed from the string
  // table when the language's texts differ from the kept copies.
  virtual void UpdateSoftKeys();
  // The page's name for a mode: "(unknown page name)" in the base.
  virtual std::u16string GetTitle(int param, int extra);
  // A longer description for a mode; empty in the base.
  virtual std::u16string GetHelpText(int param, int extra) { return {}; }
  // The page's icon for a mode (may be null).
  virtual mivoSkinImage* GetPageIcon(int param, int extra) { return m_pPageIcon; }
  // The page's answer to WM_MIVO_QUERY_FLAG (1 for true); true in the base.
  virtual bool QueryFlag() { return true; }
  // The page came on top / stopped being the top.
  virtual void OnPageShown() {}
  virtual void OnPageHidden() {}

  // ---- Further hooks ----
  // Places what the page holds over the content rectangle; called when the
  // window is made and after every WM_MIVO_RELAYOUT. Nothing in the base.
  virtual void LayoutPage() {}
  // The exit request reaches the root page before its window goes: the
  // desktop page stores its desktops and releases its gadgets here.
  virtual void OnExitRequest() {}
  // The class name the state dump shows.
  virtual const char* PageClassName() const { return "CmivoPageWnd"; }
  // The state dump's "top": each writes one JSON array (rectangles in screen
  // pixels). Empty in the base.
  virtual void DumpRows(window::JsonWriter& j);
  virtual void DumpCells(window::JsonWriter& j);
  virtual void DumpTexts(window::JsonWriter& j);

  // ---- The header ----
  // The header's text; empty means no header (the content takes the whole page).
  const std::u16string& Title() const { return m_title; }
  void SetTitle(const std::u16string& title);
  // Client coordinates; the header is empty without a title.
  const RECT& HeaderRect() const { return m_headerRect; }
  const RECT& ContentRect() const { return m_contentRect; }
  // Where the header last drew its indicators (state changes repaint them).
  const RECT& ClockRect() const { return m_clockRect; }
  const RECT& BatteryRect() const { return m_batteryRect; }
  const RECT& SignalRect() const { return m_signalRect; }

  // ---- Swipes ----
  // "l" (leftward), "r" (rightward) or empty; read it while handling WM_MIVO_SWIPE.
  const std::u16string& SwipeText() const { return m_swipeText; }
  bool SwipeBackEnabled() const { return m_swipeBackEnabled; }
  void SetSwipeBackEnabled(bool on) { m_swipeBackEnabled = on; }
  // The core's activation and deactivation: forget a swipe in progress.
  void ResetSwipeState();
  void ClearPressPending() { m_pressPending = false; }

  // Draws the header (the base's background step).
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  // Adds the page icon first, then the children's images.
  void CollectImages(std::vector<mivoSkinImage*>& images) override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Swipe tracking over the page's press, move and release.
  BOOL PreTranslateMessage(MSG* msg) override;

  // Header metrics: 37·S high; the top band is 15·S.
  static constexpr int kHeaderHeight = 37;
  static constexpr int kHeaderTopBand = 15;
  // A swipe drifts less than this many pixels vertically (unscaled).
  static constexpr int kSwipeMaxDrift = 30;

 protected:
  // Sizes the window to the frame's client area (creation and relayout).
  void FitToFrame();
  // Recomputes the header and content rectangles from the client area.
  void ComputeLayout();
  void DrawHeader(HDC dc);

  std::u16string m_title;                // the header's text; empty: no header
  RECT m_headerRect{};                   // the top 37·S of the client area, or empty
  RECT m_contentRect{};                  // below the header, or the whole client area
  RECT m_clockRect{};                    // the header's clock, as last drawn
  RECT m_batteryRect{};                  // the header's battery, as last drawn
  RECT m_signalRect{};                   // the header's signal bars, as last drawn
  mivoSkinImage* m_pPageIcon = nullptr;  // GetPageIcon's answer; may stay null
  bool m_swipeBackEnabled = true;        // a leftward swipe goes Back

 private:
  POINT m_pressPoint{};        // screen coordinates of the press
  int m_swipeDx = 0;           // largest horizontal distance from the press so far
  int m_swipeDy = 0;           // largest vertical distance from the press so far
  std::u16string m_swipeText;  // "l", "r" or empty
  bool m_tracking = false;     // a press on the page is being followed
  bool m_pressPending = false; // the press's release still goes on as a tap
  bool m_swipeRecognised = false;  // this press became a swipe at some point (never a tap again)
};
