#pragma once
// The conversion pass: Palm Desktop to CSV writes an optional title row and one CSV line per
// selected record; CSV to Palm Desktop hands every selected import record to the facade and
// saves once at the end. The pass counts the records converted and reports its progress
// through a ConversionObserver, which each front end implements.
//
// Before its first write into a Palm Desktop file, a pass keeps a copy of the file beside
// it (unless the settings say not to); a copy that cannot be made ends the pass with
// nothing written.
//
// A pass that could not complete (the CSV file not written, the Palm Desktop data not
// saved, records that could not be written) says so in its result, with the number of
// records that really reached their destination.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/AppSettings.h"
#include "engine/ConversionJob.h"
#include "misc/UserMessage.h"

namespace tabrel {

class ConversionObserver {
  public:
    virtual ~ConversionObserver() = default;
    // The progress bar's position, 0 to 100.
    virtual void SetProgress(int position) = 0;
    // The status label's text.
    virtual void SetStatus(std::string_view text) = 0;
};

struct ConversionResult {
    // Records that reached their destination.
    std::uint32_t m_nConverted = 0;
    // Import records that could not be written (not counting equal ones).
    std::uint32_t m_nFailed = 0;
    // Set when the pass failed; the message to show.
    std::optional<UserMessage> m_failure;
    // The copy of the Palm Desktop file kept before the pass wrote into it.
    std::optional<std::string> m_backupPath;

    bool Succeeded() const { return !m_failure; }
};

inline constexpr std::string_view kStatusConverting = "Converting now, please wait ...";
inline constexpr std::string_view kStatusFinishing = "Conversion finishing ... ";

// Runs the pass over the job's selected records (Mode from settings); the job's converted
// count is set to the result's.
ConversionResult RunConversion(ConversionJob& job, const AppSettings& settings,
                               ConversionObserver& observer);

// The record page's refusal when no record of the application is selected.
std::string NoRecordSelectedText(int app);

// "Convesion succeeded. %d records were converted", filled in.
std::string FinishResultText(std::uint32_t converted);
// The line that names the copy kept of the Palm Desktop file.
std::string BackupKeptText(std::string_view path);

// How many copies of a Palm Desktop file are kept beside it.
inline constexpr std::size_t kBackupsKept = 5;

}  // namespace tabrel
