#include "palm/db6x/PmDataAccessor.h"

#include <algorithm>

namespace tabrel {

namespace {

constexpr std::string_view kBlankBinary = "0x00000000";

std::string QuoteText(std::u16string_view text) {
    std::string literal = "'";
    for (char c : Utf16ToUtf8(text)) {
        literal += c;
        if (c == '\'') {
            literal += '\'';
        }
    }
    literal += '\'';
    return literal;
}

// The length of a text's literal in UTF-16 units: the quotes and every doubled quote.
std::size_t QuotedLength(std::u16string_view text) {
    return text.size() + 2 + static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\''));
}

std::string Bracketed(std::string_view column) {
    return "[" + std::string(column) + "]";
}

std::string JoinBracketed(std::span<const std::string_view> columns) {
    std::string list;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        list += (i == 0 ? "" : ", ") + Bracketed(columns[i]);
    }
    return list;
}

// The literal of a value in an INSERT or an UPDATE; NULL for an empty value.
std::string ValueLiteral(const DbValue& value) {
    return value.IsEmpty() ? std::string("NULL") : FormatLiteral(value);
}

}  // namespace

std::string FormatLiteral(const DbValue& value) {
    switch (value.GetKind()) {
        case DbKind::Boolean:
            return value.GetNumber() != 0 ? "1" : "0";
        case DbKind::Integer:
        case DbKind::Int16:
        case DbKind::Int8:
            return std::to_string(value.GetNumber());
        case DbKind::Text:
            return QuoteText(value.GetText());
        case DbKind::Empty:
            break;
    }
    return {};
}

std::string BuildWhere(std::span<const std::string_view> columns, std::span<const DbValue> values) {
    if (columns.empty() || values.size() < columns.size()) {
        return {};
    }
    std::string clause = "WHERE ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            clause += " AND ";
        }
        const DbValue& value = values[i];
        if (value.IsEmpty()) {
            clause += Bracketed(columns[i]) + " IS NULL";
        } else if (value.GetKind() == DbKind::Text &&
                   QuotedLength(value.GetText()) >= kPrefixLength) {
            clause += "LEFT(" + Bracketed(columns[i]) + ", " + std::to_string(kPrefixLength) +
                      ") = " + QuoteText(Utf16Prefix(value.GetText(), kPrefixLength));
        } else {
            clause += Bracketed(columns[i]) + " = " + FormatLiteral(value);
        }
    }
    return clause;
}

std::string BuildSql(std::string_view table, std::string_view where, int kind,
                     std::span<const std::string_view> columns, std::span<const DbValue> values) {
    if (columns.empty()) {
        return {};
    }
    const std::string name(table);
    switch (kind) {
        case SqlSelect:
            return "SELECT " + JoinBracketed(columns) + " FROM " + name + " " + std::string(where);
        case SqlDelete:
            return "DELETE FROM " + name + " " + std::string(where);
        case SqlInsert: {
            if (values.size() < columns.size()) {
                return {};
            }
            std::string names = JoinBracketed(columns);
            std::string literals;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                literals += (i == 0 ? "" : ", ") + ValueLiteral(values[i]);
            }
            if (columns.size() > 30) {
                names += ", [Photo], [VoiceTag], [Ringtone]";
                for (int i = 0; i < 3; ++i) {
                    literals += ", " + std::string(kBlankBinary);
                }
            }
            if (columns.size() > 4) {
                names += ", [Blob]";
                literals += ", " + std::string(kBlankBinary);
            }
            return "INSERT INTO " + name + " (" + names + ") VALUES (" + literals + ")";
        }
        case SqlUpdate: {
            if (values.size() < columns.size()) {
                return {};
            }
            std::string statement = "UPDATE " + name + " SET ";
            for (std::size_t i = 0; i < columns.size(); ++i) {
                statement +=
                    (i == 0 ? "" : ", ") + Bracketed(columns[i]) + "=" + ValueLiteral(values[i]);
            }
            return statement + " " + std::string(where);
        }
        default:
            return {};
    }
}

std::string PmDataAccessor::BuildInformationSql(std::string_view where, int kind,
                                                std::span<const std::string_view> columns,
                                                std::span<const DbValue> values) {
    return BuildSql("Information", where, kind, columns, values);
}

std::string PmDataAccessor::BuildCategorySql(std::string_view where, int kind,
                                             std::span<const std::string_view> columns,
                                             std::span<const DbValue> values) {
    return BuildSql("Category", where, kind, columns, values);
}

std::string PmDataAccessor::BuildMainSql(std::string_view where, int kind,
                                         std::span<const std::string_view> columns,
                                         std::span<const DbValue> values) {
    return BuildSql("Main", where, kind, columns, values);
}

bool PmDataAccessor::SelectFirst(std::string_view, std::span<const std::string_view>, DbRow&) {
    return false;
}

bool PmDataAccessor::SelectNext(std::string_view, std::span<const std::string_view>, DbRow&) {
    return false;
}

bool PmDataAccessor::OpenQuery(const std::string&, DbRow&) {
    return false;
}

bool PmDataAccessor::FetchNext(const std::string&, DbRow&) {
    return false;
}

bool PmDataAccessor::ExecuteSql(const std::string&, bool) {
    return false;
}

}  // namespace tabrel
