// Contacts from vCard files (versions 2.1, 3.0 and 4.0): N, FN, NICKNAME,
// TEL with its types, EMAIL, ADR, ORG, TITLE, BDAY, URL, NOTE and a PHOTO
// given in the card (base64, or a data: URI); and every contact written back
// as vCard 3.0, which other address books read. Folded
// lines, quoted-printable values with soft line breaks, CHARSET (UTF-8,
// ISO-8859-1, windows-1252; UTF-8 otherwise, Latin-1 when a text is not
// UTF-8), escapes, groups ("item1.TEL") and UTF-16 files with a byte order
// mark are read. A card that cannot be read (no END:VCARD, an unknown
// VERSION, nothing that names or reaches the person) is skipped with a
// message naming its line; so is a field that cannot be used (a birthday
// without a year, a number with no phone field left, a photo behind a link),
// the rest of its card being kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/device/pim_db.h"

namespace device {

struct VCardParse {
  std::vector<ContactRecord> contacts;  // in the file's order
  std::vector<std::string> photos;      // each contact's picture (JPEG, PNG or GIF bytes), or empty
  std::vector<std::string> messages;    // one line per skipped card or field
  int skipped = 0;                      // cards not read
};

VCardParse ParseVCards(std::string_view bytes);

struct VCardImport {
  int added = 0;       // new contacts written
  int duplicates = 0;  // cards equal to a contact already on the device
  int skipped = 0;     // cards that could not be read
  std::vector<std::string> messages;
  bool ok = true;  // false when the contacts could not be written (none were)
};

// Where imported contacts' pictures are kept, named after their OIDs.
inline constexpr char16_t kContactPicturesFolder[] = u"\\Application Data\\Contact Pictures";

// Adds the file's contacts to the device in one transaction, leaving out
// those already there (same name, numbers and e-mail address); their
// pictures go to kContactPicturesFolder.
VCardImport ImportVCards(std::string_view bytes);

// The contacts as vCard 3.0 (UTF-8, CRLF, folded lines), pictures included.
std::string WriteVCards(const std::vector<ContactRecord>& contacts);

}  // namespace device
