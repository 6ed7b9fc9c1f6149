// CmivoAnimateWnd: the slide between two pages. A hidden child of the main
// frame over its client area; for a switch it shows itself on top, and its
// paint handler runs the whole slide from two off-screen images, the screen
// as it was (the snapshot) and the entered page drawn off screen: every frame
// is two blits, shown on the display at once.
//
// Opening (direction 1) pushes the old screen to the right while the new
// page comes in from the left edge; Back (direction 0) pushes it to the left
// while the revealed page comes in from the right edge.
#pragma once

#include <vector>

#include "platform/window/framework.h"

class CmivoPageWnd;
class mivoCore;

class CmivoAnimateWnd : public CWnd {
 public:
  explicit CmivoAnimateWnd(mivoCore* core) : m_pCore(core) {}
  ~CmivoAnimateWnd() override;

  // The window: a hidden child of the frame with its client size, id -1.
  BOOL CreateAnimation(CWnd* frame);
  // Copies what the frame's client area shows now; the next slide starts
  // from it. The core takes it before a switch changes anything on screen.
  void TakeSnapshot();
  // Runs the slide from `from` to `to`; nothing without both pages or the window.
  void Animate(CmivoPageWnd* from, CmivoPageWnd* to, int direction);

  // The distance the pages move per frame: width / 30 (portrait) or / 10
  // (landscape) at scale 1, / 12 or / 4 at scale 2; at least one pixel.
  static int SlideStep(int width, bool portrait, int scale);
  // The offsets of the frames: 0, step, 2·step, ... while below width + step,
  // never past the width (the last frame shows the entered page alone).
  static std::vector<int> SlideOffsets(int width, int step);

  // Frames drawn by the last slide.
  int LastFrameCount() const { return m_lastFrames; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Image {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    SIZE size{};
  };
  static bool MakeImage(Image* image, HDC like, int width, int height);
  static void DropImage(Image* image);
  void DropImages();
  void OnPaint();

  mivoCore* m_pCore;                   // the owner
  CmivoPageWnd* m_pFrom = nullptr;     // the page being left
  CmivoPageWnd* m_pTo = nullptr;       // the page being entered
  int m_direction = 1;                 // 1 opening, 0 Back
  Image m_snapshot;                    // the screen before the switch
  Image m_entered;                     // the entered page, drawn off screen
  int m_lastFrames = 0;                // frames of the last slide
};
