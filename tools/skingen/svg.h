// Small helpers for writing SVG text: number formatting that never depends
// on the locale, base64 for embedded documents, and the root-tag rewrite that
// makes an icon theme's SVG render at an exact pixel size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skingen {

// printf into a std::string (the "C" locale's decimal point).
std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Base64(std::string_view bytes);

// Escapes &, < and > for text content and attribute values.
std::string XmlEscape(std::string_view text);

// Rewrites the root <svg> tag of a document so that it renders at width x
// height pixels: the original width and height become the viewBox when it has
// none. False when the document has no root tag.
bool SizeSvgDocument(std::string* document, int width, int height);

}  // namespace skingen
