#pragma once
// The installed Palm Desktop: its program folder and its version.
//
// Palm Desktop runs under Wine. Its folder is found, in this order, from
//   1. the folder a front end set for this run (SetPalmDesktopFolder);
//   2. the key "PDPath" of the section "Path" in "norvane.ini" in the program's folder, then in
//      the settings file of the data folder (the program folder of an installed program is not
//      writable);
//   3. the Wine registry: "DesktopPath", else the folder of "HotSyncPath", of the key
//      "Software\U.S. Robotics\Pilot Desktop\Core" of the current user (user.reg) when that key
//      exists, otherwise of the key "Software\PalmSource\Desktop\Core" of the local machine
//      (system.reg), also looked for under "Software\Wow6432Node" (a 32-bit program in a
//      64-bit prefix).
// A Windows path ("C:\...") from the settings or the registry becomes a path in the Wine prefix
// (see MapWindowsPath); other override texts are taken as paths of this system.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabrel {

// The places the Palm Desktop folder is read from. The defaults come from the environment;
// tests and front ends may point them elsewhere.
struct PalmDesktopConfig {
    std::string programIni;      // "norvane.ini" in the program's folder ("" = none)
    std::string settingsIni;     // "norvane.ini" in the data folder ("" = none)
    std::string winePrefix;      // holds user.reg, system.reg, dosdevices/ and drive_c/
    std::string folderOverride;  // the folder set for this run; wins over everything
};

// The defaults: the program's folder, the data folder's location (nothing is created) and
// $WINEPREFIX, else $HOME/.wine; no override.
PalmDesktopConfig DefaultPalmDesktopConfig();

// The process-wide configuration, made from the defaults on first use.
const PalmDesktopConfig& GetPalmDesktopConfig();
void SetPalmDesktopConfig(PalmDesktopConfig config);
// Sets (or, with an empty text, clears) the folder for this run, e.g. from --palm-folder.
void SetPalmDesktopFolder(std::string_view folder);

enum PalmPathResult : int {
    PalmPathOk = 0,
    PalmPathNoBuffer = -100,    // size 0
    PalmPathNoLocation = -101,  // no override, no registry key or value, or an unmapped drive
    PalmPathTooLong = -102,     // the registry text with its terminator does not fit in size
};

// Places the Palm Desktop folder in path (never cut: a path of this system may be longer than
// the registry text it came from) and answers a PalmPathResult. path is emptied first.
int GetPalmDesktopPath(std::string& path, std::size_t size);

inline constexpr std::uint32_t kNoPalmVersion = 0xFFFFFFFF;

// The path of "palm.exe" (found without regard to letter case) in the Palm Desktop folder;
// false when there is no folder or no such file.
bool FindPalmProgram(std::string& path);

// major * 10000 + minor * 100 + third of palm.exe's version (4.1.4 gives 40104), or
// kNoPalmVersion when the folder, the program or its version resource cannot be had.
std::uint32_t GetPalmDesktopVersion();

}  // namespace tabrel
