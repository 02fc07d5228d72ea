#include "palm/comm/CommDateMgr.h"

#include <array>

#include "misc/CxDateTime.h"

namespace tabrel {

namespace {

using Id = CommDateId;
using Rec = CommDateRec;

// Byte sizes of the catalogue: a date and time is eight 16-bit parts; a repeat rule is
// seven 32-bit numbers and its end date.
constexpr std::int32_t kDateTimeSize = 16;
constexpr std::int32_t kRepeatSize = 7 * 4 + kDateTimeSize;
constexpr std::int32_t kIntSize = sizeof(std::int32_t);

// Identifier, name, size in bytes, 0.
constexpr std::array<CommFieldRow, 14> kCatalogue = {{
    {Id::kDescription, "Description", static_cast<std::int32_t>(Rec::kDescriptionSize), 0},
    {Id::kStartTime, "Start Time", kDateTimeSize, 0},
    {Id::kEndTime, "End Time", kDateTimeSize, 0},
    {Id::kStartDateTime, "Start Date Time", kDateTimeSize, 0},
    {Id::kEndDateTime, "End Date Time", kDateTimeSize, 0},
    {Id::kDate, "Date", kDateTimeSize, 0},
    {Id::kNote, "Note", static_cast<std::int32_t>(Rec::kNoteSize), 0},
    {Id::kPrivate, "Private", kIntSize, 0},
    {Id::kLocation, "Location", static_cast<std::int32_t>(Rec::kLocationSize), 0},
    {Id::kImportance, "Importance", kIntSize, 0},
    {Id::kCategory, "Category", static_cast<std::int32_t>(Rec::kCategorySize), 0},
    {Id::kAlarm, "Alarm", kIntSize, 0},
    {Id::kAllDayEvent, "All Day Event", kIntSize, 0},
    {Id::kRepeat, "Repeat", kRepeatSize, 0},
}};

template <class R>
auto TextMemberOf(R& rec, std::int32_t id) -> decltype(&rec.m_szNote) {
    switch (id) {
        case Id::kDescription:
            return &rec.m_szDescription;
        case Id::kNote:
            return &rec.m_szNote;
        case Id::kLocation:
            return &rec.m_szLocation;
        case Id::kCategory:
            return &rec.m_szCategory;
        default:
            return nullptr;
    }
}

}  // namespace

CommDateMgr::CommDateMgr()
    : CommMgr({Id::kDescription, Id::kStartTime, Id::kEndTime, Id::kAllDayEvent}, {Id::kLocation}) {
}

std::span<const CommFieldRow> CommDateMgr::Catalogue() {
    return kCatalogue;
}

std::size_t CommDateMgr::TextSize(const CommFieldRow& row) {
    return static_cast<std::size_t>(row.m_nNumber1);
}

std::string* CommDateMgr::TextMember(CommDateRec& rec, std::int32_t id) {
    return TextMemberOf(rec, id);
}

const std::string* CommDateMgr::TextMember(const CommDateRec& rec, std::int32_t id) {
    return TextMemberOf(rec, id);
}

bool CommDateMgr::AppendFieldKey(const CommDateRec& rec, std::int32_t id, CommFieldKey& key) {
    switch (id) {
        case Id::kDescription:
            key.AddText(rec.m_szDescription, false);
            break;
        case Id::kLocation:
            key.AddText(rec.m_szLocation, false);
            break;
        case Id::kNote:
            key.AddText(rec.m_szNote, true);
            break;
        case Id::kStartTime:
        case Id::kStartDateTime:
        case Id::kDate:
            key.AddDay(rec.m_start);
            break;
        case Id::kEndTime:
        case Id::kEndDateTime:
            key.AddDay(rec.m_end);
            break;
        case Id::kAllDayEvent:
            key.AddNumber(rec.m_bAllDay);
            break;
        case Id::kPrivate:
            key.AddNumber(rec.m_bPrivate);
            break;
        case Id::kAlarm:
            key.AddNumber(rec.m_bAlarm);
            break;
        case Id::kImportance:
            key.AddNumber(rec.m_nImportance);
            break;
        default:
            key.AddNothing();
            break;
    }
    return true;
}

void CommDateMgr::MergeFields(CommDateRec& to, const CommDateRec& from,
                              const std::optional<CommFieldSet>& carried) {
    MergeText(to, from, Id::kDescription, carried);
    MergeText(to, from, Id::kLocation, carried);
    MergeText(to, from, Id::kNote, carried);
    MergeText(to, from, Id::kCategory, carried);
    if (IsCarried(carried, Id::kCategory)) {
        CommMergeText(to.m_szCategory2, from.m_szCategory2, Rec::kCategorySize);
    }
    MergeValue(to.m_bAlarm, from.m_bAlarm, Id::kAlarm, carried);
    MergeValue(to.m_bAllDay, from.m_bAllDay, Id::kAllDayEvent, carried);
    MergeValue(to.m_nImportance, from.m_nImportance, Id::kImportance, carried);
    MergeValue(to.m_bPrivate, from.m_bPrivate, Id::kPrivate, carried);
    MergeValue(to.m_repeat, from.m_repeat, Id::kRepeat, carried);
    // The start is carried by any of the fields that read it, the end likewise.
    if (IsCarried(carried, Id::kStartTime) || IsCarried(carried, Id::kStartDateTime) ||
        IsCarried(carried, Id::kDate)) {
        to.m_start = from.m_start;
    }
    if (IsCarried(carried, Id::kEndTime) || IsCarried(carried, Id::kEndDateTime)) {
        to.m_end = from.m_end;
    }
}

bool CommDateMgr::FieldText(const CommDateRec& rec, const CommFieldRow& row, std::string& text,
                            std::size_t size) {
    if (const std::string* member = TextMember(rec, row.m_nId)) {
        CommPutText(text, *member, size);
        return true;
    }
    switch (row.m_nId) {
        case Id::kStartTime:
            CommPutText(text, CxDateTime(rec.m_start).TimeText(), size);
            break;
        case Id::kEndTime:
            CommPutText(text, CxDateTime(rec.m_end).TimeText(), size);
            break;
        case Id::kStartDateTime:
            CommPutText(text, CxDateTime(rec.m_start).DateTimeText(), size);
            break;
        case Id::kEndDateTime:
            CommPutText(text, CxDateTime(rec.m_end).DateTimeText(), size);
            break;
        case Id::kDate:
            CommPutText(text, CxDateTime(rec.m_start).DateText(), size);
            break;
        case Id::kPrivate:
            CommPutText(text, CommYesNo(rec.m_bPrivate), size);
            break;
        case Id::kAlarm:
            CommPutText(text, CommYesNo(rec.m_bAlarm), size);
            break;
        case Id::kAllDayEvent:
            CommPutText(text, CommYesNo(rec.m_bAllDay), size);
            break;
        case Id::kRepeat:
            CommPutText(text, "Repeat Info", size);
            break;
        case Id::kImportance:
            break;
        default:
            return false;
    }
    return true;
}

}  // namespace tabrel
