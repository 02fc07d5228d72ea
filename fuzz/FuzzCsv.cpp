// The CSV import reader with every option: the first byte chooses the application, the
// encoding (ANSI or UTF-8), the quotation mark (double, single, none) and whether the first
// line is left out; the rest is the CSV file, read into import records for every catalogue
// field.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "engine/AppSettings.h"
#include "engine/ConversionJob.h"
#include "engine/FieldSelection.h"
#include "engine/ImportReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabrel;
    if (size < 1) {
        return 0;
    }
    const std::uint8_t options = data[0];
    AppSettings settings;
    settings.m_nMode = ModeCsvToPalm;
    settings.m_nApp = AppContacts + options % 4;
    settings.m_szCsvEncoding = (options & 4) != 0 ? kCsvEncodingUtf8 : kCsvEncodingAnsi;
    const int quote = (options >> 3) % 3;
    settings.m_szQuoteMark = quote == 0 ? "\"" : quote == 1 ? "'" : "";
    const bool skipFirst = (options & 0x20) != 0;

    ConversionJob job;
    job.m_nApp = settings.m_nApp;
    job.m_szCsvPath = fuzz::Scratch().Write("fuzz.csv", data + 1, size - 1);
    job.m_fields = DefaultFieldList(job.GetCatalogue());
    const std::size_t count = ReadImportRecords(job, settings, skipFirst);
    fuzz::Require(count <= size, "no more records than bytes");
    return 0;
}
