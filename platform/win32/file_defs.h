// File and folder constants and structures of the platform.
#pragma once

#include "platform/win32/types.h"
