// The source page's choices: quotation mark buttons, the data mode shown first, the user
// chosen first, the CSV encoding stored.

#include <gtest/gtest.h>

#include "engine/AppSettings.h"
#include "engine/SourceOptions.h"

namespace tabrel {

TEST(SourceOptions, QuoteChoiceGoesByTheFirstCharacter) {
    EXPECT_EQ(QuoteChoiceOf(""), QuoteNone);
    EXPECT_EQ(QuoteChoiceOf("\""), QuoteDouble);
    EXPECT_EQ(QuoteChoiceOf("\"x"), QuoteDouble);
    EXPECT_EQ(QuoteChoiceOf("'"), QuoteSingle);
    EXPECT_EQ(QuoteChoiceOf("'abc"), QuoteSingle);
    EXPECT_EQ(QuoteChoiceOf("#"), QuoteCustom);
    EXPECT_EQ(QuoteChoiceOf("x\""), QuoteCustom);
}

TEST(SourceOptions, QuoteMarkOfEachButton) {
    EXPECT_EQ(QuoteMarkOf(QuoteNone, "#"), "");
    EXPECT_EQ(QuoteMarkOf(QuoteDouble, "#"), "\"");
    EXPECT_EQ(QuoteMarkOf(QuoteSingle, "#"), "'");
    EXPECT_EQ(QuoteMarkOf(QuoteCustom, ""), "");
    EXPECT_EQ(QuoteMarkOf(QuoteCustom, "|"), "|");
    EXPECT_EQ(QuoteMarkOf(QuoteCustom, "123456"), "123456");
    EXPECT_EQ(QuoteMarkOf(QuoteCustom, "12345678"), "123456");
    // A stored custom mark shows as custom again.
    EXPECT_EQ(QuoteChoiceOf(QuoteMarkOf(QuoteCustom, "|x")), QuoteCustom);
}

TEST(SourceOptions, ShownDataModeTakesByUserForUnknownValues) {
    EXPECT_EQ(ShownDataMode(PmDataByUser), PmDataByUser);
    EXPECT_EQ(ShownDataMode(PmDataByFile), PmDataByFile);
    for (const int other : {0, 3, -1, 255}) {
        EXPECT_EQ(ShownDataMode(other), PmDataByUser) << other;
    }
}

TEST(SourceOptions, ChosenUserIsTheSettingsUserElseTheFirst) {
    PalmUserList users;
    EXPECT_EQ(ChosenUserIndex(users, 5), -1);
    users.Add(std::make_unique<PalmUser>(PalmUser{7, "Alice", "Alice"}));
    users.Add(std::make_unique<PalmUser>(PalmUser{5, "Bob", "Bob"}));
    EXPECT_EQ(ChosenUserIndex(users, 5), 1);
    EXPECT_EQ(ChosenUserIndex(users, 7), 0);
    EXPECT_EQ(ChosenUserIndex(users, 9), 0);
}

TEST(SourceOptions, NoPalmUserMessageAndEncoding) {
    const UserMessage message = NoPalmUserMessage();
    EXPECT_EQ(message.caption, "Tabrel Error");
    EXPECT_EQ(message.text,
              "No Palm user is selected. Please select a Palm user, or select the data by file "
              "name.");
    EXPECT_EQ(CsvEncodingOf(true), "UTF-8");
    EXPECT_EQ(CsvEncodingOf(false), "ANSI");
    AppSettings settings;
    settings.m_szCsvEncoding = CsvEncodingOf(true);
    EXPECT_TRUE(settings.IsCsvUtf8());
}

}  // namespace tabrel
