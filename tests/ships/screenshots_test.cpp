// The shipped look, drawn with the drawing toolkit as the pages will draw
// it: a list page with cards, side buttons and a help text, the main menu
// grid, a message box and a desktop with the graphical clock, with every
// colour theme at both scales. The
// pictures are written to build/tests/ships/screenshots to be looked at;
// the checks are on what must hold whatever the theme.
#include <gtest/gtest.h>

#include "look/appearance.h"
#include "look/string_table.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/png_writer.h"
#include "ships_util.h"
#include "tests/look/test_settings.h"

namespace {

using namespace ships;

using Settings = looktest::MemorySettings;

std::u16string S16(int id) { return std::u16string(BuiltInString(id)); }

// A device with the skin of the scale, every theme and the wallpapers.
class Shipped {
 public:
  explicit Shipped(int scale) : device("shots") {
    stdfs::create_directories(device.Host("Program Files/mivo/Skins"));
    const Bytes package = ReadHost(SkinPackage(scale));
    EXPECT_EQ(InstallPackageBytes(package, kProgramFolder, DeviceInstallTarget()), mivoPackageStatus::kOk);
    for (const auto& e : stdfs::directory_iterator(DataDir() / "colorthemes"))
      device.Put("Program Files/mivo/ColorThemes/" + e.path().filename().string(), ReadHost(e.path()));
    const stdfs::path wallpapers = DataDir() / (scale == 2 ? "wallpapers-vga" : "wallpapers") / "Default";
    for (const char* file : {"Default.mwt", "desktop1.jpg"})
      device.Put(std::string("Program Files/mivo/Wallpapers/Default/") + file, ReadHost(wallpapers / file));
    settings.skinName = text::FromUtf8(SkinName(scale));
    settings.finishInstallation = false;
  }
  Scratch device;
  Settings settings;
};

class Canvas {
 public:
  Canvas(int width, int height) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(nullptr, width, height);
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const {
    const gdi::PixelBuffer pb = gdi::BitmapPixels(bitmap);
    return gdi::PixelToColor(pb.pixels[y * pb.stride + x]);
  }
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
};

void Fill(HDC dc, const RECT& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

// The three-band header of a page with its title.
void Header(mivoAppearance& a, HDC dc, const RECT& page, int S, std::u16string_view title) {
  const mivoColorTheme& t = a.ColorTheme();
  Fill(dc, RECT{page.left, page.top, page.right, page.top + 15 * S}, t.GetColor(2));
  Fill(dc, RECT{page.left, page.top + 15 * S, page.right, page.top + 26 * S}, t.GetColor(5));
  Fill(dc, RECT{page.left, page.top + 26 * S, page.right, page.top + 37 * S}, a.BackgroundColor);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ font = SelectObject(dc, a.LargeTitleFont);
  SetTextColor(dc, a.TextColor);
  RECT r{page.left, page.top, page.right, page.top + 37 * S};
  DrawTextW(dc, std::u16string(title).c_str(), -1, &r, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS);
  SelectObject(dc, font);
}

// One list card with a row of picture, title and subtitle, and a side
// button; expanded, with its help text under it.
void Card(mivoAppearance& a, HDC dc, const RECT& item, int S, bool selected, const char16_t* image,
          std::u16string_view title, std::u16string_view subtitle, const char16_t* button, std::u16string_view help) {
  const int L = item.left, T = item.top, R = item.right, B = item.bottom;
  Fill(dc, RECT{L, T, R, B}, a.BackgroundColor);
  HGDIOBJ pen = SelectObject(dc, selected ? a.ThemePen6 : a.ThemePen4);
  HGDIOBJ brush = SelectObject(dc, selected ? a.ThemeBrush7 : a.ThemeBrush5);
  RoundRect(dc, L + 5 * S, T + 5 * S, R - 6 * S, B - 4 * S, 20 * S, 20 * S);
  SelectObject(dc, pen);
  SelectObject(dc, brush);
  const int mode = selected ? kSkinDrawOverColor7 : kSkinDrawOverColor5;
  const int l = L + 5 * S, t = T + 5 * S, r = R - 5 * S, b = t + 63 * S - 5;
  int contentRight = r;
  if (button) {
    const RECT side{r - 5 - 25 * S, (t + b) / 2 - 25 * S / 2, r - 5, (t + b) / 2 - 25 * S / 2 + 25 * S};
    a.DrawSkinImage(a.GetSkinImage(button), dc, side, kAlignCenterX | kAlignCenterY, mode);
    contentRight = side.left - 5 * S;
  }
  DrawRowImageTitleSubtitle(a, dc, a.GetSkinImage(image), title, subtitle,
                            RECT{l + 5 * S, t + 5 * S, contentRight - 5 * S, b - 5 * S}, mode);
  if (!help.empty()) {
    HGDIOBJ line = SelectObject(dc, selected ? a.ThemePen6 : a.ThemePen4);
    MoveToEx(dc, l + 5 * S, b - 5 * S, nullptr);
    LineTo(dc, r - 5 * S, b - 5 * S);
    SelectObject(dc, line);
    HGDIOBJ font = SelectObject(dc, a.SmallFont);
    SetTextColor(dc, RGB(255, 255, 255));  // the help text is white on every theme
    SetBkMode(dc, TRANSPARENT);
    RECT h{l + 5 * S, b, r - 5 * S, B - 9 * S};
    DrawTextW(dc, std::u16string(help).c_str(), -1, &h, DT_CENTER | DT_WORDBREAK);
    SelectObject(dc, font);
  }
}

void ListPage(mivoAppearance& a, HDC dc, const RECT& page, int S) {
  Fill(dc, page, a.BackgroundColor);
  Header(a, dc, page, S, S16(8));
  const int right = page.right - 15 * S;
  int y = page.top + 37 * S;
  struct Row {
    const char16_t* image;
    int title;
    const char16_t* subtitle;
    bool selected;
  };
  const Row rows[] = {{u"settings_personal_page", 28, u"", false},
                      {u"settings_system_page", 30, u"Screen, clock, memory", true},
                      {u"settings_connections_page", 32, u"", false}};
  for (const Row& row : rows) {
    Card(a, dc, RECT{page.left, y, right, y + 63 * S}, S, row.selected, row.image, S16(row.title), row.subtitle,
         u"listbox_item_help", {});
    y += 63 * S;
  }
  const int helpHeight = 52 * S;
  Card(a, dc, RECT{page.left, y, right, y + 63 * S + helpHeight}, S, false, u"settings_mivo_page", S16(111), u"",
       u"listbox_item_collapse", S16(112));
  y += 63 * S + helpHeight;
  Fill(dc, RECT{page.left, y, right, page.bottom}, a.BackgroundColor);
  // The scroll strip: track and thumb.
  Fill(dc, RECT{right, page.top + 37 * S, page.right, page.bottom}, a.BackgroundColor);
  const int x = page.right - 15 * S / 2;
  Fill(dc, RECT{x - 3 * S / 2, page.top + 37 * S, x - 3 * S / 2 + 3 * S, page.bottom}, a.ColorTheme().GetColor(8));
  Fill(dc, RECT{x - 3 * S / 2, page.top + 60 * S, x - 3 * S / 2 + 3 * S, page.top + 65 * S}, a.ColorTheme().GetColor(9));
}

void GridPage(mivoAppearance& a, HDC dc, const RECT& page, int S) {
  Fill(dc, page, a.BackgroundColor);
  Header(a, dc, page, S, S16(14));
  struct Cell {
    const char16_t* image;
    int title;
  };
  const Cell cells[] = {{u"contacts_page", 3}, {u"sms_page", 4},          {u"call_log_page", 5},
                        {u"programs_page", 6}, {u"explore_root_page", 7}, {u"settings_page", 8},
                        {u"system_info_page", 9}, {u"office_page", 10},   {u"help_page", 11},
                        {u"exit", 13}};
  const int cellWidth = (page.right - page.left) / 3, cellHeight = 85 * S;
  for (int i = 0; i < 10; ++i) {
    const int col = i % 3, row = i / 3;
    RECT r{page.left + col * cellWidth, page.top + 37 * S + row * cellHeight, page.left + (col + 1) * cellWidth,
           page.top + 37 * S + (row + 1) * cellHeight};
    if (r.top >= page.bottom) break;
    const bool cursor = i == 4;
    Fill(dc, r, a.BackgroundColor);
    HPEN pen = CreatePen(PS_SOLID, 1, a.ColorTheme().GetColor(cursor ? 6 : 4));
    HBRUSH brush = CreateSolidBrush(a.ColorTheme().GetColor(cursor ? 7 : 5));
    HGDIOBJ op = SelectObject(dc, pen), ob = SelectObject(dc, brush);
    RoundRect(dc, r.left + 3, r.top + 3, r.right - 3, r.bottom - 3, 10, 10);
    SelectObject(dc, op);
    SelectObject(dc, ob);
    DeleteObject(pen);
    DeleteObject(brush);
    DrawGridCellImage(a, dc, a.GetSkinImage(cells[i].image), S16(cells[i].title),
                      RECT{r.left + 5 * S, r.top + 5 * S, r.right - 5 * S, r.bottom - 5 * S},
                      cursor ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
  }
  Fill(dc, RECT{page.right - 15 * S - 3, page.top + 37 * S, page.right, page.bottom}, a.BackgroundColor);
  Fill(dc, RECT{page.right - 9 * S - 1, page.top + 37 * S, page.right - 9 * S + 2, page.bottom}, a.ColorTheme().GetColor(8));
  a.DrawSkinImage(a.GetSkinImage(u"listbox_scroll_bar_ball"), dc,
                  RECT{page.right - 14 * S, page.top + 37 * S, page.right - 2 * S, page.top + 51 * S}, 0);
}

// The yes/no message box over the top of a page; returns its yes rectangle.
RECT MessageBox(mivoAppearance& a, HDC dc, const RECT& page, int S) {
  ListPage(a, dc, page, S);
  const int l = page.left, t = page.top, r = page.right;
  HGDIOBJ font = SelectObject(dc, a.TitleFont);
  SIZE x{};
  GetTextExtentPoint32W(dc, u"X", 1, &x);
  const int h = x.cy;
  RECT body{l + 10 * S, t + 5 * S + h, r - 10 * S, t + 5 * S + h + 1000};
  SelectObject(dc, a.SubtitleFont);
  RECT measure = body;
  const int th = DrawTextW(dc, S16(366).c_str(), -1, &measure, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  const int B = body.top + th + 80 * S;
  Fill(dc, RECT{l, t, r, B + 10 * S}, a.BackgroundColor);
  HGDIOBJ pen = SelectObject(dc, a.ThemePen4), brush = SelectObject(dc, a.ThemeBrush5);
  RoundRect(dc, l + 5 * S, t + h / 2, r - 5 * S, B + 10 * S - 5 * S, 20 * S, 20 * S);
  SelectObject(dc, a.TitleFont);
  SetTextColor(dc, a.TextColor);
  SetBkColor(dc, a.BackgroundColor);
  SetBkMode(dc, OPAQUE);
  RECT title{l, t, r, B};
  DrawTextW(dc, (u" " + S16(367) + u" ").c_str(), -1, &title, DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, a.SubtitleFont);
  DrawTextW(dc, S16(366).c_str(), -1, &body, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  const int middle = (body.left + body.right) / 2;
  const RECT yes{body.left, B - 70 * S, middle, B}, no{middle, B - 70 * S, body.right, B};
  a.DrawSkinImage(a.GetSkinImage(u"message_box_yes"), dc, yes, kAlignCenterX | kAlignCenterY);
  a.DrawSkinImage(a.GetSkinImage(u"message_box_no"), dc, no, kAlignCenterX | kAlignCenterY);
  MoveToEx(dc, l + 20 * S, B - 75 * S, nullptr);
  LineTo(dc, r - 20 * S, B - 75 * S);
  MoveToEx(dc, middle, B - 65 * S, nullptr);
  LineTo(dc, middle, B - 5 * S);
  SelectObject(dc, pen);
  SelectObject(dc, brush);
  SelectObject(dc, font);
  return yes;
}

void Desktop(mivoAppearance& a, HDC dc, const RECT& page, int S) {
  DrawWallpaper(a, dc, 0, 0, page, 1, false);
  // The graphical clock: each picture starts at the right edge of the last.
  int x = page.left + (page.right - page.left - 208 * S) / 2;
  const int y = page.top + 30 * S;
  for (const char16_t* name : {u"gadget_clock_1", u"gadget_clock_2", u"gadget_clock_divider", u"gadget_clock_4",
                               u"gadget_clock_5"}) {
    const RECT drawn = a.DrawSkinImage(a.GetSkinImage(name), dc, RECT{x, y, page.right, y + 72 * S},
                                       name[13] == u'd' ? kAlignCenterY : 0);
    x = drawn.right;
  }
}

class EachScale : public ::testing::TestWithParam<int> {};

TEST_P(EachScale, PagesDrawnWithTheShippedSkinShowEveryPictureAndTextInEveryTheme) {
  const int S = GetParam();
  Shipped shipped(S);
  for (const char* theme : {"Black", "Graphite", "Ocean", "Forest", "Paper", "Sand"}) {
    SCOPED_TRACE(theme);
    shipped.settings.themeName = text::FromUtf8(theme);
    mivoAppearance a(shipped.settings, kProgramFolder, 320 * S);
    ASSERT_EQ(a.ColorTheme().Name, text::FromUtf8(theme));
    const int W = 240 * S, H = 320 * S;
    Canvas c(4 * W, H);
    ListPage(a, c.dc, RECT{0, 0, W, H}, S);
    GridPage(a, c.dc, RECT{W, 0, 2 * W, H}, S);
    const RECT yes = MessageBox(a, c.dc, RECT{2 * W, 0, 3 * W, H}, S);
    Desktop(a, c.dc, RECT{3 * W, 0, 4 * W, H}, S);
    const auto dir = stdfs::path(MIVO_BINARY_DIR) / "tests" / "ships" / "screenshots";
    stdfs::create_directories(dir);
    imaging::SaveBitmapPng(c.bitmap, (dir / (std::string(theme) + "_" + std::to_string(S) + ".png")).string());

    const mivoColorTheme& t = a.ColorTheme();
    // The selected card's fill shows beside its picture, and the picture
    // itself (composited over that fill) is there: its centre is not the fill.
    const int rowTop = 37 * S + 63 * S;
    EXPECT_EQ(c.At(W / 2, rowTop + 12 * S), t.GetColor(7));
    EXPECT_NE(c.At(10 * S + 5 * S + 24 * S, rowTop + 32 * S), t.GetColor(7)) << "the row's icon";
    // The grid's first cell shows its icon at the top centre.
    EXPECT_NE(c.At(W + W / 6, 37 * S + 5 * S + 24 * S), t.GetColor(5));
    // The yes button sits in the middle of its half.
    EXPECT_NE(c.At((yes.left + yes.right) / 2, (yes.top + yes.bottom) / 2), t.GetColor(5));
    // The clock's first digit is on the desktop, its face graphite.
    const COLORREF face = c.At(3 * W + (W - 208 * S) / 2 + 6 * S, 30 * S + 10 * S);
    EXPECT_LT(GetRValue(face) + GetGValue(face) + GetBValue(face), 3 * 120);
  }
}

INSTANTIATE_TEST_SUITE_P(Shipped, EachScale, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& i) { return i.param == 2 ? "Vga" : "Qvga"; });

}  // namespace
