// The desktop layout as readable text: what the factory layouts are written
// in, and what `mivo-pack layout print` shows of any layout file. One gadget
// per line, in drawing order:
//
//   # the first desktop, portrait
//   action rect=10,40,80,110 desktops=1 portrait style=tile action="page 19"
//   action rect=0,200,240,248 desktops=1,2 portrait style=details action="file \Windows\calc.exe"
//
// A line is the kind's name (gadget_catalogue.h: "action", "clock", ... or the
// type id as a number), then key=value pairs and the words `portrait` or
// `landscape`: rect=L,T,R,B (pixels), desktops=1,2,... (counted from 1; "none"
// for no desktop), then the kind's own fields by their names (style=tile,
// color=#FFFFFF or theme, bold=yes, ...). A field left out keeps the kind's
// default. Values with blanks are quoted ("..."; a quote inside is written
// twice). An action is one of:
//
//   call NUMBER | sms [NUMBER] | email ADDRESS | file PATH | page INDEX [PARAM [EXTRA]]
//   controlpanel APPLET [SECOND] | office KIND [VIEW] | contact OID | submenu TITLE | tutorial
//
// '#' starts a comment line.
#pragma once

#include <string>
#include <string_view>

class mivoCore;
class mivoGadgetContainer;

namespace layout_text {

// Appends the gadgets the text describes to the container (inactive, their
// rectangles as written). False with the line and the fault in *error.
bool Parse(std::string_view text, mivoCore* core, mivoGadgetContainer& container, std::string* error);

// The container's gadgets as text, one line each.
std::string Format(mivoCore* core, const mivoGadgetContainer& container);

}  // namespace layout_text
