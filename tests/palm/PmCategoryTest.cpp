#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "palm/dat/PmCategory.h"
#include "palm/dat/PmCategoryMgr.h"

namespace tabrel {

namespace {

PmCategory Category(std::string_view name, std::int32_t index = -1, std::int32_t id = -1) {
    PmCategory category;
    category.SetName(name);
    category.SetIndex(index);
    category.SetId(id);
    return category;
}

// "Unfiled" in slot 0 and IDs 1 and 2 in slots 1 and 3, not marked modified.
void FillGapped(PmCategoryMgr& cats) {
    ASSERT_TRUE(cats.AddUnfiled() && cats.Add(Category("One", 1, 1)) &&
                cats.Add(Category("Two", 3, 2)));
    cats.SetModified(false);
}

}  // namespace

TEST(PmCategory, TextsAreCutAndCopiedWithinTheirSizes) {
    PmCategory category = Category("Twenty characters!!!");
    category.SetFileName(std::string(300, 'f'));
    EXPECT_EQ(category.GetName(), "Twenty characte");
    std::string text;
    std::size_t size = 14;
    EXPECT_FALSE(category.CopyName(text, size) || PmCategory().CopyName(text, size));
    size = 300;
    EXPECT_TRUE(category.CopyFileName(text, size) && size == 255 && text == std::string(255, 'f'));
    EXPECT_FALSE(Category("Work", 1, 1).Equals(Category("work", 1, 1)));
    EXPECT_TRUE(Category("Work", 1, 1).Equals(Category("Work", 1, 1)));
}

TEST(PmCategoryMgr, SlotsIdsAndFileNamesOfAddedCategories) {
    PmCategoryMgr cats;
    FillGapped(cats);
    ASSERT_TRUE(cats.Add(Category("A/B.C")));
    EXPECT_TRUE(cats.IsModified());
    const PmCategory* added = cats.GetAt(2);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(std::make_tuple(added->GetIndex(), added->GetId(), added->GetFlags()),
              std::make_tuple(2, 3, PmCategory::kDirty));
    EXPECT_EQ(added->GetFileName(), "A_B_C");

    PmCategory loaded = Category("Loaded", 9, 40);  // as read from a file: kept, not dirty
    loaded.SetFileName("replaced");
    PmCategory unnamed = Category("", 10, 41);
    unnamed.SetFileName("kept");
    ASSERT_TRUE(cats.Add(loaded) && cats.Add(unnamed) && cats.Add(Category("After")));
    EXPECT_EQ(cats.GetAt(9)->GetFlags(), 0u);
    EXPECT_EQ(cats.GetAt(9)->GetFileName(), "Loaded");
    EXPECT_EQ(cats.GetAt(10)->GetFileName(), "kept");
    EXPECT_EQ(cats.GetAt(4)->GetId(), 42);
    EXPECT_EQ(PmCategoryMgr::MakeFileName("\"*+,./:;<=>?[\\]^|"), std::string(17, '_'));
    EXPECT_EQ(PmCategoryMgr::MakeFileName("Hi-Fi \xE9t\xE9 (1)&#'"), "Hi-Fi \xE9t\xE9 (1)&#'");
}

TEST(PmCategoryMgr, RefusedAddsLeaveTheListUnchanged) {
    PmCategoryMgr cats;
    FillGapped(cats);
    for (const PmCategory& refused :
         {Category("SameId", -1, 2), Category("Taken", 3, 7), Category("Low", -2, 7),
          Category("High", 16, 7), Category("Far", 0x10001, 7)}) {
        EXPECT_FALSE(cats.Add(refused)) << refused.GetName();
    }
    EXPECT_TRUE(cats.GetCount() == 3 && !cats.IsModified());
    ASSERT_TRUE(cats.Add(Category("Top", 15, 0x7FFFFFFF)));
    EXPECT_FALSE(cats.Add(Category("NoIdLeft")));

    PmCategoryMgr noFreeSlot;  // slots 1 to 15 taken; slot 0 is never given out
    for (int i = 1; i < PmCategoryMgr::kSlotCount; ++i) {
        ASSERT_TRUE(noFreeSlot.Add(Category("C" + std::to_string(i))));
    }
    EXPECT_FALSE(noFreeSlot.Add(Category("Sixteenth")));
}

TEST(PmCategoryMgr, LookupsAndIteration) {
    PmCategoryMgr cats;
    EXPECT_EQ(cats.GetFirst(), nullptr);
    FillGapped(cats);
    ASSERT_TRUE(cats.Add(Category("Business", 7, 9)));
    EXPECT_EQ(cats.FindByName("business"), cats.GetAt(7));
    EXPECT_EQ(cats.FindById(9), cats.GetAt(7));
    EXPECT_FALSE(cats.FindByName("") || cats.FindByName("Busines") || cats.FindById(5));
    EXPECT_FALSE(cats.GetAt(-1) || cats.GetAt(16) || cats.GetAt(2));
    std::vector<std::int32_t> slots;
    for (const PmCategory* c = cats.GetFirst(); c != nullptr; c = cats.GetNext()) {
        slots.push_back(c->GetIndex());
    }
    EXPECT_EQ(slots, (std::vector<std::int32_t>{0, 1, 3, 7}));
}

}  // namespace tabrel
