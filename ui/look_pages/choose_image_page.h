// CmivoChooseSkinImageFilePage, "Choose image file": the skin editor's file
// browser. It lists the folders and files of a folder (with "Up (..)" above
// them); a picture is shown large with the colour that will be transparent,
// which a tap on the picture (or "Set as transparent color" in its context
// menu) picks from the pixel under the finger. "Apply" makes the picture the
// image's file (copied into the skin folder); "Cancel" goes back to the list.
#pragma once

#include <string>
#include <vector>

#include "ui/context_menu.h"
#include "ui/items_page.h"

class mivoSkinImage;

class CmivoChooseSkinImageFilePage : public CmivoItemsPageWnd, public CmivoContextMenu {
 public:
  explicit CmivoChooseSkinImageFilePage(mivoCore* core);
  ~CmivoChooseSkinImageFilePage() override;

  // The image whose file is chosen; shown next.
  void SetImage(mivoSkinImage* image);
  mivoSkinImage* Image() const { return m_pImage; }
  // The folder listed, ending with "\".
  const std::u16string& Folder() const { return m_folder; }
  void OpenFolder(const std::u16string& folder);

  // ---- The preview ----
  bool IsPreviewing() const { return m_picture != nullptr; }
  // Shows a picture file large; false (and a message) when it cannot be shown.
  bool OpenPreview(const std::u16string& path);
  void ClosePreview();
  // Takes the colour of the picture's pixel under a client point as the
  // transparent colour; false outside the picture.
  bool PickAt(POINT client);
  COLORREF PickedColor() const { return m_color; }
  // Applies the previewed picture to the image and goes back.
  void Apply();
  // Where the preview shows the picture and its buttons (client coordinates).
  const RECT& PictureRect() const { return m_pictureRect; }
  const RECT& ApplyRect() const { return m_applyRect; }

  // ---- The page ----
  std::u16string GetTitle(int param, int extra) override { return m_title; }
  void OnPageShown() override;
  // While previewing, Back closes the preview first.
  void GoBack() override;
  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  void OnItemTap(int index, const mivoListElement& element) override;
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpTexts(window::JsonWriter& j) override;
  void OnMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetMenuItemText(const mivoContextMenuEntry& entry) override;
  const char* PageClassName() const override { return "CmivoChooseSkinImageFilePage"; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Fill();
  void ClearIcons();
  void LayoutPreview();
  void DrawPreview(HDC dc);

  mivoSkinImage* m_pImage = nullptr;  // the image being edited; not owned
  std::u16string m_folder;            // listed now, ends with "\"
  std::u16string m_remembered;        // the folder of the last Apply, for the next visit
  std::vector<HICON> m_icons;         // the rows' shell icons, by element index
  // The preview.
  std::u16string m_picturePath;       // the previewed file
  HBITMAP m_picture = nullptr;        // the picture at its own size; null: no preview
  SIZE m_pictureSize{};
  RECT m_pictureRect{};               // where it is drawn, fitted into the content area
  RECT m_applyRect{};                 // "Apply"
  RECT m_cancelRect{};                // "Cancel"
  RECT m_colorLine{};                 // "Transparent color: " and the colour
  bool m_picked = false;              // a point was picked
  POINT m_pickPoint{};                // in picture pixels
  COLORREF m_color = 0;               // the transparent colour to apply
  POINT m_holdPoint{};                // client point of the last tap-and-hold
  bool m_pressed = false;             // a press on the preview is in progress
};
