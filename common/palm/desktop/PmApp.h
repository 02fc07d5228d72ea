#pragma once
// Application codes and where each application keeps its database in a user's data folder.

#include <string_view>

namespace tabrel {

// The four Palm Desktop applications; every per-application choice is made by this code.
enum App : int { AppContacts = 1, AppCalendar = 2, AppTasks = 3, AppMemos = 4 };

// The sub-folder and file name of an application's database in a user's data folder.
struct PmDatabaseLocation {
    std::string_view folder;
    std::string_view fileName;
};

// For Palm Desktop 4.x (.dat files) when is6x is false, for 6.x (.mdb databases) when true.
// An unknown application code gives empty texts.
PmDatabaseLocation GetDatabaseLocation(int app, bool is6x);

}  // namespace tabrel
