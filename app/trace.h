// The steps of start-up and exit, for checking their order. The application,
// the main frame and the core name each step as it happens; nothing is
// recorded unless a sink is installed (a test, or MIVO_TRACE=1 in the
// environment, which prints "trace: STEP" lines on standard error).
#pragma once

#include <functional>
#include <string_view>

namespace lifecycle {

using TraceSink = std::function<void(std::string_view step)>;

// Null removes the sink.
void SetTraceSink(TraceSink sink);
// Installs the standard-error sink when MIVO_TRACE is set to a non-empty
// value other than "0"; MIVO_TRACE=time adds the milliseconds since the first step.
void TraceFromEnvironment();
void Trace(std::string_view step);

}  // namespace lifecycle
