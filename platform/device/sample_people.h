// The address book of a new device beyond its few hand-written people: a
// few hundred contacts from eight countries, with the accents of their
// names, numbers written the many ways people write them, companies,
// e-mail addresses, home towns and birthdays for some. The list is the same
// on every device, so tests and screenshots can rely on it.
#pragma once

#include <string>
#include <vector>

#include "platform/device/pim_db.h"

namespace device {

// The generated contacts, in a fixed order; none repeats a name.
std::vector<ContactRecord> SamplePeople();

// How many sample contacts a new device gets: the hand-written ones, then SamplePeople.
int SampleContactCount();

// Where the picture of the sample contact with that index (the hand-written
// ones first, then SamplePeople) is kept, or empty for one without a
// picture. About one contact in five has one.
std::u16string SampleContactPicturePath(int index);

// A portrait for a contact picture: a head and shoulders in the colours of
// `seed` over a soft background, as packed RGB of size x size pixels.
std::vector<std::uint8_t> MakePortrait(std::uint32_t seed, int size);

}  // namespace device
