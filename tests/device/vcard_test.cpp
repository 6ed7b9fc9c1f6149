// Contacts from vCard files: the forms phones and address books write, and
// the cards and fields that cannot be read.
#include "platform/device/vcard.h"

#include <gtest/gtest.h>

#include "platform/device/device.h"
#include "tests/fs/temp_dir.h"

namespace {

using device::ParseVCards;

TEST(VCard, Version21WithQuotedPrintableCharsetsAndBareTypes) {
  auto r = ParseVCards(
      "BEGIN:VCARD\r\n"
      "VERSION:2.1\r\n"
      "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C4=8Cern=C3=A1;Kate=C5=99ina;;;\r\n"
      "TEL;CELL;PREF:+420 777 000 111\r\n"
      "TEL;HOME;VOICE:+420 222 000 111\r\n"
      "TEL;WORK;FAX:+420 222 000 999\r\n"
      "NOTE;ENCODING=QUOTED-PRINTABLE:First line=0D=0A=\r\n"
      "second line\r\n"
      "ADR;HOME;CHARSET=ISO-8859-1:;;Stra\xDF"
      "e 1;M\xFCnchen;;80331;Deutschland\r\n"
      "END:VCARD\r\n");
  ASSERT_EQ(r.contacts.size(), 1u);
  const auto& c = r.contacts[0];
  EXPECT_EQ(c.lastName, u"Černá");
  EXPECT_EQ(c.firstName, u"Kateřina");
  EXPECT_EQ(c.mobile, u"+420 777 000 111");
  EXPECT_EQ(c.home, u"+420 222 000 111");
  EXPECT_EQ(c.businessFax, u"+420 222 000 999");
  EXPECT_EQ(c.notes, u"First line\r\nsecond line");
  EXPECT_EQ(c.homeAddress.street, u"Straße 1");
  EXPECT_EQ(c.homeAddress.city, u"München");
  EXPECT_TRUE(r.messages.empty());
}

TEST(VCard, Version30WithEscapesGroupsFoldingAndSeveralNumbersOfAKind) {
  auto r = ParseVCards(
      "BEGIN:VCARD\n"
      "VERSION:3.0\n"
      "FN:John Smith\n"
      "N:Smith;John;;Mr.;\n"
      "ORG:Acme\\, Inc.;Sales\n"
      "item1.TEL;TYPE=work,voice:+1 555 0100\n"
      "TEL;type=WORK:+1 555 0101\n"
      "TEL;TYPE=WORK:+1 555 0102\n"
      "TEL;TYPE=cell:+1 555 0103\n"
      "TEL:+1 555 0104\n"
      "EMAIL;TYPE=internet:john@home.example\n"
      "EMAIL;TYPE=internet,pref:john@acme.example\n"
      "NOTE:Likes tea\\; dislikes\\n coffee and a very long \n"
      " line that was folded\n"
      "BDAY:1980-05-17\n"
      "END:VCARD\n");
  ASSERT_EQ(r.contacts.size(), 1u);
  const auto& c = r.contacts[0];
  EXPECT_EQ(c.firstName, u"John");
  EXPECT_EQ(c.title, u"Mr.");
  EXPECT_EQ(c.company, u"Acme, Inc.");
  EXPECT_EQ(c.department, u"Sales");
  EXPECT_EQ(c.business, u"+1 555 0100");
  EXPECT_EQ(c.business2, u"+1 555 0101");
  EXPECT_EQ(c.mobile, u"+1 555 0103");
  EXPECT_EQ(c.home, u"+1 555 0104");  // an untyped number takes the next free field
  EXPECT_EQ(c.email1, u"john@acme.example");
  EXPECT_EQ(c.email2, u"john@home.example");
  EXPECT_EQ(c.notes, u"Likes tea; dislikes\n coffee and a very long line that was folded");
  ASSERT_TRUE(c.birthday.has_value());
  EXPECT_EQ(*c.birthday, 29358.0);   // 1980-05-17
  ASSERT_EQ(r.messages.size(), 1u);  // the third work number has no field left
  EXPECT_NE(r.messages[0].find("+1 555 0102"), std::string::npos) << r.messages[0];
}

TEST(VCard, BadCardsAreSkippedWithAMessageAndTheOthersKept) {
  auto r = ParseVCards(
      "BEGIN:VCARD\nVERSION:3.0\nN:One;Card\nTEL:1\n"  // no END: the next BEGIN shows it
      "BEGIN:VCARD\nVERSION:5.0\nN:Future;Card\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nNOTE:nobody\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nFN:Plain Name\nBDAY:--0412\nEND:VCARD\n"
      "this is not a vCard line\n"
      "BEGIN:VCARD\nVERSION:2.1\nN:Last;Open\nTEL:2\n");
  ASSERT_EQ(r.contacts.size(), 1u);
  EXPECT_EQ(r.contacts[0].firstName, u"Plain");
  EXPECT_EQ(r.contacts[0].lastName, u"Name");
  EXPECT_FALSE(r.contacts[0].birthday.has_value());
  EXPECT_EQ(r.skipped, 4);
  ASSERT_EQ(r.messages.size(), 5u);
  EXPECT_EQ(r.messages[0], "card 1 (Card One) has no END:VCARD; skipped");
  EXPECT_NE(r.messages[1].find("VERSION 5.0"), std::string::npos);
  EXPECT_NE(r.messages[2].find("no name, number or e-mail"), std::string::npos);
  EXPECT_NE(r.messages[3].find("--0412"), std::string::npos);
  EXPECT_NE(r.messages[4].find("card 5 (Open Last) has no END:VCARD"), std::string::npos);
  EXPECT_TRUE(ParseVCards("").contacts.empty());
  EXPECT_TRUE(ParseVCards(std::string("\0\0\xFF\xFE", 4)).contacts.empty());
}

TEST(VCard, Utf16FilesAndTextsThatAreNotUtf8) {
  std::u16string card = u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Østergaard;Søren\r\nTEL:+45 20 11 22 33\r\nEND:VCARD\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t ch : card) bytes += static_cast<char>(ch & 0xFF), bytes += static_cast<char>(ch >> 8);
  auto r = ParseVCards(bytes);
  ASSERT_EQ(r.contacts.size(), 1u);
  EXPECT_EQ(r.contacts[0].lastName, u"Østergaard");
  // Latin-1 bytes where UTF-8 was expected.
  r = ParseVCards("BEGIN:VCARD\nVERSION:2.1\nN:Mart\xEDnez;Jos\xE9\nEND:VCARD\n");
  ASSERT_EQ(r.contacts.size(), 1u);
  EXPECT_EQ(r.contacts[0].firstName, u"José");
}

TEST(VCard, ImportingTheSameFileTwiceAddsEachPersonOnce) {
  testing_support::TempDir dir;
  device::DeviceOptions options;
  options.provision = false;
  std::string error;
  ASSERT_TRUE(device::OpenDevice(dir / "dev", &error, options)) << error;
  const char* file =
      "BEGIN:VCARD\nVERSION:3.0\nN:Nováková;Anna\nTEL;TYPE=CELL:+420 603 111 222\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nN:Nováková;Anna\nTEL;TYPE=CELL:+420603111222\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nN:Dvořák;Jiří\nEND:VCARD\n";
  auto first = device::ImportVCards(file);
  EXPECT_TRUE(first.ok);
  EXPECT_EQ(first.added, 2);
  EXPECT_EQ(first.duplicates, 1);
  auto again = device::ImportVCards(file);
  EXPECT_EQ(again.added, 0);
  EXPECT_EQ(again.duplicates, 3);
  EXPECT_EQ(device::ListContacts().size(), 2u);
  device::CloseDevice();
}

}  // namespace
