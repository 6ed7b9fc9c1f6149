// The gadget plug-in libraries and the "Mivo plug-in" gadget in the whole
// program: the design-mode menu built from the libraries found, libraries
// that lack exports or give bad information, a gadget's life, paint, taps and
// stored settings, and records of plug-ins that cannot be read or start.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/plugin_registry.h"
#include "look/archive.h"
#include "platform/win32/text.h"
#include "tests/plugins/plugin_harness.h"

namespace {

using namespace plugintest;
using Bytes = std::vector<std::uint8_t>;

const std::u16string kGadgetFolder = u"\\Program Files\\mivo\\GadgetPlugins\\";

// The rows after the desktop's own "Gadget settings" heading.
std::vector<std::string> GadgetRows(const std::vector<std::string>& rows) {
  auto it = std::find(rows.begin(), rows.end(), "Gadget settings");
  return it == rows.end() ? std::vector<std::string>{} : std::vector<std::string>(it + 1, rows.end());
}

// A layout: the header, plug-in records (property version, path, index, then
// the raw bytes that follow the index), the end marker.
struct Record {
  DWORD propertyVersion;
  std::u16string path;
  std::int32_t index;
  Bytes after;
};

Bytes Layout(const std::vector<Record>& records) {
  mivoArchiveWriter out;
  out.WriteU32(0xFF);
  out.WriteU32(2);
  int top = 10;
  for (const Record& r : records) {
    out.WriteU32(26);
    out.WriteU32(6);
    out.WriteU32(r.propertyVersion);
    out.WriteU32(1);
    for (std::int32_t edge : {10, top, 100, top + 50}) out.WriteI32(edge);
    out.WriteU8(1);
    out.WriteString(r.path);
    out.WriteI32(r.index);
    out.WriteBytes(r.after);
    top += 60;
  }
  out.WriteU32(0xFFFFFFFF);
  return out.Take();
}

// The settings as a length and the bytes (property version 1).
Bytes WithLength(const Bytes& settings) {
  mivoArchiveWriter out;
  out.WriteU32(static_cast<std::uint32_t>(settings.size()));
  out.WriteBytes(settings);
  return out.Take();
}

// The settings pair.c stores: its counter and its text.
Bytes PairSettings(std::int32_t counter, const char16_t* text) {
  mivoArchiveWriter out;
  out.WriteI32(counter);
  out.WriteString(text);
  return out.Take();
}

// The page's gadgets replaced by those of the layout, which is read whole.
std::vector<CmivoGadgetPlugin*> ReadBack(PluginHarness& h, const Bytes& layout) {
  h.Page().Container().Clear();
  const mivoLayoutReadResult read = h.Page().Container().ReadLayout(layout, &h.Page());
  EXPECT_TRUE(read.complete) << read.problem;
  std::vector<CmivoGadgetPlugin*> out;
  for (const auto& g : h.Page().Container().Gadgets()) {
    if (auto* p = dynamic_cast<CmivoGadgetPlugin*>(g.get())) out.push_back(p);
  }
  return out;
}

TEST(PluginMenu, TwoLibrariesOfTwoGadgetsGiveCommandsInLibraryThenGadgetOrder) {
  PluginHarness h("pairs", {"pair_b", "pair_a"});
  CmivoGadgetPlugin* g = h.Add<CmivoGadgetPlugin>(RECT{20, 20, 120, 120});
  EXPECT_EQ(
      GadgetRows(h.MenuOf(CentreOf(*g))),
      (std::vector<std::string>{"Installed plugins", "      A one", "      A two", "      B one", "      B two"}));
  // Command 2140 + i is the i-th: 2142 is the second library's first gadget.
  mivoContextMenuEntry entry;
  entry.CommandId = kPluginAvailableFirst + 2;
  g->OnContextMenuCommand(entry);
  EXPECT_TRUE(g->IsLive());
  EXPECT_EQ(g->LibraryPath(), kGadgetFolder + u"pair_b.so");
  EXPECT_EQ(g->GadgetIndex(), 0);
  EXPECT_EQ(Probe(u"pair_b", u"CreateGadget"), 1u);
  EXPECT_EQ(Probe(u"pair_b", u"Initialize"), 1u);
  // Each library was loaded once, however often the menu was built.
  g->RebuildAvailable();
  g->RebuildAvailable();
  EXPECT_EQ(Probe(u"pair_a", u"SetMivoHandle"), 1u);
  EXPECT_EQ(Probe(u"pair_b", u"SetMivoAPI_1"), 1u);
}

TEST(PluginMenu, ALibraryWithoutDeleteGadgetIsToldItsHandlesYetOffersNothingAndIsNotTriedAgain) {
  PluginHarness h("no_delete", {"no_delete", "pair_a"});
  CmivoGadgetPlugin* g = h.Add<CmivoGadgetPlugin>(RECT{20, 20, 120, 120});
  EXPECT_EQ(GadgetRows(h.MenuOf(CentreOf(*g))),
            (std::vector<std::string>{"Installed plugins", "      A one", "      A two"}));
  EXPECT_EQ(Probe(u"no_delete", u"SetMivoHandle"), 1u);
  EXPECT_EQ(Probe(u"no_delete", u"SetMivoAPI_1"), 1u);
  EXPECT_EQ(Probe(u"no_delete", u"GadgetsCount"), 0u);
  mivoPluginLibrary* library = h.Core().GetPluginRegistry()->Find(kGadgetFolder + u"no_delete.so");
  ASSERT_NE(library, nullptr);
  EXPECT_FALSE(library->IsLoaded());
  EXPECT_EQ(library->Module(), nullptr);
  // A stored gadget of it never starts, and the library is not loaded again.
  g->Choose(kGadgetFolder + u"no_delete.so", 0);
  g->RebuildAvailable();
  EXPECT_FALSE(g->IsLive());
  EXPECT_EQ(Probe(u"no_delete", u"SetMivoHandle"), 1u);
  EXPECT_EQ(Probe(u"no_delete", u"CreateGadget"), 0u);
}

TEST(PluginMenu, IndicesWithoutInformationOrNameAndIndicesPastTheCountAreNeverCreated) {
  PluginHarness h("bad_info", {"bad_info", "many"});
  CmivoGadgetPlugin* g = h.Add<CmivoGadgetPlugin>(RECT{20, 20, 120, 120});
  const std::vector<std::string> rows = GadgetRows(h.MenuOf(CentreOf(*g)));
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + 3),
            (std::vector<std::string>{"Installed plugins", "      Good", "      Also good"}));
  // A library that claims a hundred thousand gadgets offers the first 64.
  EXPECT_EQ(std::count(rows.begin(), rows.end(), "      Many"), kMaxGadgetsPerLibrary);
  // (bad_info's CreateGadget ends the process for any index but 0 and 3.)
  for (int index : {1, 2, 4, 7, -1, 1 << 30}) {
    g->Choose(kGadgetFolder + u"bad_info.so", index);
    EXPECT_FALSE(g->IsLive()) << index;
  }
  g->Choose(kGadgetFolder + u"bad_info.so", 3);
  EXPECT_TRUE(g->IsLive());
  EXPECT_EQ(Probe(u"bad_info", u"CreateGadget"), 1u);
}

TEST(PluginMenu, FilesThatAreNoLibrariesOfferNothingAndAreNotLoadedAsSuch) {
  PluginHarness h("not_libraries", {"pair_a"});
  for (const char* name : {"broken.so", "notes.txt", "Upper.DLL"}) {
    std::ofstream(ProgramFolder() / "GadgetPlugins" / name) << "not a library";
  }
  mivoPluginRegistry* registry = h.Core().GetPluginRegistry();
  ASSERT_NE(registry, nullptr);
  std::vector<std::u16string> paths;
  for (std::size_t i = 0; i < registry->Count(); ++i) paths.push_back(registry->At(i)->Path());
  EXPECT_EQ(paths,
            (std::vector<std::u16string>{kGadgetFolder + u"broken.so", kGadgetFolder + u"pair_a.so", kGadgetFolder + u"Upper.DLL"}));
  CmivoGadgetPlugin* g = h.Add<CmivoGadgetPlugin>(RECT{20, 20, 120, 120});
  EXPECT_EQ(GadgetRows(h.MenuOf(CentreOf(*g))),
            (std::vector<std::string>{"Installed plugins", "      A one", "      A two"}));
  EXPECT_TRUE(registry->At(0)->Failed());
}

TEST(PluginGadget, ALiveGadgetPaintsItselfHearsTapsAndShowsItsFrameInDesignMode) {
  PluginHarness h("live", {"pair_a"});
  CmivoGadgetPlugin* g = h.AddPlugin(u"pair_a.so", 1, RECT{20, 40, 120, 140});
  ASSERT_TRUE(g->IsLive());
  const POINT inside = h.OnScreen(70, 90);
  EXPECT_EQ(uitest::UiHarness::Screen().At(inside.x, inside.y), uitest::Pixel(RGB(255, 0, 0)));
  EXPECT_EQ(g->GetDumpText(), u"A two 7 ");
  // A tap reaches the plug-in at its own coordinates, and no main menu opens.
  h.TapAt(30, 45);
  EXPECT_EQ(Probe(u"pair_a", u"TapX"), 10u);
  EXPECT_EQ(Probe(u"pair_a", u"TapY"), 5u);
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
  EXPECT_EQ(g->GetDumpText(), u"A two 8 ");
  // Selected in design mode, its handles show over what it paints.
  h.Page().SetDesignMode(true);
  h.TapAt(70, 90);
  h.Pump();
  const POINT handle = h.OnScreen(22, 42);
  EXPECT_NE(uitest::UiHarness::Screen().At(handle.x, handle.y), uitest::Pixel(RGB(255, 0, 0)));
  // The plug-in's own menu entry comes first, under its name.
  const std::vector<std::string> rows = GadgetRows(h.MenuOf(CentreOf(*g)));
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[0], "A two");
  EXPECT_EQ(rows[1], "Set text");
  EXPECT_EQ(rows[2], "Installed plugins");
  // It goes: the plug-in stops it and deletes it.
  h.Key(VK_F1);
  h.Page().Container().RemoveGadget(g);
  EXPECT_EQ(Probe(u"pair_a", u"Uninitialize"), 1u);
  EXPECT_EQ(Probe(u"pair_a", u"DeleteGadget"), 1u);
}

TEST(PluginGadget, NotLiveItIsABlackSquareThatKeepsItsPlaceAndAnEmptyFolderOffersNoPlugins) {
  PluginHarness h("placeholder", {});
  CmivoGadgetPlugin* fresh = h.Add<CmivoGadgetPlugin>(RECT{30, 60, 200, 70});
  h.Pump();
  EXPECT_EQ(fresh->GetRect(), (RECT{30, 60, 80, 110}));
  const POINT p = h.OnScreen(55, 85);
  EXPECT_EQ(uitest::UiHarness::Screen().At(p.x, p.y), uitest::Pixel(RGB(0, 0, 0)));
  // One whose library is gone keeps the rectangle it had.
  CmivoGadgetPlugin* orphan = h.AddPlugin(u"gone.so", 0, RECT{100, 150, 230, 200});
  EXPECT_FALSE(orphan->IsLive());
  EXPECT_EQ(orphan->GetRect(), (RECT{100, 150, 230, 200}));
  EXPECT_EQ(GadgetRows(h.MenuOf(CentreOf(*fresh))), (std::vector<std::string>{"(no plugins installed)"}));
}

TEST(PluginRecord, ALiveGadgetsSettingsComeBackWithTheirLength) {
  PluginHarness h("record", {"pair_a"});
  h.AddPlugin(u"pair_a.so", 1, RECT{20, 40, 120, 140});
  h.TapAt(30, 45);
  const Bytes layout = h.Page().Container().SerializeLayout();
  // The record: property version 1, the path, the index, then the settings with their length.
  mivoArchiveWriter expected;
  expected.WriteString(kGadgetFolder + u"pair_a.so");
  expected.WriteI32(1);
  expected.WriteBytes(WithLength(PairSettings(8, u"")));
  const Bytes& tail = expected.Bytes();
  ASSERT_GE(layout.size(), 8 + 33 + tail.size() + 4);
  EXPECT_EQ(layout[16], 1) << "property version";
  EXPECT_EQ(Bytes(layout.begin() + 8 + 33, layout.begin() + 8 + 33 + tail.size()), tail);

  const std::vector<CmivoGadgetPlugin*> back = ReadBack(h, layout);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_TRUE(back[0]->IsLive());
  EXPECT_EQ(back[0]->GetDumpText(), u"A two 8 ");
  EXPECT_EQ(back[0]->GetRect(), (RECT{20, 40, 120, 140}));
}

TEST(PluginRecord, SettingsOfAPluginThatCannotStartAreKeptAndTheRestOfTheFileIsRead) {
  PluginHarness h("orphan", {"pair_a"});
  const Bytes orphanSettings = {1, 2, 3, 4, 5};
  const Bytes pairSettings = PairSettings(3, u"kept");
  const Bytes layout = Layout({{1, kGadgetFolder + u"gone.so", 0, WithLength(orphanSettings)},
                               {1, kGadgetFolder + u"pair_a.so", 0, WithLength(pairSettings)},
                               {1, kGadgetFolder + u"pair_a.so", 1, WithLength({})}});
  const std::vector<CmivoGadgetPlugin*> gadgets = ReadBack(h, layout);
  ASSERT_EQ(gadgets.size(), 3u);
  EXPECT_FALSE(gadgets[0]->IsLive());
  EXPECT_EQ(gadgets[0]->KeptSettings(), orphanSettings);
  EXPECT_TRUE(gadgets[1]->IsLive());
  EXPECT_EQ(gadgets[1]->GetDumpText(), u"A one 3 kept");
  // Nothing stored: live with its defaults, and its Load is not called.
  EXPECT_EQ(gadgets[2]->GetDumpText(), u"A two 7 ");
  EXPECT_EQ(Probe(u"pair_a", u"Load"), 1u);
  // Written back, the orphan's record (and the live one's, unchanged) are the same bytes.
  const std::size_t firstTwo = Layout({{1, kGadgetFolder + u"gone.so", 0, WithLength(orphanSettings)},
                                       {1, kGadgetFolder + u"pair_a.so", 0, WithLength(pairSettings)}})
                                   .size() -
                               4;
  const Bytes written = h.Page().Container().SerializeLayout();
  ASSERT_GE(written.size(), firstTwo);
  EXPECT_EQ(Bytes(written.begin(), written.begin() + static_cast<long>(firstTwo)),
            Bytes(layout.begin(), layout.begin() + static_cast<long>(firstTwo)));
}

TEST(PluginRecord, TheOlderLayoutWithoutLengthIsReadByALivePlugin) {
  PluginHarness h("old_layout", {"pair_a"});
  const Bytes layout = Layout({{0, kGadgetFolder + u"pair_a.so", 1, PairSettings(4, u"old")}, {0, u"", 0, {}}});
  const std::vector<CmivoGadgetPlugin*> gadgets = ReadBack(h, layout);
  ASSERT_EQ(gadgets.size(), 2u);
  EXPECT_EQ(gadgets[0]->GetDumpText(), u"A two 4 old");
  EXPECT_FALSE(gadgets[1]->IsLive());
}

TEST(PluginRecord, ALoadThatReadsMoreThanWasStoredStartsTheGadgetAfreshAndSpoilsNothingElse) {
  PluginHarness h("greedy", {"greedy", "pair_a"});
  const Bytes layout = Layout({{1, kGadgetFolder + u"greedy.so", 0, WithLength({42, 0, 0, 0})},
                               {1, kGadgetFolder + u"pair_a.so", 0, WithLength(PairSettings(5, u"after"))}});
  const std::vector<CmivoGadgetPlugin*> gadgets = ReadBack(h, layout);
  ASSERT_EQ(gadgets.size(), 2u);
  EXPECT_TRUE(gadgets[0]->IsLive());
  EXPECT_EQ(Probe(u"greedy", u"CreateGadget"), 2u);
  EXPECT_EQ(Probe(u"greedy", u"DeleteGadget"), 1u);
  EXPECT_EQ(Probe(u"greedy", u"LastRead"), 0u) << "reads past the settings give zeros";
  EXPECT_EQ(gadgets[1]->GetDumpText(), u"A one 5 after");
}

}  // namespace
