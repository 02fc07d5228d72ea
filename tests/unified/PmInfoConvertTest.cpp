// The conversions the facades share: date-time texts, truth values, numbers, priorities,
// alarms, repeat rules, birthdays, category names and memo subjects.

#include <gtest/gtest.h>

#include <string>

#include "palm/comm/CommTaskRec.h"
#include "palm/dat/PmTime.h"
#include "palm/unified/PmInfoConvert.h"
#include "support/EnvGuards.h"

namespace tabrel {

using namespace test;

TEST(PmInfoConvert, DateTimeTexts) {
    EXPECT_EQ(PmDateTimeText(0), "01/01/1970 00:00:00");
    EXPECT_EQ(PmDateTimeText(1146441600), "05/01/2006 00:00:00");
    EXPECT_EQ(PmDateTimeText(kPmTimeLastDate), "12/31/2031 15:59:58");
    EXPECT_EQ(PmDateTimeText(kPmTimeNoDate), "N/A");
    EXPECT_EQ(PmDateTimeText(0xFFFFFFFFll), "N/A");

    std::int32_t value = 7;
    EXPECT_TRUE(PmParseDateTime("05/01/2006 00:00:00", value));
    EXPECT_EQ(value, 1146441600);
    // What exports as "N/A", and an empty text, import as no date.
    for (const char* none : {"N/A", "n/a", "", "  "}) {
        value = 7;
        EXPECT_TRUE(PmParseDateTime(none, value)) << none;
        EXPECT_EQ(value, kPmTimeNoDate) << none;
    }
    value = 7;
    EXPECT_FALSE(PmParseDateTime("05/01/2006", value));
    EXPECT_FALSE(PmParseDateTime("tomorrow", value));
    EXPECT_EQ(value, 7);

    // Calendar fields of no date turn back into the no-date value.
    DateTimeFields fields;
    ASSERT_TRUE(PmParseDateTime("N/A", fields));
    std::int32_t back = 0;
    ASSERT_TRUE(PmTimeFromFields(fields, back));
    EXPECT_EQ(back, kPmTimeNoDate);
    ASSERT_TRUE(PmParseDateTime("02/28/2007 23:59:59", fields));
    EXPECT_EQ(fields.year, 2007);
    EXPECT_EQ(fields.month, 2);
    EXPECT_EQ(fields.day, 28);
    EXPECT_EQ(fields.second, 59);
}

TEST(PmInfoConvert, DateTimeTextsAreLocalTime) {
    ScopedTimeZone zone("EST5EDT");
    EXPECT_EQ(PmDateTimeText(1146441600), "04/30/2006 20:00:00");
    std::int32_t value = 0;
    ASSERT_TRUE(PmParseDateTime("04/30/2006 20:00:00", value));
    EXPECT_EQ(value, 1146441600);
}

TEST(PmInfoConvert, TruthValuesAndNumbers) {
    for (const char* yes : {"Yes", "YES", "1", "True", "true"}) {
        EXPECT_TRUE(PmTruthValue(yes)) << yes;
    }
    for (const char* no : {"y", "2", "No", "", " yes", "0"}) {
        EXPECT_FALSE(PmTruthValue(no)) << no;
    }
    EXPECT_EQ(PmYesNo(3), "Yes");
    EXPECT_EQ(PmYesNo(0), "No");

    EXPECT_EQ(PmTextInteger("42"), 42);
    EXPECT_EQ(PmTextInteger("  -17abc"), -17);
    EXPECT_EQ(PmTextInteger("+5"), 5);
    EXPECT_EQ(PmTextInteger("abc"), 0);
    EXPECT_EQ(PmTextInteger(""), 0);
    EXPECT_EQ(PmTextInteger("99999999999"), 2147483647);
    EXPECT_EQ(PmTextInteger("-99999999999"), -2147483647 - 1);
}

TEST(PmInfoConvert, PrioritiesAndAlarmUnits) {
    EXPECT_EQ(PmPriorityToCommon(1), kCommPriorityHigh);
    EXPECT_EQ(PmPriorityToCommon(5), kCommPriorityLow);
    EXPECT_EQ(PmPriorityToCommon(2), 0);
    EXPECT_EQ(PmPriorityFromCommon(kCommPriorityHigh), 1);
    EXPECT_EQ(PmPriorityFromCommon(kCommPriorityLow), 5);
    EXPECT_EQ(PmPriorityFromCommon(0), 3);

    EXPECT_EQ(PmAlarmUnitToCommon(0), 1);
    EXPECT_EQ(PmAlarmUnitToCommon(1), 2);
    EXPECT_EQ(PmAlarmUnitToCommon(2), 3);
    EXPECT_EQ(PmAlarmUnitToCommon(9), 1);
    EXPECT_EQ(PmAlarmUnitFromCommon(1), 0);
    EXPECT_EQ(PmAlarmUnitFromCommon(2), 1);
    EXPECT_EQ(PmAlarmUnitFromCommon(3), 2);
    EXPECT_EQ(PmAlarmUnitFromCommon(7), 0);
}

TEST(PmInfoConvert, RepeatTexts) {
    PmRepeatEvent repeat;
    EXPECT_EQ(PmRepeatText(repeat), "N/A");
    repeat.nKind = 1;
    repeat.nInterval = 2;
    EXPECT_EQ(PmRepeatText(repeat), "Daily (every 2 days)");
    repeat.nKind = 2;
    EXPECT_EQ(PmRepeatText(repeat), "Weekly (every 2 weeks)");
    repeat.nKind = 3;
    EXPECT_EQ(PmRepeatText(repeat), "Monthly by day");
    repeat.nKind = 4;
    repeat.nDayNumber = 31;
    EXPECT_EQ(PmRepeatText(repeat), "Monthly by date (31)");
    repeat.nKind = 5;
    repeat.nDayNumber = 21;
    repeat.nMonthIndex = 4;  // May, shown as stored
    EXPECT_EQ(PmRepeatText(repeat), "Yearly by date (21/04)");
    repeat.nKind = 6;
    EXPECT_EQ(PmRepeatText(repeat), "N/A");
}

TEST(PmInfoConvert, RepeatRulesBothWays) {
    struct Case {
        std::uint32_t kind;
        std::int32_t commonKind;
    };
    std::int32_t end2025 = 0;
    ASSERT_TRUE(PmTime::ParseDateTimeText("06/30/2025 00:00:00", end2025));
    for (const Case& c : {Case{1, kCommRepeatDaily}, Case{2, kCommRepeatWeekly},
                          Case{3, kCommRepeatMonthlyByWeekday}, Case{4, kCommRepeatMonthlyByDate},
                          Case{5, kCommRepeatYearlyByDate}}) {
        SCOPED_TRACE(c.kind);
        PmRepeatEvent palm;
        palm.nKind = c.kind;
        palm.nInterval = 3;
        palm.tEndDate = static_cast<std::uint32_t>(end2025);
        palm.nDayIndex = c.kind == 2 ? 1 : c.kind <= 3 ? 4 : 0;
        palm.byDaysMask = c.kind == 2 ? 0x2A : 0;
        palm.nWeekIndex = c.kind == 3 ? 2 : 0;
        palm.nDayNumber = c.kind >= 4 ? 21 : 0;
        palm.nMonthIndex = c.kind == 5 ? 4 : 0;
        CommRepeat common;
        PmRepeatToCommon(palm, common);
        EXPECT_EQ(common.m_nKind, c.commonKind);
        EXPECT_EQ(common.m_nInterval, 3);
        EXPECT_EQ(common.m_bHasEnd, 1);
        EXPECT_EQ(common.m_endDate.year, 2025);
        if (c.kind == 2) {
            EXPECT_EQ(common.m_nWeekday, 0x2A);
            EXPECT_EQ(common.m_nWeekOfMonth, 1);
        }
        if (c.kind == 5) {
            EXPECT_EQ(common.m_nMonth, 5);
        }
        PmRepeatEvent back;
        PmRepeatFromCommon(common, back);
        EXPECT_EQ(back.nKind, palm.nKind);
        EXPECT_EQ(back.nInterval, palm.nInterval);
        EXPECT_EQ(back.tEndDate, palm.tEndDate);
        EXPECT_EQ(back.nDayIndex, palm.nDayIndex);
        EXPECT_EQ(back.byDaysMask, palm.byDaysMask);
        EXPECT_EQ(back.nWeekIndex, palm.nWeekIndex);
        EXPECT_EQ(back.nDayNumber, palm.nDayNumber);
        EXPECT_EQ(back.nMonthIndex, palm.nMonthIndex);
    }
    // No repetition and no end date.
    PmRepeatEvent none;
    none.nKind = 6;
    none.tEndDate = kPmTimeNoDate;
    CommRepeat common;
    PmRepeatToCommon(none, common);
    EXPECT_EQ(common.m_nKind, kCommRepeatNone);
    EXPECT_EQ(common.m_bHasEnd, 0);
    PmRepeatEvent daily;
    daily.nKind = 1;
    daily.tEndDate = kPmTimeNoDate;
    PmRepeatToCommon(daily, common);
    EXPECT_EQ(common.m_bHasEnd, 0);
    PmRepeatFromCommon(common, daily);
    EXPECT_EQ(daily.tEndDate, static_cast<std::uint32_t>(kPmTimeNoDate));
    PmRepeatFromCommon(CommRepeat{}, daily);
    EXPECT_EQ(daily.nKind, 0u);
}

TEST(PmInfoConvert, BirthdaysApplyTheOffsetOnceEachWay) {
    const double stored = 129080608.0 + 27467.75;
    EXPECT_EQ(PmBirthdayText(stored), "27467");
    EXPECT_DOUBLE_EQ(PmBirthdayToCommon(stored), 27467.75);
    EXPECT_DOUBLE_EQ(PmBirthdayFromCommon(PmBirthdayFromText("27467")), 129080608.0 + 27467);
    // None stays none both ways.
    EXPECT_EQ(PmBirthdayText(0), "");
    EXPECT_EQ(PmBirthdayToCommon(0), 0.0);
    EXPECT_EQ(PmBirthdayFromCommon(0), 0.0);
    EXPECT_EQ(PmBirthdayFromText(""), 0.0);
}

TEST(PmInfoConvert, CategoryNamesAndMemoSubjects) {
    EXPECT_EQ(PmCategoryNameOf("Work,Home"), "Work");
    EXPECT_EQ(PmCategoryNameOf("Work"), "Work");
    EXPECT_EQ(PmCategoryNameOf(",x"), "");
    EXPECT_EQ(PmMemoSubject("Plan\r\nmore", 255), "Plan");
    EXPECT_EQ(PmMemoSubject("Plan\nmore", 255), "Plan");
    EXPECT_EQ(PmMemoSubject("no break", 3), "no ");
    EXPECT_EQ(PmMemoSubject("", 255), "");
}

}  // namespace tabrel
