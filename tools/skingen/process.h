// Running a helper program (the SVG rasteriser) and waiting for it.
#pragma once

#include <string>
#include <vector>

namespace skingen {

// Runs argv[0] (searched on PATH when it has no slash) with the arguments;
// true when it exited with 0. Its output goes where ours goes.
bool RunProgram(const std::vector<std::string>& argv, std::string* error);

}  // namespace skingen
