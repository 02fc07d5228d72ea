#include "palm/desktop/PalmUsers.h"

#include <algorithm>
#include <memory>

#include "misc/CxDebugUtil.h"
#include "misc/CxPath.h"
#include "palm/desktop/PalmDesktop.h"
#include "palm/desktop/PmApp.h"
#include "palm/desktop/UserDataLibrary.h"

namespace tabrel {

namespace {

constexpr std::int16_t kNameSize = 64;
constexpr std::int16_t kDirectorySize = 256;
constexpr std::int16_t kFolderSize = 260;
constexpr std::size_t kPathSize = 260;

}  // namespace

bool LoadUserLibrary() {
    std::string folder;
    if (GetPalmDesktopPath(folder, kPathSize) != PalmPathOk) {
        CX_LOG(kLogNotice, "No Palm Desktop folder: the user-data library is not loaded");
        UserLibrary().Free();
        return false;
    }
    if (!UserLibrary().Load(folder)) {
        CX_LOG(kLogNotice, "The Palm Desktop folder %s does not exist", folder);
        return false;
    }
    CX_LOG(kLogProgress, "User-data library loaded from %s", folder);
    return true;
}

void FreeUserLibrary() {
    UserLibrary().Free();
}

std::optional<UserMessage> LoadPalmUsers(PalmUserList& users) {
    FreePalmUsers(users);
    const UserDataLibrary& library = UserLibrary();
    const std::int16_t count =
        library.IsLoaded() ? library.UmGetUserCount() : UserDataLibrary::kMissingCount;
    for (std::int16_t i = 0; i < count; ++i) {
        auto user = std::make_unique<PalmUser>();
        library.UmGetUserID(i, user->id);
        std::int16_t size = kNameSize;
        library.UmGetUserName(user->id, user->name, size);
        size = kDirectorySize;
        library.UmGetUserDirectory(user->id, user->directory, size);
        users.Add(std::move(user));
    }
    if (count < 0) {
        return UserMessage{"Error", "Can not find any Palm users in your desktop environment."};
    }
    return std::nullopt;
}

void FreePalmUsers(PalmUserList& users) {
    users.Clear();
}

bool GetUserDataFolder(std::int32_t userId, std::string& folder) {
    const UserDataLibrary& library = UserLibrary();
    std::string root;
    std::int16_t size = kFolderSize;
    if (!library.IsLoaded() || library.UmGetRootDirectory(root, size) == 0) {
        return false;
    }
    // A fresh size for the second call: the first call set the variable to its own length.
    std::string directory;
    size = kFolderSize;
    if (library.UmGetUserDirectory(userId, directory, size) == 0 || directory.empty()) {
        return false;
    }
    folder = root + directory + "/";
    return true;
}

bool GetUserName(std::int32_t userId, std::string& name, std::size_t size) {
    name.clear();
    const UserDataLibrary& library = UserLibrary();
    if (!library.IsLoaded() || size == 0) {
        return false;
    }
    auto size16 = static_cast<std::int16_t>(std::min<std::size_t>(size, INT16_MAX));
    return library.UmGetUserName(userId, name, size16) != 0;
}

bool FindUserDatabase(std::int32_t userId, int app, bool is6x, std::string& path) {
    path.clear();
    const PmDatabaseLocation location = GetDatabaseLocation(app, is6x);
    std::string folder;
    if (location.folder.empty() || !GetUserDataFolder(userId, folder)) {
        return false;
    }
    const std::string relative = JoinPath(location.folder, location.fileName);
    if (auto found = FindPathNoCase(folder, relative)) {
        path = std::move(*found);
        return true;
    }
    path = ResolvePathNoCase(folder, relative);
    return false;
}

}  // namespace tabrel
