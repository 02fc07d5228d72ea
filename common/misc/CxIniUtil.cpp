#include "misc/CxIniUtil.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "misc/CxDebugUtil.h"
#include "misc/CxPath.h"
#include "misc/CxText.h"
#include "misc/IniFile.h"
#include "misc/WinUtil.h"

namespace tabrel {

namespace {

constexpr std::string_view kSettingsFileName = "norvane.ini";
constexpr std::size_t kIntBufferSize = 32;

std::string EnvText(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// The user's configuration folder without a trailing '/'; empty when it is not known.
std::string ConfigFolder() {
    // A relative $XDG_CONFIG_HOME is invalid and is ignored, as for every XDG program.
    const std::string xdg = EnvText("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') {
        return WithoutTrailingSlashes(xdg);
    }
    const std::string home = GetHomeFolder();
    if (home.empty()) {
        return {};
    }
    return (home == "/" ? std::string() : home) + "/.config";
}

// Makes sure path is a folder, creating it with mode when it is missing.
bool EnsureFolder(const std::string& path, mode_t mode) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    if (mkdir(path.c_str(), mode) == 0 || errno == EEXIST) {
        return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    CX_LOG(kLogFailure, "Can not create the folder %s", path);
    return false;
}

// Creates every missing level of an absolute folder path (private, as the configuration
// folder should be).
bool EnsureFolderTree(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (!EnsureFolder(path.substr(0, slash), 0700)) {
            return false;
        }
    }
    return EnsureFolder(path, 0700);
}

}  // namespace

CxIniUtil::CxIniUtil(std::string_view folder, std::string_view fileName) {
    m_szFileName = folder.empty() ? GetAppFolder() : std::string(folder);
    m_szFileName += fileName;
}

void CxIniUtil::SetFile(std::string_view path) {
    if (!path.empty()) {
        m_szFileName = path;
    }
}

int CxIniUtil::ReadString(std::string_view section, std::string_view key, std::string& buffer,
                          std::size_t size, std::string_view defaultText) const {
    if (section.empty() || key.empty() || size == 0) {
        return 0;
    }
    IniFile doc;
    std::optional<std::string> value;
    if (IniFile::Load(m_szFileName, doc) == IniFile::LoadResult::Loaded) {
        value = doc.GetValue(section, key);
    }
    buffer = CutText(value ? std::string_view(*value) : defaultText, size - 1);
    return static_cast<int>(buffer.size() > INT_MAX ? INT_MAX : buffer.size());
}

int ParseIniInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\v' ||
                                 text[pos] == '\f' || text[pos] == '\r' || text[pos] == '\n')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulated as a magnitude up to just past the 32-bit range, then held there.
    const std::int64_t limit = static_cast<std::int64_t>(INT_MAX) + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit) {
            magnitude = limit;
        }
    }
    if (negative) {
        return static_cast<int>(-magnitude);
    }
    return static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
}

int CxIniUtil::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    std::string text;
    if (ReadString(section, key, text, kIntBufferSize, "") > 0) {
        return ParseIniInt(text);
    }
    return defaultValue;
}

bool CxIniUtil::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInt(section, key, defaultValue ? 1 : 0) != 0;
}

bool CxIniUtil::WriteString(std::string_view section, std::string_view key, std::string_view text) {
    if (section.empty() || key.empty()) {
        return false;
    }
    IniFile doc;
    // A file that exists but cannot be read is not overwritten with a document missing its
    // other lines.
    if (IniFile::Load(m_szFileName, doc) == IniFile::LoadResult::Failed) {
        CX_LOG(kLogFailure, "Can not read the settings file %s before writing", m_szFileName);
        return false;
    }
    if (!doc.SetValue(section, key, text)) {
        return false;
    }
    return doc.Save(m_szFileName);
}

bool CxIniUtil::WriteInt(std::string_view section, std::string_view key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool CxIniUtil::WriteBool(std::string_view section, std::string_view key, bool flag) {
    return WriteString(section, key, flag ? "1" : "0");
}

std::optional<std::string> DataFolderLocation() {
    const std::string config = ConfigFolder();
    if (config.empty()) {
        return std::nullopt;
    }
    return (config == "/" ? std::string() : config) + "/norvane/Tabrel/";
}

bool GetDataFolder(std::string& folder) {
    const std::string config = ConfigFolder();
    if (config.empty() || !EnsureFolderTree(config)) {
        return false;
    }
    const std::string base = config == "/" ? std::string() : config;
    if (!EnsureFolder(base + "/norvane", 0777) || !EnsureFolder(base + "/norvane/Tabrel", 0777)) {
        return false;
    }
    folder = base + "/norvane/Tabrel/";
    return true;
}

bool UseDataFolderSettings(CxIniUtil& settings, std::string& folder) {
    folder.clear();
    if (!GetDataFolder(folder)) {
        folder.clear();
        return false;
    }
    settings.SetFile(folder + std::string(kSettingsFileName));
    return true;
}

}  // namespace tabrel
