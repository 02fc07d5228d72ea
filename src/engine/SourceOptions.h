#pragma once
// The source page's choices that are not about widgets: which quotation mark button stands
// for a stored quotation mark and what each button stores, which way of naming the Palm
// Desktop data is shown first, and which Palm user is chosen first.

#include <cstdint>
#include <string>
#include <string_view>

#include "misc/UserMessage.h"
#include "palm/desktop/PalmUsers.h"

namespace tabrel {

enum QuoteChoice : int { QuoteNone = 0, QuoteDouble = 1, QuoteSingle = 2, QuoteCustom = 3 };

// The button of a stored quotation mark, by its first character: none, '"', '\'' or any
// other (custom, which then shows the whole mark).
QuoteChoice QuoteChoiceOf(std::string_view quoteMark);

// The quotation mark a button stores: empty, '"', '\'', or the first 6 characters of the
// custom text (an empty custom text gives no quotation mark).
std::string QuoteMarkOf(QuoteChoice choice, std::string_view customText);

// The data mode the page shows at first: PmDataByFile for 2, PmDataByUser for 1 and for any
// value that names neither.
int ShownDataMode(int pmDataMode);

// The position of the user to choose in the list: the one with userId, else the first one;
// -1 for an empty list.
int ChosenUserIndex(const PalmUserList& users, std::int32_t userId);

// The refusal when the data is to be named by Palm user and no user is chosen (the desktop
// lists no Palm users).
UserMessage NoPalmUserMessage();

// The CSV encoding the page's choice stores: kCsvEncodingUtf8 for utf8, kCsvEncodingAnsi
// otherwise.
std::string CsvEncodingOf(bool utf8);

}  // namespace tabrel
