// Making the default skin packages: every picture of the catalogue is laid
// out on one sheet (an SVG document), rasterised in a single run of the SVG
// renderer per display scale, cut out, encoded as PNG and packed with the
// skin file into "<skin>.minst".
#pragma once

#include <set>
#include <string>

namespace skingen {

struct SkinOptions {
  std::string iconTheme;    // folder of the icon theme (Papirus)
  std::string rsvg;         // the SVG renderer (rsvg-convert)
  std::string outDir;       // the packages go here
  std::string workDir;      // sheets, rendered sheets and contact sheets
  std::string version;      // the program's version, in the skin's strings
  std::string licenceText;  // the icon theme's licence text to ship, or empty
  bool contactSheets = false;  // also write contact sheets to look at into workDir
};

// The package of one skin: "Clear Horizon" at scale 1, "Clear Horizon VGA"
// at scale 2. Adds every input file read to *inputs.
bool MakeSkinPackage(const SkinOptions& options, int scale, std::set<std::string>* inputs, std::string* error);

// The skin's name at a display scale.
std::string SkinName(int scale);

}  // namespace skingen
