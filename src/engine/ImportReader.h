#pragma once
// Reading the CSV file of a CSV-to-Palm conversion into import records: one common record
// of the application per CSV record, filled column by column through the facade.

#include <cstddef>

#include "engine/AppSettings.h"
#include "engine/ConversionJob.h"

namespace tabrel {

// Reads the job's CSV file from its start into the current application's import list
// (emptied first): item i of a record goes to selected field i while both remain; a custom
// field consumes its column and stores nothing. A record that gave no catalogue field a
// text, and an empty line, give no import record. With CsvEncoding UTF-8 the texts are
// converted to the ANSI code page. Answers the number of import records; 0 as well when
// the file cannot be read. With skipFirst the file's first record (e.g. a title row) is
// left out.
std::size_t ReadImportRecords(ConversionJob& job, const AppSettings& settings,
                              bool skipFirst = false);

}  // namespace tabrel
