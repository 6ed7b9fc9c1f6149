#include "core/assert.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mivo_assert {

namespace {

bool FromBuildAndEnvironment() {
#ifndef NDEBUG
  return true;
#else
  const char* v = std::getenv("MIVO_ASSERT");
  return v && std::strcmp(v, "abort") == 0;
#endif
}

std::atomic<bool>& Aborts() {
  static std::atomic<bool> aborts{FromBuildAndEnvironment()};
  return aborts;
}

}  // namespace

void Failed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "mivo: internal check failed: %s (%s:%d)\n", condition, file, line);
  std::fflush(stderr);
  if (Aborts().load()) std::abort();
}

bool AbortsOnFailure() { return Aborts().load(); }

bool SetAbortsOnFailure(bool on) { return Aborts().exchange(on); }

}  // namespace mivo_assert
