#include "engine/DebugOptions.h"

#include <sys/stat.h>

#include "misc/CxDebugUtil.h"
#include "misc/CxIniUtil.h"
#include "misc/WinUtil.h"

namespace tabrel {

int DebugLevelItemOf(int logLevel) {
    switch (logLevel) {
        case 0:
            return 0;
        case 1:
            return 1;
        default:
            return 2;
    }
}

int DebugLevelOfItem(int item) {
    if (item >= 0 && static_cast<std::size_t>(item) < kDebugLevelChoices.size()) {
        return kDebugLevelChoices[static_cast<std::size_t>(item)].level;
    }
    return kDebugLevelChoices.back().level;
}

void ApplyDebugOptions(AppSettings& settings, bool enable, int item) {
    settings.m_bEnableDebug = enable;
    settings.m_nLogLevel = DebugLevelOfItem(item);
    DebugLog().Enable(settings.m_bEnableDebug);
    DebugLog().SetLevel(settings.m_nLogLevel);
}

std::optional<DebugLogLocation> FindDebugLogLocation() {
    DebugLogLocation location;
    if (!GetDataFolder(location.folder)) {
        return std::nullopt;
    }
    location.file = location.folder + std::string(kDebugLogFileName);
    return location;
}

std::optional<UserMessage> CheckDebugLogFile(const std::string& path) {
    struct stat info {};
    if (!path.empty() && stat(path.c_str(), &info) == 0) {
        return std::nullopt;
    }
    return UserMessage{"Error", "Debug log file doesn't exist"};
}

std::string SupportMailTarget() {
    std::string target = "mailto:" + std::string(kSupportAddress) + "?subject=";
    for (const char c : kBugReportSubject) {
        if (c == ' ') {
            target += "%20";
        } else {
            target += c;
        }
    }
    return target;
}

std::string HomePageTarget() {
    return GetAppFolder() + "tabrel.html";
}

}  // namespace tabrel
