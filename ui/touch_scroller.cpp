#include "ui/touch_scroller.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

mivoTouchScroller::mivoTouchScroller(Target& target, const Options& options) : m_target(target), m_options(options) {}

// ---- The finger ---------------------------------------------------------------------------------

void mivoTouchScroller::RestartGesture(int x, int y, DWORD now) {
  m_start = POINT{x, y};
  m_startOffset = m_target.GetScrollOffset();
  m_startTime = now;
  m_moveCount = 0;
}

void mivoTouchScroller::Press(int x, int y, DWORD now) {
  if (m_coasting) {
    // The touch only stops the coasting: it taps nothing.
    m_coasting = false;
    m_state = State::kIdle;
  } else {
    m_state = State::kDown;
  }
  m_pressed = true;
  RestartGesture(x, y, now);
  m_direction = 0;
  m_last = POINT{x, y};
}

void mivoTouchScroller::Move(int x, int y, DWORD now) {
  if (!m_pressed) return;
  const bool stepwise = m_options.follow == Follow::kStepwise;
  if (m_state != State::kDragging && std::abs(y - m_start.y) >= m_options.dragSlop) {
    m_state = State::kDragging;
    // Stepwise, the move that passes the slop only turns the press into a
    // drag; the next one scrolls by the whole way from the press.
    if (stepwise) return;
  }
  if (m_state == State::kDragging) {
    if (InStrip(x)) {
      JumpToStrip(y);
      // Stepwise, the finger's step is counted from its last place off the strip.
      if (stepwise) return;
    } else {
      DragTo(x, y, now);
    }
  }
  if (!stepwise) m_last = POINT{x, y};
}

void mivoTouchScroller::DragTo(int x, int y, DWORD now) {
  if (m_options.follow == Follow::kStepwise) {
    const int offset = ClampOffset(m_target.GetScrollOffset() + m_last.y - y);
    m_last = POINT{x, y};
    m_target.SetScrollOffset(offset);
    return;
  }
  m_target.SetScrollOffset(ClampOffset(m_startOffset + m_start.y - y));
  ++m_moveCount;
  const int step = m_last.y - y;
  if (step != 0) {
    // A sideways wobble keeps the direction; a reversal starts the gesture anew.
    const int direction = step < 1 ? -1 : +1;
    if (m_direction != 0 && direction != m_direction) RestartGesture(x, y, now);
    m_direction = direction;
  }
}

mivoTouchScroller::Gesture mivoTouchScroller::Release(int x, int y, DWORD now) {
  const State state = m_state;
  const bool pressed = m_pressed;
  Cancel();
  if (!pressed) return Gesture::kNone;
  if (state == State::kDown) {
    if (!InStrip(x)) return Gesture::kTap;
    JumpToStrip(y);
    return Gesture::kStripJump;
  }
  if (state != State::kDragging) return Gesture::kNone;
  const DWORD duration = now - m_startTime;
  // A flick needs a move and a measurable time to give a speed.
  if (m_options.coasting && duration < kFlickMs && duration > 0 && m_moveCount > 0) {
    const int offset = m_target.GetScrollOffset();
    const double speed = std::abs(offset - m_startOffset) / static_cast<double>(m_moveCount);
    const double rate = 1000.0 * m_moveCount / duration;
    if (speed > 0) {
      StartCoasting(speed, rate, offset > m_startOffset);
      return Gesture::kFlick;
    }
  }
  return Gesture::kDrag;
}

void mivoTouchScroller::Cancel() {
  m_state = State::kIdle;
  m_pressed = false;
}

// ---- Coasting -----------------------------------------------------------------------------------

// The content runs towards p ± v·t and slows by t / 2v every step, so a
// faster flick goes further and every flick ends softly.
void mivoTouchScroller::StartCoasting(double speed, double rate, bool down) {
  m_coasting = true;
  m_coastDown = down;
  m_speed = speed;
  m_position = m_target.GetScrollOffset();
  m_coastTarget = down ? m_position + speed * rate : m_position - speed * rate;
  m_slowdown = rate / (2 * speed);
  m_previous = m_target.GetScrollOffset() - 1;
}

bool mivoTouchScroller::CoastStep() {
  if (!m_coasting) return false;
  const bool down = m_coastDown;
  bool go = down ? m_position < m_coastTarget : m_position > m_coastTarget;
  if (go) {
    m_speed -= m_slowdown;
    // Both ways the target moves by the slowdown, so going up it draws away.
    m_coastTarget -= m_slowdown;
    go = m_speed > 0.5 && m_position != m_previous &&
         !(down ? m_position > m_target.GetMaxScrollOffset() : m_position < 0);
  }
  if (!go) {
    m_coasting = false;
    return false;
  }
  m_previous = std::floor(m_position);
  m_target.SetScrollOffset(static_cast<int>(m_previous));
  m_position = down ? m_position + m_speed : m_position - m_speed;
  return true;
}

// ---- Geometry -----------------------------------------------------------------------------------

int mivoTouchScroller::ClampOffset(int offset) const {
  return std::clamp(offset, 0, std::max(0, m_target.GetMaxScrollOffset()));
}

bool mivoTouchScroller::InStrip(int x) const {
  return m_options.stripWidth > 0 && x >= m_target.GetScrollView().right - m_options.stripWidth;
}

void mivoTouchScroller::JumpToStrip(int y) {
  const int max = m_target.GetMaxScrollOffset();
  if (max < 1) return;
  const RECT view = m_target.GetScrollView();
  const int span = view.bottom - view.top - m_options.stripThumb;
  const long long offset = span > 0 ? static_cast<long long>(y - view.top) * max / span : max;
  m_target.SetScrollOffset(static_cast<int>(std::clamp<long long>(offset, 0, max)));
}
