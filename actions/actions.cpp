#include "actions/actions.h"

void mivoActions::LoadHistoryAndFavorites() {
  // The action model fills this in: nothing is stored yet.
}

void mivoActions::SaveHistoryAndFavorites() {
  // The action model fills this in: nothing to write yet.
}
