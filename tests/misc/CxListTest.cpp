#include <fmt/format.h>
#include <gtest/gtest.h>

#include <string>

#include "misc/CxList.h"

namespace tabrel {

namespace {
CxList<std::string> MakeList(int count) {
    CxList<std::string> list;
    for (int i = 0; i < count; ++i) {
        list.Add(std::make_unique<std::string>(fmt::format("e{}", i)));
    }
    return list;
}
}  // namespace

TEST(CxList, EmptyAndSingleElementWalks) {
    CxList<std::string> empty;
    EXPECT_EQ(empty.First(), nullptr);
    EXPECT_EQ(empty.Next(), nullptr);
    EXPECT_EQ(empty.GetCount(), 0u);

    auto one = MakeList(1);
    ASSERT_NE(one.First(), nullptr);
    EXPECT_EQ(*one.First(), "e0");
    EXPECT_EQ(one.Next(), nullptr);
}

TEST(CxList, RefusesMissingElement) {
    CxList<std::string> list;
    EXPECT_FALSE(list.Add(nullptr));
    CxRefList<std::string> refs;
    EXPECT_FALSE(refs.Add(nullptr));
    EXPECT_EQ(list.GetCount() + refs.GetCount(), 0u);
}

TEST(CxList, PositionedAccessMovesTheCursorBothWays) {
    auto list = MakeList(5);
    list.First();
    EXPECT_EQ(*list.At(3), "e3");
    EXPECT_EQ(list.GetCursor(), 3u);
    EXPECT_EQ(*list.At(1), "e1");
    EXPECT_EQ(*list.Next(), "e2");

    // Past the end: none, and the cursor stays where it was.
    EXPECT_EQ(list.At(5), nullptr);
    EXPECT_EQ(list.GetCursor(), 2u);
}

TEST(CxList, AddDuringAWalkContinuesAfterTheNewElement) {
    auto list = MakeList(3);
    std::string seen;
    bool added = false;
    for (auto* e = list.First(); e != nullptr; e = list.Next()) {
        seen += *e + " ";
        if (*e == "e0" && !added) {
            added = true;
            list.Add(std::make_unique<std::string>("new"));
        }
    }
    // The cursor jumped to the new last element, so the walk ends there.
    EXPECT_EQ(seen, "e0 ");
    EXPECT_EQ(list.GetCount(), 4u);
    EXPECT_EQ(*list.At(3), "new");
}

TEST(CxList, ElementsKeepTheirAddressAndClearEmpties) {
    auto list = MakeList(1);
    std::string* first = list.First();
    for (int i = 0; i < 100; ++i) {
        list.Add(std::make_unique<std::string>("x"));
    }
    EXPECT_EQ(list.At(0), first);

    CxRefList<std::string> refs;
    refs.Add(first);
    EXPECT_EQ(refs.First(), first);

    list.Clear();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetCursor(), 0u);
    EXPECT_EQ(list.First(), nullptr);
}

TEST(CxList, RangeWalkLeavesTheCursorAlone) {
    auto list = MakeList(3);
    list.At(1);
    std::string all;
    for (const auto& e : list) {
        all += e;
    }
    EXPECT_EQ(all, "e0e1e2");
    EXPECT_EQ(list.GetCursor(), 1u);
}

}  // namespace tabrel
