#include <gtest/gtest.h>

#include <string>

#include "CommTestSupport.h"
#include "palm/comm/CommDateMgr.h"

namespace tabrel {

namespace {

using Id = CommDateId;
using test::At;
using test::Text;

CommDateRec Event(const std::string& description, const DateTimeFields& start,
                  const DateTimeFields& end) {
    CommDateRec rec;
    rec.m_szDescription = description;
    rec.m_start = start;
    rec.m_end = end;
    return rec;
}

}  // namespace

TEST(CommDateMgr, CatalogueAndLists) {
    test::ExpectRows<CommDateMgr>({{1, "Description", 256, 0},
                                   {2, "Start Time", 16, 0},
                                   {3, "End Time", 16, 0},
                                   {4, "Start Date Time", 16, 0},
                                   {5, "End Date Time", 16, 0},
                                   {6, "Date", 16, 0},
                                   {7, "Note", 8192, 0},
                                   {8, "Private", 4, 0},
                                   {9, "Location", 256, 0},
                                   {10, "Importance", 4, 0},
                                   {11, "Category", 64, 0},
                                   {12, "Alarm", 4, 0},
                                   {13, "All Day Event", 4, 0},
                                   {14, "Repeat", 44, 0}},
                                  true);
    test::ExpectLists<CommDateMgr>({1, 2, 3, 13}, {9});
}

TEST(CommDateMgr, FieldTexts) {
    const CommDateMgr store;
    CommDateRec rec = Event("Meeting", At(2004, 5, 21, 9, 5, 7), At(2004, 5, 22, 10, 30, 0));
    rec.m_szNote = "note";
    rec.m_szLocation = "Room 1";
    rec.m_szCategory = "Work";
    rec.m_bPrivate = 1;
    rec.m_bAlarm = 7;
    rec.m_nImportance = 2;
    test::ExpectTexts(store, rec,
                      {{Id::kDescription, "Meeting"},
                       {Id::kNote, "note"},
                       {Id::kLocation, "Room 1"},
                       {Id::kCategory, "Work"},
                       {Id::kStartTime, "09:05:07"},
                       {Id::kEndTime, "10:30:00"},
                       {Id::kStartDateTime, "05/21/2004 09:05:07"},
                       {Id::kEndDateTime, "05/22/2004 10:30:00"},
                       {Id::kDate, "05/21/2004"},
                       {Id::kPrivate, "Yes"},
                       {Id::kAlarm, "Yes"},
                       {Id::kAllDayEvent, "No"},
                       {Id::kRepeat, "Repeat Info"},
                       {Id::kImportance, ""}});
    test::ExpectNoTexts(store, rec, {0, 15});
    EXPECT_EQ(Text(store, rec, Id::kDescription, true, 5), "Meet");
    rec.m_start = At(2031, 1, 1, 8, 0, 0);
    test::ExpectTexts(store, rec, {{Id::kDate, ""}, {Id::kStartDateTime, " 08:00:00"}});
}

TEST(CommDateMgr, MatchComparesStartAndEndByDay) {
    CommDateMgr store;
    CommDateRec stored = Event("Lunch", At(2004, 5, 21, 12), At(2004, 5, 21, 13));
    stored.m_szLocation = "Cafe";
    store.Add(stored);

    CommDateRec probe = Event("LUNCH", At(2004, 5, 21, 8), At(2004, 5, 21, 9, 30));
    probe.m_szLocation = "cafe";
    EXPECT_EQ(store.Match(probe).m_nResult, kCommMatchEqual);
    probe.m_szLocation = "Bar";
    EXPECT_EQ(store.Match(probe).m_nResult, kCommMatchKey);
    probe.m_end = At(2004, 5, 22, 9);
    EXPECT_EQ(store.Match(probe).m_nResult, kCommMatchNone);
    probe.m_end = At(2004, 5, 21, 9);
    probe.m_bAllDay = 1;
    EXPECT_EQ(store.Match(probe).m_nResult, kCommMatchNone);
    // The description is compared without skipping line breaks.
    probe.m_bAllDay = 0;
    probe.m_szDescription = "Lunch\r\n";
    EXPECT_EQ(store.Match(probe).m_nResult, kCommMatchNone);
}

TEST(CommDateMgr, MergeTakesTheCarriedFields) {
    CommDateMgr store;
    CommDateRec stored = Event("Lunch", At(2004, 5, 21, 12), At(2004, 5, 21, 13));
    stored.m_szCategory = "Work";
    stored.m_szCategory2 = "Home";
    stored.m_bAlarm = stored.m_bAlarmSet = 1;
    stored.m_nAlarmAdvance = 10;
    stored.m_repeat.m_nKind = kCommRepeatWeekly;
    stored.m_bPrivate = 1;
    store.Add(stored);

    CommDateRec import = Event("", At(2004, 5, 21, 15), At(2004, 5, 21, 16));
    import.m_szLocation = std::string(300, 'l');
    import.m_szCategory2 = "Other";

    // A CSV of the date and the location only: the end, the alarm, the repeat rule and the
    // private flag stay.
    ASSERT_TRUE(store.Merge(import, 0, CommFieldSet{Id::kDate, Id::kLocation}));
    const CommDateRec& held = *store.GetAt(0);
    EXPECT_EQ(held.m_start.hour, 15);
    EXPECT_EQ(held.m_end.hour, 13);
    EXPECT_EQ(held.m_szLocation, std::string(255, 'l'));
    EXPECT_EQ(held.m_szCategory2, "Home");
    EXPECT_EQ(held.m_bAlarm, 1);
    EXPECT_EQ(held.m_repeat.m_nKind, kCommRepeatWeekly);
    EXPECT_EQ(held.m_bPrivate, 1);

    ASSERT_TRUE(store.Merge(import, 0, CommFieldSet{Id::kEndDateTime, Id::kCategory}));
    EXPECT_EQ(held.m_end.hour, 16);
    EXPECT_EQ(held.m_szCategory, "Work");
    EXPECT_EQ(held.m_szCategory2, "Other");

    // Every field: flags and the repeat rule as they are; the alarm details stay.
    ASSERT_TRUE(store.Merge(import, 0));
    EXPECT_EQ(held.m_bAlarm, 0);
    EXPECT_EQ(held.m_repeat, CommRepeat{});
    EXPECT_EQ(held.m_bPrivate, 0);
    EXPECT_EQ(held.m_bAlarmSet, 1);
    EXPECT_EQ(held.m_nAlarmAdvance, 10);
    EXPECT_EQ(held.m_szDescription, "Lunch");

    CommDateRec rec;
    EXPECT_TRUE(CommDateMgr::SetText(rec, Id::kCategory, std::string(70, 'c')));
    EXPECT_EQ(rec.m_szCategory, std::string(63, 'c'));
    EXPECT_FALSE(CommDateMgr::SetText(rec, Id::kStartTime, "09:00:00"));
}

}  // namespace tabrel
