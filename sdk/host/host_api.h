// The platform's functions that mivo exports to its plug-ins, as the host
// declares them: the generated exports (gen_exports.cmake) include this and
// call each by its name.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/registry/registry.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/message_box.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/timer.h"
#include "platform/window/window.h"
