#include "tools/skingen/skins.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "look/package.h"
#include "look/skin.h"
#include "platform/fs/file_io.h"
#include "platform/win32/text.h"
#include "tools/skingen/catalogue.h"
#include "tools/skingen/icon_theme.h"
#include "tools/skingen/process.h"
#include "tools/skingen/raster.h"
#include "tools/skingen/svg.h"

namespace skingen {

namespace {

constexpr int kSheetWidth = 1024;  // at scale 1
constexpr int kGap = 4;            // pixels between pictures on the sheet

// Where one picture sits on the sheet, in pixels.
struct Place {
  int x = 0, y = 0, width = 0, height = 0;
};

std::vector<Place> LayOut(const std::vector<SkinPicture>& pictures, int scale, int* sheetWidth, int* sheetHeight) {
  std::vector<Place> places;
  int x = kGap, y = kGap, rowHeight = 0;
  const int limit = kSheetWidth * scale;
  for (const auto& p : pictures) {
    Place place{0, 0, p.width * scale, p.height * scale};
    if (x + place.width + kGap > limit && x > kGap) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    place.x = x;
    place.y = y;
    x += place.width + kGap;
    rowHeight = std::max(rowHeight, place.height);
    places.push_back(place);
  }
  *sheetWidth = limit;
  *sheetHeight = y + rowHeight + kGap;
  return places;
}

// The SVG elements of one picture, in a width x height space.
bool PictureBody(IconTheme& theme, const SkinPicture& p, int scale, int index, std::string* body, std::string* error) {
  std::string content;
  if (p.draw) {
    content = p.draw(Fmt("p%d", index));
  } else {
    const std::string document = theme.SizedDocument(p.icon, p.width * scale, p.height * scale, error);
    if (document.empty()) return false;
    content = Fmt("<image x=\"0\" y=\"0\" width=\"%d\" height=\"%d\" xlink:href=\"data:image/svg+xml;base64,%s\"/>",
                  p.width, p.height, Base64(document).c_str());
  }
  if (p.greyed) content = "<g filter=\"url(#greyed)\" opacity=\"0.5\">" + content + "</g>";
  if (p.badge.present) content += DrawBadge(p.badge.glyph, p.badge.color, p.badge.text, p.width);
  *body = content;
  return true;
}

std::string SheetHeader(int width, int height) {
  return Fmt("<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
             "width=\"%d\" height=\"%d\">\n"
             "<defs><filter id=\"greyed\" x=\"0\" y=\"0\" width=\"1\" height=\"1\">"
             "<feColorMatrix type=\"saturate\" values=\"0\"/></filter></defs>\n",
             width, height);
}

bool WriteText(const std::string& path, const std::string& text, std::string* error) {
  if (fs::WriteHostFileAtomic(path, text.data(), text.size())) return true;
  *error = "cannot write " + path;
  return false;
}

// Contact sheets to look at: every picture over black, a dark grey and
// white, with its name, cut from the rendered sheet; a few pages per scale.
bool WriteContactSheets(const SkinOptions& options, const std::vector<SkinPicture>& pictures,
                        const std::vector<Place>& places, int scale, const std::string& sheetPng, int sheetWidth,
                        int sheetHeight, std::string* error) {
  const int columns = scale == 1 ? 8 : 5, rows = scale == 1 ? 7 : 4;
  const int band = 64 * scale, label = 14 * scale;
  const int cellWidth = 3 * band + 3 * scale, cellHeight = 80 * scale + label;
  static const char* const kBackgrounds[] = {"#000000", "#3a4048", "#f4f4f4"};
  const int perPage = columns * rows;
  for (int page = 0; page * perPage < static_cast<int>(pictures.size()); ++page) {
    std::string svg = SheetHeader(columns * cellWidth, rows * cellHeight);
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#9098a0\"/>\n";
    for (int n = 0; n < perPage && page * perPage + n < static_cast<int>(pictures.size()); ++n) {
      const std::size_t i = page * perPage + n;
      const int cx = (n % columns) * cellWidth, cy = (n / columns) * cellHeight;
      const Place& pl = places[i];
      for (int b = 0; b < 3; ++b) {
        svg += Fmt("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\"/>", cx + b * band, cy, band,
                   cellHeight - label, kBackgrounds[b]);
        const double k = std::min(1.0, std::min((band - 4.0) / pl.width, (cellHeight - label - 4.0) / pl.height));
        const double w = pl.width * k, h = pl.height * k;
        svg += Fmt("<svg x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" viewBox=\"%d %d %d %d\">"
                   "<image width=\"%d\" height=\"%d\" xlink:href=\"%s\"/></svg>\n",
                   cx + b * band + (band - w) / 2, cy + (cellHeight - label - h) / 2, w, h, pl.x, pl.y, pl.width,
                   pl.height, sheetWidth, sheetHeight, std::filesystem::path(sheetPng).filename().c_str());
      }
      svg +=
          Fmt("<text x=\"%d\" y=\"%d\" font-family=\"Liberation Sans\" font-size=\"%d\" fill=\"#101010\">%s</text>\n",
              cx + 2 * scale, cy + cellHeight - 4 * scale, 9 * scale, pictures[i].name.c_str());
    }
    svg += "</svg>\n";
    const std::string base = options.workDir + Fmt("/contact_sheet_%d_%d", scale, page + 1);
    if (!WriteText(base + ".svg", svg, error)) return false;
    if (!RunProgram({options.rsvg, base + ".svg", "-o", base + ".png"}, error)) return false;
  }
  return true;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  fs::ReadHostFile(path, &bytes);
  return bytes;
}

}  // namespace

std::string SkinName(int scale) { return scale == 2 ? "Clear Horizon VGA" : "Clear Horizon"; }

bool MakeSkinPackage(const SkinOptions& options, int scale, std::set<std::string>* inputs, std::string* error) {
  const auto& pictures = Catalogue();
  IconTheme theme(options.iconTheme);
  int sheetWidth = 0, sheetHeight = 0;
  const std::vector<Place> places = LayOut(pictures, scale, &sheetWidth, &sheetHeight);

  // 1. The sheet.
  std::string svg = SheetHeader(sheetWidth, sheetHeight);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    std::string body;
    if (!PictureBody(theme, pictures[i], scale, static_cast<int>(i), &body, error)) return false;
    const Place& pl = places[i];
    svg += Fmt("<svg x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">", pl.x, pl.y, pl.width,
               pl.height, pictures[i].width, pictures[i].height) +
           body + "</svg>\n";
  }
  svg += "</svg>\n";
  for (const auto& f : theme.FilesRead()) inputs->insert(f);

  // 2. Rendered in one run.
  std::error_code ec;
  std::filesystem::create_directories(options.workDir, ec);
  const std::string sheetSvg = options.workDir + Fmt("/sheet_%d.svg", scale);
  const std::string sheetPng = options.workDir + Fmt("/sheet_%d.png", scale);
  if (!WriteText(sheetSvg, svg, error)) return false;
  if (!RunProgram({options.rsvg, sheetSvg, "-o", sheetPng}, error)) return false;
  Rgba sheet;
  if (!ReadPng(sheetPng, &sheet, error)) return false;
  if (sheet.width != sheetWidth || sheet.height != sheetHeight) {
    *error = Fmt("%s is %dx%d, not %dx%d", sheetPng.c_str(), sheet.width, sheet.height, sheetWidth, sheetHeight);
    return false;
  }

  // 3. The skin folder: the skin file, the pictures, the icons' licence.
  const std::string name = SkinName(scale);
  mivoSkin skin;
  skin.Name = text::FromUtf8(name);
  skin.Description = text::FromUtf8(
      "The default skin of mivo for " +
      std::string(scale == 2 ? "screens 480 or more pixels high (VGA)" : "screens under 480 pixels high (QVGA)") +
      ". Icons from the Papirus icon theme (GNU GPL version 3, see COPYING-icons.txt); keys, buttons, clock digits "
      "and the other pictures drawn by mivo-skingen.");
  skin.Version = text::FromUtf8(options.version);
  skin.Author = u"mivo developers; icons: Papirus Development Team";
  skin.WWW = u"https://github.com/PapirusDevelopmentTeam/papirus-icon-theme";
  skin.Generator = text::FromUtf8("mivo-skingen " + options.version);
  skin.GeneratorWWW = u"mivo's own skin generator (tools/skingen)";
  std::vector<mivoPackageEntry> entries;
  entries.push_back({});  // the skin file, filled below
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const Place& pl = places[i];
    const std::string file = pictures[i].name + ".png";
    mivoSkinImage* image = skin.FindOrAddImage(text::FromUtf8(pictures[i].name));
    image->File = text::FromUtf8(file);
    mivoPackageEntry entry;
    entry.Name = text::FromUtf8(file);
    entry.Content = EncodePng(Crop(sheet, pl.x, pl.y, pl.width, pl.height));
    if (entry.Content.empty()) {
      *error = "cannot encode " + file;
      return false;
    }
    entries.push_back(std::move(entry));
  }
  entries[0].Name = text::FromUtf8(name + ".msk");
  entries[0].Content = skin.Serialize();

  std::string licence =
      "The icons of this skin are rendered from the Papirus icon theme\n"
      "(https://github.com/PapirusDevelopmentTeam/papirus-icon-theme),\n"
      "Copyright 2016-2023 Alexey Varfolomeev, Sergei Eremenko and the Papirus Development Team,\n"
      "distributed under the terms of the GNU General Public License, version 3, which follows.\n"
      "Some are combined with small badges drawn by mivo-skingen. The keys, buttons, clock digits,\n"
      "switcher cells, volume images and the other drawn pictures are mivo's own.\n\n";
  if (!options.licenceText.empty()) {
    const auto text = ReadAll(options.licenceText);
    if (text.empty()) {
      *error = "cannot read the licence text " + options.licenceText;
      return false;
    }
    licence.append(text.begin(), text.end());
    inputs->insert(options.licenceText);
  } else {
    licence += "The full text of the licence is at https://www.gnu.org/licenses/gpl-3.0.txt\n";
  }
  entries.push_back({false, u"COPYING-icons.txt", std::vector<std::uint8_t>(licence.begin(), licence.end()), {}});

  // 4. The package.
  mivoPackageHeader header;
  header.PackageVersion = 1;
  header.PackageType = kPackageSkin;
  header.PackageName = skin.Name;
  header.Descriptions[0] = skin.Description;
  header.Descriptions[1] = skin.Version;
  header.Descriptions[2] = skin.Generator;
  std::vector<std::uint8_t> bytes;
  std::u16string message;
  if (!WritePackage(header, entries, &bytes, &message)) {
    *error = "cannot build the package: " + text::ToUtf8(message);
    return false;
  }
  std::filesystem::create_directories(options.outDir, ec);
  const std::string out = options.outDir + "/" + name + ".minst";
  if (!fs::WriteHostFileAtomic(out, bytes.data(), bytes.size())) {
    *error = "cannot write " + out;
    return false;
  }
  if (!options.contactSheets) return true;
  return WriteContactSheets(options, pictures, places, scale, sheetPng, sheetWidth, sheetHeight, error);
}

}  // namespace skingen
