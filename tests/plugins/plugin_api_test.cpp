// The host functions every gadget plug-in library is handed (mivoAPI_1): the
// archive functions' exact bytes and their behaviour at the end of the
// settings, and what they do with values a library should not have passed.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "desktop/plugin_host_api.h"
#include "look/archive.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// What a library's Save writes through the table.
template <typename Fn>
Bytes Written(Fn write) {
  mivoArchiveWriter out;
  {
    mivoPluginArchive archive(out);
    write(plugin_host::Api(), archive.Handle());
  }
  return out.Take();
}

TEST(PluginApi, EachWriteStoresItsBytes) {
  const mivoAPI_1& api = plugin_host::Api();
  const struct {
    const char* what;
    Bytes bytes;
    Bytes expected;
  } cases[] = {
      {"WriteInt -2", Written([](const mivoAPI_1& a, MIVOARCHIVE h) { a.WriteInt(h, -2); }), {0xFE, 0xFF, 0xFF, 0xFF}},
      {"WriteDword",
       Written([](const mivoAPI_1& a, MIVOARCHIVE h) { a.WriteDword(h, 0x01020304); }),
       {0x04, 0x03, 0x02, 0x01}},
      {"WriteBool 7", Written([](const mivoAPI_1& a, MIVOARCHIVE h) { a.WriteBool(h, 7); }), {1}},
      {"WriteBool 0", Written([](const mivoAPI_1& a, MIVOARCHIVE h) { a.WriteBool(h, 0); }), {0}},
      {"WriteString",
       Written([](const mivoAPI_1& a, MIVOARCHIVE h) { a.WriteString(h, u"Hi"); }),
       {0xFF, 0xFE, 0xFF, 2, 'H', 0, 'i', 0}},
      {"WriteString null",
       Written([](const mivoAPI_1& a, MIVOARCHIVE h) { a.WriteString(h, nullptr); }),
       {0xFF, 0xFE, 0xFF, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.bytes, c.expected) << c.what;
  // An archive that is none (no Load or Save is under way) takes nothing.
  api.WriteInt(reinterpret_cast<MIVOARCHIVE>(0x1234), 1);
  api.WriteString(nullptr, u"x");
}

TEST(PluginApi, ReadStringCopiesAtMostTheCapacityAndWritesNoTerminator) {
  mivoArchiveWriter out;
  out.WriteString(u"0123456789");
  const Bytes bytes = out.Take();
  const struct {
    int capacity;
    std::u16string expected;
  } cases[] = {{4, u"0123xxxxxx"}, {10, u"0123456789"}, {12, u"0123456789"}, {0, u"xxxxxxxxxx"}};
  for (const auto& c : cases) {
    mivoArchiveReader in(bytes);
    mivoPluginArchive archive(in);
    char16_t buffer[13] = u"xxxxxxxxxxxx";
    plugin_host::Api().ReadString(archive.Handle(), buffer, c.capacity);
    EXPECT_EQ(std::u16string(buffer, 10), c.expected) << "capacity " << c.capacity;
    EXPECT_EQ(buffer[10], u'x') << "capacity " << c.capacity;
    EXPECT_FALSE(archive.Failed());
    EXPECT_TRUE(in.AtEnd());
  }
}

TEST(PluginApi, ReadsAtTheEndGiveZeroAndEmptyAndMarkTheArchiveFailed) {
  const mivoAPI_1& api = plugin_host::Api();
  const Bytes bytes = {0x05, 0x00, 0x00, 0x00, 0x01};
  mivoArchiveReader in(bytes);
  mivoPluginArchive archive(in);
  const MIVOARCHIVE h = archive.Handle();
  EXPECT_EQ(api.ReadInt(h), 5);
  EXPECT_EQ(api.ReadBool(h), TRUE);
  EXPECT_FALSE(archive.Failed());
  EXPECT_EQ(api.ReadInt(h), 0);
  EXPECT_EQ(api.ReadDword(h), 0u);
  EXPECT_EQ(api.ReadBool(h), FALSE);
  char16_t text[4] = {};
  api.ReadString(h, text, 3);
  EXPECT_EQ(text[0], 0);
  api.ReadString(h, nullptr, 3);
  EXPECT_TRUE(archive.Failed());
}

TEST(PluginApi, AWriteOnAReadingArchiveOrAReadOnAWritingOneFails) {
  const mivoAPI_1& api = plugin_host::Api();
  const Bytes bytes = {1, 2, 3, 4};
  mivoArchiveReader in(bytes);
  mivoPluginArchive reading(in);
  api.WriteInt(reading.Handle(), 9);
  EXPECT_TRUE(reading.Failed());
  EXPECT_EQ(in.Position(), 0u);

  mivoArchiveWriter out;
  mivoPluginArchive writing(out);
  EXPECT_EQ(api.ReadInt(writing.Handle()), 0);
  EXPECT_TRUE(writing.Failed());
  EXPECT_TRUE(out.Bytes().empty());
}

TEST(PluginApi, ValuesThatNameNothingOfTheHostAreIgnored) {
  const mivoAPI_1& api = plugin_host::Api();
  mivoGadgetRect rect{1, 2, 3, 4, 1};
  api.SetGadgetRect(reinterpret_cast<MIVOOWNER>(0x40), &rect);
  api.SetGadgetRect(nullptr, nullptr);
  RECT out{9, 9, 9, 9};
  api.GetGadgetRect(&out, reinterpret_cast<MIVOOWNER>(0x40));
  EXPECT_EQ(out.left + out.top + out.right + out.bottom, 0);
  api.GetGadgetRect(nullptr, nullptr);
  // Without a core the theme falls back to white on black and the system font.
  EXPECT_EQ(api.GetThemeTextColor(reinterpret_cast<MIVOHANDLE>(0x40)), RGB(255, 255, 255));
  EXPECT_EQ(api.GetThemeBackgroundColor(nullptr), RGB(0, 0, 0));
  EXPECT_NE(api.GetLargeFont(nullptr), nullptr);
  EXPECT_NE(api.GetSmallFont(nullptr), nullptr);
}

}  // namespace
