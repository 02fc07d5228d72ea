#pragma once
// Calendar files of each generation for the Calendar facade's tests, all holding the same
// three events, and a generation-independent view of a facade item's Palm record.
//
//   event     category  private  start / end (local)          repeat                alarm
//   Meeting   1 "Work"  yes      2006-01-02 09:00 / 10:00     weekly every 2 weeks  15 hours
//                                                             on Mo, We, Fr
//   Birthday  0         no       2006-05-21 00:00 / no end    yearly on 21 May      none
//   Gone      (status 0x80: deleted, never shown)
// The meeting has the note "Agenda" CR LF "items" and, where the generation has one, the
// location "Room 1"; the birthday is an all-day (untimed) event.

#include <fmt/format.h>

#include <cstdint>
#include <string>
#include <vector>

#include "palm/dat/PmTime.h"
#include "palm/unified/PmDateInfo.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel::test::dateinfo {

inline constexpr std::uint32_t kPalm6 = 60001;
inline constexpr auto kNoEnd = static_cast<std::uint32_t>(kPmTimeNoDate);

// A local time value.
inline std::int32_t Time(int year, int month, int day, int hour, int minute) {
    return PmTime(year, month, day, hour, minute, 0).GetTime();
}

// Calendar fields as "YYYY-MM-DD hh:mm:ss".
inline std::string Clock(const DateTimeFields& f) {
    return fmt::format("{:04d}-{:02d}-{:02d} {:02d}:{:02d}:{:02d}", f.year, f.month, f.day, f.hour,
                       f.minute, f.second);
}

// The calendar fields of "no date".
inline DateTimeFields NoDateFields() {
    DateTimeFields fields;
    PmTimeToFields(kPmTimeNoDate, fields);
    return fields;
}

struct Event {
    std::uint32_t id = 0;
    std::uint32_t status = 0;
    std::uint32_t category = 0;
    std::uint32_t isPrivate = 0;
    std::string description{};
    std::string note{};
    std::string location{};
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::uint32_t allDay = 0;
    std::uint32_t alarm = 0;
    std::uint32_t advance = 0;
    std::uint32_t unit = 0;
    PalmSgRepeat repeat{};  // .dat generations
    std::string rule{};     // 6.x
};

inline std::vector<Event> Events() {
    Event meeting{
        .id = 11,
        .category = 1,
        .isPrivate = 1,
        .description = "Meeting",
        .note = "Agenda\r\nitems",
        .location = "Room 1",
        .start = Time(2006, 1, 2, 9, 0),
        .end = Time(2006, 1, 2, 10, 0),
        .alarm = 1,
        .advance = 15,
        .unit = 1,
        .repeat = NamedRepeat("CWeekly", {2, 2, kNoEnd, 0}, ByteWriter().U32(1).U8(0x2A).Get()),
        .rule = "W2 MO WE FR #0"};
    Event birthday{
        .id = 12,
        .description = "Birthday",
        .start = Time(2006, 5, 21, 0, 0),
        .end = kPmTimeNoDate,
        .allDay = 1,
        .repeat = NamedRepeat("CDateOfYear", {5, 1, kNoEnd, 0}, ByteWriter().U32(21).U32(4).Get()),
        .rule = "YM1 5 #0"};
    Event gone{.id = 13,
               .status = 0x80,
               .description = "Gone",
               .start = Time(2006, 2, 2, 9, 0),
               .end = Time(2006, 2, 2, 10, 0)};
    return {meeting, birthday, gone};
}

inline std::string WriteClassic(const TempDir& dir, const std::string& name = "datebook.dat") {
    ClassicFile file = ClassicDateBookFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    for (const Event& e : Events()) {
        PalmSgValues values;
        values.value = [e](std::size_t i) -> std::uint32_t {
            switch (i) {
                case 3:
                    return static_cast<std::uint32_t>(e.start);
                case 4:
                    return static_cast<std::uint32_t>(e.end);
                case 8:
                    return e.allDay;
                case 9:
                    return e.isPrivate;
                case 10:
                    return e.category;
                case 11:
                    return e.alarm;
                case 12:
                    return e.advance;
                case 13:
                    return e.unit;
                default:
                    return 0;
            }
        };
        values.text = [e](std::size_t i) {
            return i == 5 ? e.description : i == 7 ? e.note : std::string();
        };
        file.records.push_back(
            ClassicDateBookRecord({.id = e.id, .status = e.status}, values, RepeatField(e.repeat)));
    }
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

inline std::string WriteEx(const TempDir& dir, const std::string& name = "datebook.dat") {
    PalmSgFile file = DateBookFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    for (const Event& e : Events()) {
        PalmSgValues values;
        values.value = [e](std::size_t i) -> std::uint32_t {
            switch (i) {
                case 13:
                    return static_cast<std::uint32_t>(e.start);
                case 14:
                    return static_cast<std::uint32_t>(e.end);
                case 18:
                    return e.allDay;
                case 19:
                    return e.alarm;
                case 20:
                    return e.advance;
                case 21:
                    return e.unit;
                default:
                    return 0;
            }
        };
        values.text = [e](std::size_t i) {
            return i == 15   ? e.description
                   : i == 17 ? e.note
                   : i == 23 ? e.location
                             : std::string();
        };
        file.records.push_back(DateBookRecord(
            {.id = e.id, .status = e.status, .category = e.category, .isPrivate = e.isPrivate},
            values, RepeatField(e.repeat)));
    }
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

inline std::string WriteEx2(const TempDir& dir, const std::string& name = "DateBook.mdb") {
    const std::string path = dir.File(name);
    Db6xWriter db(path, kDateColumns);
    db.AddCategory(1, "Work");
    int placement = 0;
    for (const Event& e : Events()) {
        db.InsertZeroRow(kDateColumns, {{"Record ID", std::to_string(e.id)},
                                        {"Status", std::to_string(e.status)},
                                        {"Placement", std::to_string(placement++)},
                                        {"Private", std::to_string(e.isPrivate)},
                                        {"Category", "'" + std::to_string(e.category) + "'"},
                                        {"Note", Db6xWriter::Quote(e.note)},
                                        {"Start Time", "'" + std::to_string(e.start) + "'"},
                                        {"End Time", "'" + std::to_string(e.end) + "'"},
                                        {"Untimed", std::to_string(e.allDay)},
                                        {"Location", Db6xWriter::Quote(e.location)},
                                        {"Summary", Db6xWriter::Quote(e.description)},
                                        {"Alarm", std::to_string(e.alarm)},
                                        {"Alarm Advance", std::to_string(e.advance)},
                                        {"Alarm Unit", std::to_string(e.unit)},
                                        {"Repeated Event", Db6xWriter::Quote(e.rule)}});
    }
    return path;
}

using Writer = std::string (*)(const TempDir&, const std::string&);

struct Generation {
    PmDataVersion version;
    Writer write;
    const char* fileName;
    const char* descriptionRow;  // the row of the common Description
    const char* allDayRow;       // the row of the common All Day Event
    bool hasLocation;
};

inline const std::vector<Generation>& Generations() {
    static const std::vector<Generation> all = {
        {PM_DATA_CLASSIC, WriteClassic, "datebook.dat", "Description", "Untimed", false},
        {PM_DATA_EX, WriteEx, "datebook.dat", "Description", "All Day Event", true},
        {PM_DATA_EX2, WriteEx2, "DateBook.mdb", "Summary", "Untimed", true},
    };
    return all;
}

// The members of an item's Palm record, whatever its generation.
struct PalmEvent {
    std::uint32_t status = 0;
    std::int64_t categoryId = 0;
    std::string categoryName;
    std::string description;
    std::string note;
    std::string location;
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::int64_t allDay = 0;
    std::int64_t isPrivate = 0;
    std::int64_t alarm = 0;
    std::int64_t advance = 0;
    std::int64_t unit = 0;
    PmRepeatEvent repeat;
};

inline PalmEvent ViewOf(const PmDateInfo::Item& item) {
    PalmEvent v;
    if (const PmDateRecord* r = item.Classic()) {
        v = {r->m_dwStatus,    static_cast<std::int32_t>(r->m_dwCategoryId),
             r->m_szCategory,  r->m_szDescription,
             r->m_szNote,      {},
             r->m_tStartTime,  r->m_tEndTime,
             r->m_bUntimed,    r->m_bPrivate,
             r->m_bAlarm,      r->m_dwAlarmAdvance,
             r->m_dwAlarmUnit, r->m_repeat};
    } else if (const PmDateExRecord* x = item.Ex()) {
        v = {x->m_dwStatus,    static_cast<std::int32_t>(x->m_dwCategoryId),
             x->m_szCategory,  x->m_szDescription,
             x->m_szNote,      x->m_szLocation,
             x->m_tStartTime,  x->m_tEndTime,
             x->m_bAllDay,     x->m_dwPrivate,
             x->m_bAlarm,      x->m_dwAlarmAdvance,
             x->m_dwAlarmUnit, x->m_repeat};
    } else if (const PmDateEx2Record* y = item.Ex2()) {
        v = {static_cast<std::uint32_t>(y->m_nStatus),
             y->m_nCategoryId,
             y->m_szCategoryName,
             y->m_szSummary,
             y->m_szNote,
             y->m_szLocation,
             y->m_tStartTime,
             y->m_tEndTime,
             y->m_byUntimed,
             y->m_byPrivate,
             y->m_byAlarm,
             y->m_nAlarmAdvance,
             y->m_nAlarmUnit,
             y->m_repeat};
    }
    return v;
}

}  // namespace tabrel::test::dateinfo
