#include "engine/ImportReader.h"

#include <algorithm>
#include <string>
#include <type_traits>

#include "engine/CSV.h"
#include "engine/CsvFormat.h"
#include "misc/CxCodePage.h"

namespace tabrel {

std::size_t ReadImportRecords(ConversionJob& job, const AppSettings& settings, bool skipFirst) {
    return job.Visit([&](auto& facade, auto& imports) -> std::size_t {
        using Record = typename std::decay_t<decltype(facade)>::CommRec;
        imports.clear();
        if (!job.m_csvInput.Open(job.m_szCsvPath)) {  // from the start
            return 0;
        }
        const bool utf8 = settings.IsCsvUtf8() || job.m_csvInput.HasUtf8Bom();
        const char quote = CsvQuoteOf(settings.m_szQuoteMark);
        CSV splitter(quote);
        std::string text;
        if (skipFirst) {
            job.m_csvInput.Next(text, quote);
        }
        while (job.m_csvInput.Next(text, quote)) {
            if (utf8) {
                text = Utf8ToAnsi(text);
            }
            if (!splitter.parse(text)) {
                continue;
            }
            Record record{};
            record.m_source.m_nSourceType = kCommSourceCsv;
            bool used = false;
            const std::size_t columns = std::min(splitter.count(), job.m_fields.size());
            for (std::size_t i = 0; i < columns; ++i) {
                const FieldDescriptor& field = job.m_fields[i];
                if (!field.IsCustom()) {
                    facade.SetFieldText(field, splitter.item(i), record);
                    used = true;
                }
            }
            if (used) {
                imports.push_back(std::move(record));
            }
        }
        return imports.size();
    });
}

}  // namespace tabrel
