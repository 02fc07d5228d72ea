#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "palm/dat/PmTime.h"
#include "support/EnvGuards.h"

namespace tabrel {

using TimeZone = test::ScopedTimeZone;

TEST(PmTime, ZeroMeansNowAndOneIsTheFirstSecond) {
    TimeZone utc("UTC");
    const auto before = static_cast<std::int32_t>(std::time(nullptr));
    const PmTime now(0);
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), before + 5);

    const PmTime first(1);
    std::string date;
    std::string time;
    ASSERT_TRUE(first.GetDateText(date, 11));
    ASSERT_TRUE(first.GetTimeText(time, 9));
    EXPECT_EQ(date + " " + time, "01/01/1970 00:00:01");
}

TEST(PmTime, LocalFieldsAndTextsFollowTheTimeZone) {
    TimeZone zone("America/New_York");
    const PmTime t(2004, 1, 5, 14, 3, 9);
    EXPECT_EQ(t.GetTime(), 1073329389);  // 19:03:09 UTC
    EXPECT_EQ(t.GetYear(), 2004);
    EXPECT_EQ(t.GetMonth(), 1);
    EXPECT_EQ(t.GetDay(), 5);
    std::string text;
    EXPECT_TRUE(t.GetDateText(text, 11));
    EXPECT_EQ(text, "01/05/2004");
    EXPECT_TRUE(t.GetTimeText(text, 9));
    EXPECT_EQ(text, "14:03:09");
}

TEST(PmTime, TextsFailWhenTheBufferIsTooSmall) {
    const PmTime t(2004, 1, 5, 14, 3, 9);
    std::string text = "old";
    EXPECT_FALSE(t.GetDateText(text, 10));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(t.GetDateText(text, 11));
    EXPECT_FALSE(t.GetTimeText(text, 8));
    EXPECT_TRUE(t.GetTimeText(text, 9));
}

TEST(PmTime, ParsesOnlyTheNineteenCharacterForm) {
    TimeZone zone("Europe/Berlin");
    std::int32_t value = 0;
    ASSERT_TRUE(PmTime::ParseDateTimeText("01/05/2004 14:03:09", value));
    EXPECT_EQ(value, PmTime(2004, 1, 5, 14, 3, 9).GetTime());
    EXPECT_FALSE(PmTime::ParseDateTimeText("01/05/2004 14:03:0", value));
    EXPECT_FALSE(PmTime::ParseDateTimeText("01/05/2004 14:03:090", value));
    // Separators are not looked at; a part that is no number reads as 0.
    ASSERT_TRUE(PmTime::ParseDateTimeText("01-05-2004T14.03.xx", value));
    EXPECT_EQ(value, PmTime(2004, 1, 5, 14, 3, 0).GetTime());
}

TEST(PmTime, TextRoundTripsOutsideTheRepeatedHour) {
    TimeZone zone("America/New_York");
    // Summer time, winter time, and the day the clocks go forward.
    for (std::int32_t start : {1089000000, 1104500000, 1081058400}) {
        const PmTime t(start);
        std::string date;
        std::string time;
        ASSERT_TRUE(t.GetDateText(date, 32));
        ASSERT_TRUE(t.GetTimeText(time, 32));
        std::int32_t back = 0;
        ASSERT_TRUE(PmTime::ParseDateTimeText(date + " " + time, back));
        EXPECT_EQ(back, start) << date << " " << time;
    }
}

TEST(PmTime, SystemTimeBothWays) {
    TimeZone zone("UTC");
    DateTimeFields fields;
    ASSERT_TRUE(PmTime(1073311389).ToSystemTime(fields));
    EXPECT_EQ(fields.year, 2004);
    EXPECT_EQ(fields.month, 1);
    EXPECT_EQ(fields.day, 5);
    EXPECT_EQ(fields.hour, 14);
    EXPECT_EQ(fields.minute, 3);
    EXPECT_EQ(fields.second, 9);
    EXPECT_EQ(fields.dayOfWeek, 0);
    EXPECT_EQ(fields.millisecond, 0);

    PmTime back(1);
    fields.dayOfWeek = 4;  // ignored
    fields.millisecond = 999;
    back.FromSystemTime(fields);
    EXPECT_EQ(back.GetTime(), 1073311389);

    ASSERT_TRUE(PmTime::ParseDateTimeToSystemTime("01/01/1970 00:00:00", fields));
    EXPECT_EQ(fields.year, 1970);
    EXPECT_FALSE(PmTime::ParseDateTimeToSystemTime("1/1/1970", fields));
}

TEST(PmTime, MomentsBeyondThe32BitRangeAreRefusedNotWrapped) {
    TimeZone zone("UTC");
    std::int32_t value = 7;
    EXPECT_FALSE(PmTime::ParseDateTimeText("01/01/2040 00:00:00", value));
    EXPECT_EQ(value, 7);
    ASSERT_TRUE(PmTime::ParseDateTimeText("01/19/2038 03:14:07", value));
    EXPECT_EQ(value, 2147483647);

    PmTime t(1);
    DateTimeFields fields{2040, 1, 0, 1, 0, 0, 0, 0};
    EXPECT_FALSE(t.FromSystemTime(fields));
    EXPECT_EQ(t.GetTime(), 1);
    EXPECT_EQ(PmTime(2040, 1, 1, 0, 0, 0).GetTime(), -1);
}

}  // namespace tabrel
