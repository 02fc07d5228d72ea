#include "engine/SourceChecks.h"

#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "misc/CxSafeReplace.h"
#include "misc/CxText.h"

namespace tabrel {

namespace {

UserMessage Error(std::string text) {
    return UserMessage{kErrorCaption, std::move(text)};
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::optional<UserMessage> CheckPalmFile(ConversionJob& job, std::string_view path) {
    const PmDataVersion version =
        job.Visit([&](auto& facade, auto&) { return facade.CheckFileVersion(std::string(path)); });
    if (version == PM_DATA_INVALID) {
        return Error(
            fmt::format("Invalid Palm Desktop {} database file.", GetAppInfo(job.m_nApp).word));
    }
    return std::nullopt;
}

std::optional<UserMessage> LoadPalmData(ConversionJob& job, AppSettings& settings,
                                        std::string_view pageFileText) {
    // The key keeps 259 characters; the file loaded is the one named, however long.
    settings.PmFile() = CutText(pageFileText, kSettingsPathMax);
    const std::string path(pageFileText);
    const bool loaded = job.Visit([&](auto& facade, auto&) {
        return settings.m_nPmDataMode == PmDataByFile ? facade.LoadByFile(path)
                                                      : facade.LoadByUser(settings.m_nPmUserId);
    });
    if (!loaded) {
        return Error("Error opening the Palm Desktop database.");
    }
    if (settings.m_nMode == ModeCsvToPalm &&
        job.Visit([](auto& facade, auto&) { return facade.IsLoadedReadOnly(); })) {
        return Error(kJetImportRefused);
    }
    return std::nullopt;
}

std::optional<UserMessage> CheckCsvFile(ConversionJob& job, AppSettings& settings,
                                        std::string_view pageCsvText) {
    const std::string path(pageCsvText);
    if (settings.m_nMode == ModeCsvToPalm) {
        if (!IsRegularFile(path)) {
            return Error("Invalid CSV file name. Please specify an existing CSV file.");
        }
    } else if (path.empty()) {
        return Error("Invalid CSV file name. Please try another one.");
    }
    settings.CsvFile() = CutText(path, kSettingsPathMax);
    job.m_szCsvPath = path;
    const bool usable = settings.m_nMode == ModeCsvToPalm ? job.m_csvInput.Open(path)
                                                          : CxSafeReplace::CanReplace(path);
    if (!usable) {
        return Error(fmt::format("Error opening CSV file: {}", path));
    }
    return std::nullopt;
}

}  // namespace tabrel
