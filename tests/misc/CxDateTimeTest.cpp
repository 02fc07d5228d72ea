#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "misc/CxDateTime.h"
#include "support/EnvGuards.h"

namespace tabrel {

namespace {

DateTimeFields Fields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                      int millisecond = 0) {
    DateTimeFields f;
    f.year = year;
    f.month = month;
    f.day = day;
    f.hour = hour;
    f.minute = minute;
    f.second = second;
    f.millisecond = millisecond;
    return f;
}

void ExpectFields(const DateTimeFields& f, int year, int month, int day, int dayOfWeek, int hour,
                  int minute, int second, int millisecond) {
    EXPECT_EQ(f.year, year);
    EXPECT_EQ(f.month, month);
    EXPECT_EQ(f.day, day);
    EXPECT_EQ(f.dayOfWeek, dayOfWeek);
    EXPECT_EQ(f.hour, hour);
    EXPECT_EQ(f.minute, minute);
    EXPECT_EQ(f.second, second);
    EXPECT_EQ(f.millisecond, millisecond);
}

}  // namespace

TEST(CxDateTime, VariantDateGivesCalendarFields) {
    const CxDateTime epoch(0.0);
    ASSERT_TRUE(epoch.IsValid());
    ExpectFields(epoch.GetFields(), 1899, 12, 30, 6, 0, 0, 0, 0);  // a Saturday

    const CxDateTime noon(45000.5);
    ASSERT_TRUE(noon.IsValid());
    ExpectFields(noon.GetFields(), 2023, 3, 15, 3, 12, 0, 0, 0);  // a Wednesday

    const CxDateTime leapDay(36585.75);  // 29 February 2000, 18:00
    ExpectFields(leapDay.GetFields(), 2000, 2, 29, 2, 18, 0, 0, 0);

    const CxDateTime withMs(45000.5 + 1.5 / 86400.0);
    ExpectFields(withMs.GetFields(), 2023, 3, 15, 3, 12, 0, 1, 500);
}

TEST(CxDateTime, NegativeVariantDateCountsDaysBackAndTimeForward) {
    // -1.25: the day before day 0, a quarter of the day into it.
    const CxDateTime before(-1.25);
    ASSERT_TRUE(before.IsValid());
    ExpectFields(before.GetFields(), 1899, 12, 29, 5, 6, 0, 0, 0);

    // -0.5 and 0.5 are the same moment: the whole part is 0 either way.
    ExpectFields(CxDateTime(-0.5).GetFields(), 1899, 12, 30, 6, 12, 0, 0, 0);

    ExpectFields(CxDateTime(-36522.0).GetFields(), 1800, 1, 1, 3, 0, 0, 0, 0);
}

TEST(CxDateTime, CalendarFieldsGiveVariantDate) {
    const CxDateTime noon(Fields(2023, 3, 15, 12, 0, 0));
    ASSERT_TRUE(noon.IsValid());
    EXPECT_DOUBLE_EQ(noon.GetVariantDate(), 45000.5);
    EXPECT_EQ(noon.GetFields().dayOfWeek, 3);  // derived from the date

    const CxDateTime before(Fields(1899, 12, 29, 6, 0, 0));
    ASSERT_TRUE(before.IsValid());
    EXPECT_DOUBLE_EQ(before.GetVariantDate(), -1.25);

    EXPECT_DOUBLE_EQ(CxDateTime(Fields(1899, 12, 30)).GetVariantDate(), 0.0);
    EXPECT_DOUBLE_EQ(CxDateTime(Fields(1899, 12, 30, 18)).GetVariantDate(), 0.75);
}

TEST(CxDateTime, RoundTripsBothWays) {
    for (const double date : {-657434.0, -36522.75, -2.5, -1.0, 0.0, 0.25, 1.0, 36526.125,
                              45000.999988425926, 2958465.5}) {
        const CxDateTime fromDate(date);
        ASSERT_TRUE(fromDate.IsValid()) << date;
        const CxDateTime back(fromDate.GetFields());
        ASSERT_TRUE(back.IsValid()) << date;
        EXPECT_NEAR(back.GetVariantDate(), date, 1e-8) << date;
    }
    const DateTimeFields f = Fields(1931, 1, 1, 23, 59, 59, 999);
    ExpectFields(CxDateTime(CxDateTime(f).GetVariantDate()).GetFields(), 1931, 1, 1, 4, 23, 59, 59,
                 999);
}

TEST(CxDateTime, RoundingUpToMidnightMovesToTheNextDay) {
    ExpectFields(CxDateTime(1.0 - 1e-10).GetFields(), 1899, 12, 31, 0, 0, 0, 0, 0);
    ExpectFields(CxDateTime(-1.0 - (1.0 - 1e-10)).GetFields(), 1899, 12, 30, 6, 0, 0, 0, 0);
}

TEST(CxDateTime, ImpossibleValuesClearTheValidFlag) {
    for (const double date : {std::nan(""), std::numeric_limits<double>::infinity(), -657435.0,
                              2958466.0, 1e300, -1e300}) {
        EXPECT_FALSE(CxDateTime(date).IsValid()) << date;
    }
    EXPECT_TRUE(CxDateTime(-657434.0).IsValid());    // 1 January 100
    EXPECT_TRUE(CxDateTime(2958465.999).IsValid());  // 31 December 9999

    for (const DateTimeFields& f :
         {Fields(2023, 13, 1), Fields(2023, 0, 1), Fields(2023, 2, 29), Fields(1900, 2, 29),
          Fields(2023, 4, 31), Fields(2023, 4, 1, 24), Fields(2023, 4, 1, 0, 60),
          Fields(2023, 4, 1, 0, 0, 60), Fields(2023, 4, 1, 0, 0, 0, 1000), Fields(99, 12, 31),
          Fields(10000, 1, 1)}) {
        EXPECT_FALSE(CxDateTime(f).IsValid()) << f.year << "-" << f.month << "-" << f.day;
    }
    EXPECT_TRUE(CxDateTime(Fields(2024, 2, 29)).IsValid());

    // The text forms still print the fields as they are.
    const CxDateTime odd(Fields(2023, 13, 40, 25, 61, 62));
    EXPECT_EQ(odd.DateText(), "13/40/2023");
    EXPECT_EQ(odd.TimeText(), "25:61:62");
}

TEST(CxDateTime, TimeValueGivesLocalFields) {
    {
        const CxDateTime utc(std::time_t{0});
        ASSERT_TRUE(utc.IsValid());
        ExpectFields(utc.GetFields(), 1970, 1, 1, 4, 0, 0, 0, 0);
        EXPECT_DOUBLE_EQ(utc.GetVariantDate(), 25569.0);
    }
    {
        const test::ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
        // 14 November 2023 22:13:20 UTC: standard time, five hours behind.
        ExpectFields(CxDateTime(std::time_t{1700000000}).GetFields(), 2023, 11, 14, 2, 17, 13, 20,
                     0);
        // 1 July 2023 12:00:00 UTC: daylight saving time, four hours behind.
        ExpectFields(CxDateTime(std::time_t{1688212800}).GetFields(), 2023, 7, 1, 6, 8, 0, 0, 0);
        // 1 January 1970 00:00:00 UTC is still 31 December 1969 there.
        const CxDateTime early(std::time_t{0});
        ExpectFields(early.GetFields(), 1969, 12, 31, 3, 19, 0, 0, 0);
        EXPECT_DOUBLE_EQ(early.GetVariantDate(), 25568.0 + 19.0 / 24.0);
    }
    ExpectFields(CxDateTime(std::time_t{0}).GetFields(), 1970, 1, 1, 4, 0, 0, 0, 0);
}

TEST(CxDateTime, UnconvertibleTimeValueClearsTheValidFlag) {
    EXPECT_FALSE(CxDateTime(std::numeric_limits<std::time_t>::max()).IsValid());
    // Convertible by the C library, but beyond the year 9999 of a variant date.
    const CxDateTime far(std::time_t{300000000000});
    EXPECT_FALSE(far.IsValid());
    EXPECT_GT(far.GetFields().year, 9999);
}

TEST(CxDateTime, NowIsValidAndConsistent) {
    const CxDateTime now;
    ASSERT_TRUE(now.IsValid());
    EXPECT_GE(now.GetFields().year, 2024);
    const CxDateTime again(now.GetVariantDate());
    const DateTimeFields& a = now.GetFields();
    const DateTimeFields& b = again.GetFields();
    EXPECT_EQ(CompareDate(&a, &b), 0);
    EXPECT_EQ(a.dayOfWeek, b.dayOfWeek);
    EXPECT_EQ(a.hour * 3600000 + a.minute * 60000 + a.second * 1000 + a.millisecond,
              b.hour * 3600000 + b.minute * 60000 + b.second * 1000 + b.millisecond);
}

TEST(CxDateTime, DateTextOnlyForYearsAfter1930UpTo2030) {
    EXPECT_EQ(CxDateTime(Fields(2031, 1, 1)).DateText(), "");
    EXPECT_EQ(CxDateTime(Fields(1930, 12, 31)).DateText(), "");
    EXPECT_EQ(CxDateTime(Fields(1931, 1, 1)).DateText(), "01/01/1931");
    EXPECT_EQ(CxDateTime(Fields(2030, 12, 31)).DateText(), "12/31/2030");
}

TEST(CxDateTime, TextForms) {
    const CxDateTime moment(Fields(2004, 7, 9, 8, 5, 3, 250));
    EXPECT_EQ(moment.DateText(), "07/09/2004");
    EXPECT_EQ(moment.TimeText(), "08:05:03");
    EXPECT_EQ(moment.DateTimeText(), "07/09/2004 08:05:03");
    // Outside the date limits only the time is left, after the blank.
    EXPECT_EQ(CxDateTime(Fields(2040, 1, 2, 13, 14, 15)).DateTimeText(), " 13:14:15");
}

TEST(CxDateTime, CompareDateLooksAtTheDateOnly) {
    const DateTimeFields early = Fields(2004, 7, 9, 23, 59, 59);
    const DateTimeFields sameDay = Fields(2004, 7, 9, 0, 0, 0);
    const DateTimeFields nextDay = Fields(2004, 7, 10);
    const DateTimeFields nextMonth = Fields(2004, 8, 1);
    const DateTimeFields nextYear = Fields(2005, 1, 1);

    EXPECT_EQ(CompareDate(&early, &sameDay), 0);
    EXPECT_EQ(CompareDate(&early, &nextDay), -1);
    EXPECT_EQ(CompareDate(&nextDay, &early), 1);
    EXPECT_EQ(CompareDate(&nextDay, &nextMonth), -1);
    EXPECT_EQ(CompareDate(&nextYear, &nextMonth), 1);
    EXPECT_EQ(CompareDate(&nextMonth, &nextYear), -1);
}

TEST(CxDateTime, CompareDateWithMissingSides) {
    const DateTimeFields date = Fields(2004, 7, 9);
    EXPECT_EQ(CompareDate(nullptr, &date), -1);
    EXPECT_EQ(CompareDate(&date, nullptr), 1);
    EXPECT_EQ(CompareDate(nullptr, nullptr), -1);  // the first side is looked at first
}

TEST(CxDateTime, CopyDateCopiesTheDatePartOnly) {
    const DateTimeFields from = CxDateTime(Fields(2023, 3, 15, 12, 30, 45, 500)).GetFields();
    DateTimeFields to = Fields(1999, 1, 2, 3, 4, 5, 6);
    CopyDate(from, to);
    ExpectFields(to, 2023, 3, 15, 3, 3, 4, 5, 6);
}

TEST(CxDateTime, VariantDateText) {
    std::string text = "old";
    ASSERT_TRUE(VariantDateText(45000.5 + 61.0 / 86400.0, text));
    EXPECT_EQ(text, "03-15-2023 12:01:01");
    ASSERT_TRUE(VariantDateText(-1.25, text));
    EXPECT_EQ(text, "12-29-1899 06:00:00");
    ASSERT_TRUE(VariantDateText(-657434.0, text));
    EXPECT_EQ(text, "01-01-0100 00:00:00");

    EXPECT_FALSE(VariantDateText(std::nan(""), text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(VariantDateText(3e6, text));
}

}  // namespace tabrel
