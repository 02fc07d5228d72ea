#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CommTestSupport.h"
#include "palm/comm/CommTaskMgr.h"
#include "support/EnvGuards.h"

namespace tabrel {

namespace {

using Id = CommTaskId;
using test::Text;

CommTaskRec Task(const std::string& subject, std::int32_t priority) {
    CommTaskRec rec;
    rec.m_szSubject = subject;
    rec.m_nPriority = priority;
    return rec;
}

}  // namespace

TEST(CommTaskMgr, CatalogueAndLists) {
    test::ExpectRows<CommTaskMgr>({{0, "Subject", 256, 0},
                                   {1, "Note", 8192, 0},
                                   {7, "Category", 256, 0},
                                   {2, "Priority", 4, 0},
                                   {3, "Completed", 1, 0},
                                   {4, "DueDate", 4, 0},
                                   {6, "Private", 1, 0},
                                   {5, "Alarm", 1, 0}},
                                  true);
    test::ExpectLists<CommTaskMgr>({0}, {2, 4, 0, 0});
}

TEST(CommTaskMgr, FieldTexts) {
    const CommTaskMgr store;
    CommTaskRec rec = Task("Call", 0);
    rec.m_szNote = "note";
    rec.m_szCategory = "Work";
    rec.m_bCompleted = 1;
    rec.m_bPrivate = 1;
    test::ExpectTexts(store, rec,
                      {{Id::kSubject, "Call"},
                       {Id::kNote, "note"},
                       {Id::kCategory, "Work"},
                       {Id::kCompleted, "Yes"},
                       {Id::kAlarm, "No"},
                       {Id::kPrivate, "Yes"}});
    test::ExpectNoTexts(store, rec, {8});
    for (const auto& [priority, text] : std::vector<std::pair<std::int32_t, std::string>>{
             {1, "High"}, {2, "Low"}, {0, "Normal"}, {3, "Normal"}, {5, "Normal"}}) {
        rec.m_nPriority = priority;
        EXPECT_EQ(Text(store, rec, Id::kPriority), text);
    }
    // Due dates show from 2000 to 2020 (local years) only; 1956499199 is "no due date".
    for (const auto& [due, text] :
         std::vector<std::pair<std::int32_t, std::string>>{{946684800, "01/01/2000"},
                                                           {1609459199, "12/31/2020"},
                                                           {946684799, "N/A"},
                                                           {1609459200, "N/A"},
                                                           {1748736000, "N/A"},
                                                           {1956499199, "N/A"},
                                                           {-86400, "N/A"}}) {
        rec.m_tDueDate = due;
        EXPECT_EQ(Text(store, rec, Id::kDueDate), text) << due;
    }
    test::ScopedTimeZone zone("America/New_York");
    rec.m_tDueDate = 946684800 + 3600;  // still 1999 there
    EXPECT_EQ(Text(store, rec, Id::kDueDate), "N/A");
    rec.m_tDueDate = 1609459200 + 3600;  // still 2020 there
    EXPECT_EQ(Text(store, rec, Id::kDueDate), "12/31/2020");
}

TEST(CommTaskMgr, MatchOnSubjectThenPriority) {
    CommTaskMgr store;
    CommTaskRec stored = Task("Call Bob", kCommPriorityHigh);
    stored.m_tDueDate = 946684800;
    store.Add(stored);

    CommTaskRec probe = Task("call bob", kCommPriorityLow);
    const CommMatch key = store.Match(probe);
    EXPECT_EQ(key.m_nResult, kCommMatchKey);
    EXPECT_EQ(key.m_nPosition, 0u);
    // The due date has no comparison; the note is in neither list.
    probe.m_nPriority = kCommPriorityHigh;
    probe.m_szNote = "different";
    EXPECT_EQ(store.Match(probe).m_nResult, kCommMatchEqual);
    probe.m_szSubject = "call\r\nbob";
    EXPECT_EQ(store.Match(probe).m_nResult, kCommMatchNone);
}

TEST(CommTaskMgr, MergeTakesTheCarriedFields) {
    CommTaskMgr store;
    CommTaskRec stored = Task("Call", kCommPriorityHigh);
    stored.m_szCategory = "Work";
    stored.m_tDueDate = 946684800;
    stored.m_bAlarm = stored.m_bPrivate = 1;
    stored.m_wSensitivity = kCommSensitivityPrivate;
    stored.m_repeat.m_nKind = kCommRepeatDaily;
    store.Add(stored);

    CommTaskRec import = Task("", 0);
    import.m_szNote = std::string(9000, 'n');
    import.m_szCategory = "Home";
    import.m_bCompleted = 1;
    ASSERT_TRUE(store.Merge(import, 0, CommFieldSet{Id::kNote, Id::kCompleted}));
    const CommTaskRec& held = *store.GetAt(0);
    EXPECT_EQ(held.m_szNote.size(), 8191u);
    EXPECT_EQ(held.m_bCompleted, 1);
    EXPECT_EQ(held.m_nPriority, kCommPriorityHigh);
    EXPECT_EQ(held.m_tDueDate, 946684800);
    EXPECT_EQ(held.m_bAlarm, 1);

    ASSERT_TRUE(store.Merge(import, 0));
    EXPECT_EQ(held.m_szSubject, "Call");
    EXPECT_EQ(held.m_nPriority, 0);
    EXPECT_EQ(held.m_tDueDate, 0);
    EXPECT_EQ(held.m_bAlarm, 0);
    EXPECT_EQ(held.m_bPrivate, 0);
    // Not merged: the category, the repeat rule and the sensitivity.
    EXPECT_EQ(held.m_szCategory, "Work");
    EXPECT_EQ(held.m_repeat.m_nKind, kCommRepeatDaily);
    EXPECT_EQ(held.m_wSensitivity, kCommSensitivityPrivate);
}

}  // namespace tabrel
