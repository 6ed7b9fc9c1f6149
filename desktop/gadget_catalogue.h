// The gadget kinds and the catalogue. Every kind has a type id (1..35, the
// number its layout records carry), the class that implements it and a short
// name for the layout's text form. The catalogue is the ordered list of
// kinds the design mode's "Add gadget" offers, each with its name,
// description and warning texts; kinds 6 (show page), 10 (an action put on
// the desktop with "Add to desktop") and 15 (switch desktop) are made by
// other commands and are not offered.
//
// The factory creates a kind by its class name: gadget_factory.cpp lists the
// classes that are built, and a kind whose class is not listed (yet) gives
// no gadget. A new family adds its class there:
//
//   {"CmivoClock", &Make<CmivoClock>},
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/win32/types.h"

class CmivoDesktopPage;
class CmivoGadget;
class mivoCore;

// One kind of gadget.
struct mivoGadgetKind {
  DWORD typeId;           // the layout records' type id
  const char* className;  // the class the factory makes
  const char* key;        // its name in the layout's text form ("clock", "action")
};

// One entry of the "Add gadget" list.
struct mivoCatalogueEntry {
  DWORD typeId = 0;
  int nameId = 0;                     // string table id of the name; 0: literalName
  const char16_t* literalName = u"";  // the name when it is not translated
  int descriptionId = 0;              // 0: no description
  int warningId = 0;                  // 0: no warning (the entry's help text)

  std::u16string Name() const;
  std::u16string Description() const;
  std::u16string Warning() const;
};

namespace gadget_catalogue {

// Every kind the factory knows, by type id (1..35).
std::span<const mivoGadgetKind> Kinds();
// The kind of a type id, or null.
const mivoGadgetKind* FindKind(DWORD typeId);
// The kind of a text-form name or class name, or null.
const mivoGadgetKind* FindKindByName(std::string_view name);
// The catalogue, in its order.
std::span<const mivoCatalogueEntry> Entries();

// Whether the factory can make the class (its family is built).
bool IsBuilt(const char* className);
// A new gadget of the type for the core and page, or null (type unknown, or
// its class not built yet). Type ids 20 and 21 give an action gadget holding
// a show-page action for the favourites (page 15) or the actions history
// (page 24); 31..35 give the most-used member with its own type id.
std::unique_ptr<CmivoGadget> CreateGadget(mivoCore* core, DWORD typeId, CmivoDesktopPage* page);

}  // namespace gadget_catalogue
