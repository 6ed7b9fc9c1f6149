// The mivo-pack commands; each takes the arguments after its name and
// returns the exit code.
#pragma once

#include <string>
#include <vector>

namespace pack {

using Argv = std::vector<std::string>;

int CreatePackage(const Argv& argv);
int ListPackage(const Argv& argv);
int ExtractPackage(const Argv& argv);
int CheckFile(const Argv& argv);
int CheckPackage(const std::string& path);

int SkinCommand(const Argv& argv);
int ColorsCommand(const Argv& argv);
int WallpaperCommand(const Argv& argv);
int CheckSkin(const std::string& path);
int CheckColorTheme(const std::string& path);
int CheckWallpaperTheme(const std::string& path);

int LanguageCommand(const Argv& argv);

int LayoutCommand(const Argv& argv);
int CheckLayout(const std::string& path);
int CheckLanguage(const std::string& path, bool strict);

}  // namespace pack
