// The layer rule of the source tree, checked on the files themselves. The
// system's folders are ranked
//   platform/ < look/ < core/ < ui/ < actions/, desktop/, pim/, pages/ < app/
// and a file may include only its own rank and the ranks below: a lower
// layer that included a higher one would make the two libraries need each
// other. Only the application includes app/; tests, tools and benchmarks,
// which drive the whole program, may include anything.
#pragma once

#include <string>
#include <vector>

namespace layers {

// One include that breaks the rule.
struct Violation {
  std::string file;      // relative to the root, "ui/page_wnd.cpp"
  int line = 0;          // counted from 1
  std::string included;  // the included path as written, "app/core.h"
};

// Every violation under `root` (a source tree: the folders named above at its
// top), in file order, then line order.
std::vector<Violation> CheckIncludes(const std::string& root);

// "ui/page_wnd.cpp:7: includes app/core.h"
std::string Describe(const Violation& v);

}  // namespace layers
