/* A library that is no Today plug-in: it exports no InitializeCustomItem. */
#include "mivo/today.h"

MIVO_PLUGIN_EXPORT int NotATodayPlugin(void) { return 1; }
