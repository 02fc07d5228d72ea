#pragma once
// Application codes, the names each application goes by, and where each keeps its
// database in a user's data folder: one table, one row per application.

#include <array>
#include <string_view>

namespace tabrel {

// The four Palm Desktop applications; every per-application choice is made by this code.
enum App : int { AppContacts = 1, AppCalendar = 2, AppTasks = 3, AppMemos = 4 };

// The sub-folder and file name of an application's database in a user's data folder.
struct PmDatabaseLocation {
    std::string_view folder;
    std::string_view fileName;
};

struct PmAppInfo {
    int app;
    std::string_view word;        // "Contacts": messages, dialog titles, tabrel-cli
    std::string_view option;      // "contacts": the value of tabrel-cli's --app
    std::string_view recordWord;  // "contact": "No contact record is selected. ..."
    std::string_view title;       // "Contacts ( Address Book )": the finish page
    // The field properties dialog's caption, as the system words it ("Task" for Tasks).
    std::string_view fieldPropertiesCaption;
    PmDatabaseLocation location4x;  // .dat files
    PmDatabaseLocation location6x;  // .mdb databases
};

inline constexpr std::array<PmAppInfo, 4> kPmApps{{
    {AppContacts,
     "Contacts",
     "contacts",
     "contact",
     "Contacts ( Address Book )",
     "Contacts ( Address Book ) Field Properties:",
     {"address", "address.dat"},
     {"address", "Address.mdb"}},
    {AppCalendar,
     "Calendar",
     "calendar",
     "calendar",
     "Calendar ( Date Book )",
     "Calendar ( Date Book ) Field Properties:",
     {"datebook", "datebook.dat"},
     {"datebook", "DateBook.mdb"}},
    {AppTasks,
     "Tasks",
     "tasks",
     "task",
     "Tasks ( Todo List )",
     "Task ( Todo List ) Field Properties:",
     {"todo", "todo.dat"},
     {"todo", "Todolist.mdb"}},
    {AppMemos,
     "Memos",
     "memos",
     "memo",
     "Memos ( Memo Pad )",
     "Memos ( Memo Pad ) Field Properties:",
     {"memopad", "memopad.dat"},
     {"MemoPad", "MemoPad.mdb"}},
}};

// The row of an application code; nullptr for an unknown code.
constexpr const PmAppInfo* FindAppInfo(int app) {
    for (const PmAppInfo& info : kPmApps) {
        if (info.app == app) {
            return &info;
        }
    }
    return nullptr;
}

// The row of an application code, Contacts for an unknown one (as the pages default).
constexpr const PmAppInfo& GetAppInfo(int app) {
    const PmAppInfo* info = FindAppInfo(app);
    return info != nullptr ? *info : kPmApps[0];
}

// For Palm Desktop 4.x (.dat files) when is6x is false, for 6.x (.mdb databases) when true.
// An unknown application code gives empty texts.
constexpr PmDatabaseLocation GetDatabaseLocation(int app, bool is6x) {
    const PmAppInfo* info = FindAppInfo(app);
    if (info == nullptr) {
        return {};
    }
    return is6x ? info->location6x : info->location4x;
}

}  // namespace tabrel
