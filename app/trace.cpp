#include "app/trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace lifecycle {

namespace {
TraceSink& Sink() {
  static TraceSink sink;
  return sink;
}
}  // namespace

void SetTraceSink(TraceSink sink) { Sink() = std::move(sink); }

void TraceFromEnvironment() {
  const char* v = std::getenv("MIVO_TRACE");
  if (!v || !*v || std::strcmp(v, "0") == 0) return;
  if (std::strcmp(v, "time") == 0) {
    // Each step with the real time since the first one, to see where start-up spends it.
    SetTraceSink([start = std::chrono::steady_clock::now()](std::string_view step) {
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      std::fprintf(stderr, "trace: %8.2f ms  %.*s\n", ms, static_cast<int>(step.size()), step.data());
      std::fflush(stderr);
    });
    return;
  }
  SetTraceSink([](std::string_view step) {
    std::fprintf(stderr, "trace: %.*s\n", static_cast<int>(step.size()), step.data());
    std::fflush(stderr);
  });
}

void Trace(std::string_view step) {
  if (Sink()) Sink()(step);
}

}  // namespace lifecycle
