#pragma once
// Helpers shared by the common record store tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "misc/CxDateTime.h"
#include "palm/comm/CommMgr.h"

namespace tabrel::test {

inline DateTimeFields At(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0) {
    return {year, month, 0, day, hour, minute, second, 0};
}

struct Row {
    std::int32_t id;
    std::string_view name;
    std::int32_t number1;
    std::int32_t number2;
};

// Each expected row is the catalogue's row of its identifier; with inOrder, the catalogue
// is exactly these rows in this order.
template <class Mgr>
void ExpectRows(const std::vector<Row>& rows, bool inOrder) {
    if (inOrder) {
        ASSERT_EQ(Mgr::GetCatalogue().size(), rows.size());
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CommFieldRow row;
        ASSERT_TRUE(Mgr::GetFieldRow(rows[i].id, row)) << rows[i].id;
        EXPECT_EQ(row.m_szName, rows[i].name);
        EXPECT_EQ(row.m_nNumber1, rows[i].number1) << rows[i].name;
        EXPECT_EQ(row.m_nNumber2, rows[i].number2) << rows[i].name;
        if (inOrder) {
            EXPECT_EQ(Mgr::GetCatalogue()[i].m_nId, rows[i].id);
        }
    }
}

template <class Mgr>
void ExpectLists(const std::vector<std::int32_t>& keys, const std::vector<std::int32_t>& compares) {
    const Mgr store;
    EXPECT_EQ(std::vector<std::int32_t>(store.GetKeyFields().begin(), store.GetKeyFields().end()),
              keys);
    EXPECT_EQ(
        std::vector<std::int32_t>(store.GetCompareFields().begin(), store.GetCompareFields().end()),
        compares);
}

// The field text of an identifier, checking the answer.
template <class Mgr, class Rec>
std::string Text(const Mgr& store, const Rec& rec, std::int32_t id, bool expected = true,
                 std::size_t size = 1024) {
    std::string text = "left over";
    EXPECT_EQ(store.GetFieldText(rec, id, text, size), expected) << "field " << id;
    if (!expected) {
        EXPECT_EQ(text, "");
    }
    return text;
}

// The field texts of several identifiers (output size 1024).
template <class Mgr, class Rec>
void ExpectTexts(const Mgr& store, const Rec& rec,
                 const std::vector<std::pair<std::int32_t, std::string>>& texts) {
    for (const auto& [id, text] : texts) {
        EXPECT_EQ(Text(store, rec, id), text);
    }
}

// Identifiers that give no text.
template <class Mgr, class Rec>
void ExpectNoTexts(const Mgr& store, const Rec& rec, const std::vector<std::int32_t>& ids) {
    for (const std::int32_t id : ids) {
        Text(store, rec, id, false);
    }
}

}  // namespace tabrel::test
