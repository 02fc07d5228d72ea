#include "palm/comm/CommTaskMgr.h"

#include <array>
#include <ctime>

#include "misc/CxDateTime.h"

namespace tabrel {

namespace {

using Id = CommTaskId;
using Rec = CommTaskRec;

// Due dates outside these years (local time) show as "N/A".
constexpr int kFirstDueYear = 2000;
constexpr int kLastDueYear = 2020;

// Identifier, name, size in bytes, 0.
constexpr std::array<CommFieldRow, 8> kCatalogue = {{
    {Id::kSubject, "Subject", static_cast<std::int32_t>(Rec::kSubjectSize), 0},
    {Id::kNote, "Note", static_cast<std::int32_t>(Rec::kNoteSize), 0},
    {Id::kCategory, "Category", static_cast<std::int32_t>(Rec::kCategorySize), 0},
    {Id::kPriority, "Priority", sizeof(std::int32_t), 0},
    {Id::kCompleted, "Completed", sizeof(std::uint8_t), 0},
    {Id::kDueDate, "DueDate", sizeof(std::int32_t), 0},
    {Id::kPrivate, "Private", sizeof(std::uint8_t), 0},
    {Id::kAlarm, "Alarm", sizeof(std::uint8_t), 0},
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
        default:
            return nullptr;
    }
}

std::string_view PriorityText(std::int32_t priority) {
    switch (priority) {
        case kCommPriorityHigh:
            return "High";
        case kCommPriorityLow:
            return "Low";
        default:
            return "Normal";
    }
}

std::string DueDateText(std::int32_t dueDate) {
    const CxDateTime date{static_cast<std::time_t>(dueDate)};
    const int year = date.GetFields().year;
    if (year < kFirstDueYear || year > kLastDueYear) {
        return "N/A";
    }
    return date.DateText();
}

}  // namespace

CommTaskMgr::CommTaskMgr()
    : CommMgr({Id::kSubject}, {Id::kPriority, Id::kDueDate, Id::kSubject, Id::kSubject}) {}

std::span<const CommFieldRow> CommTaskMgr::Catalogue() {
    return kCatalogue;
}

std::size_t CommTaskMgr::TextSize(const CommFieldRow& row) {
    return static_cast<std::size_t>(row.m_nNumber1);
}

std::string* CommTaskMgr::TextMember(CommTaskRec& rec, std::int32_t id) {
    return TextMemberOf(rec, id);
}

const std::string* CommTaskMgr::TextMember(const CommTaskRec& rec, std::int32_t id) {
    return TextMemberOf(rec, id);
}

bool CommTaskMgr::AppendFieldKey(const CommTaskRec& rec, std::int32_t id, CommFieldKey& key) {
    switch (id) {
        case Id::kSubject:
            key.AddText(rec.m_szSubject, false);
            break;
        case Id::kNote:
            key.AddText(rec.m_szNote, false);
            break;
        case Id::kPriority:
            key.AddNumber(rec.m_nPriority);
            break;
        case Id::kCompleted:
            key.AddNumber(rec.m_bCompleted);
            break;
        case Id::kAlarm:
            key.AddNumber(rec.m_bAlarm);
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

void CommTaskMgr::MergeFields(CommTaskRec& to, const CommTaskRec& from,
                              const std::optional<CommFieldSet>& carried) {
    MergeText(to, from, Id::kSubject, carried);
    MergeText(to, from, Id::kNote, carried);
    MergeValue(to.m_tDueDate, from.m_tDueDate, Id::kDueDate, carried);
    MergeValue(to.m_bAlarm, from.m_bAlarm, Id::kAlarm, carried);
    MergeValue(to.m_bPrivate, from.m_bPrivate, Id::kPrivate, carried);
    MergeValue(to.m_bCompleted, from.m_bCompleted, Id::kCompleted, carried);
    MergeValue(to.m_nPriority, from.m_nPriority, Id::kPriority, carried);
}

bool CommTaskMgr::FieldText(const CommTaskRec& rec, const CommFieldRow& row, std::string& text,
                            std::size_t size) {
    if (const std::string* member = TextMember(rec, row.m_nId)) {
        CommPutText(text, *member, size);
        return true;
    }
    switch (row.m_nId) {
        case Id::kPriority:
            CommPutText(text, PriorityText(rec.m_nPriority), size);
            break;
        case Id::kCompleted:
            CommPutText(text, CommYesNo(rec.m_bCompleted), size);
            break;
        case Id::kAlarm:
            CommPutText(text, CommYesNo(rec.m_bAlarm), size);
            break;
        case Id::kPrivate:
            CommPutText(text, CommYesNo(rec.m_bPrivate), size);
            break;
        case Id::kDueDate:
            CommPutText(text, DueDateText(rec.m_tDueDate), size);
            break;
        default:
            return false;
    }
    return true;
}

}  // namespace tabrel
