#include "platform/device/sample_people.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/device/com.h"
#include "platform/win32/text.h"

namespace device {

namespace {

// A country's names. Languages whose family names change with gender keep
// two lists; the others give the same list twice.
struct Country {
  std::vector<const char16_t*> men, women;          // first names
  std::vector<const char16_t*> menLast, womenLast;  // family names, in the same order
  std::vector<const char16_t*> cities;
  const char16_t* code;                    // "+420"
  std::vector<const char*> mobileShapes;  // '#' a digit, '+' the country code
  std::vector<const char*> landShapes;
  const char16_t* mailDomain;  // "example.cz"
  int count;                   // contacts made from it
};

const std::vector<Country>& Countries() {
  static const std::vector<Country> countries = {
      {{u"Jan", u"Petr", u"Pavel", u"Martin", u"Tomáš", u"Jakub", u"Lukáš", u"Ondřej", u"Michal", u"David", u"Vojtěch",
        u"Filip", u"Marek", u"Radek", u"Zdeněk", u"Jaroslav"},
       {u"Jana", u"Eva", u"Hana", u"Petra", u"Lenka", u"Kateřina", u"Lucie", u"Veronika", u"Tereza", u"Markéta",
        u"Barbora", u"Klára", u"Alžběta", u"Michaela"},
       {u"Novák", u"Svoboda", u"Novotný", u"Dvořák", u"Černý", u"Procházka", u"Kučera", u"Veselý", u"Horák", u"Němec",
        u"Pokorný", u"Pospíšil", u"Hájek", u"Král", u"Jelínek", u"Růžička", u"Beneš", u"Fiala", u"Sedláček", u"Doležal"},
       {u"Nováková", u"Svobodová", u"Novotná", u"Dvořáková", u"Černá", u"Procházková", u"Kučerová", u"Veselá",
        u"Horáková", u"Němcová", u"Pokorná", u"Pospíšilová", u"Hájková", u"Králová", u"Jelínková", u"Růžičková",
        u"Benešová", u"Fialová", u"Sedláčková", u"Doležalová"},
       {u"Praha", u"Brno", u"Ostrava", u"Plzeň", u"Olomouc", u"České Budějovice", u"Hradec Králové", u"Liberec"},
       u"+420",
       {"+ 6## ### ###", "7## ### ###", "+ 7########", "6########"},
       {"+ 2## ### ###", "5## ### ###"},
       u"example.cz",
       70},
      {{u"Lukas", u"Felix", u"Jonas", u"Maximilian", u"Stefan", u"Andreas", u"Thomas", u"Michael", u"Jörg", u"Uwe"},
       {u"Anna", u"Lena", u"Sophie", u"Katrin", u"Sabine", u"Ursula", u"Jana", u"Mareike"},
       {u"Müller", u"Schmidt", u"Schneider", u"Fischer", u"Weber", u"Meyer", u"Wagner", u"Becker", u"Schulz",
        u"Hoffmann", u"Schäfer", u"Koch", u"Bauer", u"Richter", u"Klein", u"Schröder", u"Neumann", u"Zimmermann",
        u"Krüger", u"Böhm"},
       {},
       {u"Berlin", u"München", u"Hamburg", u"Köln", u"Dresden", u"Leipzig", u"Nürnberg", u"Düsseldorf"},
       u"+49",
       {"+ 15# #### ####", "017# #######", "+49-16#-########"},
       {"(030) #######", "+ 89 #######", "040 ########"},
       u"example.de",
       34},
      {{u"Jean", u"Pierre", u"Luc", u"François", u"Étienne", u"Mathieu", u"Rémi", u"Noël"},
       {u"Élodie", u"Chloé", u"Camille", u"Léa", u"Océane", u"Amélie", u"Céline", u"Maëlle"},
       {u"Martin", u"Bernard", u"Dubois", u"Thomas", u"Robert", u"Richard", u"Petit", u"Durand", u"Leroy", u"Moreau",
        u"Lefèvre", u"Girard", u"Rousseau", u"Mercier", u"Fournier"},
       {},
       {u"Paris", u"Lyon", u"Marseille", u"Toulouse", u"Nantes", u"Strasbourg", u"Montréal"},
       u"+33",
       {"+ 6 ## ## ## ##", "06 ## ## ## ##", "0033 7 ## ## ## ##"},
       {"+ 1 ## ## ## ##", "04 ## ## ## ##"},
       u"example.fr",
       30},
      {{u"Alejandro", u"Javier", u"Pablo", u"Sergio", u"Ángel", u"Raúl", u"Íñigo"},
       {u"Lucía", u"María", u"Paula", u"Sofía", u"Inés", u"Begoña", u"Nuria"},
       {u"García", u"Fernández", u"González", u"Rodríguez", u"López", u"Martínez", u"Sánchez", u"Pérez", u"Gómez",
        u"Jiménez", u"Muñoz", u"Álvarez", u"Núñez", u"Ibáñez"},
       {},
       {u"Madrid", u"Barcelona", u"Sevilla", u"Valencia", u"Bilbao", u"Málaga"},
       u"+34",
       {"+ 6## ### ###", "6## ## ## ##"},
       {"+ 91 ### ## ##", "93 ### ## ##"},
       u"example.es",
       26},
      {{u"James", u"Oliver", u"Henry", u"George", u"Daniel", u"William", u"Samuel", u"Patrick"},
       {u"Emily", u"Charlotte", u"Olivia", u"Grace", u"Hannah", u"Isabel", u"Sarah", u"Zoë"},
       {u"Smith", u"Jones", u"Taylor", u"Brown", u"Williams", u"Wilson", u"Evans", u"Walker", u"Wright", u"Robinson",
        u"Thompson", u"O'Brien", u"MacLeod", u"Hughes"},
       {},
       {u"London", u"Manchester", u"Edinburgh", u"Dublin", u"New York", u"Boston", u"Toronto"},
       u"+44",
       {"+ 7700 ######", "07### ######", "+1 (555) ###-####"},
       {"+ 20 #### ####", "0161 ### ####"},
       u"example.co.uk",
       30},
      {{u"Lars", u"Erik", u"Søren", u"Nils", u"Björn", u"Åke", u"Magnus"},
       {u"Ingrid", u"Astrid", u"Sigrid", u"Maja", u"Freja", u"Åsa", u"Linnéa"},
       {u"Andersson", u"Johansson", u"Karlsson", u"Nilsson", u"Østergaard", u"Sørensen", u"Lindqvist", u"Bergström",
        u"Håkansson", u"Ødegård", u"Lund"},
       {},
       {u"Stockholm", u"Göteborg", u"København", u"Aarhus", u"Oslo", u"Bergen", u"Malmö"},
       u"+46",
       {"+ 70 ### ## ##", "073-### ## ##", "+45 ## ## ## ##"},
       {"+ 8 ### ### ##"},
       u"example.se",
       24},
      {{u"Piotr", u"Krzysztof", u"Łukasz", u"Paweł", u"Michał", u"Grzegorz", u"Tomasz"},
       {u"Agnieszka", u"Małgorzata", u"Joanna", u"Katarzyna", u"Zofia", u"Ewa", u"Magdalena"},
       {u"Nowak", u"Kowalski", u"Wiśniewski", u"Wójcik", u"Kamiński", u"Lewandowski", u"Zieliński", u"Szymański",
        u"Woźniak", u"Dąbrowski"},
       {u"Nowak", u"Kowalska", u"Wiśniewska", u"Wójcik", u"Kamińska", u"Lewandowska", u"Zielińska", u"Szymańska",
        u"Woźniak", u"Dąbrowska"},
       {u"Warszawa", u"Kraków", u"Łódź", u"Wrocław", u"Poznań", u"Gdańsk"},
       u"+48",
       {"+ 6## ### ###", "5## ### ###"},
       {"+ 22 ### ## ##"},
       u"example.pl",
       22},
      {{u"Marco", u"Luca", u"Giovanni", u"Alessandro", u"Niccolò", u"Matteo", u"Andrea"},
       {u"Giulia", u"Francesca", u"Chiara", u"Sara", u"Martina", u"Federica"},
       {u"Rossi", u"Russo", u"Ferrari", u"Esposito", u"Bianchi", u"Romano", u"Colombo", u"Ricci", u"Marino", u"Greco",
        u"Bruno", u"Gallo", u"Conti", u"De Luca"},
       {},
       {u"Roma", u"Milano", u"Napoli", u"Torino", u"Bologna", u"Firenze", u"Venezia"},
       u"+39",
       {"+ 3## ### ####", "3## #######"},
       {"+ 06 #### ####", "02 ########"},
       u"example.it",
       22},
  };
  return countries;
}

constexpr const char16_t* kCompanies[] = {
    u"Nordwind Logistik", u"Atelier Lumière", u"Hvězda Software", u"Café Aurora", u"Baltic Freight", u"Studio Nube",
    u"Kovo Brno", u"Ferrovia Verde", u"Greenfield Dental", u"Vltava Tours", u"Østlys Arkitekter", u"Pracownia Wiśnia"};

constexpr const char16_t* kJobTitles[] = {u"Project manager", u"Sales", u"Architect", u"Accountant", u"Designer",
                                          u"Engineer", u"Head of support", u"Owner"};

// Deterministic: the same people on every device.
struct Sequence {
  std::uint32_t state = 0x9E3779B9u;
  std::uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(Below(static_cast<int>(v.size())))];
  }
};

// A number in one of the shapes people write: '#' takes a digit, a leading
// '+' the country code.
std::u16string Number(Sequence& seq, const Country& country, const char* shape) {
  std::u16string out;
  for (const char* p = shape; *p; ++p) {
    if (*p == '+' && p == shape && p[1] == ' ')
      out += country.code;
    else if (*p == '#')
      out += static_cast<char16_t>(u'0' + seq.Below(10));
    else
      out += static_cast<char16_t>(*p);
  }
  return out;
}

// The letters of an e-mail address: accents dropped, spaces and quotes gone.
std::u16string MailName(std::u16string_view name) {
  struct Plain {
    std::u16string_view accented;
    char16_t plain;
  };
  static const Plain kPlain[] = {{u"áàâäãåą", u'a'}, {u"ćčç", u'c'}, {u"ď", u'd'},  {u"éèêëěę", u'e'},
                                 {u"íìîï", u'i'},   {u"ĺľł", u'l'},   {u"ńňñ", u'n'}, {u"óòôöõø", u'o'},
                                 {u"ř", u'r'},      {u"śšß", u's'},   {u"ť", u't'},   {u"úùûüů", u'u'},
                                 {u"ýÿ", u'y'},     {u"źżž", u'z'},   {u"æ", u'a'},   {u"œ", u'o'}};
  std::u16string out;
  for (char16_t c : text::ToLower(std::u16string(name))) {
    if (c == u' ' || c == u'\'') continue;
    if (c < 0x80) {
      out += c;
      continue;
    }
    for (const Plain& p : kPlain)
      if (p.accented.find(c) != std::u16string_view::npos) out += p.plain;
  }
  return out;
}

}  // namespace

std::vector<ContactRecord> SamplePeople() {
  Sequence seq;
  std::vector<ContactRecord> people;
  std::size_t wanted = 0;
  for (const Country& country : Countries()) wanted += static_cast<std::size_t>(country.count);
  people.reserve(wanted);  // large records: moved once, not at every growth
  std::set<std::u16string> names;
  for (const Country& country : Countries()) {
    for (int made = 0, tries = 0; made < country.count && tries < country.count * 20; ++tries) {
      const bool woman = seq.Chance(50);
      const auto& firsts = woman ? country.women : country.men;
      const auto& lasts = woman && !country.womenLast.empty() ? country.womenLast : country.menLast;
      ContactRecord c;
      c.firstName = seq.Pick(firsts);
      c.lastName = seq.Pick(lasts);
      if (!names.insert(c.firstName + u" " + c.lastName).second) continue;
      ++made;
      if (seq.Chance(92)) c.mobile = Number(seq, country, seq.Pick(country.mobileShapes));
      if (seq.Chance(30) || c.mobile.empty()) c.home = Number(seq, country, seq.Pick(country.landShapes));
      if (seq.Chance(25)) {
        c.company = kCompanies[seq.Below(static_cast<int>(std::size(kCompanies)))];
        c.jobTitle = kJobTitles[seq.Below(static_cast<int>(std::size(kJobTitles)))];
        c.business = Number(seq, country, seq.Pick(country.landShapes));
      }
      if (seq.Chance(10)) {
        // One more way to reach them: a second home or work line, the car, the radio.
        static const int kKinds[] = {7, 4, 5, 8};
        *c.Phone(kKinds[seq.Below(4)]) = Number(seq, country, seq.Pick(country.mobileShapes));
      }
      if (seq.Chance(55))
        c.email1 = MailName(c.firstName) + u"." + MailName(c.lastName) + u"@" + country.mailDomain;
      PostalAddress& address = c.business.empty() ? c.homeAddress : c.businessAddress;
      address.city = seq.Pick(country.cities);
      if (seq.Chance(35)) {
        SYSTEMTIME st{};
        st.wYear = static_cast<WORD>(1945 + seq.Below(60));
        st.wMonth = static_cast<WORD>(1 + seq.Below(12));
        st.wDay = static_cast<WORD>(1 + seq.Below(28));
        double d = 0;
        if (SystemTimeToVariantTime(&st, &d)) c.birthday = d;
      }
      people.push_back(std::move(c));
    }
  }
  return people;
}

std::u16string SampleContactPicturePath(int index) {
  // The first contacts of the list (the ones messages and calls come from) and then every fifth.
  if (index < 0 || !(index < 3 || index % 5 == 0)) return {};
  return u"\\Application Data\\Contact Pictures\\sample-" + text::FromUtf8(std::to_string(index)) + u".jpg";
}

std::vector<std::uint8_t> MakePortrait(std::uint32_t seed, int size) {
  Sequence seq{seed ? seed : 1};
  for (int i = 0; i < 3; ++i) seq.Next();
  // Background, skin, hair and shirt colours.
  const int bgR = 90 + seq.Below(120), bgG = 90 + seq.Below(120), bgB = 110 + seq.Below(120);
  static const int kSkin[][3] = {{241, 204, 180}, {224, 172, 138}, {198, 134, 98}, {141, 85, 56}, {255, 219, 196}};
  static const int kHair[][3] = {{40, 30, 25}, {95, 60, 35}, {170, 120, 60}, {220, 190, 120}, {120, 120, 120}};
  const int* skin = kSkin[seq.Below(5)];
  const int* hair = kHair[seq.Below(5)];
  const int shirtR = seq.Below(200), shirtG = seq.Below(200), shirtB = seq.Below(200);
  const bool longHair = seq.Chance(50);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(size) * size * 3);
  const double s = size;
  const double headX = s * 0.5, headY = s * 0.42, headR = s * 0.2;
  for (int y = 0; y < size; ++y) {
    const double t = y / s;
    for (int x = 0; x < size; ++x) {
      int r = static_cast<int>(bgR * (1.1 - 0.3 * t)), g = static_cast<int>(bgG * (1.1 - 0.3 * t)),
          b = static_cast<int>(bgB * (1.1 - 0.2 * t));
      const double dx = x - headX, dy = y - headY;
      // Shoulders: the upper half of a wide ellipse at the bottom.
      const double sx = (x - headX) / (s * 0.42), sy = (y - s * 1.02) / (s * 0.36);
      const bool shoulders = sx * sx + sy * sy < 1.0;
      const bool neck = std::abs(dx) < s * 0.07 && y > headY && y < s * 0.72;
      const double head = (dx * dx) / (headR * headR * 0.8) + (dy * dy) / (headR * headR * 1.1);
      const bool hairTop = dx * dx + (dy + s * 0.05) * (dy + s * 0.05) < headR * headR * 1.15 && y < headY - s * 0.02;
      const bool hairSide = longHair && std::abs(dx) < headR * 1.15 && y > headY - s * 0.05 && y < headY + s * 0.2 &&
                            head >= 0.9;
      if (shoulders) r = shirtR, g = shirtG, b = shirtB;
      if (neck) r = skin[0] - 20, g = skin[1] - 20, b = skin[2] - 20;
      if (hairSide || hairTop) r = hair[0], g = hair[1], b = hair[2];
      if (head < 1.0 && !hairTop) r = skin[0], g = skin[1], b = skin[2];
      std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * size + x) * 3];
      p[0] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
      p[1] = static_cast<std::uint8_t>(std::clamp(g, 0, 255));
      p[2] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
    }
  }
  return rgb;
}

}  // namespace device
