#include "tools/DemoRecords.h"

#include <string>
#include <string_view>

#include "misc/CxCodePage.h"
#include "misc/CxDateTime.h"
#include "palm/dat/PmTime.h"

namespace tabrel::demo {

namespace {

// The source is UTF-8; the records hold the desktop's ANSI bytes.
std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

DateTimeFields At(int year, int month, int day, int hour = 0, int minute = 0) {
    DateTimeFields fields;
    fields.year = year;
    fields.month = month;
    fields.day = day;
    fields.hour = hour;
    fields.minute = minute;
    return CxDateTime(fields).GetFields();  // with its day of week
}

double Day(int year, int month, int day) {
    return CxDateTime(At(year, month, day)).GetVariantDate();
}

struct Contact {
    std::string_view first, last, title, company;
    std::string_view work, home, mobile, email;
    std::string_view street, city, state, zip, country;
    std::string_view category, note;
};

CommAddrRec MakeContact(const Contact& c) {
    CommAddrRec rec;
    rec.m_szFirstName = A(c.first);
    rec.m_szLastName = A(c.last);
    rec.m_szTitle = A(c.title);
    rec.m_szCompany = A(c.company);
    rec.m_szWorkPhone = A(c.work);
    rec.m_szHomePhone = A(c.home);
    rec.m_szMobilePhone = A(c.mobile);
    rec.m_szEmail = A(c.email);
    rec.m_szWorkStreet = A(c.street);
    rec.m_szWorkCity = A(c.city);
    rec.m_szWorkState = A(c.state);
    rec.m_szWorkPostal = A(c.zip);
    rec.m_szWorkCountry = A(c.country);
    rec.m_szCategory = A(c.category);
    rec.m_szNote = A(c.note);
    return rec;
}

struct Event {
    std::string_view description, location, category, note;
    DateTimeFields start, end;
    bool allDay = false;
    int alarmMinutes = 0;  // 0: no alarm
};

CommDateRec MakeEvent(const Event& e) {
    CommDateRec rec;
    rec.m_szDescription = A(e.description);
    rec.m_szLocation = A(e.location);
    rec.m_szCategory = A(e.category);
    rec.m_szNote = A(e.note);
    rec.m_start = e.start;
    rec.m_end = e.end;
    rec.m_bAllDay = e.allDay ? 1 : 0;
    if (e.alarmMinutes > 0) {
        rec.m_bAlarm = 1;
        rec.m_bAlarmSet = 1;
        rec.m_nAlarmAdvance = e.alarmMinutes;
        rec.m_nAlarmUnit = 1;  // minutes
    }
    return rec;
}

struct Task {
    std::string_view subject, category, note;
    DateTimeFields due;  // year 0: no due date
    std::int32_t priority = 0;
    bool completed = false;
    bool isPrivate = false;
};

CommTaskRec MakeTask(const Task& t) {
    CommTaskRec rec;
    rec.m_szSubject = A(t.subject);
    rec.m_szCategory = A(t.category);
    rec.m_szNote = A(t.note);
    if (t.due.year != 0) {
        rec.m_tDueDate = PmTime(t.due.year, t.due.month, t.due.day, 0, 0, 0).GetTime();
    }
    rec.m_nPriority = t.priority;
    rec.m_bCompleted = t.completed ? 1 : 0;
    rec.m_bPrivate = t.isPrivate ? 1 : 0;
    rec.m_wSensitivity = t.isPrivate ? kCommSensitivityPrivate : 0;
    return rec;
}

CommNoteRec MakeMemo(std::string_view category, std::string_view text, bool isPrivate = false) {
    CommNoteRec rec;
    rec.m_szNote = A(text);
    rec.m_szSubject = rec.m_szNote.substr(0, rec.m_szNote.find("\r\n"));
    rec.m_szCategory = A(category);
    rec.m_bPrivate = isPrivate ? 1 : 0;
    return rec;
}

}  // namespace

std::vector<CommAddrRec> DemoContacts() {
    const Contact contacts[] = {
        {"Margaret", "Ellison", "Sales Director", "Northwind Traders", "(206) 555-0142",
         "(206) 555-0187", "(206) 555-0119", "m.ellison@northwind.example", "1200 Pine Street",
         "Seattle", "WA", "98101", "USA", "Business", "Prefers calls before 10 am."},
        {"David", "Okafor", "Engineer", "Blue Yonder Airlines", "(415) 555-0133", "",
         "(415) 555-0160", "dokafor@blueyonder.example", "500 Harbor Blvd", "San Francisco", "CA",
         "94107", "USA", "Business", ""},
        {"Sofia", "Lindqvist", "", "", "", "+46 8 555 012 34", "+46 70 555 01 77",
         "sofia.lindqvist@mail.example", "Storgatan 14", "Stockholm", "", "114 51", "Sweden",
         "Personal", "Met at the Lisbon conference, 2004."},
        {"Jürgen", "Müller", "Buyer", "Fabrikam GmbH", "+49 89 555 0140", "", "",
         "j.mueller@fabrikam.example", "Leopoldstraße 8", "München", "Bayern", "80802", "Germany",
         "Business", "Orders every quarter; send the price list in March."},
        {"Aiko", "Tanaka", "Designer", "Tailspin Toys", "(312) 555-0128", "", "(312) 555-0171",
         "aiko@tailspin.example", "77 W Wacker Dr", "Chicago", "IL", "60601", "USA", "Business",
         ""},
        {"Robert", "Hughes", "", "", "", "(503) 555-0196", "(503) 555-0102",
         "bob.hughes@mail.example", "", "Portland", "OR", "", "USA", "Personal",
         "Brother-in-law. Birthday party every June."},
        {"Claire", "Dubois", "Consultant", "Contoso Ltd", "+33 1 55 50 12 34", "", "",
         "claire.dubois@contoso.example", "25 rue de Rivoli", "Paris", "", "75004", "France",
         "Business", ""},
        {"Dr. Anita", "Rao", "Dentist", "Riverside Dental", "(617) 555-0150", "", "",
         "front.desk@riversidedental.example", "9 Charles St", "Boston", "MA", "02114", "USA",
         "Personal", "Check-up every six months."},
        {"Tom", "Becker", "IT Manager", "Litware Inc", "(425) 555-0111", "", "(425) 555-0164",
         "tbecker@litware.example", "400 Litware Way", "Redmond", "WA", "98052", "USA", "QuickList",
         "Help desk: ext. 4400"},
        {"Lucía", "Fernández", "", "", "", "+34 91 555 0123", "+34 600 555 012",
         "lucia.f@mail.example", "Calle Mayor 3", "Madrid", "", "28013", "Spain", "Personal", ""},
        {"Kevin", "O'Brien", "Account Manager", "Woodgrove Bank", "(212) 555-0175", "",
         "(212) 555-0108", "kobrien@woodgrove.example", "55 Water Street", "New York", "NY",
         "10118", "USA", "Business", "Account no. on file; never by e-mail."},
        {"Grace", "Whitfield", "", "", "", "(604) 555-0139", "", "grace.w@mail.example",
         "1055 W Georgia St", "Vancouver", "BC", "V6E 3P3", "Canada", "QuickList", ""},
    };
    std::vector<CommAddrRec> records;
    for (const Contact& contact : contacts) {
        records.push_back(MakeContact(contact));
    }
    records[5].m_dBirthday = Day(1968, 6, 14);
    records[2].m_dBirthday = Day(1975, 11, 2);
    return records;
}

std::vector<CommDateRec> DemoEvents() {
    const Event events[] = {
        {"Sales meeting", "Room 4B", "Business", "Quarterly numbers.", At(2005, 3, 7, 9, 0),
         At(2005, 3, 7, 10, 30), false, 15},
        {"Lunch with Sofia", "Café Opera", "Personal", "", At(2005, 3, 8, 12, 30),
         At(2005, 3, 8, 13, 30)},
        {"Dentist", "Riverside Dental", "Personal", "Bring the insurance card.",
         At(2005, 3, 10, 16, 0), At(2005, 3, 10, 16, 45), false, 60},
        {"Flight to Munich", "Sea-Tac Airport", "Business", "LH 491, seat 23C.",
         At(2005, 3, 14, 13, 15), At(2005, 3, 14, 15, 0)},
        {"Fabrikam price talks", "Fabrikam, Leopoldstraße 8", "Business", "",
         At(2005, 3, 15, 10, 0), At(2005, 3, 15, 12, 0)},
        {"Trade fair", "Messe München", "Business", "Stand B2-117.", At(2005, 3, 16),
         At(2005, 3, 16), true},
        {"Return flight", "Munich Airport", "Business", "", At(2005, 3, 18, 11, 40),
         At(2005, 3, 18, 13, 55)},
        {"Team review", "Room 4B", "Business", "", At(2005, 3, 21, 14, 0), At(2005, 3, 21, 15, 0),
         false, 10},
        {"Yoga class", "Downtown Studio", "Personal", "", At(2005, 3, 22, 18, 30),
         At(2005, 3, 22, 19, 30)},
        {"Tax deadline reminder", "", "Personal", "Papers are in the blue folder.", At(2005, 3, 25),
         At(2005, 3, 25), true},
        {"Call with Aiko about the catalogue", "Phone", "Business", "", At(2005, 3, 29, 9, 30),
         At(2005, 3, 29, 10, 0)},
        {"Spring holiday", "Lake Chelan", "Personal", "Cabin booked, confirmation 88213.",
         At(2005, 4, 1), At(2005, 4, 1), true},
    };
    std::vector<CommDateRec> records;
    for (const Event& event : events) {
        records.push_back(MakeEvent(event));
    }
    // The team review is every other Monday until the end of June.
    CommRepeat& review = records[7].m_repeat;
    review.m_nKind = kCommRepeatWeekly;
    review.m_nInterval = 2;
    review.m_nWeekday = 1 << 1;  // Monday
    review.m_bHasEnd = 1;
    review.m_endDate = At(2005, 6, 30);
    // The yoga class is every week, with no end.
    CommRepeat& yoga = records[8].m_repeat;
    yoga.m_nKind = kCommRepeatWeekly;
    yoga.m_nInterval = 1;
    yoga.m_nWeekday = 1 << 2;  // Tuesday
    return records;
}

std::vector<CommTaskRec> DemoTasks() {
    const DateTimeFields none;
    const Task tasks[] = {
        {"Send the price list to Fabrikam", "Business", "", At(2005, 3, 4), kCommPriorityHigh},
        {"Book the hotel in Munich", "Business", "Near the Messe if possible.", At(2005, 3, 5),
         kCommPriorityHigh, true},
        {"Renew the passport", "Personal", "", At(2005, 3, 31)},
        {"Prepare the quarterly report", "Business", "Sales figures from Margaret.", At(2005, 4, 8),
         kCommPriorityHigh},
        {"Buy a birthday present for Bob", "Personal", "", At(2005, 6, 10), kCommPriorityLow},
        {"Back up the laptop", "", "", none},
        {"Call the plumber", "Personal", "", At(2005, 3, 9), 0, true},
        {"Order toner for the printer", "Business", "", none, kCommPriorityLow},
        {"Read the Tailspin catalogue draft", "Business", "", At(2005, 3, 28)},
        {"Pay the credit card bill", "Personal", "", At(2005, 3, 20), kCommPriorityHigh, false,
         true},
        {"Plan the spring holiday", "Personal", "Lake Chelan or the coast?", At(2005, 3, 15), 0,
         true},
        {"Update the HotSync conduits", "Business", "", none, kCommPriorityLow},
    };
    std::vector<CommTaskRec> records;
    for (const Task& task : tasks) {
        records.push_back(MakeTask(task));
    }
    return records;
}

std::vector<CommNoteRec> DemoMemos() {
    return {
        MakeMemo("Personal", "Shopping list\r\nMilk\r\nBread\r\nCoffee beans\r\nBatteries (AA)"),
        MakeMemo("Business",
                 "Munich trip\r\nHotel: Leopold, Leopoldstraße 119\r\n"
                 "Trade fair stand B2-117\r\nTaxi to the Messe about 25 minutes"),
        MakeMemo("Business",
                 "Meeting notes 7 March\r\nQ1 sales up 8 %\r\n"
                 "New catalogue in May\r\nMargaret to call Fabrikam"),
        MakeMemo("Personal", "Books to read\r\nThe Shipping News\r\nAtonement\r\nLife of Pi"),
        MakeMemo("", "Wi-Fi at the cabin\r\nNetwork: chelan-guest\r\nKey on the fridge"),
        MakeMemo("Personal", "Gift ideas\r\nBob: fishing reel\r\nSofia: Lisbon photo book"),
        MakeMemo("Business", "Expense codes\r\n4100 travel\r\n4200 meals\r\n4300 hotel"),
        MakeMemo("Personal",
                 "Recipe: pancakes\r\n2 eggs, 250 ml milk, 125 g flour\r\n"
                 "Pinch of salt, rest 20 minutes"),
        MakeMemo("Business",
                 "Phone extensions\r\nHelp desk 4400\r\nReception 1000\r\n"
                 "Mail room 2150"),
        MakeMemo("Personal", "Bank details\r\nAsk before giving out the account number.", true),
        MakeMemo("",
                 "Palm tips\r\nHotSync before every trip.\r\n"
                 "Back up the Palm Desktop folder monthly."),
        MakeMemo("Personal",
                 "Garden\r\nPlant tomatoes after the last frost\r\n"
                 "Prune the roses in March"),
    };
}

}  // namespace tabrel::demo
