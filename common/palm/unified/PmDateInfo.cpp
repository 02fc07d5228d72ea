#include "palm/unified/PmDateInfo.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <string>

#include "palm/dat/PmTime.h"
#include "palm/db6x/PmRepeatRuleText.h"

namespace tabrel {

namespace {

using Id = CommDateId;

constexpr PmInfoTexts kTexts = {
    "Check Palm Desktop Calendar file version, file: %s",
    "Check Palm Desktop Calendar file type: (%s) - Palm Desktop 6.x",
    "Check Palm Desktop Calendar file type: (%s) - Palm Desktop 4.1.x",
    "Check Palm Desktop Calendar file type: (%s) - Palm Desktop 4.1 or earlier",
    "Failed to check Palm Desktop Calendar file type: (%s)",
    "Load Palm Desktop Calendar by user: %d",
    "Unknown Palm Desktop version.",
    "Failed to open Palm Desktop Calendar database by User: %d",
    nullptr,
    "Failed to load Palm Desktop Calendar data file: %s",
    true,
    false,
    true,
    PM_DATA_CLASSIC,
};

// Catalogue identifiers of each generation.
struct ClassicId {
    enum : std::int32_t {
        kStartTime = 3,
        kEndTime = 4,
        kDescription = 5,
        kNote = 7,
        kUntimed = 8,
        kRepeatInfo = 14
    };
};
struct ExId {
    enum : std::int32_t {
        kStartTime = 13,
        kEndTime = 14,
        kDescription = 15,
        kNote = 17,
        kAllDayEvent = 18,
        kRepeatInfo = 22,
        kLocation = 23
    };
};
struct Ex2Id {
    enum : std::int32_t {
        kPrivate = 3,
        kCategory = 4,
        kNote = 5,
        kStartTime = 6,
        kEndTime = 7,
        kUntimed = 8,
        kLocation = 10,
        kSummary = 11,
        kRepeatInfo = 15
    };
};

constexpr std::int32_t kDateTime = FieldTypeDateTime;
constexpr std::int32_t kString = FieldTypeString;
constexpr std::int32_t kBoolean = FieldTypeBoolean;

constexpr std::array<PmCatalogueRow, 6> kClassicCatalogue = {{
    {ClassicId::kStartTime, 0, "Start Time", kDateTime, 4},
    {ClassicId::kEndTime, 0, "End Time", kDateTime, 4},
    {ClassicId::kDescription, 0, "Description", kString, 512},
    {ClassicId::kNote, 0, "Note", kString, 512},
    {ClassicId::kUntimed, 0, "Untimed", kBoolean, 4},
    {ClassicId::kRepeatInfo, 0, "Repeat Info", kString, 256},
}};

constexpr std::array<PmCatalogueRow, 7> kExCatalogue = {{
    {ExId::kStartTime, 0, "Start Time", kDateTime, 4},
    {ExId::kEndTime, 0, "End Time", kDateTime, 4},
    {ExId::kDescription, 0, "Description", kString, 512},
    {ExId::kNote, 0, "Note", kString, 512},
    {ExId::kLocation, 0, "Location", kString, 256},
    {ExId::kAllDayEvent, 0, "All Day Event", kBoolean, 4},
    {ExId::kRepeatInfo, 0, "Repeat Info", kString, 256},
}};

constexpr std::array<PmCatalogueRow, 9> kEx2Catalogue = {{
    {Ex2Id::kPrivate, 0, "Private", kBoolean, 4},
    {Ex2Id::kCategory, 0, "Category", kString, 256},
    {Ex2Id::kStartTime, 0, "Start Time", kDateTime, 4},
    {Ex2Id::kEndTime, 0, "End Time", kDateTime, 4},
    {Ex2Id::kNote, 0, "Note", kString, 2048},
    {Ex2Id::kLocation, 0, "Location", kString, 256},
    {Ex2Id::kSummary, 0, "Summary", kString, 256},
    {Ex2Id::kUntimed, 0, "Untimed", kBoolean, 4},
    {Ex2Id::kRepeatInfo, 0, "Repeat Info", kString, 256},
}};

// The rows SetFieldText stores; Repeat Info, Private and Category have no target.
constexpr PmTextRule Text(std::int32_t id, std::int32_t commonId, std::size_t limit) {
    return {id, 0, commonId, limit, PmTextRule::kText};
}
constexpr PmTextRule Special(std::int32_t id, std::int32_t commonId) {
    return {id, 0, commonId, 0, PmTextRule::kSpecial};
}

constexpr std::array<PmTextRule, 5> kClassicRules = {{
    Special(ClassicId::kStartTime, Id::kStartTime),
    Special(ClassicId::kEndTime, Id::kEndTime),
    Text(ClassicId::kDescription, Id::kDescription, PmDateInfo::kCommonDescriptionMax),
    Text(ClassicId::kNote, Id::kNote, PmDateInfo::kCommonNoteMax),
    Special(ClassicId::kUntimed, Id::kAllDayEvent),
}};

constexpr std::array<PmTextRule, 6> kExRules = {{
    Special(ExId::kStartTime, Id::kStartTime),
    Special(ExId::kEndTime, Id::kEndTime),
    Text(ExId::kDescription, Id::kDescription, PmDateInfo::kCommonDescriptionMax),
    Text(ExId::kNote, Id::kNote, PmDateInfo::kCommonNoteMax),
    Special(ExId::kAllDayEvent, Id::kAllDayEvent),
    Text(ExId::kLocation, Id::kLocation, PmDateInfo::kCommonLocationMax),
}};

constexpr std::array<PmTextRule, 6> kEx2Rules = {{
    Text(Ex2Id::kNote, Id::kNote, PmDateInfo::kCommonNoteMax),
    Special(Ex2Id::kStartTime, Id::kStartTime),
    Special(Ex2Id::kEndTime, Id::kEndTime),
    Special(Ex2Id::kUntimed, Id::kAllDayEvent),
    Text(Ex2Id::kLocation, Id::kLocation, PmDateInfo::kCommonLocationMax),
    Text(Ex2Id::kSummary, Id::kDescription, PmDateInfo::kCommonDescriptionMax),
}};

// The values of a Palm event of any generation that reach its common record.
struct EventValues {
    std::string_view description;
    std::string_view note;
    std::string_view location;
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::int64_t allDay = 0;
    std::int64_t alarm = 0;
    std::int64_t alarmAdvance = 0;
    std::int64_t alarmUnit = 0;
    const PmRepeatEvent* repeat = nullptr;
};

void FillCommonFrom(const EventValues& values, CommDateRec& event) {
    event.m_szDescription = CutText(values.description, CommDateRec::kDescriptionSize - 1);
    event.m_szNote = CutText(values.note, CommDateRec::kNoteSize - 1);
    event.m_szLocation = CutText(values.location, CommDateRec::kLocationSize - 1);
    event.m_bAllDay = values.allDay != 0 ? 1 : 0;
    // A time value without calendar fields leaves them zero.
    PmTimeToFields(values.start, event.m_start);
    PmTimeToFields(values.end, event.m_end);
    if (values.alarm != 0) {
        event.m_bAlarm = 1;
        event.m_bAlarmSet = 1;
        event.m_nAlarmAdvance = static_cast<std::int32_t>(values.alarmAdvance);
        event.m_nAlarmUnit = PmAlarmUnitToCommon(values.alarmUnit);
    } else {
        event.m_bAlarm = 0;
        event.m_bAlarmSet = 0;
    }
    PmRepeatToCommon(*values.repeat, event.m_repeat);
}

// The members of a Palm event of one generation that a common record fills; Time, Flag
// and Number are the generation's integer types. location is null where the generation
// has none.
template <class Time, class Flag, class Number>
struct EventSlots {
    std::string& description;
    std::size_t descriptionMax;
    std::string& note;
    std::size_t noteMax;
    std::string* location;
    Time& start;
    Time& end;
    Flag& allDay;
    Flag& privateFlag;
    Flag& alarm;
    Number& alarmAdvance;
    Number& alarmUnit;
    PmRepeatEvent& repeat;
};

// Copies a text unless it is empty, cut to maxChars characters.
void PutText(std::string& to, const std::string& from, std::size_t maxChars) {
    if (!from.empty()) {
        to = CutText(from, maxChars);
    }
}

// A Palm time value from calendar fields; fields that name no time value leave it as it is.
template <class Time>
void PutTime(Time& to, const DateTimeFields& fields) {
    std::int32_t value = 0;
    if (PmTimeFromFields(fields, value)) {
        to = static_cast<Time>(value);
    }
}

bool IsAnyCarried(const std::optional<CommFieldSet>& carried,
                  std::initializer_list<std::int32_t> ids) {
    if (!carried) {
        return true;
    }
    for (const std::int32_t id : ids) {
        if (carried->contains(id)) {
            return true;
        }
    }
    return false;
}

// Common record to Palm event: texts only when not empty, the other values only when the
// import carried them (everything for a new record).
template <class Time, class Flag, class Number>
void FillSlots(const CommDateRec& event, const std::optional<CommFieldSet>& carried,
               const EventSlots<Time, Flag, Number>& slots) {
    PutText(slots.description, event.m_szDescription, slots.descriptionMax);
    PutText(slots.note, event.m_szNote, slots.noteMax);
    if (slots.location != nullptr) {
        PutText(*slots.location, event.m_szLocation, PmDateInfo::kLocationMax);
    }
    // Start Date Time and Date set the same start, End Date Time the same end.
    if (IsAnyCarried(carried, {Id::kStartTime, Id::kStartDateTime, Id::kDate})) {
        PutTime(slots.start, event.m_start);
    }
    if (IsAnyCarried(carried, {Id::kEndTime, Id::kEndDateTime})) {
        PutTime(slots.end, event.m_end);
    }
    if (IsAnyCarried(carried, {Id::kAllDayEvent})) {
        slots.allDay = event.m_bAllDay != 0 ? 1 : 0;
    }
    if (IsAnyCarried(carried, {Id::kPrivate})) {
        slots.privateFlag = event.m_bPrivate != 0 ? 1 : 0;
    }
    if (IsAnyCarried(carried, {Id::kAlarm})) {
        const bool on = event.m_bAlarm != 0 && event.m_bAlarmSet != 0;
        slots.alarm = on ? 1 : 0;
        slots.alarmAdvance = on ? static_cast<Number>(event.m_nAlarmAdvance) : 0;
        slots.alarmUnit = on ? static_cast<Number>(PmAlarmUnitFromCommon(event.m_nAlarmUnit)) : 0;
    }
    if (IsAnyCarried(carried, {Id::kRepeat})) {
        PmRepeatFromCommon(event.m_repeat, slots.repeat);
        if (slots.repeat.nKind == 0) {
            // An event without a repetition has every repeat member zero.
            slots.repeat = PmRepeatEvent{};
        }
    }
}

// A 6.x rule keeps the weekday of a monthly-by-weekday repetition in its weekday mask, as
// it does for a weekly one, and leaves the day index unused; the common rule has the
// weekday as a number (0 Sunday to 6 Saturday), as the .dat rules have it in the day index.
constexpr std::uint32_t kMonthlyByWeekday = 3;

void Ex2WeekdayToCommon(const PmRepeatEvent& palm, CommRepeat& common) {
    if (palm.nKind != kMonthlyByWeekday || palm.nDayIndex != 0) {
        return;
    }
    for (std::int32_t day = 0; day < 7; ++day) {
        if ((palm.byDaysMask & (1u << day)) != 0) {
            common.m_nWeekday = day;
            return;
        }
    }
}

void Ex2WeekdayFromCommon(PmRepeatEvent& palm) {
    if (palm.nKind == kMonthlyByWeekday) {
        palm.byDaysMask = palm.nDayIndex < 7 ? static_cast<std::uint8_t>(1u << palm.nDayIndex) : 0;
    }
    palm.nDayIndex = 0;
}

}  // namespace

PmDateInfo::PmDateInfo() : PmDateInfo(GetPalmDesktopVersion()) {}

PmDateInfo::PmDateInfo(std::uint32_t palmVersion) : PmInfo(kTexts, palmVersion) {}

void PmDateInfo::SetBoolStyle(std::int32_t style, std::string_view setText,
                              std::string_view clearText) {
    m_nBoolStyle = style;
    m_szBoolSetText = CutText(setText, kBoolStyleTextMax);
    m_szBoolClearText = CutText(clearText, kBoolStyleTextMax);
}

std::string PmDateInfo::BoolStyleText(std::int64_t flag) const {
    const bool set = flag != 0;
    switch (m_nBoolStyle) {
        case kBoolStyleDigit:
            return set ? "1" : "0";
        case kBoolStyleYesNo:
            return std::string(PmYesNo(flag));
        case kBoolStyleTrue:
            return set ? "True" : "False";
        case kBoolStyleCustom:
            return set ? m_szBoolSetText : m_szBoolClearText;
        default:
            return {};
    }
}

const PmGenerationTables<PmCatalogueRow> PmDateInfo::kCatalogues{kClassicCatalogue, kExCatalogue,
                                                                 kEx2Catalogue};
const PmGenerationTables<PmTextRule> PmDateInfo::kTextRules{kClassicRules, kExRules, kEx2Rules};

void PmDateInfo::FillCommon(const Item& item, CommDateRec& event) const {
    EventValues values;
    if (const PmDateRecord* classic = item.Classic()) {
        values = {.description = classic->m_szDescription,
                  .note = classic->m_szNote,
                  .location = {},
                  .start = classic->m_tStartTime,
                  .end = classic->m_tEndTime,
                  .allDay = classic->m_bUntimed,
                  .alarm = classic->m_bAlarm,
                  .alarmAdvance = classic->m_dwAlarmAdvance,
                  .alarmUnit = classic->m_dwAlarmUnit,
                  .repeat = &classic->m_repeat};
    } else if (const PmDateExRecord* ex = item.Ex()) {
        values = {.description = ex->m_szDescription,
                  .note = ex->m_szNote,
                  .location = ex->m_szLocation,
                  .start = ex->m_tStartTime,
                  .end = ex->m_tEndTime,
                  .allDay = ex->m_bAllDay,
                  .alarm = ex->m_bAlarm,
                  .alarmAdvance = ex->m_dwAlarmAdvance,
                  .alarmUnit = ex->m_dwAlarmUnit,
                  .repeat = &ex->m_repeat};
    } else if (const PmDateEx2Record* ex2 = item.Ex2()) {
        values = {.description = ex2->m_szSummary,
                  .note = ex2->m_szNote,
                  .location = ex2->m_szLocation,
                  .start = ex2->m_tStartTime,
                  .end = ex2->m_tEndTime,
                  .allDay = ex2->m_byUntimed,
                  .alarm = ex2->m_byAlarm,
                  .alarmAdvance = ex2->m_nAlarmAdvance,
                  .alarmUnit = ex2->m_nAlarmUnit,
                  .repeat = &ex2->m_repeat};
    } else {
        return;
    }
    FillCommonFrom(values, event);
    if (const PmDateEx2Record* ex2 = item.Ex2()) {
        Ex2WeekdayToCommon(ex2->m_repeat, event.m_repeat);
    }
}

void PmDateInfo::FillRecord(const CommDateRec& event, Item& item, const Carried& carried) {
    const bool setCategory = !event.m_szCategory.empty();
    if (PmDateRecord* classic = item.Classic()) {
        FillSlots(event, carried,
                  EventSlots<std::uint32_t, std::uint32_t, std::uint32_t>{
                      .description = classic->m_szDescription,
                      .descriptionMax = kClassicDescriptionMax,
                      .note = classic->m_szNote,
                      .noteMax = kClassicNoteMax,
                      .location = nullptr,
                      .start = classic->m_tStartTime,
                      .end = classic->m_tEndTime,
                      .allDay = classic->m_bUntimed,
                      .privateFlag = classic->m_bPrivate,
                      .alarm = classic->m_bAlarm,
                      .alarmAdvance = classic->m_dwAlarmAdvance,
                      .alarmUnit = classic->m_dwAlarmUnit,
                      .repeat = classic->m_repeat});
        if (setCategory) {
            const std::int32_t id = ResolveCategory(event.m_szCategory);
            classic->m_dwCategoryId = static_cast<std::uint32_t>(id);
            std::string name;
            if (ClassicReader().GetCategoryText(id, name)) {
                classic->m_szCategory = CutText(name, PmClassicRecord::kCategoryCapacity - 1);
            }
        }
    } else if (PmDateExRecord* ex = item.Ex()) {
        FillSlots(event, carried,
                  EventSlots<std::uint32_t, std::uint32_t, std::uint32_t>{
                      .description = ex->m_szDescription,
                      .descriptionMax = kDescriptionMax,
                      .note = ex->m_szNote,
                      .noteMax = kNoteMax,
                      .location = &ex->m_szLocation,
                      .start = ex->m_tStartTime,
                      .end = ex->m_tEndTime,
                      .allDay = ex->m_bAllDay,
                      .privateFlag = ex->m_dwPrivate,
                      .alarm = ex->m_bAlarm,
                      .alarmAdvance = ex->m_dwAlarmAdvance,
                      .alarmUnit = ex->m_dwAlarmUnit,
                      .repeat = ex->m_repeat});
        if (setCategory) {
            const std::int32_t id = ResolveCategory(event.m_szCategory);
            ex->m_dwCategoryId = static_cast<std::uint32_t>(id);
            std::string name;
            if (ExReader().GetCategoryText(id, name)) {
                ex->m_szCategory = CutText(name, PmDateExRecord::kCategoryCapacity - 1);
            }
        }
    } else if (PmDateEx2Record* ex2 = item.Ex2()) {
        FillSlots(event, carried,
                  EventSlots<std::int32_t, std::uint8_t, std::int32_t>{
                      .description = ex2->m_szSummary,
                      .descriptionMax = kDescriptionMax,
                      .note = ex2->m_szNote,
                      .noteMax = kNoteMax,
                      .location = &ex2->m_szLocation,
                      .start = ex2->m_tStartTime,
                      .end = ex2->m_tEndTime,
                      .allDay = ex2->m_byUntimed,
                      .privateFlag = ex2->m_byPrivate,
                      .alarm = ex2->m_byAlarm,
                      .alarmAdvance = ex2->m_nAlarmAdvance,
                      .alarmUnit = ex2->m_nAlarmUnit,
                      .repeat = ex2->m_repeat});
        if (IsCarried(carried, Id::kRepeat)) {
            Ex2WeekdayFromCommon(ex2->m_repeat);
        }
        // The record keeps its times also as texts and its rule also as text: keep them in
        // step, as the reader does before it writes. A stored rule text that reads as the
        // rule stays as it is.
        ex2->m_szStartTime = std::to_string(ex2->m_tStartTime);
        ex2->m_szEndTime = std::to_string(ex2->m_tEndTime);
        ex2->m_szRepeatedEvent = RenewRepeatRule(ex2->m_szRepeatedEvent, ex2->m_repeat,
                                                 ex2->m_tStartTime, PmRuleOwner::Calendar);
        if (setCategory) {
            ex2->m_nCategoryId = ResolveCategory(event.m_szCategory);
            Ex2Reader().FillCategoryName(*ex2);
        }
    }
}

bool PmDateInfo::ItemFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                               std::size_t /*size*/) const {
    if (const PmDateRecord* classic = item.Classic()) {
        switch (row.m_nId) {
            case ClassicId::kStartTime:
                text = PmDateTimeText(classic->m_tStartTime);
                return true;
            case ClassicId::kEndTime:
                text = PmDateTimeText(classic->m_tEndTime);
                return true;
            case ClassicId::kDescription:
                text = classic->m_szDescription;
                return true;
            case ClassicId::kNote:
                text = classic->m_szNote;
                return true;
            case ClassicId::kUntimed:
                text = PmYesNo(classic->m_bUntimed);
                return true;
            case ClassicId::kRepeatInfo:
                text = PmRepeatText(classic->m_repeat);
                return true;
            default:
                return false;
        }
    }
    if (const PmDateExRecord* ex = item.Ex()) {
        switch (row.m_nId) {
            case ExId::kStartTime:
                text = PmDateTimeText(ex->m_tStartTime);
                return true;
            case ExId::kEndTime:
                text = PmDateTimeText(ex->m_tEndTime);
                return true;
            case ExId::kDescription:
                text = ex->m_szDescription;
                return true;
            case ExId::kNote:
                text = ex->m_szNote;
                return true;
            case ExId::kLocation:
                text = ex->m_szLocation;
                return true;
            case ExId::kAllDayEvent:
                text = PmYesNo(ex->m_bAllDay);
                return true;
            case ExId::kRepeatInfo:
                text = PmRepeatText(ex->m_repeat);
                return true;
            default:
                return false;
        }
    }
    if (const PmDateEx2Record* ex2 = item.Ex2()) {
        switch (row.m_nId) {
            case Ex2Id::kPrivate:
                text = PmYesNo(ex2->m_byPrivate);
                return true;
            case Ex2Id::kCategory:
                text = ex2->m_szCategoryName;
                return true;
            case Ex2Id::kNote:
                text = ex2->m_szNote;
                return true;
            case Ex2Id::kStartTime:
                text = PmDateTimeText(ex2->m_tStartTime);
                return true;
            case Ex2Id::kEndTime:
                text = PmDateTimeText(ex2->m_tEndTime);
                return true;
            case Ex2Id::kUntimed:
                text = BoolStyleText(ex2->m_byUntimed);
                return true;
            case Ex2Id::kLocation:
                text = ex2->m_szLocation;
                return true;
            case Ex2Id::kSummary:
                text = ex2->m_szSummary;
                return true;
            case Ex2Id::kRepeatInfo:
                text = PmRepeatText(ex2->m_repeat);
                return true;
            default:
                return false;
        }
    }
    return false;
}

void PmDateInfo::ApplyTextRule(const PmTextRule& rule, std::string_view text,
                               CommDateRec& event) const {
    switch (rule.commonId) {
        case Id::kStartTime:
        case Id::kEndTime: {
            // A text that is no date-time leaves the field as it was.
            DateTimeFields fields;
            if (PmParseDateTime(text, fields)) {
                (rule.commonId == Id::kStartTime ? event.m_start : event.m_end) = fields;
            }
            break;
        }
        case Id::kAllDayEvent:
            event.m_bAllDay = PmTruthValue(text) ? 1 : 0;
            break;
        default:
            break;
    }
}

template class PmInfo<PmDateInfo, PmDateInfoTypes>;

}  // namespace tabrel
