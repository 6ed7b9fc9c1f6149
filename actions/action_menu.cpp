// The tap-and-hold entries an action adds for itself: a file's operations,
// a number's call and SMS entries.
#include "actions/action_kinds.h"

void mivoActionMakeCall::AddContextMenuHandlers(CmivoContextMenu* menu) {}
void mivoActionWriteSMS::AddContextMenuHandlers(CmivoContextMenu* menu) {}
void mivoActionExecuteFile::AddContextMenuHandlers(CmivoContextMenu* menu) {}
