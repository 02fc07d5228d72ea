// tabrel-cli on Calendar files of the three generations: export of every catalogue field,
// import of a CSV file (an equal event, an event with the same description, day and
// all-day flag but changed values, a new event) and the export after it.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CliConvertSupport.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/PalmSgWriter.h"

namespace tabrel {

using namespace test;
using namespace test::cliconvert;

namespace {

// The events of every file (times in UTC):
//   Meeting   2006-01-02 09:00-10:00, private, category 1 "Work", an alarm, a note of two
//             lines, location "Room 1" where the generation has one, weekly every 2 weeks
//   Birthday  2006-05-21, all day, no end, yearly on 21 May
//   Gym       2006-02-10 08:00-09:00, daily every 3 days
//   Gone      deleted (status 0x80)
struct Event {
    std::uint32_t id = 0;
    std::uint32_t status = 0;
    std::uint32_t category = 0;
    std::uint32_t isPrivate = 0;
    std::string description{};
    std::string note{};
    std::string location{};
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    std::uint32_t allDay = 0;
    std::uint32_t alarm = 0;
    PalmSgRepeat repeat{};  // .dat files
    std::string rule{};     // 6.x
};

const std::string kMeeting = "Staff meeting, room \"B\"";
const std::string kBirthday = "Ann's birthday";

std::vector<Event> Events() {
    return {
        {.id = 11,
         .category = 1,
         .isPrivate = 1,
         .description = kMeeting,
         .note = "Agenda\r\nitems",
         .location = "Room 1",
         .start = 1136192400,
         .end = 1136196000,
         .alarm = 1,
         .repeat = NamedRepeat("CWeekly", {2, 2, kNoDate, 0}, ByteWriter().U32(1).U8(0x2A).Get()),
         .rule = "W2 MO WE FR #0"},
        {.id = 12,
         .description = kBirthday,
         .start = 1148169600,
         .end = kNoDate,
         .allDay = 1,
         .repeat =
             NamedRepeat("CDateOfYear", {5, 1, kNoDate, 0}, ByteWriter().U32(21).U32(4).Get()),
         .rule = "YM1 5 #0"},
        {.id = 13,
         .description = "Gym",
         .start = 1139558400,
         .end = 1139562000,
         .repeat = NamedRepeat("CDayName", {1, 3, kNoDate, 0}, ByteWriter().U32(0).Get()),
         .rule = "D3 #0"},
        {.id = 14, .status = 0x80, .description = "Gone", .start = 1139558400, .end = 1139562000},
    };
}

std::string WriteClassic(const CliWork& work) {
    ClassicFile file = ClassicDateBookFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    for (const Event& e : Events()) {
        PalmSgValues values;
        values.value = [e](std::size_t i) -> std::uint32_t {
            switch (i) {
                case 3:
                    return e.start;
                case 4:
                    return e.end;
                case 8:
                    return e.allDay;
                case 9:
                    return e.isPrivate;
                case 10:
                    return e.category;
                case 11:
                    return e.alarm;
                case 12:
                    return e.alarm * 15;
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
    const std::string path = work.File("datebook.dat");
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx(const CliWork& work) {
    PalmSgFile file = DateBookFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    for (const Event& e : Events()) {
        PalmSgValues values;
        values.value = [e](std::size_t i) -> std::uint32_t {
            switch (i) {
                case 13:
                    return e.start;
                case 14:
                    return e.end;
                case 18:
                    return e.allDay;
                case 19:
                    return e.alarm;
                case 20:
                    return e.alarm * 15;
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
    const std::string path = work.File("datebook.dat");
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx2(const CliWork& work) {
    const std::string path = work.File("DateBook.mdb");
    const Db6xWriter db(path, kDateColumns);
    db.AddCategory(1, "Work");
    int placement = 0;
    for (const Event& e : Events()) {
        db.InsertZeroRow(kDateColumns, {{"Record ID", std::to_string(e.id)},
                                        {"Status", std::to_string(e.status)},
                                        {"Placement", std::to_string(placement++)},
                                        {"Private", std::to_string(e.isPrivate)},
                                        {"Category", "'" + std::to_string(e.category) + "'"},
                                        {"Note", SqlText(e.note)},
                                        {"Start Time", "'" + std::to_string(e.start) + "'"},
                                        {"End Time", "'" + std::to_string(e.end) + "'"},
                                        {"Untimed", std::to_string(e.allDay)},
                                        {"Location", SqlText(e.location)},
                                        {"Summary", SqlText(e.description)},
                                        {"Alarm", std::to_string(e.alarm)},
                                        {"Alarm Advance", std::to_string(e.alarm * 15)},
                                        {"Repeated Event", SqlText(e.rule)}});
    }
    return path;
}

const Values kPalmSgCatalogue = {"Start Time", "End Time",      "Description", "Note",
                                 "Location",   "All Day Event", "Repeat Info"};

}  // namespace

// Classic events have no location, the one field besides the key fields (description, start
// and end day, untimed) that tells a matching event from an equal one: a line that matches
// the meeting is equal whatever else it changes (here the note), and is skipped.
TEST(CliConvertCalendar, ClassicFileExportsAndImports) {
    const CliWork work;
    const Values meeting = {
        "01/02/2006 09:00:00",   "01/02/2006 10:00:00", kMeeting, "Agenda\r\nitems", "No",
        "Weekly (every 2 weeks)"};
    const Values birthday = {"05/21/2006 00:00:00",   "N/A", kBirthday, "", "Yes",
                             "Yearly by date (21/04)"};
    const Values gym = {"02/10/2006 08:00:00", "02/10/2006 09:00:00", "Gym", "", "No",
                        "Daily (every 3 days)"};
    const Values lunch = {
        "03/15/2006 14:30:00", "03/15/2006 15:30:00", "Lunch, \"Joe's\"", "", "No", "N/A"};
    Values meetingChanged = meeting;
    meetingChanged[3] = "Agenda\r\nitems, revised";
    CheckRoundTrip(work, {.app = "calendar",
                          .dataFile = WriteClassic(work),
                          .catalogue = {"Start Time", "End Time", "Description", "Note", "Untimed",
                                        "Repeat Info"},
                          .exported = {meeting, birthday, gym},
                          .importCsv = CsvLines({gym, meetingChanged, lunch}),
                          .importExtra = {},
                          .imported = 1,
                          .reexported = {meeting, birthday, gym, lunch}});
}

// The CSV file to import begins with a title row, left out with --skip-first-line. The
// changed meeting starts half an hour later on the same day, so it still matches by its key
// fields.
TEST(CliConvertCalendar, PalmSgFileExportsAndImports) {
    const CliWork work;
    const Values meeting = {
        "01/02/2006 09:00:00",   "01/02/2006 10:00:00", kMeeting, "Agenda\r\nitems", "Room 1", "No",
        "Weekly (every 2 weeks)"};
    const Values birthday = {"05/21/2006 00:00:00",   "N/A", kBirthday, "", "", "Yes",
                             "Yearly by date (21/04)"};
    const Values gym = {"02/10/2006 08:00:00", "02/10/2006 09:00:00", "Gym", "", "", "No",
                        "Daily (every 3 days)"};
    const Values lunch = {"03/15/2006 14:30:00",
                          "03/15/2006 15:30:00",
                          "Lunch, \"Joe's\"",
                          "",
                          "Cafe, 2nd floor",
                          "No",
                          "N/A"};
    Values meetingChanged = meeting;
    meetingChanged[0] = "01/02/2006 09:30:00";
    meetingChanged[3] = "Agenda\r\nitems, revised";
    meetingChanged[4] = "Room 2";
    CheckRoundTrip(work, {.app = "calendar",
                          .dataFile = WriteEx(work),
                          .catalogue = kPalmSgCatalogue,
                          .exported = {meeting, birthday, gym},
                          .importCsv = CsvLine(kPalmSgCatalogue, '\0') +
                                       CsvLines({gym, meetingChanged, lunch}),
                          .importExtra = {"--skip-first-line"},
                          .imported = 2,
                          .reexported = {meetingChanged, birthday, gym, lunch}});
}

// The changed meeting starts half an hour later on the same day: its database row moves with
// it (no second row is added for it).
TEST(CliConvertCalendar, Palm6xDatabaseExportsAndImports) {
    const CliWork work;
    const Values meeting = {"Yes",
                            "Work",
                            "01/02/2006 09:00:00",
                            "01/02/2006 10:00:00",
                            "Agenda\r\nitems",
                            "Room 1",
                            kMeeting,
                            "No",
                            "Weekly (every 2 weeks)"};
    const Values birthday = {"No",      "",    "05/21/2006 00:00:00",   "N/A", "", "",
                             kBirthday, "Yes", "Yearly by date (21/04)"};
    const Values gym = {"No",  "",   "02/10/2006 08:00:00", "02/10/2006 09:00:00", "", "",
                        "Gym", "No", "Daily (every 3 days)"};
    const Values lunch = {"No",
                          "",
                          "03/15/2006 14:30:00",
                          "03/15/2006 15:30:00",
                          "",
                          "Cafe, 2nd floor",
                          "Lunch, \"Joe's\"",
                          "No",
                          "N/A"};
    Values meetingChanged = meeting;
    meetingChanged[2] = "01/02/2006 09:30:00";
    meetingChanged[4] = "Agenda\r\nitems, revised";
    meetingChanged[5] = "Room 2";
    CheckRoundTrip(work, {.app = "calendar",
                          .dataFile = WriteEx2(work),
                          .catalogue = {"Private", "Category", "Start Time", "End Time", "Note",
                                        "Location", "Summary", "Untimed", "Repeat Info"},
                          .exported = {meeting, birthday, gym},
                          .importCsv = CsvLines({gym, meetingChanged, lunch}),
                          .importExtra = {},
                          .imported = 2,
                          .reexported = {meetingChanged, birthday, gym, lunch}});
}

}  // namespace tabrel
