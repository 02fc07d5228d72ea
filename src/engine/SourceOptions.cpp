#include "engine/SourceOptions.h"

#include "engine/AppSettings.h"
#include "engine/SourceChecks.h"
#include "misc/CxText.h"

namespace tabrel {

QuoteChoice QuoteChoiceOf(std::string_view quoteMark) {
    if (quoteMark.empty()) {
        return QuoteNone;
    }
    switch (quoteMark.front()) {
        case '"':
            return QuoteDouble;
        case '\'':
            return QuoteSingle;
        default:
            return QuoteCustom;
    }
}

std::string QuoteMarkOf(QuoteChoice choice, std::string_view customText) {
    switch (choice) {
        case QuoteDouble:
            return "\"";
        case QuoteSingle:
            return "'";
        case QuoteCustom:
            return CutText(customText, kCustomQuoteMax);
        default:
            return {};
    }
}

int ShownDataMode(int pmDataMode) {
    return pmDataMode == PmDataByFile ? PmDataByFile : PmDataByUser;
}

int ChosenUserIndex(const PalmUserList& users, std::int32_t userId) {
    for (std::size_t i = 0; i < users.GetCount(); ++i) {
        if (const PalmUser* user = users.GetAt(i); user != nullptr && user->id == userId) {
            return static_cast<int>(i);
        }
    }
    return users.GetCount() > 0 ? 0 : -1;
}

UserMessage NoPalmUserMessage() {
    return UserMessage{kErrorCaption,
                       "No Palm user is selected. Please select a Palm user, or select the "
                       "data by file name."};
}

std::string CsvEncodingOf(bool utf8) {
    return utf8 ? kCsvEncodingUtf8 : kCsvEncodingAnsi;
}

}  // namespace tabrel
