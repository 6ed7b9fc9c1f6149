// Window messages, styles, show commands and virtual keys of the platform.
#pragma once

#include "platform/win32/types.h"
