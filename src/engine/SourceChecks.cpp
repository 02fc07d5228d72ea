#include "engine/SourceChecks.h"

#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>
#include <string>

#include "misc/CxDebugUtil.h"
#include "misc/CxSafeReplace.h"
#include "misc/CxText.h"
#include "palm/desktop/PmFileInUse.h"

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

std::optional<UserMessage> CheckNotInUse(std::string_view path) {
    const std::string file(path);
    const std::optional<std::string> hold = FindOtherProgramsHold(file);
    if (!hold) {
        return std::nullopt;
    }
    CX_LOG(kLogFailure, "The file %s is in use by another program: %s.", file, *hold);
    return Error(
        fmt::format("Another program (Palm Desktop) is using the file {}: {}. Please "
                    "close that program first, then try again. Nothing was written.",
                    file, *hold));
}

UserMessage ChangedOnDiskMessage(std::string_view path) {
    return Error(
        fmt::format("The file {} was changed by another program after it was loaded, "
                    "so it was not overwritten. Please start the conversion again. "
                    "Nothing was written.",
                    path));
}

UserMessage NotEnoughMemoryMessage(std::string_view path) {
    return Error(fmt::format("Not enough memory to load {}. Nothing was written.", path));
}

std::string PalmDataName(int app, bool byFile, std::string_view file) {
    return byFile ? std::string(file)
                  : fmt::format("the Palm Desktop {} database", GetAppInfo(app).word);
}

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
    bool loaded = false;
    try {
        loaded = job.Visit([&](auto& facade, auto&) {
            return settings.m_nPmDataMode == PmDataByFile ? facade.LoadByFile(path)
                                                          : facade.LoadByUser(settings.m_nPmUserId);
        });
    } catch (const std::bad_alloc&) {
        job.Visit([](auto& facade, auto&) { facade.Reset(); });
        const std::string named =
            PalmDataName(job.m_nApp, settings.m_nPmDataMode == PmDataByFile, path);
        CX_LOG(kLogFailure, "Not enough memory to load %s.", named);
        return NotEnoughMemoryMessage(named);
    }
    if (!loaded) {
        return Error("Error opening the Palm Desktop database.");
    }
    if (settings.m_nMode != ModeCsvToPalm) {
        return std::nullopt;
    }
    if (auto refusal =
            CheckNotInUse(job.Visit([](auto& facade, auto&) { return facade.GetLoadedPath(); }))) {
        return refusal;
    }
    if (job.Visit([](auto& facade, auto&) { return facade.IsLoadedReadOnly(); })) {
        const std::string reason =
            job.Visit([](auto& facade, auto&) { return facade.LoadedReadOnlyReason(); });
        const std::string file =
            job.Visit([](auto& facade, auto&) { return facade.GetLoadedPath(); });
        CX_LOG(kLogFailure, "The database %s cannot be written: %s", file, reason);
        return Error(fmt::format(fmt::runtime(kJetImportRefused), file, reason));
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
