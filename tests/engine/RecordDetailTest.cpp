// What the record detail dialogs show beyond plain texts: the recurrence of a calendar
// record, the stores' date texts, a contact's birthday and the home page's address.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/RecordDetail.h"

namespace tabrel {

namespace {

CommDateRec Repeating(std::int32_t kind, std::int32_t interval) {
    CommDateRec rec;
    rec.m_szDescription = "Meeting";
    rec.m_start = {.year = 2006, .month = 1, .day = 2, .hour = 9};
    rec.m_repeat.m_nKind = kind;
    rec.m_repeat.m_nInterval = interval;
    return rec;
}

}  // namespace

TEST(RecordDetail, ANonRepeatingEventHasNoRecurrence) {
    for (const std::int32_t kind : {0, 7, -1}) {
        const RecurrenceView view = DescribeRecurrence(Repeating(kind, 2));
        EXPECT_EQ(view.m_nTab, kRecurTabNone) << kind;
        EXPECT_EQ(view.m_szInterval, "") << kind;
        EXPECT_EQ(view.m_szStart, "") << kind;
    }
}

TEST(RecordDetail, WeeklyDaysComeFromTheMaskSundayFirst) {
    CommDateRec rec = Repeating(kCommRepeatWeekly, 2);
    rec.m_repeat.m_nWeekday = 0x2A;  // Monday, Wednesday, Friday
    const RecurrenceView view = DescribeRecurrence(rec);
    EXPECT_EQ(view.m_bWeekdays,
              (std::array<bool, 7>{false, true, false, true, false, true, false}));
    // Other kinds name no weekdays, whatever the weekday field holds.
    rec.m_repeat.m_nKind = kCommRepeatMonthlyByWeekday;
    EXPECT_EQ(DescribeRecurrence(rec).m_bWeekdays, (std::array<bool, 7>{}));
}

TEST(RecordDetail, TheRangeEndsByItsEndDateBelow2100) {
    CommDateRec rec = Repeating(kCommRepeatDaily, 1);
    rec.m_repeat.m_bHasEnd = 1;
    rec.m_repeat.m_endDate = {.year = 2007, .month = 3, .day = 4};
    RecurrenceView view = DescribeRecurrence(rec);
    EXPECT_TRUE(view.m_bEndBy);
    EXPECT_EQ(view.m_szEnd, "03/04/2007");

    rec.m_repeat.m_endDate.year = 2099;
    EXPECT_TRUE(DescribeRecurrence(rec).m_bEndBy);
    rec.m_repeat.m_endDate.year = 2100;
    view = DescribeRecurrence(rec);
    EXPECT_FALSE(view.m_bEndBy);
    EXPECT_EQ(view.m_szEnd, "");
    // An end date without the end flag does not end the repetition.
    rec.m_repeat.m_bHasEnd = 0;
    rec.m_repeat.m_endDate.year = 2007;
    EXPECT_FALSE(DescribeRecurrence(rec).m_bEndBy);
}

TEST(RecordDetail, AStartWithoutAFullDateShowsTheDateText) {
    CommDateRec rec = Repeating(kCommRepeatDaily, 1);
    rec.m_start.day = 0;
    EXPECT_EQ(DescribeRecurrence(rec).m_szStart, CalendarFieldText(rec, CommDateId::kDate));
}

TEST(RecordDetail, StoreTextsOfCalendarAndTask) {
    CommDateRec event = Repeating(kCommRepeatNone, 0);
    event.m_end = {.year = 2006, .month = 1, .day = 2, .hour = 10, .minute = 15, .second = 5};
    EXPECT_EQ(CalendarFieldText(event, CommDateId::kDate), "01/02/2006");
    EXPECT_EQ(CalendarFieldText(event, CommDateId::kStartTime), "09:00:00");
    EXPECT_EQ(CalendarFieldText(event, CommDateId::kEndTime), "10:15:05");
    EXPECT_EQ(CalendarFieldText(event, 99), "");

    CommTaskRec task;
    task.m_tDueDate = 1136116800;  // 2006-01-01 12:00:00 UTC
    EXPECT_EQ(TaskDueDateText(task), "01/01/2006");
    task.m_tDueDate = 0;
    EXPECT_EQ(TaskDueDateText(task), "N/A");
}

TEST(RecordDetail, BirthdayText) {
    CommAddrRec contact;
    EXPECT_EQ(ContactBirthdayText(contact), "");
    contact.m_dBirthday = 36892;  // 2001-01-01
    EXPECT_EQ(ContactBirthdayText(contact), "01/01/2001");
    contact.m_dBirthday = 9169;  // 1925-02-06: older than the stores' date texts reach
    EXPECT_EQ(ContactBirthdayText(contact), "02/06/1925");
    contact.m_dBirthday = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ContactBirthdayText(contact), "");
    contact.m_dBirthday = 1e12;
    EXPECT_EQ(ContactBirthdayText(contact), "");
}

TEST(RecordDetail, HomePageAddress) {
    EXPECT_EQ(HomePageAddress(""), "");
    EXPECT_EQ(HomePageAddress(" \t "), "");
    EXPECT_EQ(HomePageAddress("acme.example"), "http://acme.example");
    EXPECT_EQ(HomePageAddress("  www.acme.example/a b "), "http://www.acme.example/a b");
    EXPECT_EQ(HomePageAddress("https://acme.example/"), "https://acme.example/");
    EXPECT_EQ(HomePageAddress("mailto:ann@acme.example"), "mailto:ann@acme.example");
}

}  // namespace tabrel
