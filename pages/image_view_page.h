// CmivoImageViewPage: the internal image viewer (catalogue page 14). Shows
// one JPEG picture of a folder at a time, scaled to fit the page (decoded
// at the size it is shown, so a picture of any size opens quickly and in
// little memory), and steps through the folder's other JPEG pictures with a
// tap on the right or left half of the page (or the pad's Right and Left).
// Run-file actions open it for ".jpg" files when UseInternalImageViewer is on.
#pragma once

#include <string>
#include <vector>

#include "actions/services.h"
#include "ui/page_wnd.h"

struct IImage;
struct IImagingFactory;

class CmivoImageViewPage : public CmivoPageWnd, public mivoPictureViewer {
 public:
  explicit CmivoImageViewPage(mivoCore* core);
  ~CmivoImageViewPage() override;

  // Lists the folder's JPEG pictures and shows this one (the first when it
  // is not among them); with none, the page says why instead.
  void SetPicture(const std::u16string& path) override;
  // -1 (or any negative index) is the last picture, an index past the end
  // the first; nothing when the folder has no picture.
  void ShowPicture(int index);
  void ShowNext() { ShowPicture(m_index + 1); }
  void ShowPrevious() { ShowPicture(m_index - 1); }

  const std::vector<std::u16string>& Pictures() const { return m_pictures; }
  int Index() const { return m_index; }
  // The size the picture on screen was decoded at (0 x 0 when none).
  SIZE DecodedSize() const { return m_decodedSize; }

  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoImageViewPage"; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnTap(int x);
  // The shown picture fitted into the box, decoded at that size; kept until
  // the picture or the box changes. Null when it cannot be read.
  IImage* Scaled(int boxWidth, int boxHeight, SIZE* fitted);
  void DropScaled();

  std::vector<std::u16string> m_pictures;  // the folder's JPEG pictures, in the folder's order
  int m_index = -1;                        // the picture shown; -1 before the first
  std::u16string m_message;                // shown instead of a picture when there is none
  IImagingFactory* m_factory = nullptr;    // made on first use; owned reference
  IImage* m_scaled = nullptr;              // the shown picture at its size on screen; owned reference
  std::u16string m_scaledPath;             // what m_scaled was made from
  SIZE m_scaledBox{};                      // and for which box
  SIZE m_decodedSize{};                    // m_scaled's size
};
