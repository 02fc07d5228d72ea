#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "palm/dat/PmTime.h"
#include "palm/db6x/PmRepeatRuleText.h"
#include "support/EnvGuards.h"

namespace tabrel {

namespace {

constexpr std::uint32_t kNoEnd = static_cast<std::uint32_t>(kPmTimeNoDate);

PmRepeatEvent Rule(std::uint32_t kind, std::uint32_t interval, std::uint32_t end) {
    PmRepeatEvent rule;
    rule.nKind = kind;
    rule.nInterval = interval;
    rule.tEndDate = end;
    return rule;
}

std::uint32_t LocalMidnight(int year, int month, int day) {
    return static_cast<std::uint32_t>(PmTime(year, month, day, 0, 0, 0).GetTime());
}

const std::int32_t kJune14 = PmTime(2006, 6, 14, 9, 30, 0).GetTime();

}  // namespace

TEST(PmRepeatRuleText, FormatsEveryKind) {
    const auto calendar = [](const PmRepeatEvent& rule) {
        return FormatRepeatRule(rule, kJune14, PmRuleOwner::Calendar);
    };
    EXPECT_EQ(calendar(Rule(1, 1, kNoEnd)), "D1 #0");

    PmRepeatEvent weekly = Rule(2, 2, kNoEnd);
    weekly.byDaysMask = wdMonday | wdWednesday;
    weekly.nDayIndex = 5;  // not used by this form
    EXPECT_EQ(calendar(weekly), "W2 MO WE #0");
    weekly.byDaysMask = 0xFF;  // every day, in order; the eighth bit is no day
    EXPECT_EQ(calendar(weekly), "W2 SU MO TU WE TH FR SA #0");
    weekly.byDaysMask = 0;
    EXPECT_EQ(calendar(weekly), "W2 #0");

    PmRepeatEvent byWeekday = Rule(3, 1, LocalMidnight(2005, 12, 31));
    byWeekday.nWeekIndex = 1;
    byWeekday.byDaysMask = wdTuesday;
    EXPECT_EQ(calendar(byWeekday), "MP1 2+ TU 20051231T00000Z");

    PmRepeatEvent byDate = Rule(4, 3, kNoEnd);
    byDate.nDayNumber = 15;
    EXPECT_EQ(calendar(byDate), "MD3 15 #0");

    // The month of a yearly rule is the start time's, whatever the rule holds.
    PmRepeatEvent yearly = Rule(5, 1, kNoEnd);
    yearly.nMonthIndex = 2;
    EXPECT_EQ(calendar(yearly), "YM1 6 #0");
    EXPECT_EQ(FormatRepeatRule(yearly, kJune14, PmRuleOwner::Tasks), "");

    for (std::uint32_t kind : {0u, 6u, 7u, 255u}) {
        EXPECT_EQ(calendar(Rule(kind, 1, kNoEnd)), "") << kind;
    }

    // Every end past the last date is no end date; an end of 0 is a date like any other.
    EXPECT_EQ(calendar(Rule(1, 10, 0xFFFFFFFF)), "D10 #0");
    EXPECT_EQ(calendar(Rule(1, 10, kNoEnd + 1)), "D10 #0");
    EXPECT_EQ(calendar(Rule(1, 10, kNoEnd - 1)), "D10 20311231T00000Z");
    EXPECT_EQ(calendar(Rule(1, 10, 0)), "D10 19700101T00000Z");
    EXPECT_EQ(calendar(Rule(1, 4000000000u, kNoEnd)), "D4000000000 #0");
}

TEST(PmRepeatRuleText, ParsesEveryKind) {
    const auto calendar = [](std::string_view text) {
        return ParseRepeatRule(text, kJune14, PmRuleOwner::Calendar);
    };
    EXPECT_EQ(calendar("D1 #0"), Rule(1, 1, kNoEnd));
    EXPECT_EQ(FormatRepeatRule(calendar("D1 #0"), 0, PmRuleOwner::Calendar), "D1 #0");

    PmRepeatEvent weekly = Rule(2, 2, LocalMidnight(2006, 6, 30));
    weekly.byDaysMask = 0x0A;
    EXPECT_EQ(calendar("W2 MO WE 20060630T000000Z"), weekly);
    EXPECT_EQ(FormatRepeatRule(weekly, 0, PmRuleOwner::Calendar), "W2 MO WE 20060630T00000Z");
    // Day codes are found anywhere, each with a blank after it; one at the very end is not.
    EXPECT_EQ(calendar("W1 SA SU #0").byDaysMask, wdSunday | wdSaturday);
    EXPECT_EQ(calendar("W1 MO"), Rule(2, 1, 0));

    PmRepeatEvent byWeekday = Rule(3, 1, kNoEnd);
    byWeekday.nWeekIndex = 2;
    byWeekday.byDaysMask = wdFriday;
    EXPECT_EQ(calendar("MP1 3+ FR #0"), byWeekday);
    EXPECT_EQ(FormatRepeatRule(byWeekday, 0, PmRuleOwner::Calendar), "MP1 3+ FR #0");
    // An occurrence counted from the end reads as its leading number only.
    EXPECT_EQ(calendar("MP1 1- FR #0").nWeekIndex, 0u);
    // Week 0 wraps and is written back as 0.
    EXPECT_EQ(FormatRepeatRule(calendar("MP2 0+ SU #0"), 0, PmRuleOwner::Calendar), "MP2 0+ SU #0");

    PmRepeatEvent byDate = Rule(4, 3, kNoEnd);
    byDate.nDayNumber = 15;
    EXPECT_EQ(calendar("MD3 15 #0"), byDate);

    // A yearly rule takes its day from the start time; a task has none.
    PmRepeatEvent yearly = Rule(5, 1, kNoEnd);
    yearly.nMonthIndex = 5;
    yearly.nDayNumber = 14;
    EXPECT_EQ(calendar("YM1 6 #0"), yearly);
    EXPECT_EQ(ParseRepeatRule("YM1 6 #0", kJune14, PmRuleOwner::Tasks), PmRepeatEvent{});

    for (const char* other : {"", "X1 #0", "MX1 #0", "d1 #0", " D1 #0"}) {
        EXPECT_EQ(calendar(other), PmRepeatEvent{}) << other;
    }
    // Numbers: leading digits up to a blank or "+", none read as 0, large ones held.
    EXPECT_EQ(calendar("D").nInterval, 0u);
    EXPECT_EQ(calendar("D12+3 #0").nInterval, 12u);
    EXPECT_EQ(calendar("D7x #0").nInterval, 7u);
    EXPECT_EQ(calendar("D99999999999 #0").nInterval, std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(calendar("MD1").nDayNumber, 0u);
}

TEST(PmRepeatRuleText, ReadsEndDates) {
    const auto end = [](std::string_view text) {
        return ParseRepeatRule(text, 0, PmRuleOwner::Tasks).tEndDate;
    };
    EXPECT_EQ(end("D7 20060101T00000Z"), LocalMidnight(2006, 1, 1));
    EXPECT_EQ(end("D7 20060101"), LocalMidnight(2006, 1, 1));
    EXPECT_EQ(end("W1 MO TU 20311231T235959Z"), LocalMidnight(2031, 12, 31));
    EXPECT_EQ(end("D1 #0"), kNoEnd);
    EXPECT_EQ(end("D1 #0 "), 0u);  // the last blank ends the text
    EXPECT_EQ(end("D1"), 0u);
    // What is no date leaves the end 0; a date past the last time value is no end.
    for (const char* text : {"D1 #5", "D1 2006013", "D1 20061301", "D1 20060100", "D1 2006x101",
                             "D1 19600101T00000Z"}) {
        EXPECT_EQ(end(text), 0u) << text;
    }
    EXPECT_EQ(end("D1 20400101T00000Z"), kNoEnd);
}

TEST(PmRepeatRuleText, StoredTextsAreKeptWhileTheyReadAsTheRule) {
    const auto renew = [](std::string_view stored, PmRuleOwner owner = PmRuleOwner::Calendar) {
        return RenewRepeatRule(stored, ParseRepeatRule(stored, kJune14, owner), kJune14, owner);
    };
    for (const char* stored : {"W2 MO WE 20060630T000000Z", "MP1 1- FR #0", "D1 #5", "D1",
                               "YM1 6 #0", "X1 #0", "", "D1 #0"}) {
        EXPECT_EQ(renew(stored), stored) << stored;
    }
    EXPECT_EQ(renew("YM1 6 #0", PmRuleOwner::Tasks), "YM1 6 #0");
    // A stored yearly month that is not the start time's gives way to it.
    EXPECT_EQ(renew("YM1 2 #0"), "YM1 6 #0");

    // A changed rule is written as its own text.
    PmRepeatEvent rule = ParseRepeatRule("MP1 1- FR #0", kJune14, PmRuleOwner::Calendar);
    rule.byDaysMask = wdThursday;
    EXPECT_EQ(RenewRepeatRule("MP1 1- FR #0", rule, kJune14, PmRuleOwner::Calendar),
              "MP1 1+ TH #0");
    EXPECT_EQ(RenewRepeatRule("X1 #0", Rule(1, 2, kNoEnd), kJune14, PmRuleOwner::Tasks), "D2 #0");
    EXPECT_EQ(RenewRepeatRule("D1 #0", PmRepeatEvent{}, kJune14, PmRuleOwner::Tasks), "");
    // A task's yearly rule cannot be written: it reads as no rule.
    EXPECT_EQ(RenewRepeatRule("", Rule(5, 1, kNoEnd), kJune14, PmRuleOwner::Tasks), "");
}

TEST(PmRepeatRuleText, EndDatesAreLocalDates) {
    test::ScopedTimeZone zone("XST10");           // ten hours behind UTC
    const std::uint32_t newYearUtc = 1136073600;  // 2006-01-01 00:00:00 UTC
    EXPECT_EQ(FormatRepeatRule(Rule(1, 1, newYearUtc), 0, PmRuleOwner::Tasks),
              "D1 20051231T00000Z");
    EXPECT_EQ(ParseRepeatRule("D1 20060101T00000Z", 0, PmRuleOwner::Tasks).tEndDate,
              newYearUtc + 10 * 3600);
    // The yearly month and day are those of the local start time.
    const std::int32_t start = 1151712000;  // 2006-07-01 00:00:00 UTC, 30 June local
    EXPECT_EQ(FormatRepeatRule(Rule(5, 1, kNoEnd), start, PmRuleOwner::Calendar), "YM1 6 #0");
    EXPECT_EQ(ParseRepeatRule("YM1 6 #0", start, PmRuleOwner::Calendar).nDayNumber, 30u);
}

}  // namespace tabrel
