#include "desktop/layout_file.h"

#include <cstdio>

#include "desktop/gadget.h"
#include "look/archive.h"

namespace layout_file {

namespace {

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

// The common part after the type id, then the kind's fields, into the gadget.
// False when the stream ran out somewhere in the record.
bool ReadRecordBody(mivoArchiveReader& in, CmivoGadget& gadget, const mivoLayoutReadOptions& options) {
  std::uint32_t version = 0;
  in.ReadU32(&version);
  std::uint32_t propertyVersion = 0;
  if (version >= 6) in.ReadU32(&propertyVersion);
  std::uint32_t mask = 0;
  if (version >= 5) {
    in.ReadU32(&mask);
  } else if (version >= 2) {
    std::uint8_t index = 0;
    in.ReadU8(&index);
    mask = index < 32 ? (1u << index) : 0u;
  }
  std::int32_t edges[4] = {};
  for (std::int32_t& edge : edges) in.ReadI32(&edge);
  std::uint8_t portrait = gadget.IsPortrait() ? 1 : 0;
  if (version >= 3) in.ReadU8(&portrait);
  if (in.Failed()) return false;
  gadget.SetRecordVersion(version);
  gadget.SetPropertyVersion(propertyVersion);
  gadget.SetDesktops(mask);
  gadget.SetPortrait(portrait != 0);
  gadget.LoadProperties(in);
  if (in.Failed()) return false;
  const RECT rect{edges[0], edges[1], edges[2], edges[3]};
  if (options.clamp) {
    gadget.SetRect(rect, false);
  } else {
    gadget.SetRectUnclamped(rect);
  }
  return true;
}

}  // namespace

mivoLayoutReadResult Read(std::span<const std::uint8_t> bytes, const CreateFn& create, const AddFn& add,
                          const mivoLayoutReadOptions& options) {
  mivoLayoutReadResult result;
  mivoArchiveReader in(bytes);
  auto stop = [&](std::size_t at, std::string problem) {
    result.complete = false;
    result.offset = at;
    result.problem = std::move(problem);
    return result;
  };
  // Every pass consumes at least four bytes, so the loop ends with the bytes.
  for (;;) {
    const std::size_t recordStart = in.Position();
    std::uint32_t value = 0;
    if (!in.ReadU32(&value)) return stop(recordStart, "the file ends before its end marker");
    if (value == kLayoutHeaderMarker) {
      std::uint32_t fileVersion = 0;
      in.ReadU32(&fileVersion);
      if (fileVersion == 1) in.Skip(4);
      if (in.Failed()) return stop(recordStart, "the file ends inside its header");
      continue;
    }
    if (value == kLayoutEndMarker) {
      result.offset = in.Position();
      return result;
    }
    std::unique_ptr<CmivoGadget> gadget = create(value);
    if (!gadget) {
      // Records carry no length: what follows cannot be found.
      return stop(recordStart, "no gadget of type " + std::to_string(value) + " (" + Hex(value) + ") at byte " +
                                   std::to_string(recordStart) + ": the rest cannot be read");
    }
    if (!ReadRecordBody(in, *gadget, options)) {
      return stop(recordStart, "the gadget record at byte " + std::to_string(recordStart) + " (type " +
                                   std::to_string(value) + ") is cut short");
    }
    ++result.gadgets;
    add(std::move(gadget));
  }
}

void WriteRecord(CmivoGadget& gadget, mivoArchiveWriter& out) {
  gadget.SetRecordVersion(kGadgetRecordVersion);
  out.WriteU32(gadget.TypeId());
  out.WriteU32(kGadgetRecordVersion);
  gadget.SetPropertyVersion(gadget.StoredPropertyVersion());
  out.WriteU32(gadget.PropertyVersion());
  out.WriteU32(gadget.Desktops());
  const RECT& r = gadget.GetRect();
  out.WriteI32(r.left);
  out.WriteI32(r.top);
  out.WriteI32(r.right);
  out.WriteI32(r.bottom);
  out.WriteU8(gadget.IsPortrait() ? 1 : 0);
  gadget.SaveProperties(out);
}

std::vector<std::uint8_t> Write(std::span<CmivoGadget* const> gadgets) {
  mivoArchiveWriter out;
  out.WriteU32(kLayoutHeaderMarker);
  out.WriteU32(kLayoutFileVersion);
  for (CmivoGadget* gadget : gadgets) WriteRecord(*gadget, out);
  out.WriteU32(kLayoutEndMarker);
  return out.Take();
}

}  // namespace layout_file
