// The factory: the gadget classes that are built, by class name. A family
// that is built adds its line to kMakers; the catalogue's kinds name their
// classes (gadget_catalogue.cpp), so the kind becomes available at once.
#include <cstring>

#include "actions/action_kinds.h"
#include "desktop/action_gadget.h"
#include "desktop/gadget_catalogue.h"
#include "desktop/gadget_plugin.h"
#include "desktop/today_plugin_gadget.h"

namespace {

using Maker = std::unique_ptr<CmivoGadget> (*)(mivoCore* core, CmivoDesktopPage* page, DWORD typeId);

// The favourites and the actions history pages: the catalogue's two
// action gadgets open them.
constexpr int kFavoritesPage = 15;
constexpr int kActionsHistoryPage = 24;

std::unique_ptr<CmivoGadget> MakeActionGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId) {
  auto gadget = std::make_unique<CmivoActionGadget>(core, page, typeId);
  if (typeId == 20) gadget->SetAction(std::make_unique<mivoActionShowPage>(core, kFavoritesPage, 0, 0));
  if (typeId == 21) gadget->SetAction(std::make_unique<mivoActionShowPage>(core, kActionsHistoryPage, 0, 0));
  return gadget;
}

std::unique_ptr<CmivoGadget> MakeShowPageGadget(mivoCore* core, CmivoDesktopPage* page, DWORD) {
  return std::make_unique<CmivoShowPageGadget>(core, page);
}

std::unique_ptr<CmivoGadget> MakeTodayPluginGadget(mivoCore* core, CmivoDesktopPage* page, DWORD) {
  return std::make_unique<CmivoTodayPluginGadget>(core, page);
}

std::unique_ptr<CmivoGadget> MakeGadgetPlugin(mivoCore* core, CmivoDesktopPage* page, DWORD) {
  return std::make_unique<CmivoGadgetPlugin>(core, page);
}

struct ClassMaker {
  const char* className;
  Maker make;
};

constexpr ClassMaker kMakers[] = {
    {"CmivoActionGadget", &MakeActionGadget},
    {"CmivoShowPageGadget", &MakeShowPageGadget},
    {"CmivoTodayPluginGadget", &MakeTodayPluginGadget},
    {"CmivoGadgetPlugin", &MakeGadgetPlugin},
};

Maker FindMaker(const char* className) {
  for (const ClassMaker& maker : kMakers) {
    if (std::strcmp(maker.className, className) == 0) return maker.make;
  }
  return nullptr;
}

}  // namespace

namespace gadget_catalogue {

bool IsBuilt(const char* className) { return className && FindMaker(className) != nullptr; }

std::unique_ptr<CmivoGadget> CreateGadget(mivoCore* core, DWORD typeId, CmivoDesktopPage* page) {
  const mivoGadgetKind* kind = FindKind(typeId);
  if (!kind) return nullptr;
  const Maker make = FindMaker(kind->className);
  return make ? make(core, page, typeId) : nullptr;
}

}  // namespace gadget_catalogue
