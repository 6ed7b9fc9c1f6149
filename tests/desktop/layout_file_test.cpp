// The desktop layout file on bytes: every record version and header form,
// files cut at every byte, unknown and random type ids, and the icon-text
// record's property versions; read by the desktop's own classes with the
// layout tools' core (no window, no screen).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "actions/action_kinds.h"
#include "desktop/action_gadget.h"
#include "desktop/gadget_container.h"
#include "desktop/icon_text_gadget.h"
#include "desktop/layout_text.h"
#include "look/archive.h"
#include "platform/win32/rect.h"
#include "tools/mivo-pack/layout_core.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The common record of a shortcut (type 10) of one record version, with its
// own fields: the tile style and a show-page action for page 19, or an action
// record of the type id `unknownAction` whose fields no reader can know.
void WriteShortcut(mivoCore* core, mivoArchiveWriter& w, DWORD version, DWORD maskOrIndex, RECT r, bool portrait,
                   DWORD unknownAction = 0) {
  w.WriteU32(10);
  w.WriteU32(version);
  if (version >= 6) w.WriteU32(0);
  if (version >= 5) {
    w.WriteU32(maskOrIndex);
  } else if (version >= 2) {
    w.WriteU8(static_cast<std::uint8_t>(maskOrIndex));
  }
  for (LONG edge : {r.left, r.top, r.right, r.bottom}) w.WriteI32(edge);
  if (version >= 3) w.WriteU8(portrait ? 1 : 0);
  w.WriteU32(kActionGadgetTile);
  if (unknownAction) {
    w.WriteU32(unknownAction);
    w.WriteU8(0);
  } else {
    mivoActionShowPage(core, 19, 0, 0).SaveRecord(w);
  }
}

class LayoutFile : public ::testing::Test {
 protected:
  // Reads bytes as the tools do (rectangles as written, nothing activated).
  mivoLayoutReadResult Read(const Bytes& bytes) {
    container.Clear();
    mivoLayoutReadOptions options;
    options.clamp = false;
    options.activate = false;
    return container.ReadLayout(bytes, nullptr, options);
  }
  CmivoGadget& At(std::size_t i) { return *container.Gadgets().at(i); }

  pack::LayoutCore core;
  mivoGadgetContainer container{&core};
};

TEST_F(LayoutFile, AnEmptyLayoutIsTheTwelveBytes) {
  const Bytes expected = {0xFF, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(container.SerializeLayout(), expected);
  const auto result = Read(expected);
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(result.gadgets, 0u);
  EXPECT_EQ(result.offset, 12u);
}

TEST_F(LayoutFile, EveryRecordVersionGivesItsMaskAndOrientation) {
  struct Case {
    DWORD version, stored;
    bool portraitByte;
    DWORD mask;
    bool portrait;
  };
  const Case cases[] = {
      {0, 0, false, 0, true},  // neither mask nor index; the orientation as made
      {1, 0, false, 0, true},
      {2, 3, false, 8, true},   // an index, no orientation byte
      {3, 1, false, 2, false},  // an index and the orientation
      {4, 3, true, 8, true},
      {4, 40, true, 0, true},  // an index past 31 is no desktop
      {4, 31, true, 0x80000000u, true},
      {5, 0x5, false, 0x5, false},  // the mask itself
      {6, 0x5, true, 0x5, true},
  };
  for (const Case& c : cases) {
    mivoArchiveWriter w;
    WriteShortcut(&core, w, c.version, c.stored, RECT{13, 27, 93, 107}, c.portraitByte);
    w.WriteU32(kLayoutEndMarker);
    const auto result = Read(w.Bytes());
    ASSERT_TRUE(result.complete) << "version " << c.version << ": " << result.problem;
    ASSERT_EQ(container.Count(), 1u);
    EXPECT_EQ(At(0).Desktops(), c.mask) << "version " << c.version << " stored " << c.stored;
    EXPECT_EQ(At(0).IsPortrait(), c.portrait) << "version " << c.version;
    EXPECT_EQ(At(0).RecordVersion(), c.version);
    EXPECT_EQ(At(0).GetRect(), (RECT{13, 27, 93, 107}));
  }
}

TEST_F(LayoutFile, HeadersMayStandAnywhereAndAFirstVersionCarriesOneMoreWord) {
  mivoArchiveWriter w;
  // No header before the first record.
  WriteShortcut(&core, w, 6, 1, RECT{0, 0, 80, 80}, true);
  // A version 1 header with its extra word, between two records.
  w.WriteU32(kLayoutHeaderMarker);
  w.WriteU32(1);
  w.WriteU32(0xDEADBEEF);
  WriteShortcut(&core, w, 6, 2, RECT{80, 0, 160, 80}, true);
  w.WriteU32(kLayoutHeaderMarker);
  w.WriteU32(2);
  WriteShortcut(&core, w, 6, 4, RECT{160, 0, 240, 80}, true);
  w.WriteU32(kLayoutEndMarker);
  const auto result = Read(w.Bytes());
  EXPECT_TRUE(result.complete) << result.problem;
  ASSERT_EQ(container.Count(), 3u);
  EXPECT_EQ(At(2).Desktops(), 4u);
  // Written back with one header in front.
  const Bytes again = container.SerializeLayout();
  EXPECT_EQ(Bytes(again.begin(), again.begin() + 8), (Bytes{0xFF, 0, 0, 0, 2, 0, 0, 0}));
}

TEST_F(LayoutFile, ARecordNoClassIsBuiltForEndsTheReadingAndKeepsWhatCameBefore) {
  mivoArchiveWriter w;
  w.WriteU32(kLayoutHeaderMarker);
  w.WriteU32(2);
  WriteShortcut(&core, w, 6, 1, RECT{0, 0, 80, 80}, true);
  const std::size_t second = w.Bytes().size();
  // Type 6 is what the next record's version 6 would be taken for if the
  // reader skipped four bytes: it stops instead.
  w.WriteU32(77);
  w.WriteU32(6);
  WriteShortcut(&core, w, 6, 2, RECT{80, 0, 160, 80}, true);
  w.WriteU32(kLayoutEndMarker);
  const auto result = Read(w.Bytes());
  EXPECT_FALSE(result.complete);
  EXPECT_EQ(result.gadgets, 1u);
  EXPECT_EQ(result.offset, second);
  EXPECT_NE(result.problem.find("77"), std::string::npos) << result.problem;
  ASSERT_EQ(container.Count(), 1u);
  EXPECT_EQ(At(0).TypeId(), 10u);
}

TEST_F(LayoutFile, AShortcutWhoseActionKindIsUnknownEndsTheReading) {
  mivoArchiveWriter w;
  WriteShortcut(&core, w, 6, 1, RECT{0, 0, 80, 80}, true);
  WriteShortcut(&core, w, 6, 1, RECT{0, 0, 80, 80}, true, 12);
  w.WriteU32(kLayoutEndMarker);
  const auto result = Read(w.Bytes());
  EXPECT_FALSE(result.complete);
  EXPECT_EQ(container.Count(), 1u);
}

TEST_F(LayoutFile, AFileCutAtAnyByteKeepsTheWholeRecordsBeforeTheCut) {
  std::string error;
  ASSERT_TRUE(layout_text::Parse(
      "action rect=0,0,80,80 desktops=1 portrait style=tile action=\"page 19\"\n"
      "action rect=0,60,240,108 desktops=1,3 landscape style=details action=\"file \\Windows\\Start Menu\\Notes.lnk\"\n"
      "favorites rect=80,0,160,80 desktops=2 portrait\n"
      "action rect=10,10,45,45 desktops=4 portrait style=icon action=\"call +49 30 1234\"\n",
      &core, container, &error))
      << error;
  const Bytes whole = container.SerializeLayout();
  // Where each record ends: the header, then one record per gadget.
  std::vector<std::size_t> ends;
  {
    std::size_t at = 8;
    for (const auto& gadget : container.Gadgets()) {
      mivoArchiveWriter one;
      layout_file::WriteRecord(*gadget, one);
      at += one.Bytes().size();
      ends.push_back(at);
    }
  }
  for (std::size_t length = 0; length < whole.size(); ++length) {
    const auto result = Read(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
    EXPECT_FALSE(result.complete) << "cut at " << length;
    std::size_t expected = 0;
    while (expected < ends.size() && ends[expected] <= length) ++expected;
    EXPECT_EQ(container.Count(), expected) << "cut at " << length;
  }
  EXPECT_TRUE(Read(whole).complete);
  EXPECT_EQ(container.SerializeLayout(), whole);
}

TEST_F(LayoutFile, RandomTypeIdsAndRandomBytesNeverHangOrFail) {
  std::mt19937 random(16);
  mivoArchiveWriter base;
  WriteShortcut(&core, base, 6, 1, RECT{0, 0, 80, 80}, true);
  const Bytes record = base.Bytes();
  for (int round = 0; round < 3000; ++round) {
    Bytes bytes;
    if (round % 2 == 0) {
      // Good records with random words put in where type ids stand.
      for (int i = 0; i < 3; ++i) {
        bytes.insert(bytes.end(), record.begin(), record.end());
        const std::uint32_t type = random() % 4 == 0 ? random() : random() % 40;
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(type >> (8 * b)));
      }
    } else {
      // Noise, now and then behind a header.
      const std::size_t n = random() % 200;
      if (random() % 2) bytes = {0xFF, 0, 0, 0, 2, 0, 0, 0};
      for (std::size_t i = 0; i < n; ++i)
        bytes.push_back(static_cast<std::uint8_t>(random() % 7 == 0 ? 0xFF : random()));
    }
    const auto result = Read(bytes);
    EXPECT_LE(result.offset, bytes.size());
    EXPECT_EQ(result.gadgets, container.Count());
  }
}

TEST_F(LayoutFile, TheTextFormAndTheFileSayTheSameThing) {
  const std::string text =
      "action rect=0,12,80,92 desktops=1 portrait style=tile action=\"page 19 0 0\"\n"
      "action rect=80,12,160,92 desktops=1,2 portrait style=tile action=\"submenu Call log\"\n"
      "history rect=0,206,240,254 desktops=1 portrait style=details action=\"page 24 0 0\"\n"
      "action rect=0,10,35,45 desktops=32 landscape style=icon action=sms\n"
      "action rect=5,5,85,85 desktops=none landscape style=tile action=\"email ann@example.org\"\n"
      "action rect=5,5,85,85 desktops=3 portrait style=tile action=\"office 0 3\"\n"
      "action rect=5,5,85,85 desktops=3 portrait style=tile action=\"controlpanel 4 1\"\n"
      "action rect=5,5,85,85 desktops=3 portrait style=tile action=\"contact 42\"\n"
      "action rect=5,5,85,85 desktops=3 portrait style=tile action=tutorial\n"
      "action rect=5,5,85,85 desktops=3 portrait style=tile action=\"file \\My Documents\\Say \"\"hi\"\".txt\"\n";
  std::string error;
  ASSERT_TRUE(layout_text::Parse(text, &core, container, &error)) << error;
  EXPECT_EQ(layout_text::Format(&core, container), text);
  const Bytes bytes = container.SerializeLayout();
  ASSERT_TRUE(Read(bytes).complete);
  EXPECT_EQ(layout_text::Format(&core, container), text);
  EXPECT_EQ(container.SerializeLayout(), bytes);
}

TEST_F(LayoutFile, TheTextFormNamesTheLineOfEachFault) {
  struct Case {
    const char* text;
    const char* says;
  };
  // A kind whose family is not built (yet), when there is one.
  std::string unbuilt, unbuiltSays;
  for (const mivoGadgetKind& kind : gadget_catalogue::Kinds()) {
    if (gadget_catalogue::IsBuilt(kind.className)) continue;
    unbuilt = std::string(kind.key) + " rect=0,0,10,10\n";
    unbuiltSays = std::string("no gadget of kind '") + kind.key + "'";
    break;
  }
  const Case cases[] = {
      {unbuilt.empty() ? "nothing rect=0,0,10,10\n" : unbuilt.c_str(),
       unbuilt.empty() ? "no kind of gadget" : unbuiltSays.c_str()},
      {"nothing rect=0,0,10,10\n", "no kind of gadget"},
      {"# ok\naction desktops=1 action=\"page 1\"\n", "line 2"},
      {"action rect=0,0,10 action=\"page 1\"\n", "rect="},
      {"action rect=0,0,10,10 desktops=33 action=\"page 1\"\n", "desktops=33"},
      {"action rect=0,0,10,10 style=huge action=\"page 1\"\n", "style=huge"},
      {"action rect=0,0,10,10 action=\"ring 1\"\n", "no action"},
      {"action rect=0,0,10,10 colour=#FFFFFF action=\"page 1\"\n", "has no colour"},
      {"action rect=0,0,10,10 action=\"page 1\n", "quote"},
      {"action rect=0,0,10,10 upside-down action=\"page 1\"\n", "upside-down"},
  };
  for (const Case& c : cases) {
    container.Clear();
    std::string error;
    EXPECT_FALSE(layout_text::Parse(c.text, &core, container, &error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " said: " << error;
  }
}

// An icon-text gadget of no kind in particular, to read and write its record.
class PlainIconText : public CmivoIconTextGadget {
 public:
  explicit PlainIconText(mivoCore* core) : CmivoIconTextGadget(core, nullptr, 2) {}
};

TEST_F(LayoutFile, TheIconTextRecordReadsItsThreePropertyVersionsAndAlwaysWritesTheThird) {
  // Property version 0: no alignment; 1: the alignment, no value; 3: both.
  for (DWORD version : {0u, 1u, 3u}) {
    PlainIconText gadget(&core);
    gadget.SetPropertyVersion(version);
    mivoArchiveWriter w;
    if (version != 0) w.WriteU32(8);  // alignment
    w.WriteU32(kTextUnderImage);
    w.WriteU8(1);
    w.WriteU8(0);
    w.WriteU8(7);
    w.WriteU32(RGB(10, 20, 30));
    w.WriteU32(26);
    if (version >= 3) w.WriteU32(2);
    w.WriteU32(0xABCDEF01);  // what follows the record stays unread
    mivoArchiveReader in(w.Bytes());
    gadget.LoadProperties(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 4u) << "version " << version;
    EXPECT_EQ(gadget.Alignment(), version ? 8 : 4);
    EXPECT_EQ(gadget.Value(), version >= 3 ? 2 : 1);
    EXPECT_EQ(gadget.GetStyle().textPosition, kTextUnderImage);
    EXPECT_TRUE(gadget.GetStyle().bold);
    EXPECT_TRUE(gadget.GetStyle().underline) << "any byte but 0 is set";
    EXPECT_EQ(gadget.GetStyle().textColor, RGB(10, 20, 30));
    EXPECT_EQ(gadget.GetStyle().textSize, 26);
    EXPECT_EQ(gadget.PropertyVersion(), 3u);
  }
  // A new gadget (property version 1) writes the version-3 layout under version 3.
  PlainIconText fresh(&core);
  EXPECT_EQ(fresh.PropertyVersion(), 1u);
  mivoArchiveWriter w;
  layout_file::WriteRecord(fresh, w);
  mivoArchiveReader in(w.Bytes());
  std::uint32_t type = 0, recordVersion = 0, propertyVersion = 0;
  in.ReadU32(&type);
  in.ReadU32(&recordVersion);
  in.ReadU32(&propertyVersion);
  EXPECT_EQ(recordVersion, 6u);
  EXPECT_EQ(propertyVersion, 3u);
  // 4 mask + 16 rectangle + 1 orientation, then 4 + 4 + 3 + 4 + 4 + 4 own bytes.
  EXPECT_EQ(in.Remaining(), 21u + 23u);
}

}  // namespace
