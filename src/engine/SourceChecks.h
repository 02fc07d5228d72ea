#pragma once
// The checks made when the user leaves the source page: the Palm Desktop file, loading the
// Palm Desktop data, the CSV file. Each answers nothing when the page may be left, or the
// message that refuses it (caption "Tabrel Error").
//
// The CSV file is not emptied here: a Palm-to-CSV pass writes it through a temporary file
// and replaces it only when the pass completes (CsvOutput). Here it is only checked that
// the pass will be able to do so.

#include <optional>
#include <string>
#include <string_view>

#include "engine/AppSettings.h"
#include "engine/ConversionJob.h"
#include "misc/UserMessage.h"

namespace tabrel {

inline constexpr const char* kErrorCaption = "Tabrel Error";

// The refusal of a CSV to Palm Desktop conversion into a Palm Desktop 6.x Jet file that
// cannot be written safely: the file, then the reason.
inline constexpr const char* kJetImportRefused =
    "The Palm Desktop 6.x database {} cannot be written safely. {} Nothing was written. Export "
    "the records to CSV, or choose a file of Palm Desktop 4.x.";

// A conversion into the Palm Desktop file at path while another program (a running Palm
// Desktop) holds it, naming the file and how it is held; nothing when none does.
std::optional<UserMessage> CheckNotInUse(std::string_view path);
// The refusal of a save over a file another program changed after it was loaded.
UserMessage ChangedOnDiskMessage(std::string_view path);
// The end of a conversion that ran out of memory loading or converting path.
UserMessage NotEnoughMemoryMessage(std::string_view path);
// The Palm data of a conversion as messages name it: the file, or in by-user mode the
// application's database.
std::string PalmDataName(int app, bool byFile, std::string_view file);

// By-file mode: whether the named file is a Palm Desktop file of the application.
std::optional<UserMessage> CheckPalmFile(ConversionJob& job, std::string_view path);

// Stores the page's Palm Desktop file name (at most 259 characters) in the application's
// key, then loads by file or by user as PmDataMode says. CSV to Palm Desktop writes into
// the loaded database, which another program must not hold (CheckNotInUse) and which
// cannot be a Jet file (kJetImportRefused): both are refused before anything is written.
// Running out of memory is refused with NotEnoughMemoryMessage, the partial load dropped.
std::optional<UserMessage> LoadPalmData(ConversionJob& job, AppSettings& settings,
                                        std::string_view pageFileText);

// Checks the page's CSV file name and stores it (at most 259 characters) in the
// application's key. CSV to Palm Desktop: the file must exist and is opened for reading.
// Palm Desktop to CSV: the name must not be empty, and the file must be writable (or, when
// it does not exist, creatable) in its folder.
std::optional<UserMessage> CheckCsvFile(ConversionJob& job, AppSettings& settings,
                                        std::string_view pageCsvText);

}  // namespace tabrel
