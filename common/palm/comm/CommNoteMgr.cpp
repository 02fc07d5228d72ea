#include "palm/comm/CommNoteMgr.h"

#include <fmt/printf.h>

#include <array>

#include "misc/CxDateTime.h"

namespace tabrel {

namespace {

using Id = CommNoteId;
using Rec = CommNoteRec;

constexpr std::int32_t kIntSize = sizeof(std::int32_t);
constexpr std::int32_t kDateSize = sizeof(double);

// Identifier, name, size in bytes, 0.
constexpr std::array<CommFieldRow, 11> kCatalogue = {{
    {Id::kColor, "Color", kIntSize, 0},
    {Id::kPrivate, "Private", kIntSize, 0},
    {Id::kSubject, "Subject", static_cast<std::int32_t>(Rec::kSubjectSize), 0},
    {Id::kNote, "Note", static_cast<std::int32_t>(Rec::kNoteSize), 0},
    {Id::kCategory, "Category", static_cast<std::int32_t>(Rec::kCategorySize), 0},
    {Id::kCreationTime, "Creation Time", kDateSize, 0},
    {Id::kLastModificationTime, "Last Modification Time", kDateSize, 0},
    {Id::kSource, "Source", kIntSize, 0},
    {Id::kStatus, "Status", kIntSize, 0},
    {Id::kIdInteger, "ID(Integer)", kIntSize, 0},
    {Id::kIdString, "ID(String)", static_cast<std::int32_t>(Rec::kIdSize), 0},
}};

template <class R>
auto TextMemberOf(R& rec, std::int32_t id) -> decltype(&rec.m_szNote) {
    switch (id) {
        case Id::kSubject:
            return &rec.m_szSubject;
        case Id::kNote:
            return &rec.m_szNote;
        case Id::kCategory:
            return &rec.m_szCategory;
        case Id::kIdString:
            return &rec.m_szId;
        default:
            return nullptr;
    }
}

std::string DateText(double date) {
    std::string text;
    VariantDateText(date, text);  // the empty text for no valid date
    return text;
}

}  // namespace

CommNoteMgr::CommNoteMgr() : CommMgr({Id::kSubject}, {Id::kNote}) {}

std::span<const CommFieldRow> CommNoteMgr::Catalogue() {
    return kCatalogue;
}

std::size_t CommNoteMgr::TextSize(const CommFieldRow& row) {
    return static_cast<std::size_t>(row.m_nNumber1);
}

std::string* CommNoteMgr::TextMember(CommNoteRec& rec, std::int32_t id) {
    return TextMemberOf(rec, id);
}

const std::string* CommNoteMgr::TextMember(const CommNoteRec& rec, std::int32_t id) {
    return TextMemberOf(rec, id);
}

bool CommNoteMgr::AppendFieldKey(const CommNoteRec& rec, std::int32_t id, CommFieldKey& key) {
    switch (id) {
        case Id::kSubject:
            key.AddText(rec.m_szSubject, false, Rec::kSubjectSize - 1);
            break;
        case Id::kNote:
            key.AddText(rec.m_szNote, false, Rec::kNoteSize - 1);
            break;
        case Id::kColor:
            key.AddNumber(rec.m_nColor);
            break;
        case Id::kPrivate:
            key.AddNumber(rec.m_bPrivate);
            break;
        default:
            key.AddNothing();
            break;
    }
    return true;
}

void CommNoteMgr::MergeFields(CommNoteRec& to, const CommNoteRec& from,
                              const std::optional<CommFieldSet>& carried) {
    MergeValue(to.m_nColor, from.m_nColor, Id::kColor, carried);
    MergeValue(to.m_bPrivate, from.m_bPrivate, Id::kPrivate, carried);
    MergeText(to, from, Id::kSubject, carried);
    MergeText(to, from, Id::kNote, carried);
    to.m_source.m_nStatus = 0;
}

bool CommNoteMgr::FieldText(const CommNoteRec& rec, const CommFieldRow& row, std::string& text,
                            std::size_t size) {
    switch (row.m_nId) {
        case Id::kColor:
            CommPutText(text, fmt::sprintf("#%06x", static_cast<std::uint32_t>(rec.m_nColor)),
                        size);
            break;
        case Id::kPrivate:
            CommPutText(text, CommYesNo(rec.m_bPrivate), size);
            break;
        case Id::kSubject:
        case Id::kNote:
        case Id::kCategory:
            CommPutText(text, *TextMember(rec, row.m_nId), size);
            break;
        case Id::kCreationTime:
            CommPutText(text, DateText(rec.m_dCreationTime), size);
            break;
        case Id::kLastModificationTime:
            CommPutText(text, DateText(rec.m_dLastModificationTime), size);
            break;
        default:
            return false;
    }
    return true;
}

}  // namespace tabrel
