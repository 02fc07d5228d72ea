#include "engine/FinishSummary.h"

#include <fmt/format.h>

#include "engine/SourceChecks.h"
#include "palm/desktop/PalmDesktop.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

std::string ModeText(int mode) {
    return mode == ModeCsvToPalm ? "CSV File >> Palm Desktop" : "Palm Desktop >> CSV File";
}

std::string AppText(int app) {
    return std::string(GetAppInfo(app).title);
}

std::string PalmSideText(const AppSettings& settings, const PalmUserList& users) {
    if (settings.m_nPmDataMode != PmDataByUser) {
        return settings.PmFile();
    }
    std::string name;
    for (std::size_t i = 0; i < users.GetCount(); ++i) {
        if (const PalmUser* user = users.GetAt(i);
            user != nullptr && user->id == settings.m_nPmUserId) {
            name = user->name;
            break;
        }
    }
    return fmt::format("Palm User:{} (ID:{})", name, settings.m_nPmUserId);
}

FinishSummary MakeFinishSummary(const AppSettings& settings, const PalmUserList& users,
                                std::string_view csvPath, const ConversionResult& result) {
    const std::string csvSide = csvPath.empty() ? settings.CsvFile() : std::string(csvPath);
    const std::string palmSide = PalmSideText(settings, users);
    const bool toCsv = settings.m_nMode != ModeCsvToPalm;
    FinishSummary summary;
    summary.m_szMode = ModeText(settings.m_nMode);
    summary.m_szApp = AppText(settings.m_nApp);
    summary.m_szSource = toCsv ? palmSide : csvSide;
    summary.m_szDest = toCsv ? csvSide : palmSide;
    summary.m_szResult =
        result.m_failure ? result.m_failure->text : FinishResultText(result.m_nConverted);
    if (result.m_backupPath) {
        summary.m_szResult += "\n" + BackupKeptText(*result.m_backupPath);
    }
    return summary;
}

std::optional<UserMessage> FindPalmProgramToOpen(std::string& path) {
    if (FindPalmProgram(path)) {
        return std::nullopt;
    }
    return UserMessage{kErrorCaption,
                       "Can not find the Palm Desktop program (palm.exe) in the Palm Desktop "
                       "folder."};
}

UserMessage OpenFileFailedMessage(std::string_view path) {
    return UserMessage{kErrorCaption, fmt::format("Can not open the file: {}", path)};
}

}  // namespace tabrel
