#include "app/trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace spine {

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
  SetTraceSink([](std::string_view step) {
    std::fprintf(stderr, "trace: %.*s\n", static_cast<int>(step.size()), step.data());
    std::fflush(stderr);
  });
}

void Trace(std::string_view step) {
  if (Sink()) Sink()(step);
}

}  // namespace spine
