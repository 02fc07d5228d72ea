// The Jet reader's own parts, in process: the header checks of a file, the table stream the
// reading process sends back, a Memo or OLE field with the long-value pages it leads to,
// stored text, and the page layout (catalogue, table definitions, usage maps, rows, indexes
// and their keys). The
// first byte chooses the part.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "palm/db6x/jet/JetCatalogue.h"
#include "palm/db6x/jet/JetHeader.h"
#include "palm/db6x/jet/JetIndexKey.h"
#include "palm/db6x/jet/JetIndexPage.h"
#include "palm/db6x/jet/JetLongValue.h"
#include "palm/db6x/jet/JetRow.h"
#include "palm/db6x/jet/JetTableDefinition.h"
#include "palm/db6x/jet/JetTableScan.h"
#include "palm/db6x/jet/JetTableStream.h"
#include "palm/db6x/jet/JetText.h"

namespace {

// Every table of the catalogue: its definition, its indexes, its rows, their values and keys.
void WalkLayout(std::span<const std::uint8_t> file) {
    using namespace tabrel;
    std::string error;
    const auto tables = ReadJetCatalogue(file, error);
    for (const JetCatalogueTable& entry : tables.value_or(std::vector<JetCatalogueTable>{})) {
        const auto table = ReadJetTableDefinition(file, entry.definitionPage, error);
        if (!table) {
            continue;
        }
        for (const JetRealIndex& index : table->realIndexes) {
            ReadJetIndexEntries(file, index, error);
        }
        const auto rows = ScanJetTable(file, *table, error);
        for (const JetScannedRow& row : rows.value_or(std::vector<JetScannedRow>{})) {
            if (const auto values = CrackJetRow(*table, row.bytes)) {
                for (const JetRealIndex& index : table->realIndexes) {
                    EncodeJetIndexKey(*table, index, *values, file);
                }
                tabrel::fuzz::Require(values->size() == table->columns.size(),
                                      "a row has one value per column");
                for (const JetRowValue& value : *values) {
                    tabrel::fuzz::Require(
                        value.bytes.empty() || (value.bytes.data() >= row.bytes.data() &&
                                                value.bytes.data() + value.bytes.size() <=
                                                    row.bytes.data() + row.bytes.size()),
                        "a value lies inside its row");
                }
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabrel;
    if (size < 1) {
        return 0;
    }
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    std::string error;
    switch (data[0] % 5) {
        case 0:
            CheckJetFile(input, error);
            break;
        case 1: {
            JetStreamReader reader(
                std::string_view(reinterpret_cast<const char*>(input.data()), input.size()));
            JetRecord record{};
            std::size_t records = 0;
            while (reader.Next(record) && record != JetRecord::End &&
                   record != JetRecord::Failure) {
                fuzz::Require(record != JetRecord::Row ||
                                  reader.Row().size() == reader.Table().columns.size(),
                              "a row has one cell per column");
                fuzz::Require(++records <= input.size(), "no more records than bytes");
            }
            break;
        }
        case 2: {
            // The field is the input's first 12 to 60 bytes, the file the whole input.
            const std::size_t fieldSize =
                input.empty() ? 0 : std::min<std::size_t>(12 + input[0] % 49, input.size());
            std::vector<std::uint8_t> value;
            if (ReadJetLongValue(input, input.first(fieldSize), value, error)) {
                fuzz::Require(value.size() <= std::max<std::size_t>(input.size(), 1) * 64,
                              "a long value is no larger than the pages it comes from");
            }
            break;
        }
        case 3:
            DecodeJetText(input);
            break;
        default:
            WalkLayout(input);
            break;
    }
    return 0;
}
