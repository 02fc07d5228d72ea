// The Calendar facade's field texts: every catalogue row of every generation read from the
// loaded events, every row stored from a CSV text into a common record, the Untimed text
// styles and the repeat descriptions.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "InfoTestSupport.h"
#include "palm/unified/PmDateInfo.h"
#include "support/EnvGuards.h"
#include "support/PmDateInfoTestFiles.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;
using namespace test::dateinfo;

namespace {

// Row name, then its text for the meeting and for the birthday.
using RowTexts = std::vector<std::tuple<std::string, std::string, std::string>>;

const RowTexts& ExpectedTexts(PmDataVersion version) {
    static const RowTexts classic = {
        {"Start Time", "01/02/2006 09:00:00", "05/21/2006 00:00:00"},
        {"End Time", "01/02/2006 10:00:00", "N/A"},
        {"Description", "Meeting", "Birthday"},
        {"Note", "Agenda\r\nitems", ""},
        {"Untimed", "No", "Yes"},
        {"Repeat Info", "Weekly (every 2 weeks)", "Yearly by date (21/04)"}};
    static const RowTexts ex = {
        {"Start Time", "01/02/2006 09:00:00", "05/21/2006 00:00:00"},
        {"End Time", "01/02/2006 10:00:00", "N/A"},
        {"Description", "Meeting", "Birthday"},
        {"Note", "Agenda\r\nitems", ""},
        {"Location", "Room 1", ""},
        {"All Day Event", "No", "Yes"},
        {"Repeat Info", "Weekly (every 2 weeks)", "Yearly by date (21/04)"}};
    static const RowTexts ex2 = {
        {"Private", "Yes", "No"},
        {"Category", "Work", ""},
        {"Start Time", "01/02/2006 09:00:00", "05/21/2006 00:00:00"},
        {"End Time", "01/02/2006 10:00:00", "N/A"},
        {"Note", "Agenda\r\nitems", ""},
        {"Location", "Room 1", ""},
        {"Summary", "Meeting", "Birthday"},
        {"Untimed", "No", "Yes"},
        {"Repeat Info", "Weekly (every 2 weeks)", "Yearly by date (21/04)"}};
    return version == PM_DATA_CLASSIC ? classic : version == PM_DATA_EX ? ex : ex2;
}

}  // namespace

TEST(PmDateInfoText, EveryRowOfEveryGenerationReads) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmDateInfo dates(kPalm6);
        ASSERT_TRUE(dates.LoadByFile(generation.write(dir, generation.fileName)));
        const RowTexts& expected = ExpectedTexts(generation.version);
        ASSERT_EQ(dates.GetFieldCount(), expected.size());
        for (const auto& [name, meeting, birthday] : expected) {
            SCOPED_TRACE(name);
            std::string text = "x";
            EXPECT_TRUE(
                dates.GetFieldText(*dates.GetItemAt(0), RowNamed(dates, name), text, 32768));
            EXPECT_EQ(text, meeting);
            // Through the common record the driver reaches the same text.
            EXPECT_TRUE(dates.GetFieldText(*dates.GetCommMgr().GetAt(1), RowNamed(dates, name),
                                           text, 32768));
            EXPECT_EQ(text, birthday);
        }
        // A row of another generation's numbering gives nothing; a small buffer cuts.
        FieldDescriptor other = *dates.GetFieldAt(0);
        other.m_nId = 99;
        std::string text = "x";
        EXPECT_FALSE(dates.GetFieldText(*dates.GetItemAt(0), other, text, 32768));
        EXPECT_EQ(text, "");
        dates.GetFieldText(*dates.GetItemAt(0), RowNamed(dates, "Start Time"), text, 6);
        EXPECT_EQ(text, "01/02");
    }
}

TEST(PmDateInfoText, EveryRowOfEveryGenerationStores) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmDateInfo dates(kPalm6);
        CommDateRec event{};
        EXPECT_FALSE(dates.SetFieldText(FieldDescriptor{}, "x", event));  // nothing loaded
        ASSERT_TRUE(dates.LoadByFile(generation.write(dir, generation.fileName)));

        // Every row of the catalogue at once; rows without a target are ignored.
        std::vector<std::pair<std::string, std::string>> line = {
            {"Start Time", "03/04/2007 08:30:15"},
            {"End Time", "N/A"},
            {generation.descriptionRow, std::string(300, 'd')},
            {"Note", std::string(9000, 'n')},
            {generation.allDayRow, "YES"},
            {"Repeat Info", "Daily (every 1 days)"}};
        if (generation.hasLocation) {
            line.emplace_back("Location", std::string(300, 'l'));
        }
        if (generation.version == PM_DATA_EX2) {
            line.emplace_back("Private", "Yes");
            line.emplace_back("Category", "Work");
        }
        ASSERT_EQ(line.size(), dates.GetFieldCount());
        event = ImportOf(dates, line);
        EXPECT_EQ(Clock(event.m_start), "2007-03-04 08:30:15");
        EXPECT_EQ(Clock(event.m_end), Clock(NoDateFields()));
        EXPECT_EQ(event.m_szDescription, std::string(255, 'd'));
        EXPECT_EQ(event.m_szNote, std::string(8191, 'n'));
        EXPECT_EQ(event.m_szLocation, generation.hasLocation ? std::string(255, 'l') : "");
        EXPECT_EQ(event.m_bAllDay, 1);
        EXPECT_EQ(event.m_repeat.m_nKind, kCommRepeatNone);
        EXPECT_EQ(event.m_bPrivate, 0);
        EXPECT_EQ(event.m_szCategory, "");

        // What an import of these columns carries.
        CommFieldSet carried = {CommDateId::kStartTime, CommDateId::kEndTime,
                                CommDateId::kDescription, CommDateId::kNote,
                                CommDateId::kAllDayEvent};
        if (generation.hasLocation) {
            carried.insert(CommDateId::kLocation);
        }
        EXPECT_EQ(dates.GetCarriedFields(Rows(dates)), carried);

        // A date-time text that does not parse leaves the field; an empty one is no date.
        const FieldDescriptor start = RowNamed(dates, "Start Time");
        EXPECT_TRUE(dates.SetFieldText(start, "2007-03-04", event));
        EXPECT_EQ(Clock(event.m_start), "2007-03-04 08:30:15");
        EXPECT_TRUE(dates.SetFieldText(start, "", event));
        EXPECT_EQ(Clock(event.m_start), Clock(NoDateFields()));

        // Truth values.
        const FieldDescriptor allDay = RowNamed(dates, generation.allDayRow);
        for (const auto& [text, flag] : std::vector<std::pair<std::string, int>>{
                 {"YES", 1}, {"1", 1}, {"True", 1}, {"y", 0}, {"2", 0}, {"", 0}}) {
            event.m_bAllDay = 1 - flag;
            EXPECT_TRUE(dates.SetFieldText(allDay, text, event));
            EXPECT_EQ(event.m_bAllDay, flag) << text;
        }
    }
}

TEST(PmDateInfoText, UntimedTextStyles) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmDateInfo dates(kPalm6);
    ASSERT_TRUE(dates.LoadByFile(WriteEx2(dir)));
    EXPECT_EQ(dates.GetBoolStyle(), PmDateInfo::kBoolStyleYesNo);
    const auto untimed = [&dates]() {
        return std::vector<std::string>{TextOf(dates, 0, "Untimed"), TextOf(dates, 1, "Untimed")};
    };
    EXPECT_EQ(untimed(), (std::vector<std::string>{"No", "Yes"}));
    dates.SetBoolStyle(PmDateInfo::kBoolStyleDigit);
    EXPECT_EQ(untimed(), (std::vector<std::string>{"0", "1"}));
    dates.SetBoolStyle(PmDateInfo::kBoolStyleTrue);
    EXPECT_EQ(untimed(), (std::vector<std::string>{"False", "True"}));
    dates.SetBoolStyle(PmDateInfo::kBoolStyleCustom, "All day, " + std::string(40, '!'), "Timed");
    EXPECT_EQ(untimed(), (std::vector<std::string>{"Timed", "All day, " + std::string(22, '!')}));
    dates.SetBoolStyle(4, "set", "clear");
    EXPECT_EQ(untimed(), (std::vector<std::string>{"", ""}));
    // The style is for this row only: Private stays "Yes"/"No".
    EXPECT_EQ(TextOf(dates, 0, "Private"), "Yes");
}

TEST(PmDateInfoText, RepeatDescriptions) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmDateInfo dates(kPalm6);
    ASSERT_TRUE(dates.LoadByFile(WriteEx(dir)));
    // Each kind through an imported event's record.
    const auto rule = [](std::int32_t kind, std::int32_t interval, std::int32_t weekday,
                         std::int32_t day, std::int32_t month) {
        CommRepeat repeat;
        repeat.m_nKind = kind;
        repeat.m_nInterval = interval;
        repeat.m_nWeekday = weekday;
        repeat.m_nDayOfMonth = day;
        repeat.m_nMonth = month;
        return repeat;
    };
    const std::vector<std::pair<CommRepeat, std::string>> cases = {
        {rule(kCommRepeatDaily, 3, 0, 0, 0), "Daily (every 3 days)"},
        {rule(kCommRepeatWeekly, 2, 0x02, 0, 0), "Weekly (every 2 weeks)"},
        {rule(kCommRepeatMonthlyByWeekday, 1, 2, 0, 0), "Monthly by day"},
        {rule(kCommRepeatMonthlyByDate, 1, 0, 9, 0), "Monthly by date (9)"},
        {rule(kCommRepeatYearlyByDate, 1, 0, 25, 12), "Yearly by date (25/11)"},
        {CommRepeat{}, "N/A"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        CommDateRec event{};
        event.m_szDescription = "Repeat " + std::to_string(i);
        event.m_repeat = cases[i].first;
        ASSERT_TRUE(dates.AddImportRecord(event));
        EXPECT_EQ(TextOf(dates, dates.GetItemCount() - 1, "Repeat Info"), cases[i].second);
    }
}

}  // namespace tabrel
