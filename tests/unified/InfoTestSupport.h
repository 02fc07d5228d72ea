#pragma once
// Helpers shared by the facade tests: catalogue rows by name, every field text of the
// loaded records, and import records filled from CSV texts.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "palm/comm/CommMgr.h"
#include "palm/unified/FieldDescriptor.h"

namespace tabrel::test {

// The loaded catalogue's first row called name (and of that kind); fails the test when
// there is none.
template <class Info>
FieldDescriptor RowNamed(const Info& info, std::string_view name) {
    for (std::size_t i = 0; i < info.GetFieldCount(); ++i) {
        const auto row = info.GetFieldAt(i);
        if (row && row->m_szName == name) {
            return *row;
        }
    }
    ADD_FAILURE() << "no catalogue row " << name;
    return {};
}

// The loaded catalogue, whole.
template <class Info>
std::vector<FieldDescriptor> Rows(const Info& info) {
    std::vector<FieldDescriptor> rows;
    for (std::size_t i = 0; i < info.GetFieldCount(); ++i) {
        rows.push_back(*info.GetFieldAt(i));
    }
    return rows;
}

// The text of one field of the item at position, as the driver reads it.
template <class Info>
std::string TextOf(const Info& info, std::size_t position, std::string_view name,
                   std::size_t size = 32768) {
    std::string text;
    const auto* item = info.GetItemAt(position);
    EXPECT_NE(item, nullptr) << "no item " << position;
    if (item != nullptr) {
        info.GetFieldText(*item, RowNamed(info, name), text, size);
    }
    return text;
}

// The texts of one field of every item, in item order.
template <class Info>
std::vector<std::string> ColumnOf(const Info& info, std::string_view name) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < info.GetItemCount(); ++i) {
        texts.push_back(TextOf(info, i, name));
    }
    return texts;
}

// A common record filled, as from one CSV line, with texts of named catalogue rows.
template <class Info>
typename Info::CommRec ImportOf(Info& info,
                                const std::vector<std::pair<std::string, std::string>>& texts) {
    typename Info::CommRec record{};
    for (const auto& [name, text] : texts) {
        EXPECT_TRUE(info.SetFieldText(RowNamed(info, name), text, record)) << name;
    }
    return record;
}

// The common fields the named rows carry.
template <class Info>
CommFieldSet CarriedBy(const Info& info, const std::vector<std::string>& names) {
    std::vector<FieldDescriptor> rows;
    for (const std::string& name : names) {
        rows.push_back(RowNamed(info, name));
    }
    return info.GetCarriedFields(rows);
}

}  // namespace tabrel::test
