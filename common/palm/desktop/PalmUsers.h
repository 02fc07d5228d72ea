#pragma once
// The Palm users of the desktop and their data folders, through the user-data library
// (UserDataLibrary.h). The program loads the library and builds its user list once at
// start-up and frees both at exit.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "misc/CxList.h"
#include "misc/UserMessage.h"

namespace tabrel {

// One Palm user, as the library lists it.
struct PalmUser {
    std::int32_t id = 0;
    std::string name;       // at most 63 characters
    std::string directory;  // at most 255 characters
};

using PalmUserList = CxList<PalmUser>;

// Loads the process-wide library from the Palm Desktop folder (GetPalmDesktopPath); false
// when there is no such folder, and the library then answers every call as missing.
bool LoadUserLibrary();
void FreeUserLibrary();

// Empties users and fills it in the library's order. When the users cannot be listed (no
// library, or a negative count) the list stays empty and the message for the user is
// answered; no users at all give the empty list without a message.
std::optional<UserMessage> LoadPalmUsers(PalmUserList& users);
void FreePalmUsers(PalmUserList& users);

// The user's data folder: the library's root folder, the user's directory and '/'. False
// without a library or for an unknown user.
bool GetUserDataFolder(std::int32_t userId, std::string& folder);

// The user's name cut to size - 1 characters; false (name empty) without a library, for an
// unknown user or size 0.
bool GetUserName(std::int32_t userId, std::string& name, std::size_t size);

// The database of application app (PmApp.h) of the user: the user's data folder followed by
// the application's folder and file, each found without regard to letter case. True when it
// exists; otherwise false, with path holding where it was looked for (empty without a data
// folder or for an unknown application).
bool FindUserDatabase(std::int32_t userId, int app, bool is6x, std::string& path);

}  // namespace tabrel
