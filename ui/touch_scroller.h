// mivoTouchScroller: what a finger does to a view that scrolls vertically,
// written once for every list, gadget and page that scrolls by touch. It
// tells a press that becomes a drag from a tap, follows the finger while it
// drags, jumps when the finger touches the scroll strip at the right edge,
// keeps the content coasting after a flick, and keeps every offset within
// the content.
//
// The scroller owns no window and paints nothing: its owner hands it the
// finger's points (in any coordinates, as long as the view rectangle is in
// the same ones) with the time, and the scroller moves the content through
// the owner's Target. A window drives it from its button and mouse
// messages; a gadget without a window of its own drives it the same way from
// the points its desktop hands it.
//
//   press ─ moves less than the slop ─ release ──────────────────── kTap / kStripJump
//     └── moves the slop or more: a drag ─ release ─ quick (< 400 ms)? kFlick : kDrag
//   a press while coasting stops the coasting and taps nothing
#pragma once

#include "platform/win32/types.h"

class mivoTouchScroller {
 public:
  // What is scrolled. The owner keeps the offset and moves its content.
  class Target {
   public:
    virtual ~Target() = default;
    // Content pixels scrolled above the view's top.
    virtual int GetScrollOffset() const = 0;
    // The largest offset the content is meant to take; below 1 when all of it fits.
    virtual int GetMaxScrollOffset() const = 0;
    // Moves the content. The scroller hands offsets within 0..max, except a
    // coasting step, which may end one step past the end it runs into.
    virtual void SetScrollOffset(int offset) = 0;
    // The view, in the coordinates of the points handed to the scroller.
    virtual RECT GetScrollView() const = 0;
  };

  // How a drag moves the content with the finger.
  enum class Follow {
    // Every move after the one that passes the slop scrolls by the finger's
    // step since the move before; the content goes no further than its ends.
    kStepwise,
    // From the move that passes the slop on, the content keeps the finger's
    // distance from where the gesture started; when the finger turns back,
    // the gesture starts anew there (also for the flick's timing).
    kFromGestureStart,
  };

  struct Options {
    int dragSlop = 5;                   // vertical travel from the press (pixels) that makes it a drag
    int stripWidth = 0;                 // the scroll strip: the view's rightmost pixels; 0 for none
    int stripThumb = 0;                 // the strip's thumb: a touch at y maps over the view height less this
    Follow follow = Follow::kStepwise;  // see Follow
    bool coasting = false;              // a flick keeps the content moving (CoastStep)
  };

  // What a release ended.
  enum class Gesture {
    kNone,       // nothing: no press began here, or it only stopped the coasting
    kTap,        // a press without a drag, outside the strip: the owner taps what is at the point
    kStripJump,  // a press without a drag on the strip: the content jumped there
    kDrag,       // a drag ended; the content stays where the finger left it
    kFlick,      // a quick drag: coasting runs; call CoastStep until it returns false
  };

  // A drag released within this time (ms) since it started (or turned) is a flick.
  static constexpr DWORD kFlickMs = 400;

  mivoTouchScroller(Target& target, const Options& options);

  // ---- The finger (times in milliseconds, from GetTickCount) ----
  // The finger touches the view. During coasting the touch stops it, and
  // this press taps nothing (it may still drag).
  void Press(int x, int y, DWORD now);
  // The finger moved while down; ignored without a press.
  void Move(int x, int y, DWORD now);
  // The finger left the glass; the press ends whatever it was.
  Gesture Release(int x, int y, DWORD now);
  // A tap-and-hold took the press: neither a tap nor a drag follows.
  void Hold() { Cancel(); }
  // The press was taken away (another window took the stylus, a swipe took
  // the release, the view was hidden). Coasting goes on; see StopCoasting.
  void Cancel();
  // A press that began in this view is down.
  bool IsPressed() const { return m_pressed; }
  bool IsDragging() const { return m_state == State::kDragging; }

  // ---- Coasting ----
  // One step of the coasting after a flick: moves the content and returns
  // true, or returns false once the coasting has ended (slowed down, reached
  // an end, or stopped). Call it from a timer, or from a loop that shows each
  // step and lets one message through so that a touch can stop it.
  bool CoastStep();
  bool IsCoasting() const { return m_coasting; }
  void StopCoasting() { m_coasting = false; }

  // ---- Geometry ----
  int GetOffset() const { return m_target.GetScrollOffset(); }
  // The offset kept within 0..max (0 when everything fits).
  int ClampOffset(int offset) const;
  // Whether a point at x lies on the scroll strip.
  bool InStrip(int x) const;
  // Scrolls to the place of the content that a strip touch at y stands for:
  // the view's height less the thumb spans the whole range. Nothing happens
  // when everything fits.
  void JumpToStrip(int y);

 private:
  enum class State { kIdle, kDown, kDragging };
  // The gesture (re)starts at this point: the flick is timed and measured from here.
  void RestartGesture(int x, int y, DWORD now);
  // One move of a drag outside the strip.
  void DragTo(int x, int y, DWORD now);
  void StartCoasting(double speed, double rate, bool down);

  Target& m_target;
  Options m_options;
  State m_state = State::kIdle;  // see the diagram above
  bool m_pressed = false;        // a press that began here is down
  POINT m_start{};               // where the gesture (re)started
  int m_startOffset = 0;         // the offset when it (re)started
  DWORD m_startTime = 0;         // the time when it (re)started
  int m_moveCount = 0;           // drag moves since the gesture (re)started
  int m_direction = 0;           // kFromGestureStart: -1 up, +1 down, 0 not known yet
  POINT m_last{};                // the point of the last move that counted (see Move)
  // Coasting: position p (a real number), the point p runs towards, the
  // speed v (pixels per step), its decrement per step, the last offset set.
  bool m_coasting = false;
  bool m_coastDown = false;
  double m_position = 0;
  double m_coastTarget = 0;
  double m_speed = 0;
  double m_slowdown = 0;
  double m_previous = 0;
};
