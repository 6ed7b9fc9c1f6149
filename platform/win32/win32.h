// Everything of the platform's basic vocabulary in one include.
#pragma once

#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/gdi_defs.h"
#include "platform/win32/messages.h"
#include "platform/win32/rect.h"
#include "platform/win32/registry_defs.h"
#include "platform/win32/text.h"
#include "platform/win32/types.h"
