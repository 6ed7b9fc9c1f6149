#include "look/archive.h"

#include "platform/win32/text.h"

namespace {
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kLongLength = 0xFFFF;
}  // namespace

bool mivoArchiveReader::Fail() {
  m_failed = true;
  return false;
}

bool mivoArchiveReader::Take(std::size_t count, const std::uint8_t** at) {
  if (m_failed) return false;
  if (count > Remaining()) {
    m_position = m_bytes.size();
    return Fail();
  }
  *at = m_bytes.data() + m_position;
  m_position += count;
  return true;
}

bool mivoArchiveReader::ReadU8(std::uint8_t* value) {
  *value = 0;
  const std::uint8_t* p = nullptr;
  if (!Take(1, &p)) return false;
  *value = p[0];
  return true;
}

bool mivoArchiveReader::ReadU16(std::uint16_t* value) {
  *value = 0;
  const std::uint8_t* p = nullptr;
  if (!Take(2, &p)) return false;
  *value = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  return true;
}

bool mivoArchiveReader::ReadU32(std::uint32_t* value) {
  *value = 0;
  const std::uint8_t* p = nullptr;
  if (!Take(4, &p)) return false;
  *value = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  return true;
}

bool mivoArchiveReader::ReadI32(std::int32_t* value) {
  std::uint32_t u = 0;
  const bool ok = ReadU32(&u);
  *value = static_cast<std::int32_t>(u);
  return ok;
}

// The length prefix of a string: 1, 3 or 7 bytes, optionally preceded by
// the UTF-16 marker (FF FE FF). A second marker is malformed.
bool mivoArchiveReader::ReadLength(std::uint32_t* length, bool* wide) {
  *wide = false;
  for (;;) {
    std::uint8_t b = 0;
    if (!ReadU8(&b)) return false;
    if (b < 0xFF) {
      *length = b;
      return true;
    }
    std::uint16_t w = 0;
    if (!ReadU16(&w)) return false;
    if (w == kWideMarker) {
      if (*wide) return Fail();
      *wide = true;
      continue;
    }
    if (w != kLongLength) {
      *length = w;
      return true;
    }
    return ReadU32(length);
  }
}

bool mivoArchiveReader::ReadString(std::u16string* value) {
  value->clear();
  std::uint32_t length = 0;
  bool wide = false;
  if (!ReadLength(&length, &wide)) return false;
  const std::uint64_t byteCount = wide ? std::uint64_t{length} * 2 : length;
  if (byteCount > Remaining()) {
    m_position = m_bytes.size();
    return Fail();
  }
  const std::uint8_t* p = nullptr;
  Take(static_cast<std::size_t>(byteCount), &p);
  if (wide) {
    value->resize(length);
    for (std::uint32_t i = 0; i < length; ++i)
      (*value)[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
  } else {
    *value = text::FromCp1252(std::string_view(reinterpret_cast<const char*>(p), length));
  }
  return true;
}

bool mivoArchiveReader::ReadBytes(std::size_t count, std::span<const std::uint8_t>* bytes) {
  *bytes = {};
  const std::uint8_t* p = nullptr;
  if (!Take(count, &p)) return false;
  *bytes = std::span<const std::uint8_t>(p, count);
  return true;
}

bool mivoArchiveReader::Skip(std::size_t count) {
  const std::uint8_t* p = nullptr;
  return Take(count, &p);
}

void mivoArchiveWriter::WriteU8(std::uint8_t value) { m_bytes.push_back(value); }

void mivoArchiveWriter::WriteU16(std::uint16_t value) {
  m_bytes.push_back(static_cast<std::uint8_t>(value));
  m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void mivoArchiveWriter::WriteU32(std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void mivoArchiveWriter::WriteI32(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }

void mivoArchiveWriter::WriteString(std::u16string_view value) {
  WriteU8(0xFF);
  WriteU16(kWideMarker);
  const std::size_t length = value.size();
  if (length < 0xFF) {
    WriteU8(static_cast<std::uint8_t>(length));
  } else if (length < kWideMarker) {
    WriteU8(0xFF);
    WriteU16(static_cast<std::uint16_t>(length));
  } else {
    WriteU8(0xFF);
    WriteU16(kLongLength);
    WriteU32(static_cast<std::uint32_t>(length));
  }
  m_bytes.reserve(m_bytes.size() + 2 * length);
  for (char16_t c : value) WriteU16(static_cast<std::uint16_t>(c));
}

void mivoArchiveWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
  m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}
