// The desktop layout file: little-endian integers and archive strings.
//
//   u32 0xFF, u32 file version (2)          header (a version 1 carries one more u32)
//   gadget records, one after the other
//   u32 0xFFFFFFFF                          end marker
//
// A gadget record (the common part, then the kind's own fields):
//
//   u32 type id, u32 record version (6)
//   u32 property version                    from record version 6 (else 0)
//   u32 desktops mask                       from record version 5
//   u8  desktop index                       record versions 2..4: the mask is 1 << index (0 from 32 on)
//   4 x i32 rectangle: left, top, right, bottom
//   u8  portrait flag                       from record version 3 (else as made)
//   the kind's fields                       CmivoGadget::SaveProperties / LoadProperties
//
// A header may stand wherever a record may start; files without a header are
// read as well. Records carry no length, so a record whose type id no class
// is built for cannot be skipped: reading stops there, as it does when the
// bytes run out, and what was read before stays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/win32/types.h"

class CmivoGadget;
class mivoArchiveWriter;

constexpr DWORD kLayoutHeaderMarker = 0xFF;
constexpr DWORD kLayoutFileVersion = 2;
constexpr DWORD kLayoutEndMarker = 0xFFFFFFFF;

// How a layout was read.
struct mivoLayoutReadResult {
  bool missing = false;     // there was no file to read (nothing else is set)
  bool complete = true;     // read to the end marker
  std::size_t gadgets = 0;  // records read whole
  std::size_t offset = 0;   // where reading stopped (the end marker's end when complete)
  std::string problem;      // why it stopped early, in words; empty when complete
};

struct mivoLayoutReadOptions {
  // Rectangles pass the gadgets' clamping (minimum size, on screen); tools
  // keep them as written.
  bool clamp = true;
  // Each gadget is activated as it joins (tools that only read and write
  // layouts leave them inactive).
  bool activate = true;
};

namespace layout_file {

using CreateFn = std::function<std::unique_ptr<CmivoGadget>(DWORD typeId)>;
using AddFn = std::function<void(std::unique_ptr<CmivoGadget>)>;

// Reads the records of a layout: `create` makes the gadget of a type id (null
// when none is built for it), `add` takes each gadget whose record was read
// whole, in file order.
mivoLayoutReadResult Read(std::span<const std::uint8_t> bytes, const CreateFn& create, const AddFn& add,
                          const mivoLayoutReadOptions& options = {});

// One gadget's record: the common part with record version 6, then its fields.
void WriteRecord(CmivoGadget& gadget, mivoArchiveWriter& out);
// The whole file: header, the records in order, end marker.
std::vector<std::uint8_t> Write(std::span<CmivoGadget* const> gadgets);

}  // namespace layout_file
