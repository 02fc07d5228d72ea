#include "palm/desktop/PalmDesktop.h"

#include <optional>
#include <utility>

#include "misc/CxDebugUtil.h"
#include "misc/CxIniUtil.h"
#include "misc/CxPath.h"
#include "misc/IniFile.h"
#include "misc/WinUtil.h"
#include "misc/WineRegistry.h"

namespace tabrel {

namespace {

constexpr std::string_view kIniFileName = "norvane.ini";
constexpr std::string_view kUserKey = "Software\\U.S. Robotics\\Pilot Desktop\\Core";
constexpr std::string_view kMachineKey = "Software\\PalmSource\\Desktop\\Core";
constexpr std::string_view kMachineKey32 = "Software\\Wow6432Node\\PalmSource\\Desktop\\Core";
constexpr std::size_t kHotSyncBufferSize = 260;
constexpr std::size_t kVersionPathSize = 260;

std::optional<PalmDesktopConfig>& ConfigSlot() {
    static std::optional<PalmDesktopConfig> config;
    return config;
}

// The "PDPath" value of an INI file; empty when the file or the key is missing.
std::string ReadOverride(const std::string& iniPath) {
    if (iniPath.empty()) {
        return {};
    }
    IniFile doc;
    if (IniFile::Load(iniPath, doc) != IniFile::LoadResult::Loaded) {
        return {};
    }
    return doc.GetValue("Path", "PDPath").value_or(std::string());
}

bool IsWindowsPath(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

// An override text as a folder of this system: Windows paths through the Wine prefix.
int UseOverride(const std::string& text, const std::string& prefix, std::string& path) {
    if (!IsWindowsPath(text)) {
        path = text;
        return PalmPathOk;
    }
    if (auto mapped = MapWindowsPath(prefix, text)) {
        path = std::move(*mapped);
        return PalmPathOk;
    }
    CX_LOG(kLogFailure, "The Palm Desktop folder %s has no location in the Wine prefix", text);
    return PalmPathNoLocation;
}

// The Palm Desktop key: the current user's, else the local machine's (either view).
std::optional<WineRegKey> OpenPalmKey(const std::string& prefix) {
    if (prefix.empty()) {
        return std::nullopt;
    }
    if (auto key = ReadWineRegistryKey(JoinPath(prefix, "user.reg"), kUserKey)) {
        return key;
    }
    const std::string system = JoinPath(prefix, "system.reg");
    if (auto key = ReadWineRegistryKey(system, kMachineKey)) {
        return key;
    }
    return ReadWineRegistryKey(system, kMachineKey32);
}

// The drive and folder of a Windows file path, up to and including its last separator.
std::string FolderOfWindowsPath(std::string_view path) {
    const auto cut = path.find_last_of("\\/");
    if (cut != std::string_view::npos) {
        return std::string(path.substr(0, cut + 1));
    }
    return IsWindowsPath(path) ? std::string(path.substr(0, 2)) : std::string();
}

}  // namespace

PalmDesktopConfig DefaultPalmDesktopConfig() {
    PalmDesktopConfig config;
    if (const std::string appFolder = GetAppFolder(); !appFolder.empty()) {
        config.programIni = appFolder + std::string(kIniFileName);
    }
    if (auto dataFolder = DataFolderLocation()) {
        config.settingsIni = *dataFolder + std::string(kIniFileName);
    }
    config.winePrefix = DefaultWinePrefix();
    return config;
}

const PalmDesktopConfig& GetPalmDesktopConfig() {
    auto& slot = ConfigSlot();
    if (!slot) {
        slot = DefaultPalmDesktopConfig();
    }
    return *slot;
}

void SetPalmDesktopConfig(PalmDesktopConfig config) {
    ConfigSlot() = std::move(config);
}

void SetPalmDesktopFolder(std::string_view folder) {
    PalmDesktopConfig config = GetPalmDesktopConfig();
    config.folderOverride = folder;
    SetPalmDesktopConfig(std::move(config));
}

int GetPalmDesktopPath(std::string& path, std::size_t size) {
    if (size == 0) {
        return PalmPathNoBuffer;
    }
    path.clear();
    const PalmDesktopConfig& config = GetPalmDesktopConfig();
    if (!config.folderOverride.empty()) {
        path = config.folderOverride;
        return PalmPathOk;
    }
    for (const std::string* ini : {&config.programIni, &config.settingsIni}) {
        if (const std::string text = ReadOverride(*ini); !text.empty()) {
            return UseOverride(text, config.winePrefix, path);
        }
    }

    const std::optional<WineRegKey> key = OpenPalmKey(config.winePrefix);
    if (!key) {
        CX_LOG(kLogProgress, "No Palm Desktop key in the Wine registry of %s", config.winePrefix);
        return PalmPathNoLocation;
    }
    std::string folder;
    if (auto desktop = key->GetString("DesktopPath"); desktop && !desktop->empty()) {
        if (desktop->size() + 1 > size) {
            return PalmPathTooLong;
        }
        folder = std::move(*desktop);
    } else if (auto hotSync = key->GetString("HotSyncPath"); hotSync && !hotSync->empty()) {
        if (hotSync->size() + 1 > kHotSyncBufferSize) {
            return PalmPathTooLong;
        }
        folder = FolderOfWindowsPath(*hotSync);
        if (folder.size() + 1 > size) {
            return PalmPathTooLong;
        }
    } else {
        CX_LOG(kLogProgress, "The Palm Desktop key holds neither DesktopPath nor HotSyncPath");
        return PalmPathNoLocation;
    }
    auto mapped = MapWindowsPath(config.winePrefix, folder);
    if (!mapped) {
        CX_LOG(kLogFailure, "The Palm Desktop folder %s has no location in the Wine prefix",
               folder);
        return PalmPathNoLocation;
    }
    path = std::move(*mapped);
    return PalmPathOk;
}

bool FindPalmProgram(std::string& path) {
    std::string folder;
    if (GetPalmDesktopPath(folder, kVersionPathSize) != PalmPathOk) {
        return false;
    }
    auto entry = FindEntryNoCase(folder, "palm.exe");
    if (!entry) {
        return false;
    }
    path = JoinPath(folder, *entry);
    return true;
}

std::uint32_t GetPalmDesktopVersion() {
    std::string program;
    if (!FindPalmProgram(program)) {
        CX_LOG(kLogProgress, "palm.exe not found");
        return kNoPalmVersion;
    }
    const auto version = GetFileVersion(program);
    if (!version) {
        CX_LOG(kLogProgress, "No version resource in %s", program);
        return kNoPalmVersion;
    }
    return static_cast<std::uint32_t>(version->major) * 10000u +
           static_cast<std::uint32_t>(version->minor) * 100u +
           static_cast<std::uint32_t>(version->third);
}

}  // namespace tabrel
