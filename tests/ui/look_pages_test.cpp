// The look pages on a device with the shipped skin, themes and languages;
// screenshots at both sizes go to build/tests/ui/shots.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/settings.h"
#include "look/appearance.h"
#include "look/skin.h"
#include "platform/display/png.h"
#include "platform/fs/device_path.h"
#include "platform/fs/file_io.h"
#include "platform/win32/text.h"
#include "platform/window/window.h"
#include "tests/support/json.h"
#include "tests/ui/ui_harness.h"
#include "ui/context_menu_skin_handler.h"
#include "ui/desktop_icon_chooser.h"
#include "ui/look_pages/choose_image_page.h"
#include "ui/look_pages/languages_page.h"
#include "ui/look_pages/look_pages.h"
#include "ui/look_pages/skin_pages.h"
#include "ui/look_pages/theme_pages.h"
#include "ui/overlay.h"
#include "ui/right_click_page.h"

using testing_support::Json;
using uitest::ColorPage;
using uitest::Pixel;
using uitest::UiHarness;
namespace stdfs = std::filesystem;

namespace {

constexpr char16_t kProgram[] = u"\\Program Files\\mivo\\";

stdfs::path Host(std::u16string_view devicePath) {
  std::string host;
  EXPECT_TRUE(fs::ToHostPath(devicePath, &host));
  return host;
}

// The shipped look (skin and colour themes), both languages and two
// wallpaper themes ("Default" and a copy named "Night").
void ProvisionLook(int height) {
  uitest::ProvisionShippedLook(height);
  const stdfs::path data = stdfs::path(MIVO_BINARY_DIR) / "data";
  for (const auto& e : stdfs::directory_iterator(data / "languages"))
    uitest::CopyIntoDevice(e.path(), std::u16string(kProgram) + u"Languages", e.path().filename().string());
  const stdfs::path wallpapers = data / (height >= 480 ? "wallpapers-vga" : "wallpapers") / "Default";
  for (const char* theme : {"Default", "Night"}) {
    const std::u16string folder = std::u16string(kProgram) + u"Wallpapers\\" + text::FromUtf8(theme);
    uitest::CopyIntoDevice(wallpapers / "Default.mwt", folder, std::string(theme) + ".mwt");
    uitest::CopyIntoDevice(wallpapers / "desktop1.jpg", folder, "desktop1.jpg");
  }
}

// A started program with the shipped look.
struct LookApp {
  explicit LookApp(const std::string& name, int w = 240, int h = 320) : ui(name, w, h) {
    ProvisionLook(h);
    EXPECT_TRUE(ui.Start());
  }
  mivoAppCore& Core() { return ui.Core(); }
  mivoAppearance& Look() { return *ui.Core().GetAppearance(); }
  UiHarness ui;
};

Json Dump() { return Json::Parse(UiHarness::Dump()); }

std::vector<std::string> RowTexts() { return uitest::Texts("rows"); }
std::vector<std::string> CellTexts() { return uitest::Texts("cells"); }
void TapRow(UiHarness& h, const std::string& text) { uitest::TapText(h, "rows", text); }
void TapCell(UiHarness& h, const std::string& text) { uitest::TapText(h, "cells", text); }

// Answers the overlay that is open with its button `index` (0: OK or yes),
// recording what it showed.
void Answer(UiHarness& h, int index, ui::OverlayDescription* seen, const std::string& shot = {}) {
  h.AtIdle([index, seen, shot] {
    *seen = uitest::OpenOverlay();
    if (!shot.empty()) UiHarness::Shot(shot);
    uitest::TapOverlayButton(index);
  });
}

// A 20x10 picture: left half red, right half blue.
void WriteTwoColourPng(std::u16string_view devicePath) {
  std::vector<std::uint32_t> pixels(200);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) pixels[static_cast<std::size_t>(y * 20 + x)] = x < 10 ? 0xFFFF0000u : 0xFF0000FFu;
  window::FrameView view{pixels.data(), 20, 10, 20};
  std::string error;
  stdfs::create_directories(Host(devicePath).parent_path());
  ASSERT_TRUE(display::WritePng(Host(devicePath).string(), view, &error)) << error;
}

}  // namespace

TEST(ColorThemesPage, ListsTheThemesAndATapRepaintsEverythingInTheNewColours) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    LookApp app("color_themes_" + std::to_string(w), w, hgt);
    app.Core().ShowPage(look_pages::ColorThemesPage(&app.Core()));
    app.ui.Pump();
    const Json dump = Dump();
    EXPECT_EQ(dump["top"]["header"].AsString(), "Color Themes");
    const std::vector<std::string> rows = RowTexts();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows.back(), "Total themes: 6");
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Ocean"), rows.end());
    // The theme in use is the selected row; its help holds the file's strings.
    for (const Json& row : dump["top"]["rows"].Items()) {
      if (row["text"].AsString() != "Black") continue;
      EXPECT_TRUE(row["selected"].AsBool());
      EXPECT_EQ(row["help"].AsString().rfind("Description:\n", 0), 0u) << row["help"].AsString();
      EXPECT_NE(row["help"].AsString().find("\n\nTheme generator:\n"), std::string::npos);
    }
    UiHarness::Shot("color_themes_" + std::to_string(w));

    TapRow(app.ui, "Forest");
    EXPECT_EQ(app.Core().Settings().GetThemeName(), u"Forest");
    EXPECT_EQ(app.Look().ColorTheme().Name, u"Forest");
    const COLORREF background = app.Look().ColorTheme().GetColor(1);
    EXPECT_EQ(app.Look().BackgroundColor, background);
    // The page shows the new colours right away: much of it is the new background.
    const uitest::Capture screen = UiHarness::Screen();
    const long count = std::count(screen.pixels.begin(), screen.pixels.end(), Pixel(background));
    EXPECT_GT(count, static_cast<long>(screen.pixels.size() / 10));
    UiHarness::Shot("color_themes_forest_" + std::to_string(w));
  }
}

TEST(WallpaperThemesPage, AChangeAfterYesResetsEveryDesktopsOwnPictureAndNoChangesNothing) {
  LookApp app("wallpaper_themes");
  app.Core().Settings().SetDesktopsCount(3);
  app.Core().Settings().SetUserDesktopWallpaper(2, false, true);
  app.Core().Settings().SetUserDesktopWallpaper(3, true, true);
  app.Core().ShowPage(look_pages::WallpaperThemesPage(&app.Core()));
  app.ui.Pump();
  EXPECT_EQ(Dump()["top"]["header"].AsString(), "Wallpaper themes");
  std::vector<std::string> rows = RowTexts();
  std::sort(rows.begin(), rows.end() - 1);
  EXPECT_EQ(rows, (std::vector<std::string>{"Default", "Night", "Total wallpaper themes: 2"}));
  UiHarness::Shot("wallpaper_themes");

  ui::OverlayDescription seen;
  Answer(app.ui, 1, &seen);
  TapRow(app.ui, "Night");
  EXPECT_EQ(seen.title, u"Wallpaper");
  EXPECT_EQ(seen.text, u"Would you like to change wallpaper theme to Night?");
  EXPECT_EQ(app.Core().Settings().GetWallpaperTheme(), u"Default");
  EXPECT_TRUE(app.Core().Settings().GetUserDesktopWallpaper(2, false));

  ui::OverlayDescription done;
  Answer(app.ui, 0, &seen, "wallpaper_question");
  Answer(app.ui, 0, &done);
  TapRow(app.ui, "Night");
  EXPECT_EQ(done.text, u"The wallpaper theme has been changed.");
  EXPECT_EQ(app.Core().Settings().GetWallpaperTheme(), u"Night");
  EXPECT_EQ(app.Look().WallpaperTheme().Name, u"Night");
  EXPECT_FALSE(app.Core().Settings().GetUserDesktopWallpaper(2, false));
  EXPECT_FALSE(app.Core().Settings().GetUserDesktopWallpaper(3, true));
}

TEST(LanguagesPage, ListsTheLanguagesByTheirNamesAndChangesOnlyAfterTheRestartQuestion) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    LookApp app("languages_" + std::to_string(w), w, hgt);
    auto* page = new CmivoAdvLanguagesPage(&app.Core());
    app.Core().ShowPage(page);
    app.ui.Pump();
    const Json dump = Dump();
    EXPECT_EQ(dump["top"]["header"].AsString(), "Choose language");
    const std::vector<std::string> rows = RowTexts();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.back(), "Total languages: 2");
    UiHarness::Shot("languages_" + std::to_string(w));
    std::string germanRow;
    for (const Json& row : dump["top"]["rows"].Items()) {
      if (row["text"].AsString() != "English" && row["text"].AsString().rfind("Total", 0) != 0)
        germanRow = row["text"].AsString();
    }
    ASSERT_FALSE(germanRow.empty());

    ui::OverlayDescription seen;
    Answer(app.ui, 1, &seen);
    TapRow(app.ui, germanRow);
    EXPECT_EQ(seen.title, u"Change language");
    EXPECT_EQ(seen.text,
              u"Do you want to change the language? Confirming this dialog, mivo will be exited and you have to run "
              u"it again.");
    EXPECT_NE(app.Core().Settings().GetLanguage(), u"German");
    EXPECT_FALSE(window::QuitPending());

    Answer(app.ui, 0, &seen, "language_question_" + std::to_string(w));
    TapRow(app.ui, germanRow);
    EXPECT_EQ(app.Core().Settings().GetLanguage(), u"German");
    EXPECT_TRUE(window::QuitPending());
    app.Core().DestroyPage(page);
  }
}

TEST(SkinEditor, TheSettingsPageLeadsToTheImagesSortedByTheirShownNamesAndToTheFileChooser) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    LookApp app("skin_editor_" + std::to_string(w), w, hgt);
    app.Core().ShowPage(look_pages::SkinsSettingsPage(&app.Core()));
    app.ui.Pump();
    EXPECT_EQ(Dump()["top"]["header"].AsString(), "Skins settings");
    EXPECT_EQ(CellTexts(), (std::vector<std::string>{"Color Themes", "Images", "Wallpapers"}));
    UiHarness::Shot("skins_settings_" + std::to_string(w));

    TapCell(app.ui, "Color Themes");
    EXPECT_EQ(Dump()["top"]["class"].AsString(), "CmivoAdvColorThemesPage");
    app.Core().PopPage();
    TapCell(app.ui, "Wallpapers");
    EXPECT_EQ(Dump()["top"]["class"].AsString(), "CmivoAdvWallpaperThemesPage");
    app.Core().PopPage();

    // A name asked for now is listed too, with the skin's own.
    app.Look().GetSkinImage(u"zz_made_up");
    TapCell(app.ui, "Images");
    const Json dump = Dump();
    EXPECT_EQ(dump["top"]["header"].AsString(), "Skin images");
    const std::vector<std::string> cells = CellTexts();
    ASSERT_GT(cells.size(), 20u);
    EXPECT_TRUE(std::is_sorted(cells.begin(), cells.end(), [](const std::string& a, const std::string& b) {
      return text::CompareNoCase(text::FromUtf8(a), text::FromUtf8(b)) < 0;
    }));
    EXPECT_NE(std::find(cells.begin(), cells.end(), "Gadget Clock 0"), cells.end());
    EXPECT_EQ(cells.back(), "Zz Made Up");
    // Thumbnails: the first cell is not all background.
    const Json& r = dump["top"]["cells"][0]["rect"];
    const uitest::Capture screen = UiHarness::Screen();
    const std::uint32_t background = Pixel(app.Look().BackgroundColor);
    int painted = 0;
    for (int y = static_cast<int>(r[1].AsInt()); y < r[3].AsInt() - 31 * DisplayScale; ++y)
      for (int x = static_cast<int>(r[0].AsInt()); x < r[2].AsInt(); ++x) painted += screen.At(x, y) != background;
    EXPECT_GT(painted, 50);
    UiHarness::Shot("skin_images_" + std::to_string(w));

    TapCell(app.ui, cells.front());
    EXPECT_EQ(Dump()["top"]["header"].AsString(), "Choose image file");
    EXPECT_EQ(Dump()["top"]["class"].AsString(), "CmivoChooseSkinImageFilePage");
  }
}

TEST(SkinEditor, AFileWithoutExtensionIsRefusedAndAPictureIsAppliedWithThePickedColour) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    LookApp app("choose_image_" + std::to_string(w), w, hgt);
    WriteTwoColourPng(u"\\My Documents\\Pictures\\flag.png");
    ASSERT_TRUE(fs::WriteFileAtomic(u"\\My Documents\\Pictures\\notes", std::vector<std::uint8_t>{'x'}));
    mivoSkinImage* image = app.Look().GetSkinImage(u"gadget_unread_sms");
    app.Core().ShowPage(look_pages::SkinItemsPage(&app.Core()));
    app.ui.Pump();
    look_pages::ChooseFileForImage(&app.Core(), image);
    app.ui.Pump();
    auto* page = look_pages::ChooseSkinImageFilePage(&app.Core());
    EXPECT_EQ(page->Folder(), u"\\My Documents\\");
    std::vector<std::string> cells = CellTexts();
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells.front(), "Up (..)");
    TapCell(app.ui, "Pictures");
    EXPECT_EQ(page->Folder(), u"\\My Documents\\Pictures\\");
    UiHarness::Shot("choose_image_" + std::to_string(w));

    ui::OverlayDescription seen;
    Answer(app.ui, 0, &seen);
    TapCell(app.ui, "notes");
    EXPECT_EQ(seen.text, u"Invalid filename - does not have any extension.");
    EXPECT_FALSE(page->IsPreviewing());

    TapCell(app.ui, "flag.png");
    ASSERT_TRUE(page->IsPreviewing());
    // A tap on the right half of the picture takes its blue.
    const RECT pic = page->PictureRect();
    POINT p{pic.left + RectWidth(pic) * 3 / 4, (pic.top + pic.bottom) / 2};
    page->ClientToScreen(&p);
    app.ui.Tap(p.x, p.y);
    EXPECT_EQ(page->PickedColor(), RGB(0, 0, 255));
    EXPECT_EQ(Dump()["top"]["texts"][0].AsString(), "Transparent color: #0000FF");
    UiHarness::Shot("choose_image_preview_" + std::to_string(w));

    // Holding the left half offers the same as a menu entry.
    p = POINT{pic.left + RectWidth(pic) / 4, (pic.top + pic.bottom) / 2};
    page->ClientToScreen(&p);
    PostMessageW(page->m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(page->m_hWnd), MAKELPARAM(p.x, p.y));
    app.ui.Pump();
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Set as transparent color"}));
    UiHarness::Shot("choose_image_menu_" + std::to_string(w));
    TapRow(app.ui, "Set as transparent color");
    EXPECT_EQ(app.Core().TopPage(), page);
    EXPECT_EQ(page->PickedColor(), RGB(255, 0, 0));

    POINT apply{(page->ApplyRect().left + page->ApplyRect().right) / 2,
                (page->ApplyRect().top + page->ApplyRect().bottom) / 2};
    page->ClientToScreen(&apply);
    app.ui.Tap(apply.x, apply.y);
    EXPECT_EQ(image->File, u"gadget_unread_sms.png");
    EXPECT_EQ(image->TransparentColor, RGB(255, 0, 0));
    std::vector<std::uint8_t> copied, original;
    EXPECT_TRUE(fs::ReadFile(std::u16string(kProgram) + u"Skins\\" + app.Look().GetSkin()->Name +
                                 u"\\gadget_unread_sms.png",
                             &copied));
    EXPECT_TRUE(fs::ReadFile(u"\\My Documents\\Pictures\\flag.png", &original));
    EXPECT_EQ(copied, original);
    EXPECT_EQ(Dump()["top"]["class"].AsString(), "CmivoSkinItemsPage");

    // The next visit starts in the folder of the last Apply.
    look_pages::ChooseFileForImage(&app.Core(), image);
    app.ui.Pump();
    EXPECT_EQ(page->Folder(), u"\\My Documents\\Pictures\\");
  }
}

TEST(SkinHandler, OffersChangeIconForOneImageAndChangeIconsForSeveralOfTheCurrentSkinOnly) {
  LookApp app("skin_handler");
  mivoAppearance& look = app.Look();
  mivoSkinImage* call = look.GetSkinImage(u"make_a_call");
  mivoSkinImage* sms = look.GetSkinImage(u"write_sms");
  mivoSkinImage foreign;
  foreign.Name = u"make_a_call";

  ColorPage owner(&app.Core(), RGB(0, 0, 0), u"Owner");
  CmivoContextMenu menu(&app.Core());
  app.Core().ShowPage(&owner);
  auto build = [&](std::vector<mivoSkinImage*> images) {
    menu.ClearMenu();
    menu.AddMenuHandler(std::make_unique<CmivoContextMenuSkinHandler>(&app.Core(), std::move(images)));
    menu.ShowMenu();
    app.ui.Pump();
  };
  build({call});
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Change icon"}));
  app.Core().PopPage();
  build({call, &foreign});
  EXPECT_TRUE(RowTexts().empty());
  app.Core().PopPage();
  build({});
  EXPECT_TRUE(RowTexts().empty());
  app.Core().PopPage();

  build({call, sms});
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Change icons"}));
  TapRow(app.ui, "Change icons");
  EXPECT_EQ(Dump()["top"]["header"].AsString(), "Skin images");
  EXPECT_EQ(CellTexts(), (std::vector<std::string>{"Make A Call", "Write Sms"}));
  TapCell(app.ui, "Write Sms");
  EXPECT_EQ(look_pages::ChooseSkinImageFilePage(&app.Core())->Image(), sms);
  // The whole skin's page is still the whole skin.
  app.Core().ShowPage(look_pages::SkinItemsPage(&app.Core()));
  app.ui.Pump();
  EXPECT_GT(CellTexts().size(), 2u);

  build({call});
  TapRow(app.ui, "Change icon");
  EXPECT_EQ(app.Core().TopPage(), look_pages::ChooseSkinImageFilePage(&app.Core()));
  EXPECT_EQ(look_pages::ChooseSkinImageFilePage(&app.Core())->Image(), call);
}

TEST(DesktopIconChooser, ListsOnlyPicturesOfTheIconSizeAndATapStoresTheIconOfTheDesktop) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    LookApp app("desktop_icons_" + std::to_string(w), w, hgt);
    mivoAppearance& look = app.Look();
    ColorPage desktop(&app.Core(), RGB(0, 0, 0), u"Desktop");
    app.Core().ShowPage(&desktop);
    CmivoAdvChooseDesktopIcon chooser(&app.Core());
    chooser.SetDesktop(2);
    int refreshed = 0;
    chooser.SetIconChangedHandler([&] { ++refreshed; });
    app.Core().ShowPage(&chooser);
    app.ui.Pump();
    const int side = 48 * DisplayScale;
    ASSERT_GT(chooser.GetItemCount(), 0);
    const Json rows = Dump()["top"]["rows"];
    for (const Json& row : rows.Items()) {
      mivoSkinImage* image = look.GetSkinImage(text::FromUtf8(row["sub"].AsString()));
      const SIZE size = look.GetSkinImageSize(image);
      EXPECT_EQ(size.cx, side) << row["sub"].AsString();
      EXPECT_EQ(size.cy, side) << row["sub"].AsString();
    }
    UiHarness::Shot("desktop_icon_chooser_" + std::to_string(w));

    const std::string first = rows[0]["text"].AsString();
    const std::string name = rows[0]["sub"].AsString();
    TapRow(app.ui, first);
    EXPECT_EQ(app.Core().Settings().GetDesktopIcon(2, false), text::FromUtf8(name));
    EXPECT_EQ(app.Core().Settings().GetDesktopIcon(2, true), u"");
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(app.Core().TopPage(), &desktop);
    EXPECT_EQ(chooser.GetItemCount(), 0);
    app.Core().ForgetPage(&chooser);
    app.Core().ForgetPage(&desktop);
  }
}

TEST(DesktopIconChooser, IsEmptyWithASkinWithoutPicturesOfTheIconSize) {
  UiHarness h("desktop_icons_none");
  ASSERT_TRUE(h.Start());
  CmivoAdvChooseDesktopIcon chooser(&h.Core());
  h.Core().ShowPage(&chooser);
  h.Pump();
  EXPECT_EQ(chooser.GetItemCount(), 0);
  EXPECT_TRUE(RowTexts().empty());
  h.Core().ForgetPage(&chooser);
}

TEST(LookPages, DamagedThemeAndLanguageFilesAreListedByTheirFileNamesAndHarmNothing) {
  UiHarness h("look_damaged");
  const std::vector<std::uint8_t> junk{0x01, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0x40, 'x'};
  for (const char16_t* path : {u"\\Program Files\\mivo\\ColorThemes\\Broken.mct",
                               u"\\Program Files\\mivo\\Languages\\Klingon.mlg",
                               u"\\Program Files\\mivo\\Wallpapers\\Empty\\Empty.mwt"}) {
    stdfs::create_directories(Host(path).parent_path());
    ASSERT_TRUE(fs::WriteFileAtomic(path, junk));
  }
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  core.ShowPage(look_pages::ColorThemesPage(&core));
  h.Pump();
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Broken", "Total themes: 1"}));
  core.PopPage();
  core.ShowPage(look_pages::WallpaperThemesPage(&core));
  h.Pump();
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Empty", "Total wallpaper themes: 1"}));
  core.PopPage();
  auto* languages = new CmivoAdvLanguagesPage(&core);
  core.ShowPage(languages);
  h.Pump();
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Klingon", "Total languages: 1"}));
  core.DestroyPage(languages);
  h.Pump();
  EXPECT_EQ(core.TopPage(), core.GetDesktopPage());
}

TEST(SkinsPage, ListsTheInstalledSkinsWithTheirStringsAndATapOnlyOpensTheHelp) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    LookApp app("skins_" + std::to_string(w), w, hgt);
    stdfs::create_directories(Host(std::u16string(kProgram) + u"Skins\\Bare"));
    const std::u16string skin = app.Core().Settings().GetSkinName();
    ASSERT_FALSE(skin.empty());
    app.Core().ShowPage(look_pages::SkinsPage(&app.Core()));
    app.ui.Pump();
    EXPECT_EQ(Dump()["top"]["header"].AsString(), "Skins");
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"Bare", text::ToUtf8(skin), "Total skins: 2"}));
    const Json rows = Dump()["top"]["rows"];
    const std::string help = rows[1]["help"].AsString();
    EXPECT_EQ(help.rfind("Description:\n", 0), 0u) << help;
    EXPECT_NE(help.find("\n\nSkin generator:\n"), std::string::npos) << help;
    // A skin without its file shows the labels with nothing after them.
    EXPECT_EQ(rows[0]["help"].AsString().rfind("Description:\n\n\nVersion:", 0), 0u);

    TapRow(app.ui, "Bare");
    EXPECT_TRUE(Dump()["top"]["rows"][0]["expanded"].AsBool());
    EXPECT_EQ(app.Core().Settings().GetSkinName(), skin);
    EXPECT_EQ(app.Look().GetSkin()->Name, skin);
    UiHarness::Shot("skins_" + std::to_string(w));
  }
}
