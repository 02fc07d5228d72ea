// What the four stores share: ownership and copies, the walk, Clear, the failure paths and
// the matching rules that do not depend on one application.

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>

#include "palm/comm/CommTaskMgr.h"

namespace tabrel {

namespace {

struct TestItem final : CommSourceData {
    explicit TestItem(int v) : value(v) {}
    std::unique_ptr<CommSourceData> Clone() const override {
        return std::make_unique<TestItem>(*this);
    }
    int value;
};

struct UncopyableItem final : CommSourceData {
    std::unique_ptr<CommSourceData> Clone() const override { throw std::bad_alloc(); }
};

CommTaskRec Task(const std::string& subject, std::int32_t priority = 0) {
    CommTaskRec rec;
    rec.m_szSubject = subject;
    rec.m_nPriority = priority;
    return rec;
}

const TestItem& ItemOf(const CommTaskRec& rec) {
    return dynamic_cast<const TestItem&>(*rec.m_source.m_pSourceData);
}

}  // namespace

TEST(CommMgr, AddKeepsOwnCopiesAndTheWalkFollowsInsertionOrder) {
    CommTaskMgr store;
    CommTaskRec rec = Task("first");
    rec.m_source.m_nSourceType = kCommSourcePalm;
    rec.m_source.m_pSourceData = std::make_unique<TestItem>(7);

    const CommTaskRec* held = store.Add(rec);
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held, &rec);
    EXPECT_NE(held->m_source.m_pSourceData.get(), rec.m_source.m_pSourceData.get());
    EXPECT_EQ(ItemOf(*held).value, 7);
    rec.m_szSubject = "changed";
    dynamic_cast<TestItem&>(*rec.m_source.m_pSourceData).value = 8;
    EXPECT_EQ(held->m_szSubject, "first");
    EXPECT_EQ(ItemOf(*held).value, 7);

    CommTaskRec copy = rec;  // a plain copy clones too; assigning one without drops it
    EXPECT_NE(copy.m_source.m_pSourceData.get(), rec.m_source.m_pSourceData.get());
    copy = Task("y");
    EXPECT_EQ(copy.m_source.m_pSourceData, nullptr);

    ASSERT_NE(store.Add(Task("second")), nullptr);  // no source data: none is made up
    EXPECT_EQ(store.GetAt(1)->m_source.m_pSourceData, nullptr);
    EXPECT_EQ(store.GetCount(), 2u);
    EXPECT_EQ(store.GetFirst(), held);
    EXPECT_EQ(store.GetNext()->m_szSubject, "second");
    EXPECT_EQ(store.GetNext(), nullptr);
    EXPECT_EQ(store.GetAt(2), nullptr);

    store.Clear();
    EXPECT_EQ(store.GetCount(), 0u);
    EXPECT_EQ(store.GetFirst(), nullptr);
    const CommMatch match = store.Match(Task("first"));
    EXPECT_EQ(match.m_nResult, kCommMatchNone);
    EXPECT_EQ(match.m_nPosition, 0u);
    ASSERT_NE(store.Add(Task("first")), nullptr);
    EXPECT_EQ(store.Match(Task("FIRST")).m_nPosition, 0u);
}

TEST(CommMgr, AddWithoutMemoryKeepsNothing) {
    CommTaskMgr store;
    ASSERT_NE(store.Add(Task("kept")), nullptr);
    CommTaskRec rec = Task("lost");
    rec.m_source.m_pSourceData = std::make_unique<UncopyableItem>();
    EXPECT_THROW(store.Add(rec), std::bad_alloc);
    EXPECT_EQ(store.GetCount(), 1u);
    EXPECT_EQ(store.Match(Task("lost")).m_nResult, kCommMatchNone);
    EXPECT_EQ(store.Match(Task("kept")).m_nResult, kCommMatchEqual);
    ASSERT_NE(store.Add(Task("lost")), nullptr);
    EXPECT_EQ(store.Match(Task("lost")).m_nPosition, 1u);
}

TEST(CommMgr, MergeKeepsTheRecordItsPlaceAndItsSourceData) {
    CommTaskMgr store;
    CommTaskRec rec = Task("a", 1);
    rec.m_source.m_pSourceData = std::make_unique<TestItem>(3);
    const CommTaskRec* held = store.Add(rec);
    const CommSourceData* data = held->m_source.m_pSourceData.get();

    EXPECT_FALSE(store.Merge(Task("b", 2), 1));  // past the end
    ASSERT_TRUE(store.Merge(Task("b", 2), 0));
    EXPECT_EQ(store.GetAt(0), held);
    EXPECT_EQ(held->m_source.m_pSourceData.get(), data);
    EXPECT_EQ(held->m_szSubject, "b");
    // The index follows the merged key: the old subject no longer matches.
    EXPECT_EQ(store.Match(Task("a", 1)).m_nResult, kCommMatchNone);
    EXPECT_EQ(store.Match(Task("b", 2)).m_nResult, kCommMatchEqual);
    EXPECT_EQ(store.Match(Task("b", 1)).m_nResult, kCommMatchKey);
    // A record merged into itself stays as it is.
    ASSERT_TRUE(store.Merge(*held, 0));
    EXPECT_EQ(held->m_szSubject, "b");
}

TEST(CommMgr, MatchAnswersAsAWalkInOrderWould) {
    CommTaskMgr store;
    store.Add(Task("a", 1));  // 0: key only
    store.Add(Task("b", 1));  // 1: another key
    store.Add(Task("A", 2));  // 2: key only
    store.Add(Task("a", 5));  // 3: equal to the probe below
    store.Add(Task("a", 5));  // 4: equal too, later
    store.Add(Task("a", 7));  // 5: key only, after the equal ones

    // The first equal record wins, even over the probe's own place.
    EXPECT_EQ(store.Match(Task("a", 5)).m_nPosition, 3u);
    EXPECT_EQ(store.Match(*store.GetAt(4)).m_nPosition, 3u);
    // A stored record is equal to itself at its place even though earlier ones agree on
    // the key only.
    const CommMatch self = store.Match(*store.GetAt(2));
    EXPECT_EQ(self.m_nResult, kCommMatchEqual);
    EXPECT_EQ(self.m_nPosition, 2u);
    // Without an equal record: the last record that agrees on the key.
    const CommMatch key = store.Match(Task("a", 9));
    EXPECT_EQ(key.m_nResult, kCommMatchKey);
    EXPECT_EQ(key.m_nPosition, 5u);
    const CommMatch none = store.Match(Task("c"));
    EXPECT_EQ(none.m_nResult, kCommMatchNone);
    EXPECT_EQ(none.m_nPosition, 6u);
}

}  // namespace tabrel
