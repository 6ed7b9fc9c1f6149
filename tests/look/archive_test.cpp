// The archive stream's byte layout, checked against hand-made bytes.
#include <gtest/gtest.h>

#include "look/archive.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Written(std::u16string_view s) {
  mivoArchiveWriter w;
  w.WriteString(s);
  return w.Take();
}

TEST(ArchiveStream, WritesIntegersLittleEndian) {
  mivoArchiveWriter w;
  w.WriteU8(0xAB);
  w.WriteU16(0x1234);
  w.WriteU32(0xDEADBEEF);
  w.WriteI32(-2);
  EXPECT_EQ(w.Bytes(), (Bytes{0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 0xFE, 0xFF, 0xFF, 0xFF}));

  mivoArchiveReader r(w.Bytes());
  std::uint8_t b;
  std::uint16_t h;
  std::uint32_t u;
  std::int32_t i;
  ASSERT_TRUE(r.ReadU8(&b) && r.ReadU16(&h) && r.ReadU32(&u) && r.ReadI32(&i));
  EXPECT_EQ(b, 0xAB);
  EXPECT_EQ(h, 0x1234);
  EXPECT_EQ(u, 0xDEADBEEFu);
  EXPECT_EQ(i, -2);
  EXPECT_TRUE(r.AtEnd());
}

TEST(ArchiveStream, WritesStringsWithTheirThreeLengthFormsAndReadsThemBack) {
  EXPECT_EQ(Written(u"Ab"), (Bytes{0xFF, 0xFE, 0xFF, 0x02, 'A', 0, 'b', 0}));
  // The length's form changes at 255 (u16 follows) and at 0xFFFE (u32 follows).
  const std::pair<std::size_t, Bytes> forms[] = {
      {0, {0xFF, 0xFE, 0xFF, 0x00}},
      {1, {0xFF, 0xFE, 0xFF, 0x01}},
      {254, {0xFF, 0xFE, 0xFF, 254}},
      {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
      {300, {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}},
      {0xFFFD, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}};
  for (const auto& [n, head] : forms) {
    std::u16string s(n, u'\u25CF');
    if (n > 1) s[1] = u'\n';
    const Bytes b = Written(s);
    ASSERT_EQ(b.size(), head.size() + 2 * n) << n;
    EXPECT_EQ(Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(head.size())), head) << n;
    mivoArchiveReader r(b);
    std::u16string back;
    ASSERT_TRUE(r.ReadString(&back)) << n;
    EXPECT_EQ(back, s) << n;
    EXPECT_TRUE(r.AtEnd()) << n;
  }
}

TEST(ArchiveStream, ReadsTheEightBitFormInWindows1252) {
  // Length 4 without the UTF-16 marker: "Caf" and 0xE9 (e acute), then 0x80 (euro sign) alone.
  const Bytes b{0x04, 'C', 'a', 'f', 0xE9, 0x01, 0x80};
  mivoArchiveReader r(b);
  std::u16string s, euro;
  ASSERT_TRUE(r.ReadString(&s));
  ASSERT_TRUE(r.ReadString(&euro));
  EXPECT_EQ(s, u"Caf\u00E9");
  EXPECT_EQ(euro, u"\u20AC");

  // The 8-bit form with a u16 length (300) and with a u32 length (3).
  Bytes longer{0xFF, 0x2C, 0x01};
  longer.insert(longer.end(), 300, 'z');
  mivoArchiveReader r2(longer);
  ASSERT_TRUE(r2.ReadString(&s));
  EXPECT_EQ(s, std::u16string(300, u'z'));
  const Bytes u32form{0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'};
  mivoArchiveReader r3(u32form);
  ASSERT_TRUE(r3.ReadString(&s));
  EXPECT_EQ(s, u"abc");
}

TEST(ArchiveStream, AStreamThatEndsEarlyFailsAndStaysFailed) {
  const Bytes b{0x01, 0x02, 0x03};
  mivoArchiveReader r(b);
  std::uint16_t h;
  std::uint32_t u = 77;
  ASSERT_TRUE(r.ReadU16(&h));
  EXPECT_FALSE(r.ReadU32(&u));
  EXPECT_EQ(u, 0u);
  EXPECT_TRUE(r.Failed());
  std::uint8_t byte;
  EXPECT_FALSE(r.ReadU8(&byte)) << "a failure is sticky even though one byte is left";
}

TEST(ArchiveStream, ALengthThatRunsPastTheEndFailsWithoutAllocatingIt) {
  // Claims 0xFFFFFFFF UTF-16 units (8 GB) but holds two bytes.
  const Bytes huge{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0};
  mivoArchiveReader r(huge);
  std::u16string s = u"old";
  EXPECT_FALSE(r.ReadString(&s));
  EXPECT_TRUE(s.empty());
  EXPECT_TRUE(r.Failed());

  std::span<const std::uint8_t> view;
  mivoArchiveReader r2(huge);
  EXPECT_FALSE(r2.ReadBytes(100, &view));
  EXPECT_TRUE(view.empty());
}

TEST(ArchiveStream, EveryTruncationOfAStringAndTwoUtf16MarkersFailCleanly) {
  const Bytes twoMarkers{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00};
  mivoArchiveReader marked(twoMarkers);
  std::u16string s;
  EXPECT_FALSE(marked.ReadString(&s));
  const Bytes full = Written(std::u16string(300, u'q'));
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    mivoArchiveReader r(std::span(full.data(), cut));
    EXPECT_FALSE(r.ReadString(&s)) << cut;
  }
}

}  // namespace
