#include "cli/CliCommands.h"

#include <fmt/format.h>

#include <cstdio>
#include <new>

#include "engine/AppSettings.h"
#include "engine/ConversionDriver.h"
#include "engine/ConversionJob.h"
#include "engine/FieldSelection.h"
#include "engine/ImportReader.h"
#include "engine/SourceChecks.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxIniUtil.h"
#include "palm/desktop/PalmUsers.h"

namespace tabrel::cli {

namespace {

// The settings file gives the defaults; the tool never writes it.
AppSettings ReadSettings() {
    const std::optional<std::string> folder = DataFolderLocation();
    const CxIniUtil ini(folder.value_or(""), "norvane.ini");
    AppSettings settings;
    LoadSettings(ini, settings);
    if (settings.m_bEnableDebug && folder) {
        DebugLog().SetFolder(*folder);
        DebugLog().SetLevel(settings.m_nLogLevel);
        DebugLog().Enable(true);
    }
    return settings;
}

int Fail(const std::string& text) {
    fmt::print(stderr, "{}\n", text);
    return 1;
}

// Runs a command; running out of memory anywhere in it ends it with the memory message,
// once what it held is released.
template <class Command>
int GuardMemory(const std::string& source, const Command& command) {
    try {
        return command();
    } catch (const std::bad_alloc&) {
        return Fail(NotEnoughMemoryMessage(source).text);
    }
}

// The data a command reads, as the memory message names it.
std::string SourceName(const ConvertOptions& options) {
    return PalmDataName(options.app, !options.user, options.file);
}

// The Palm user library, loaded while a command runs.
class UserLibrary {
  public:
    UserLibrary() { LoadUserLibrary(); }
    ~UserLibrary() { FreeUserLibrary(); }
    UserLibrary(const UserLibrary&) = delete;
    UserLibrary& operator=(const UserLibrary&) = delete;
};

class QuietObserver final : public ConversionObserver {
  public:
    void SetProgress(int) override {}
    void SetStatus(std::string_view) override {}
};

// Applies the options to the settings and loads the Palm Desktop data; the message that
// refuses, if any.
std::optional<std::string> Prepare(const ConvertOptions& options, int mode, ConversionJob& job,
                                   AppSettings& settings) {
    settings.m_nMode = mode;
    settings.m_nApp = options.app;
    job.m_nApp = options.app;
    if (options.quote) {
        const std::string& quote = *options.quote;
        settings.m_szQuoteMark = quote == "none"     ? std::string()
                                 : quote == "double" ? std::string("\"")
                                 : quote == "single" ? std::string("'")
                                                     : quote.substr(0, kCustomQuoteMax);
    }
    if (options.encoding) {
        settings.m_szCsvEncoding =
            *options.encoding == "utf-8" ? kCsvEncodingUtf8 : kCsvEncodingAnsi;
    }
    if (options.append) {
        settings.m_nAppendCsv = 1;
    }
    if (options.title) {
        settings.m_bAddTitle = true;
    }
    if (options.noBackup) {
        settings.m_bMakeBackup = false;
    }
    if (options.user) {
        settings.m_nPmDataMode = PmDataByUser;
        settings.m_nPmUserId = *options.user;
    } else {
        settings.m_nPmDataMode = PmDataByFile;
        if (const auto message = CheckPalmFile(job, options.file)) {
            return message->text;
        }
    }
    if (const auto message = LoadPalmData(job, settings, options.file)) {
        return message->text;
    }
    return std::nullopt;
}

// The --fields list, or every catalogue field.
std::optional<std::string> ChooseFields(const ConvertOptions& options, ConversionJob& job) {
    const std::vector<FieldDescriptor> catalogue = job.GetCatalogue();
    if (!options.fields) {
        job.m_fields = DefaultFieldList(catalogue);
        return std::nullopt;
    }
    std::string error;
    if (!ParseFieldList(*options.fields, catalogue, job.m_fields, error)) {
        return error;
    }
    return std::nullopt;
}

int Convert(const ConvertOptions& options, int mode) {
    AppSettings settings = ReadSettings();
    UserLibrary library;
    ConversionJob job;
    if (const auto refusal = Prepare(options, mode, job, settings)) {
        return Fail(*refusal);
    }
    if (const auto message = CheckCsvFile(job, settings, options.csv)) {
        return Fail(message->text);
    }
    if (const auto refusal = ChooseFields(options, job)) {
        return Fail(*refusal);
    }
    if (mode == ModeCsvToPalm) {
        ReadImportRecords(job, settings, options.skipFirstLine);
    }
    job.SelectAllRecords(mode);
    if (job.m_selectedRecords.empty()) {
        return Fail(NoRecordSelectedText(job.m_nApp));
    }
    QuietObserver observer;
    const ConversionResult result = RunConversion(job, settings, observer);
    if (!result.Succeeded()) {
        if (result.m_backupPath) {
            fmt::print(stderr, "{}\n", BackupKeptText(*result.m_backupPath));
        }
        return Fail(result.m_failure->text);
    }
    fmt::print("{}\n", FinishResultText(result.m_nConverted));
    if (result.m_backupPath) {
        fmt::print("{}\n", BackupKeptText(*result.m_backupPath));
    }
    return 0;
}

const char* GenerationName(PmDataVersion version) {
    switch (version) {
        case PM_DATA_CLASSIC:
            return "Palm Desktop 4.1 or earlier";
        case PM_DATA_EX:
            return "Palm Desktop 4.1.x";
        case PM_DATA_EX2:
            return "Palm Desktop 6.x";
        default:
            return "unknown";
    }
}

int ListFields(const ConvertOptions& options) {
    AppSettings settings = ReadSettings();
    UserLibrary library;
    ConversionJob job;
    if (const auto refusal = Prepare(options, ModePalmToCsv, job, settings)) {
        return Fail(*refusal);
    }
    for (const FieldDescriptor& row : job.GetCatalogue()) {
        fmt::print("{}\n", row.m_szName);
    }
    return 0;
}

int TellInfo(const std::string& file, int app) {
    ReadSettings();
    ConversionJob job;
    for (const PmAppInfo& info : kPmApps) {
        const int candidate = info.app;
        if (app != 0 && candidate != app) {
            continue;
        }
        job.m_nApp = candidate;
        const auto found = job.Visit([&](auto& facade, auto&) -> std::optional<std::string> {
            const PmDataVersion version = facade.CheckFileVersion(file);
            if (version == PM_DATA_INVALID || version == PM_DATA_NONE || !facade.LoadByFile(file)) {
                return std::nullopt;
            }
            return fmt::format("Application: {}\nGeneration: {}\nRecords: {}\n",
                               GetAppInfo(candidate).word,
                               GenerationName(facade.GetLoadedVersion()), facade.GetItemCount());
        });
        if (found) {
            fmt::print("{}", *found);
            return 0;
        }
    }
    return Fail(fmt::format("Not a Palm Desktop data file: {}", file));
}

}  // namespace

int AppOfName(const std::string& name) {
    for (const PmAppInfo& info : kPmApps) {
        if (name == info.option) {
            return info.app;
        }
    }
    return 0;
}

int RunExport(const ConvertOptions& options) {
    return GuardMemory(SourceName(options), [&] { return Convert(options, ModePalmToCsv); });
}

int RunImport(const ConvertOptions& options) {
    return GuardMemory(SourceName(options), [&] { return Convert(options, ModeCsvToPalm); });
}

int RunFields(const ConvertOptions& options) {
    return GuardMemory(SourceName(options), [&] { return ListFields(options); });
}

int RunInfo(const std::string& file, int app) {
    return GuardMemory(file, [&] { return TellInfo(file, app); });
}

int RunUsers() {
    UserLibrary library;
    PalmUserList users;
    if (const auto message = LoadPalmUsers(users)) {
        return Fail(message->text);
    }
    for (const PalmUser& user : users) {
        std::string folder;
        GetUserDataFolder(user.id, folder);
        fmt::print("{}\t{}\t{}\n", user.id, user.name, folder);
    }
    FreePalmUsers(users);
    return 0;
}

}  // namespace tabrel::cli
