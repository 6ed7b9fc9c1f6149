// Registry constants of the platform: predefined keys, value types, access rights.
#pragma once

#include "platform/win32/types.h"
