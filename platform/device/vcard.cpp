#include "platform/device/vcard.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/device/com.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/registry/database.h"
#include "platform/win32/text.h"

namespace device {

namespace {

// ---- Bytes to text ------------------------------------------------------------------------

bool ValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra)) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

// windows-1252's characters at 0x80-0x9F (0 where it has none).
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::u16string Latin(std::string_view s, bool cp1252) {
  std::u16string out;
  out.reserve(s.size());
  for (char ch : s) {
    auto c = static_cast<unsigned char>(ch);
    char16_t u = c;
    if (cp1252 && c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80]) u = kCp1252High[c - 0x80];
    out += u;
  }
  return out;
}

std::u16string Decode(std::string_view bytes, const std::string& charset) {
  if (charset == "ISO-8859-1" || charset == "LATIN1" || charset == "ISO8859-1") return Latin(bytes, false);
  if (charset == "WINDOWS-1252" || charset == "CP1252") return Latin(bytes, true);
  // UTF-8 unless the bytes are not: then the Latin-1 most old phones wrote.
  return ValidUtf8(bytes) ? text::FromUtf8(bytes) : Latin(bytes, true);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string QuotedPrintable(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '=' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
      i += 2;
    } else if (s[i] == '=' && i + 1 == s.size()) {
      // A soft line break left at the very end.
    } else {
      out += s[i];
    }
  }
  return out;
}

// A UTF-16 file (with its byte order mark) as UTF-8; others as they are.
std::string AsUtf8(std::string_view bytes) {
  if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
    bool little = bytes[0] == '\xFF';
    std::u16string u;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
      u += static_cast<char16_t>(little ? (a | (b << 8)) : ((a << 8) | b));
    }
    return text::ToUtf8(u);
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  return std::string(bytes);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// ---- Pictures -------------------------------------------------------------------------------

constexpr std::size_t kMaxPhotoBytes = 4 * 1024 * 1024;
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// False for a character outside the alphabet or a length that cannot be base64.
bool DecodeBase64(std::string_view in, std::string* out) {
  out->clear();
  std::uint32_t bits = 0;
  int count = 0;
  std::size_t padding = 0;
  for (char c : in) {
    if (c == '=') {
      ++padding;
      continue;
    }
    const char* at = std::strchr(kBase64, c);
    if (padding || c == 0 || !at) return false;
    bits = (bits << 6) | static_cast<std::uint32_t>(at - kBase64);
    if (++count == 4) {
      out->push_back(static_cast<char>(bits >> 16));
      out->push_back(static_cast<char>(bits >> 8));
      out->push_back(static_cast<char>(bits));
      bits = 0;
      count = 0;
    }
  }
  if (count == 1 || padding > 2) return false;
  if (count == 2) out->push_back(static_cast<char>(bits >> 4));
  if (count == 3) {
    out->push_back(static_cast<char>(bits >> 10));
    out->push_back(static_cast<char>(bits >> 2));
  }
  return true;
}

std::string EncodeBase64(std::string_view in) {
  std::string out;
  out.reserve((in.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < in.size(); i += 3) {
    std::uint32_t n = static_cast<std::uint8_t>(in[i]) << 16;
    if (i + 1 < in.size()) n |= static_cast<std::uint8_t>(in[i + 1]) << 8;
    if (i + 2 < in.size()) n |= static_cast<std::uint8_t>(in[i + 2]);
    out += kBase64[(n >> 18) & 63];
    out += kBase64[(n >> 12) & 63];
    out += i + 1 < in.size() ? kBase64[(n >> 6) & 63] : '=';
    out += i + 2 < in.size() ? kBase64[n & 63] : '=';
  }
  return out;
}

// The file extension of a picture's bytes, or null when they are none the
// program shows.
const char16_t* PictureExtension(std::string_view bytes) {
  if (bytes.size() > 3 && bytes.substr(0, 3) == "\xFF\xD8\xFF") return u".jpg";
  if (bytes.size() > 8 && bytes.substr(0, 8) == "\x89PNG\r\n\x1A\n") return u".png";
  if (bytes.size() > 6 && (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a")) return u".gif";
  return nullptr;
}

// ---- Lines and properties -------------------------------------------------------------------

struct Property {
  std::string name;                // upper case, without its group
  std::vector<std::string> types;  // TYPE values and bare parameters, upper case
  std::string encoding;            // upper case
  std::string charset;             // upper case
  int phoneKind = 0;               // X-MIVO-KIND: the phone kind (1-8) this program wrote a number from
  std::string value;               // raw (quoted-printable already decoded)
  int line = 0;                    // where it starts in the file
};

// Splits the file into logical lines: folded lines joined, and the soft
// line breaks of quoted-printable values followed.
std::vector<std::pair<int, std::string>> LogicalLines(const std::string& text) {
  std::vector<std::pair<int, std::string>> lines;
  std::size_t pos = 0;
  int number = 0;
  bool continueQp = false;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++number;
    pos = end + 1;
    if (continueQp && !lines.empty()) {
      std::string& last = lines.back().second;
      last.pop_back();  // the "=" of the soft break
      last += line;
    } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
      lines.back().second += line.substr(1);
    } else if (!line.empty()) {
      lines.emplace_back(number, line);
    } else {
      continueQp = false;
      if (end == text.size()) break;
      continue;
    }
    const std::string& last = lines.back().second;
    std::string head = Upper(last.substr(0, last.find(':')));
    continueQp = head.find("QUOTED-PRINTABLE") != std::string::npos && !last.empty() && last.back() == '=';
    if (end == text.size()) break;
  }
  return lines;
}

bool ParseProperty(const std::string& line, int number, Property* out) {
  // The name and parameters end at the first colon outside quotes.
  std::size_t colon = std::string::npos;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ':' && !quoted) {
      colon = i;
      break;
    }
  }
  if (colon == std::string::npos) return false;
  std::vector<std::string> parts;
  std::string cur;
  quoted = false;
  for (std::size_t i = 0; i < colon; ++i) {
    char c = line[i];
    if (c == '"') quoted = !quoted;
    if (c == ';' && !quoted) {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  parts.push_back(cur);
  Property p;
  p.line = number;
  p.name = Upper(parts[0]);
  if (auto dot = p.name.rfind('.'); dot != std::string::npos) p.name = p.name.substr(dot + 1);
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string param = parts[i];
    auto eq = param.find('=');
    std::string key = Upper(eq == std::string::npos ? std::string() : param.substr(0, eq));
    std::string value = eq == std::string::npos ? param : param.substr(eq + 1);
    value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
    if (key.empty() || key == "TYPE") {
      std::size_t start = 0;
      while (start <= value.size()) {
        std::size_t comma = value.find(',', start);
        if (comma == std::string::npos) comma = value.size();
        std::string t = Upper(value.substr(start, comma - start));
        if (t == "QUOTED-PRINTABLE" || t == "BASE64" || t == "B" || t == "8BIT")
          p.encoding = t;
        else if (!t.empty())
          p.types.push_back(t);
        start = comma + 1;
      }
    } else if (key == "ENCODING") {
      p.encoding = Upper(value);
    } else if (key == "CHARSET") {
      p.charset = Upper(value);
    } else if (key == "X-MIVO-KIND" && value.size() == 1 && value[0] >= '1' && value[0] <= '8') {
      p.phoneKind = value[0] - '0';
    }
  }
  p.value = line.substr(colon + 1);
  if (p.encoding == "QUOTED-PRINTABLE") p.value = QuotedPrintable(p.value);
  *out = std::move(p);
  return true;
}

bool HasType(const Property& p, const char* type) {
  return std::find(p.types.begin(), p.types.end(), type) != p.types.end();
}

// Splits a structured value at unescaped ";" and undoes the escapes.
std::vector<std::u16string> Components(const Property& p) {
  std::vector<std::string> raw(1);
  for (std::size_t i = 0; i < p.value.size(); ++i) {
    char c = p.value[i];
    if (c == '\\' && i + 1 < p.value.size()) {
      char n = p.value[++i];
      raw.back() += n == 'n' || n == 'N' ? '\n' : n;
    } else if (c == ';') {
      raw.emplace_back();
    } else {
      raw.back() += c;
    }
  }
  std::vector<std::u16string> out;
  for (const auto& r : raw) out.push_back(text::Trim(Decode(r, p.charset)));
  return out;
}

std::u16string Single(const Property& p) {
  std::vector<std::u16string> c = Components(p);
  // A plain value's ";" were escapes in 3.0 and text in 2.1: join them back.
  std::u16string out;
  for (std::size_t i = 0; i < c.size(); ++i) out += (i ? u";" : u"") + c[i];
  return text::Trim(out);
}

std::u16string Part(const std::vector<std::u16string>& c, std::size_t i) {
  return i < c.size() ? c[i] : std::u16string();
}

// "1985-04-12", "19850412", "1985-04-12T00:00:00Z" -> a DATE.
bool ParseBirthday(std::u16string_view s, double* date) {
  std::string d;
  for (char16_t c : s.substr(0, s.find(u'T'))) {
    if (c >= u'0' && c <= u'9')
      d += static_cast<char>(c);
    else if (c != u'-')
      return false;
  }
  if (d.size() != 8 || s.substr(0, 2) == u"--") return false;
  SYSTEMTIME st;
  st.wYear = static_cast<WORD>(std::stoi(d.substr(0, 4)));
  st.wMonth = static_cast<WORD>(std::stoi(d.substr(4, 2)));
  st.wDay = static_cast<WORD>(std::stoi(d.substr(6, 2)));
  return st.wYear >= 1800 && SystemTimeToVariantTime(&st, date) != FALSE;
}

// ---- Cards ---------------------------------------------------------------------------------------

class CardReader {
 public:
  CardReader(int index, int line, VCardParse* out) : m_index(index), m_line(line), m_out(out) {}

  void Add(const Property& p) {
    if (p.name == "VERSION")
      m_version = Single(p);
    else if (p.name == "N")
      Name(p);
    else if (p.name == "FN")
      m_fn = Single(p);
    else if (p.name == "NICKNAME")
      m_c.nickname = Single(p);
    else if (p.name == "TEL")
      Tel(p);
    else if (p.name == "EMAIL")
      Email(p);
    else if (p.name == "ADR")
      Address(p);
    else if (p.name == "ORG") {
      auto c = Components(p);
      m_c.company = Part(c, 0);
      m_c.department = Part(c, 1);
    } else if (p.name == "TITLE")
      m_c.jobTitle = Single(p);
    else if (p.name == "BDAY")
      Birthday(p);
    else if (p.name == "URL")
      m_c.webPage = Single(p);
    else if (p.name == "NOTE")
      m_c.notes = Single(p);
    else if (p.name == "PHOTO")
      Photo(p);
  }

  // Ends the card: kept, or skipped with a message.
  void Finish() {
    if (m_version != u"2.1" && m_version != u"3.0" && m_version != u"4.0") {
      Skip(m_version.empty() ? "has no VERSION" : "has VERSION " + text::ToUtf8(m_version) + ", which is not read");
      return;
    }
    if (m_c.firstName.empty() && m_c.lastName.empty() && !m_fn.empty() && m_fn == m_c.company) {
      // A company's own card (address books write its name as FN and ORG, with an empty N).
      m_c.fileAs = m_fn;
    } else if (m_c.firstName.empty() && m_c.lastName.empty() && !m_fn.empty()) {
      // Only the formatted name: its last word is the last name.
      auto space = m_fn.rfind(u' ');
      if (space == std::u16string::npos)
        m_c.firstName = m_fn;
      else
        m_c.firstName = m_fn.substr(0, space), m_c.lastName = m_fn.substr(space + 1);
      m_c.fileAs = m_fn;
    }
    bool reachable = !m_c.email1.empty();
    for (int k = 1; k <= 8; ++k) reachable = reachable || !m_c.Phone(k)->empty();
    if (m_c.DisplayName().empty() && !reachable) {
      Skip("has no name, number or e-mail address");
      return;
    }
    for (auto& message : m_fieldMessages) m_out->messages.push_back(Label() + ": " + message);
    m_out->contacts.push_back(std::move(m_c));
    m_out->photos.push_back(std::move(m_photo));
  }

  void Skip(const std::string& why) {
    m_out->messages.push_back(Label() + " " + why + "; skipped");
    ++m_out->skipped;
  }

 private:
  std::string Label() const {
    std::u16string name = m_c.DisplayName().empty() ? m_fn : m_c.DisplayName();
    std::string label = "line " + std::to_string(m_line) + ": card " + std::to_string(m_index);
    return name.empty() ? label : label + " (" + text::ToUtf8(name) + ")";
  }

  void Name(const Property& p) {
    auto c = Components(p);
    m_c.lastName = Part(c, 0);
    m_c.firstName = Part(c, 1);
    m_c.middleName = Part(c, 2);
    m_c.title = Part(c, 3);
    m_c.suffix = Part(c, 4);
  }

  void Tel(const Property& p) {
    std::u16string number = Single(p);
    if (number.rfind(u"tel:", 0) == 0) number = number.substr(4);
    if (number.empty()) return;
    if (p.phoneKind && m_c.Phone(p.phoneKind)->empty()) {
      // Written by this program: the kind is known exactly (a second home number stays the second).
      *m_c.Phone(p.phoneKind) = number;
      return;
    }
    std::vector<std::u16string*> fields;
    bool work = HasType(p, "WORK"), home = HasType(p, "HOME");
    if (HasType(p, "FAX")) {
      fields = {work ? &m_c.businessFax : &m_c.homeFax};
    } else if (HasType(p, "PAGER")) {
      fields = {&m_c.pager};
    } else if (HasType(p, "CELL") || HasType(p, "MOBILE")) {
      fields = {&m_c.mobile, work ? &m_c.business2 : &m_c.home2};
    } else if (HasType(p, "CAR")) {
      fields = {&m_c.car};
    } else if (HasType(p, "X-ASSISTANT") || HasType(p, "ASSISTANT")) {
      fields = {&m_c.assistant};
    } else if (HasType(p, "X-RADIO") || HasType(p, "RADIO")) {
      fields = {&m_c.radio};
    } else if (work) {
      fields = {&m_c.business, &m_c.business2};
    } else if (home) {
      fields = {&m_c.home, &m_c.home2};
    } else {
      fields = {&m_c.mobile, &m_c.home, &m_c.business, &m_c.home2, &m_c.business2, &m_c.car};
    }
    for (std::u16string* f : fields) {
      if (f->empty()) {
        *f = number;
        return;
      }
    }
    m_fieldMessages.push_back("no phone field left for " + text::ToUtf8(number) + "; left out");
  }

  void Email(const Property& p) {
    std::u16string address = Single(p);
    if (address.rfind(u"mailto:", 0) == 0) address = address.substr(7);
    if (address.empty()) return;
    std::u16string* slots[] = {&m_c.email1, &m_c.email2, &m_c.email3};
    if (HasType(p, "PREF") && !m_c.email1.empty()) {
      // The preferred address comes first.
      m_c.email3 = m_c.email2;
      m_c.email2 = m_c.email1;
      m_c.email1.clear();
    }
    for (std::u16string* s : slots) {
      if (s->empty()) {
        *s = address;
        return;
      }
    }
    m_fieldMessages.push_back("more than three e-mail addresses; " + text::ToUtf8(address) + " left out");
  }

  void Address(const Property& p) {
    auto c = Components(p);
    PostalAddress a;
    a.street = Part(c, 2);
    for (std::size_t i : {std::size_t{1}, std::size_t{0}})
      if (!Part(c, i).empty()) a.street += (a.street.empty() ? u"" : u", ") + Part(c, i);
    a.city = Part(c, 3);
    a.state = Part(c, 4);
    a.postalCode = Part(c, 5);
    a.country = Part(c, 6);
    if (a.Empty()) return;
    // Work and home go to their own; any other address to the home one
    // while that is free, else to the third, "other" address.
    const bool work = HasType(p, "WORK");
    const bool home = HasType(p, "HOME");
    PostalAddress* target = work                              ? &m_c.businessAddress
                            : HasType(p, "OTHER")             ? &m_c.otherAddress
                            : home || m_c.homeAddress.Empty() ? &m_c.homeAddress
                                                              : &m_c.otherAddress;
    if (!target->Empty() && (work || home) && m_c.otherAddress.Empty()) target = &m_c.otherAddress;
    if (!target->Empty()) {
      const char* kind = work ? "work " : home ? "home " : "";
      m_fieldMessages.push_back(std::string("a further ") + kind + "address left out");
      return;
    }
    *target = a;
  }

  void Birthday(const Property& p) {
    std::u16string value = Single(p);
    double date = 0;
    if (ParseBirthday(value, &date))
      m_c.birthday = date;
    else if (!value.empty())
      m_fieldMessages.push_back("birthday \"" + text::ToUtf8(value) + "\" is not a full date; left out");
  }

  // A picture given in the card itself (base64 in 2.1 and 3.0, a data: URI
  // in 4.0); a picture behind a link is not fetched.
  void Photo(const Property& p) {
    std::string data;
    std::string value;
    for (char c : p.value)
      if (!std::isspace(static_cast<unsigned char>(c))) value += c;
    if (p.encoding == "BASE64" || p.encoding == "B") {
      data = value;
    } else if (Upper(value.substr(0, 5)) == "DATA:") {
      const std::size_t comma = value.find(',');
      if (comma == std::string::npos || Upper(value.substr(0, comma)).find(";BASE64") == std::string::npos) {
        m_fieldMessages.push_back("a photo that is not base64 data; left out");
        return;
      }
      data = value.substr(comma + 1);
    } else {
      m_fieldMessages.push_back("a photo behind a link is not fetched; left out");
      return;
    }
    std::string bytes;
    if (!DecodeBase64(data, &bytes) || PictureExtension(bytes) == nullptr) {
      m_fieldMessages.push_back("a photo that is not a JPEG, PNG or GIF picture; left out");
      return;
    }
    if (bytes.size() > kMaxPhotoBytes) {
      m_fieldMessages.push_back("a photo larger than 4 MB; left out");
      return;
    }
    m_photo = std::move(bytes);
  }

  int m_index;  // the card's number in the file, from 1
  int m_line;   // the file's line of its BEGIN:VCARD
  VCardParse* m_out;
  ContactRecord m_c;                         // what the card says so far
  std::u16string m_version;                  // its VERSION
  std::u16string m_fn;                       // its FN
  std::vector<std::string> m_fieldMessages;  // fields left out, told when the card is kept
  std::string m_photo;                       // the picture's bytes, or empty
};

std::u16string Digits(std::u16string_view s) {
  std::u16string d;
  for (char16_t c : s)
    if (c >= u'0' && c <= u'9') d += c;
  return d;
}

// The same person with the same ways to reach them.
bool SameContact(const ContactRecord& a, const ContactRecord& b) {
  if (text::ToLower(a.DisplayName()) != text::ToLower(b.DisplayName())) return false;
  if (text::ToLower(a.email1) != text::ToLower(b.email1)) return false;
  for (int k = 1; k <= 8; ++k)
    if (Digits(*a.Phone(k)) != Digits(*b.Phone(k))) return false;
  return true;
}

}  // namespace

VCardParse ParseVCards(std::string_view bytes) {
  VCardParse out;
  std::string text = AsUtf8(bytes);
  int index = 0;
  std::unique_ptr<CardReader> card;
  for (const auto& [number, line] : LogicalLines(text)) {
    Property p;
    if (!ParseProperty(line, number, &p)) continue;
    std::string value = Upper(text::ToUtf8(text::Trim(text::FromUtf8(p.value))));
    if (p.name == "BEGIN" && value == "VCARD") {
      // A card still open lacked its end.
      if (card) card->Skip("has no END:VCARD");
      card = std::make_unique<CardReader>(++index, number, &out);
      continue;
    }
    if (p.name == "END" && value == "VCARD") {
      if (card) card->Finish();
      card.reset();
      continue;
    }
    if (card) card->Add(p);
  }
  if (card) card->Skip("has no END:VCARD");
  return out;
}

VCardImport ImportVCards(std::string_view bytes) {
  VCardImport result;
  VCardParse parsed = ParseVCards(bytes);
  result.skipped = parsed.skipped;
  result.messages = std::move(parsed.messages);
  devdb::Database* db = devdb::DeviceDatabase();
  if (!db) {
    result.ok = false;
    result.messages.push_back("no device is open");
    return result;
  }
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  std::vector<ContactRecord> existing = ListContacts();
  std::vector<std::u16string> pictures;  // written in this import, removed again when it fails
  int added = 0, duplicates = 0;
  result.ok = db->Transaction([&] {
    for (std::size_t i = 0; i < parsed.contacts.size(); ++i) {
      ContactRecord& c = parsed.contacts[i];
      bool known =
          std::any_of(existing.begin(), existing.end(), [&](const ContactRecord& e) { return SameContact(e, c); });
      if (known) {
        ++duplicates;
        continue;
      }
      if (!AddContact(&c)) return false;
      if (i < parsed.photos.size() && !parsed.photos[i].empty()) {
        // The picture is named after the contact's OID, which only the database gives.
        const std::string& photo = parsed.photos[i];
        std::u16string path = std::u16string(kContactPicturesFolder) + u"\\" +
                              text::FromUtf8(std::to_string(c.oid)) + PictureExtension(photo);
        if (!fs::CreateDirectories(kContactPicturesFolder) ||
            !fs::WriteFileAtomic(path, std::vector<std::uint8_t>(photo.begin(), photo.end()))) {
          result.messages.push_back("the picture of " + text::ToUtf8(c.DisplayName()) + " cannot be written; left out");
        } else {
          pictures.push_back(path);
          c.picture = path;
          if (!UpdateContact(c)) return false;
        }
      }
      existing.push_back(c);
      ++added;
    }
    return true;
  });
  if (result.ok) {
    result.added = added;
    result.duplicates = duplicates;
  } else {
    for (const std::u16string& path : pictures) DeleteFileW(path.c_str());
    result.messages.push_back("the contacts could not be written: " + db->LastError());
  }
  return result;
}

// ---- Writing ------------------------------------------------------------------------------------

namespace {

// A text value with the characters that separate values escaped.
std::string Escaped(std::u16string_view value) {
  std::string out;
  for (char c : text::ToUtf8(value)) {
    if (c == '\\' || c == ';' || c == ',') out += '\\';
    if (c == '\r') continue;
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out;
}

// One property, folded at 75 bytes as the format asks (continuation lines
// start with a blank), never inside a UTF-8 character.
void Line(std::string* out, const std::string& content) {
  std::size_t start = 0;
  bool first = true;
  while (start < content.size() || first) {
    std::size_t take = std::min<std::size_t>(first ? 75 : 74, content.size() - start);
    while (take > 0 && start + take < content.size() && (static_cast<unsigned char>(content[start + take]) & 0xC0) == 0x80)
      --take;
    if (!first) *out += ' ';
    *out += content.substr(start, take);
    *out += "\r\n";
    start += take;
    first = false;
  }
}

std::string DateValue(double date) {
  SYSTEMTIME st;
  if (!VariantTimeToSystemTime(date, &st)) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
  return buf;
}

void WriteAddress(std::string* out, const char* type, const PostalAddress& a) {
  if (a.Empty()) return;
  Line(out, std::string("ADR;TYPE=") + type + ":;;" + Escaped(a.street) + ";" + Escaped(a.city) + ";" +
                Escaped(a.state) + ";" + Escaped(a.postalCode) + ";" + Escaped(a.country));
}

}  // namespace

std::string WriteVCards(const std::vector<ContactRecord>& contacts) {
  // The types each number is written with, in the order other readers fill
  // their fields back; the phone kind, which only this program reads, keeps
  // a second home or work number (or one without a first) in its place.
  struct NumberType {
    std::u16string ContactRecord::*field;
    const char* type;
  };
  static const NumberType kNumbers[] = {{&ContactRecord::mobile, "CELL,VOICE;X-MIVO-KIND=1"},
                                        {&ContactRecord::business, "WORK,VOICE;X-MIVO-KIND=3"},
                                        {&ContactRecord::business2, "WORK,VOICE;X-MIVO-KIND=4"},
                                        {&ContactRecord::home, "HOME,VOICE;X-MIVO-KIND=6"},
                                        {&ContactRecord::home2, "HOME,VOICE;X-MIVO-KIND=7"},
                                        {&ContactRecord::car, "CAR,VOICE;X-MIVO-KIND=5"},
                                        {&ContactRecord::assistant, "X-ASSISTANT;X-MIVO-KIND=2"},
                                        {&ContactRecord::radio, "X-RADIO;X-MIVO-KIND=8"},
                                        {&ContactRecord::pager, "PAGER"},
                                        {&ContactRecord::businessFax, "WORK,FAX"},
                                        {&ContactRecord::homeFax, "HOME,FAX"}};
  std::string out;
  for (const ContactRecord& c : contacts) {
    Line(&out, "BEGIN:VCARD");
    Line(&out, "VERSION:3.0");
    Line(&out, "N:" + Escaped(c.lastName) + ";" + Escaped(c.firstName) + ";" + Escaped(c.middleName) + ";" +
                   Escaped(c.title) + ";" + Escaped(c.suffix));
    Line(&out, "FN:" + Escaped(c.DisplayName()));
    if (!c.nickname.empty()) Line(&out, "NICKNAME:" + Escaped(c.nickname));
    if (!c.company.empty() || !c.department.empty())
      Line(&out, "ORG:" + Escaped(c.company) + (c.department.empty() ? "" : ";" + Escaped(c.department)));
    if (!c.jobTitle.empty()) Line(&out, "TITLE:" + Escaped(c.jobTitle));
    for (const NumberType& n : kNumbers)
      if (!(c.*n.field).empty()) Line(&out, std::string("TEL;TYPE=") + n.type + ":" + Escaped(c.*n.field));
    for (const std::u16string* email : {&c.email1, &c.email2, &c.email3})
      if (!email->empty()) Line(&out, "EMAIL;TYPE=INTERNET:" + Escaped(*email));
    WriteAddress(&out, "HOME", c.homeAddress);
    WriteAddress(&out, "WORK", c.businessAddress);
    WriteAddress(&out, "OTHER", c.otherAddress);
    if (c.birthday) {
      const std::string day = DateValue(*c.birthday);
      if (!day.empty()) Line(&out, "BDAY:" + day);
    }
    if (!c.webPage.empty()) Line(&out, "URL:" + Escaped(c.webPage));
    if (!c.notes.empty()) Line(&out, "NOTE:" + Escaped(c.notes));
    std::vector<std::uint8_t> picture;
    if (!c.picture.empty() && fs::ReadFile(c.picture, &picture)) {
      const std::string bytes(picture.begin(), picture.end());
      const char16_t* ext = PictureExtension(bytes);
      if (ext && bytes.size() <= kMaxPhotoBytes) {
        const char* type = ext == std::u16string_view(u".png") ? "PNG" : ext == std::u16string_view(u".gif") ? "GIF" : "JPEG";
        Line(&out, std::string("PHOTO;ENCODING=b;TYPE=") + type + ":" + EncodeBase64(bytes));
      }
    }
    Line(&out, "END:VCARD");
  }
  return out;
}

}  // namespace device
