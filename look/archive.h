// The archive stream: the byte layout of every data file the system keeps
// (skins, colour and wallpaper themes, languages, packages, favourites, the
// actions history and desktop layouts).
//
// Integers are little-endian. An archive string is written as the byte 0xFF,
// the u16 0xFFFE (marking UTF-16), a length in code units and the UTF-16LE
// units without terminator. The length takes one byte when below 255; else
// the byte 0xFF and a u16 when below 0xFFFE; else 0xFF, the u16 0xFFFF and a
// u32. The reader also takes the older 8-bit form: the same length prefix
// without the UTF-16 marker, then one Windows-1252 byte per character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Reads an archive stream held in memory. Every read either succeeds or fails;
// the first failure (the stream ends early, a length runs past the end, a
// malformed string prefix) is sticky, so a caller can read a whole record and
// check once. A length is only trusted once the bytes it claims are there:
// nothing is allocated for bytes the stream does not hold.
class mivoArchiveReader {
 public:
  explicit mivoArchiveReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  // Each returns false (and leaves the output zero or empty) once the stream
  // has failed.
  bool ReadU8(std::uint8_t* value);
  bool ReadU16(std::uint16_t* value);
  bool ReadU32(std::uint32_t* value);
  bool ReadI32(std::int32_t* value);
  bool ReadString(std::u16string* value);
  // A view of the next `count` bytes, valid as long as the stream's bytes.
  bool ReadBytes(std::size_t count, std::span<const std::uint8_t>* bytes);
  bool Skip(std::size_t count);

  bool Failed() const { return m_failed; }
  std::size_t Position() const { return m_position; }
  std::size_t Remaining() const { return m_bytes.size() - m_position; }
  bool AtEnd() const { return m_position == m_bytes.size(); }

 private:
  bool Take(std::size_t count, const std::uint8_t** at);
  bool ReadLength(std::uint32_t* length, bool* wide);
  bool Fail();

  std::span<const std::uint8_t> m_bytes;  // the whole stream
  std::size_t m_position = 0;             // next byte to read
  bool m_failed = false;                  // set by the first failed read
};

// Builds an archive stream in memory; the file layer writes the result with
// the temporary-file-and-rename rule.
class mivoArchiveWriter {
 public:
  void WriteU8(std::uint8_t value);
  void WriteU16(std::uint16_t value);
  void WriteU32(std::uint32_t value);
  void WriteI32(std::int32_t value);
  // Always the UTF-16 form.
  void WriteString(std::u16string_view value);
  void WriteBytes(std::span<const std::uint8_t> bytes);

  const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
  std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

 private:
  std::vector<std::uint8_t> m_bytes;
};
