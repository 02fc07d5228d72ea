#include "engine/ConversionDriver.h"

#include <fmt/format.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine/CsvFile.h"
#include "engine/CsvFormat.h"
#include "engine/SourceChecks.h"
#include "misc/CxBackupCopy.h"
#include "misc/CxCodePage.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxWriteError.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

// The text of one CSV column of a record.
template <class Facade>
std::string ValueOf(const Facade& facade, const std::vector<FieldDescriptor>& catalogue,
                    const typename Facade::CommRec& record, const FieldDescriptor& field,
                    std::size_t position) {
    constexpr std::size_t kFieldBuffer = 32768;
    std::string text;
    if (!field.IsCustom()) {
        facade.GetFieldText(record, field, text, kFieldBuffer);
        return text;
    }
    switch (field.m_nValueSource) {
        case ValueSourceRecordField:
            for (const FieldDescriptor& row : catalogue) {
                if (row.m_nId == field.m_nSourceIdOrStart && row.m_nKind == field.m_nSourceKind) {
                    facade.GetFieldText(record, row, text, kFieldBuffer);
                    break;
                }
            }
            return text;
        case ValueSourceSequence:
            // The start value plus the record's position in the pass.
            return fmt::format("{}", static_cast<std::int64_t>(field.m_nSourceIdOrStart) +
                                         static_cast<std::int64_t>(position));
        case ValueSourceFixedText:
            return field.m_szFixedText;
        default:
            return text;
    }
}

class Pass {
  public:
    Pass(ConversionJob& job, const AppSettings& settings, ConversionObserver& observer)
        : m_job(job), m_settings(settings), m_observer(observer) {}

    ConversionResult Run() {
        m_observer.SetProgress(0);
        const std::size_t count = m_job.m_selectedRecords.size();
        m_dStep = count > 0 ? 100.0 / static_cast<double>(count) : 100.0;
        m_job.m_nConverted = 0;
        ConversionResult result = m_settings.m_nMode == ModeCsvToPalm ? ToPalm() : ToCsv();
        m_job.m_nConverted = result.m_nConverted;
        return result;
    }

  private:
    void Step(std::size_t k) {
        m_observer.SetProgress(static_cast<int>(static_cast<double>(k + 1) * m_dStep));
    }
    void Finishing() {
        m_observer.SetProgress(100);
        m_observer.SetStatus(kStatusFinishing);
    }

    ConversionResult ToCsv() {
        ConversionResult result;
        const std::string& path = m_job.m_szCsvPath;
        CsvOutput output;
        if (!output.Begin(path, m_settings.m_nAppendCsv == 1)) {
            Finishing();
            result.m_failure =
                UserMessage{kErrorCaption, fmt::format("Error opening CSV file: {}", path)};
            return result;
        }
        const bool utf8 = m_settings.IsCsvUtf8();
        const char quote = CsvQuoteOf(m_settings.m_szQuoteMark);
        if (m_settings.m_bAddTitle) {
            std::vector<std::string> names;
            for (const FieldDescriptor& field : m_job.m_fields) {
                names.push_back(utf8 ? AnsiToUtf8(field.m_szName) : field.m_szName);
            }
            if (const std::string title = CsvTitleRow(names); !title.empty()) {
                output.WriteLine(title);
            }
        }
        const std::vector<FieldDescriptor> catalogue = m_job.GetCatalogue();
        std::uint32_t written = 0;
        m_job.Visit([&](auto& facade, auto&) {
            auto& store = facade.GetCommMgr();
            std::string line;
            for (std::size_t k = 0; k < m_job.m_selectedRecords.size(); ++k) {
                if (const auto* record = store.GetAt(m_job.m_selectedRecords[k])) {
                    line.clear();
                    for (std::size_t i = 0; i < m_job.m_fields.size(); ++i) {
                        if (i > 0) {
                            line += kCsvSeparator;
                        }
                        std::string value =
                            ValueOf(facade, catalogue, *record, m_job.m_fields[i], k);
                        line += QuoteValue(utf8 ? AnsiToUtf8(value) : value, quote);
                    }
                    if (output.WriteLine(line)) {
                        ++written;
                    }
                }
                Step(k);
            }
        });
        Finishing();
        if (!output.Commit()) {
            CX_LOG(kLogFailure, "Failed to write CSV file: %s", path);
            result.m_failure = UserMessage{
                kErrorCaption,
                fmt::format("Error writing CSV file: {}. No records were converted.", path)};
            return result;
        }
        result.m_nConverted = written;
        return result;
    }

    ConversionResult ToPalm() {
        ConversionResult result;
        std::uint32_t converted = 0;
        std::uint32_t failed = 0;
        bool saved = true;
        std::optional<UserMessage> refusal;
        m_job.Visit([&](auto& facade, auto& imports) {
            std::vector<FieldDescriptor> catalogueFields;
            for (const FieldDescriptor& field : m_job.m_fields) {
                if (!field.IsCustom()) {
                    catalogueFields.push_back(field);
                }
            }
            const CommFieldSet carried = facade.GetCarriedFields(catalogueFields);
            // A 6.x database is written record by record, a .dat file once at the end.
            const bool writesEachRecord = facade.GetLoadedVersion() == PM_DATA_EX2;
            if (writesEachRecord) {
                refusal = PrepareWrite(facade, result);
                saved = !refusal && facade.BeginPass();
                if (!saved) {
                    return;
                }
            }
            for (std::size_t k = 0; k < m_job.m_selectedRecords.size(); ++k) {
                const std::size_t position = m_job.m_selectedRecords[k];
                if (position < imports.size()) {
                    switch (facade.ImportRecord(imports[position], carried)) {
                        case kImportAdded:
                        case kImportUpdated:
                            ++converted;
                            break;
                        case kImportFailed:
                            ++failed;
                            break;
                        case kImportEqual:
                            break;
                    }
                }
                Step(k);
            }
            Finishing();
            if (converted > 0) {
                refusal = writesEachRecord ? SaveRefusal(facade) : PrepareWrite(facade, result);
                TakeWriteError();  // only what this save meets counts
                saved = !refusal && facade.Save();
                if (!saved && !refusal) {
                    refusal = SaveRefusal(facade);  // what changed while saving, if anything
                }
                if (!saved && !refusal) {
                    refusal = SaveFailure(facade.GetLoadedPath());
                }
            }
            if (converted == 0 || !saved) {
                facade.AbandonPass();  // nothing of a failed or empty pass stays behind
            }
        });
        m_job.m_csvInput.Close();
        if (!saved) {
            CX_LOG(kLogFailure, "Failed to save the Palm Desktop database.");
            result.m_failure = refusal ? *refusal
                                       : UserMessage{kErrorCaption,
                                                     "Error saving the Palm Desktop database. No "
                                                     "records were converted."};
            result.m_nFailed = converted + failed;
            return result;
        }
        result.m_nConverted = converted;
        result.m_nFailed = failed;
        if (failed > 0) {
            result.m_failure = UserMessage{
                kErrorCaption,
                fmt::format("{} records could not be written to the Palm Desktop database. "
                            "{} records were converted.",
                            failed, converted)};
        }
        return result;
    }

    // Why the loaded file must not be saved over now: another program holds it, or changed
    // it after the load.
    template <class Facade>
    static std::optional<UserMessage> SaveRefusal(const Facade& facade) {
        const std::string path = facade.GetLoadedPath();
        if (auto refusal = CheckNotInUse(path)) {
            return refusal;
        }
        if (facade.LoadedFileChanged()) {
            return ChangedOnDiskMessage(path);
        }
        return std::nullopt;
    }

    // Why the save failed, as the file writers noted it (a full disk, a folder that takes
    // no new file), or nothing when they noted no reason.
    static std::optional<UserMessage> SaveFailure(const std::string& path) {
        const std::string reason = TakeWriteError();
        if (reason.empty()) {
            return std::nullopt;
        }
        CX_LOG(kLogFailure, "Failed to write %s: %s.", path, reason);
        return UserMessage{kErrorCaption,
                           fmt::format("Error saving the Palm Desktop database {}: {}. No records "
                                       "were converted.",
                                       path, reason)};
    }

    // Clears the first write into the loaded file: nobody else holds it or changed it, and
    // the copy the settings ask for is kept (named in result).
    template <class Facade>
    std::optional<UserMessage> PrepareWrite(const Facade& facade, ConversionResult& result) const {
        if (auto refusal = SaveRefusal(facade)) {
            return refusal;
        }
        if (!m_settings.m_bMakeBackup) {
            return std::nullopt;
        }
        const std::string path = facade.GetLoadedPath();
        std::string error;
        result.m_backupPath = MakeBackupCopy(path, kBackupsKept, error);
        if (!result.m_backupPath) {
            CX_LOG(kLogFailure, "No backup copy of %s: %s.", path, error);
            return UserMessage{kErrorCaption,
                               fmt::format("No copy of the file {} could be kept before writing "
                                           "into it: {}. Nothing was written.",
                                           path, error)};
        }
        return std::nullopt;
    }

    ConversionJob& m_job;
    const AppSettings& m_settings;
    ConversionObserver& m_observer;
    double m_dStep = 100.0;
};

}  // namespace

ConversionResult RunConversion(ConversionJob& job, const AppSettings& settings,
                               ConversionObserver& observer) {
    try {
        return Pass(job, settings, observer).Run();
    } catch (const std::bad_alloc&) {
        // Nothing was written: the CSV file is replaced and the Palm file saved only at the
        // end of a pass. What the pass held is gone with its frames.
        const std::string path =
            job.Visit([](auto& facade, auto&) { return facade.GetLoadedPath(); });
        job.m_nConverted = 0;
        CX_LOG(kLogFailure, "Not enough memory to convert %s.", path);
        ConversionResult result;
        result.m_failure = NotEnoughMemoryMessage(path);
        return result;
    }
}

std::string NoRecordSelectedText(int app) {
    const std::string_view word = GetAppInfo(app).recordWord;
    return fmt::format("No {} record is selected. Please select the records you want to convert.",
                       word);
}

std::string FinishResultText(std::uint32_t converted) {
    return fmt::format("Convesion succeeded. {} records were converted", converted);
}

std::string BackupKeptText(std::string_view path) {
    return fmt::format("A copy of the original file was kept: {}", path);
}

}  // namespace tabrel
