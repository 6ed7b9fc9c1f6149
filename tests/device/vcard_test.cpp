// Contacts from vCard files: the forms phones and address books write, and
// the cards and fields that cannot be read.
#include "platform/device/vcard.h"

#include <gtest/gtest.h>

#include "platform/device/device.h"
#include "platform/device/pim_db.h"
#include "platform/fs/file_io.h"
#include "platform/win32/text.h"
#include "tests/device/device_fixture.h"

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
  EXPECT_EQ(r.messages[0], "line 1: card 1 (Card One) has no END:VCARD; skipped");
  EXPECT_NE(r.messages[1].find("VERSION 5.0"), std::string::npos);
  EXPECT_NE(r.messages[2].find("no name, number or e-mail"), std::string::npos);
  EXPECT_NE(r.messages[3].find("--0412"), std::string::npos);
  EXPECT_NE(r.messages[4].find("line 19: card 5 (Open Last) has no END:VCARD"), std::string::npos);
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

// Importing and exporting on a device without the sample contacts.
class VCardDevice : public devicetest::DeviceTest {
 protected:
  VCardDevice() : DeviceTest(Unprovisioned()) {}
};

TEST_F(VCardDevice, ImportingTheSameFileTwiceAddsEachPersonOnce) {
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
}

// Files as address books and phones write them, each read as its maker meant.
TEST(VCard, AddressBooksOfOtherMakers) {
  // An Apple address book (3.0): grouped properties with labels, a company card, a photo.
  auto apple = ParseVCards(
      "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//iPhone OS 17.0//EN\r\nN:Lindqvist;Åsa;;;\r\n"
      "FN:Åsa Lindqvist\r\nitem1.TEL;type=CELL;type=VOICE;type=pref:+46 70 123 45 67\r\n"
      "item1.X-ABLabel:mobile\r\nitem2.EMAIL;type=INTERNET;type=HOME:asa@example.se\r\n"
      "item3.ADR;type=HOME;type=pref:;;Drottninggatan 5;Stockholm;;111 51;Sweden\r\n"
      "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2Q==\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nFN:Café Aurora\r\nORG:Café Aurora;\r\n"
      "TEL;type=WORK;type=VOICE:+420 222 123 456\r\nX-ABShowAs:COMPANY\r\nEND:VCARD\r\n");
  ASSERT_EQ(apple.contacts.size(), 2u);
  EXPECT_EQ(apple.contacts[0].firstName, u"Åsa");
  EXPECT_EQ(apple.contacts[0].mobile, u"+46 70 123 45 67");
  EXPECT_EQ(apple.contacts[0].homeAddress.postalCode, u"111 51");
  EXPECT_EQ(apple.photos[0].substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_TRUE(apple.contacts[1].firstName.empty() && apple.contacts[1].lastName.empty());
  EXPECT_EQ(apple.contacts[1].DisplayName(), u"Café Aurora");
  EXPECT_EQ(apple.contacts[1].business, u"+420 222 123 456");

  // An Android phone (2.1): quoted-printable UTF-8 names and a photo folded over several lines.
  auto android = ParseVCards(
      "BEGIN:VCARD\r\nVERSION:2.1\r\n"
      "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=81ukasz;Wi=C5=9Bniewski;;;\r\n"
      "TEL;CELL:601234567\r\nTEL;WORK:+48 22 123 45 67\r\n"
      "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAA\r\n  AQABAAD/2Q==\r\n\r\nEND:VCARD\r\n");
  ASSERT_EQ(android.contacts.size(), 1u);
  EXPECT_EQ(android.contacts[0].lastName, u"Łukasz");
  EXPECT_EQ(android.contacts[0].business, u"+48 22 123 45 67");
  EXPECT_EQ(android.photos[0].size(), 22u);

  // Outlook (2.1, windows-1252) and a vCard 4.0 with a number as a URI, a PNG
  // as data and a birthday without its year.
  auto others = ParseVCards(
      "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=Windows-1252:M\xFCller;J\xFCrgen\r\nEMAIL;PREF;INTERNET:j@example.de\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zoë Hughes\r\nN:Hughes;Zoë;;;\r\n"
      "TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+44-7700-900123\r\nBDAY:--0203\r\n"
      "PHOTO:data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAAB\r\nPHOTO:http://example.com/zoe.jpg\r\nEND:VCARD\r\n");
  ASSERT_EQ(others.contacts.size(), 2u);
  EXPECT_EQ(others.contacts[0].firstName, u"Jürgen");
  EXPECT_EQ(others.contacts[1].mobile, u"+44-7700-900123");
  EXPECT_FALSE(others.contacts[1].birthday);
  EXPECT_EQ(others.photos[1].substr(1, 3), "PNG");
  ASSERT_EQ(others.messages.size(), 2u);  // the yearless birthday and the linked photo
  EXPECT_NE(others.messages[1].find("line 6: card 2 (Zoë Hughes): a photo behind a link"), std::string::npos)
      << others.messages[1];
}

// What the device exports, any address book (and the device itself) reads back.
TEST_F(VCardDevice, ExportedContactsReadBackTheSame) {
  const std::string jpeg("\xFF\xD8\xFF\xE0\x00\x10\x4A\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xFF\xD9", 22);
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\face.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.end())));

  device::ContactRecord full;
  full.firstName = u"Jiří";
  full.middleName = u"Karel";
  full.lastName = u"Dvořák";
  full.title = u"Ing.";
  full.suffix = u"Ph.D.";
  full.nickname = u"Jirka";
  full.company = u"Dvořák; syn, a.s.";
  full.department = u"Sales";
  full.jobTitle = u"Owner";
  full.mobile = u"+420 721 334 556";
  full.business = u"+420 257 100 200";
  full.business2 = u"+420 257 100 201";
  full.home2 = u"222 000 112";  // a second home number without a first stays the second
  full.car = u"603 000 000";
  full.assistant = u"257 100 209";
  full.radio = u"1234";
  full.pager = u"5678";
  full.businessFax = u"257 100 299";
  full.homeFax = u"222 000 119";
  full.email1 = u"jiri@example.cz";
  full.email2 = u"jiri.dvorak@example.com";
  full.homeAddress = {u"Vinohradská 12\nbyt 4", u"Praha", u"", u"120 00", u"Česko"};
  full.businessAddress = {u"Na Příkopě 1", u"Praha", u"", u"110 00", u""};
  full.otherAddress = {u"", u"Brno", u"", u"", u""};
  full.birthday = 28432.0;  // 1977-11-03
  full.webPage = u"https://example.cz";
  full.notes = u"Tea; no coffee,\nplease.";
  full.picture = u"\\face.jpg";
  device::ContactRecord company;
  company.company = u"Pizzerie Napoli";
  company.fileAs = u"Pizzerie Napoli";
  company.business = u"+420 222 333 444";

  const std::string file = device::WriteVCards({full, company});
  for (std::size_t start = 0, end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_LE(end - start, 75u) << "a line longer than 75 bytes";
  auto back = ParseVCards(file);
  EXPECT_TRUE(back.messages.empty()) << back.messages[0];
  ASSERT_EQ(back.contacts.size(), 2u);
  device::ContactRecord read = back.contacts[0];
  read.picture = full.picture;  // the picture comes back as bytes, stored by the import
  EXPECT_EQ(back.photos[0], jpeg);
  for (auto field : {&device::ContactRecord::firstName, &device::ContactRecord::middleName,
                     &device::ContactRecord::lastName, &device::ContactRecord::title, &device::ContactRecord::suffix,
                     &device::ContactRecord::nickname, &device::ContactRecord::company,
                     &device::ContactRecord::department, &device::ContactRecord::jobTitle,
                     &device::ContactRecord::email1, &device::ContactRecord::email2, &device::ContactRecord::pager,
                     &device::ContactRecord::businessFax, &device::ContactRecord::homeFax,
                     &device::ContactRecord::webPage, &device::ContactRecord::notes})
    EXPECT_EQ(read.*field, full.*field);
  for (int kind = 1; kind <= 8; ++kind) EXPECT_EQ(*read.Phone(kind), *full.Phone(kind)) << "kind " << kind;
  for (auto address : {&device::ContactRecord::homeAddress, &device::ContactRecord::businessAddress,
                       &device::ContactRecord::otherAddress}) {
    EXPECT_EQ((read.*address).street, (full.*address).street);
    EXPECT_EQ((read.*address).city, (full.*address).city);
    EXPECT_EQ((read.*address).postalCode, (full.*address).postalCode);
    EXPECT_EQ((read.*address).country, (full.*address).country);
  }
  EXPECT_EQ(read.birthday, full.birthday);
  EXPECT_EQ(back.contacts[1].DisplayName(), u"Pizzerie Napoli");
  EXPECT_TRUE(back.contacts[1].firstName.empty());

  // Imported, the picture is kept on the device beside the contact.
  auto imported = device::ImportVCards(file);
  ASSERT_TRUE(imported.ok);
  EXPECT_EQ(imported.added, 2);
  device::ContactRecord stored;
  ASSERT_TRUE(device::LoadContact(device::ListContacts()[0].oid, &stored));
  std::vector<std::uint8_t> picture;
  ASSERT_TRUE(fs::ReadFile(stored.picture, &picture)) << text::ToUtf8(stored.picture);
  EXPECT_EQ(std::string(picture.begin(), picture.end()), jpeg);
}

}  // namespace
