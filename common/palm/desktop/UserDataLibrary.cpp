#include "palm/desktop/UserDataLibrary.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "misc/CxPath.h"
#include "misc/CxText.h"

namespace tabrel {

namespace {

constexpr std::string_view kAppFolders[] = {"address", "datebook", "todo", "memopad"};
constexpr std::int32_t kMaxUserId = 0x7FFFFFFF;

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HoldsAppFolder(const std::string& folder) {
    return std::any_of(std::begin(kAppFolders), std::end(kAppFolders), [&](std::string_view app) {
        const auto entry = FindEntryNoCase(folder, app);
        return entry && IsFolder(JoinPath(folder, *entry));
    });
}

// Places text cut to the passed size - 1 and to maxChars; sets size to the length + 1.
std::int32_t PlaceText(std::string_view text, std::size_t maxChars, std::string& out,
                       std::int16_t& size) {
    if (size <= 0) {
        out.clear();
        return 0;
    }
    out = CutText(text, std::min(maxChars, static_cast<std::size_t>(size) - 1));
    size = static_cast<std::int16_t>(out.size() + 1);
    return 1;
}

}  // namespace

std::int32_t UserDataLibrary::HashUserName(std::string_view folderName) {
    std::uint32_t hash = 2166136261u;
    for (char c : folderName) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 16777619u;
    }
    const auto id = static_cast<std::int32_t>(hash & 0x7FFFFFFFu);
    return id == 0 ? 1 : id;
}

bool UserDataLibrary::Load(const std::string& palmFolder) {
    Free();
    if (palmFolder.empty() || !IsFolder(palmFolder)) {
        return false;
    }
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(palmFolder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        const std::string path = JoinPath(palmFolder, name);
        if (IsFolder(path) && HoldsAppFolder(path)) {
            names.push_back(std::move(name));
        }
    }
    if (error) {
        return false;
    }
    std::sort(names.begin(), names.end());
    if (names.size() > static_cast<std::size_t>(INT16_MAX)) {
        names.resize(INT16_MAX);
    }
    std::set<std::int32_t> used;
    for (std::string& name : names) {
        std::int32_t id = HashUserName(name);
        while (used.count(id) != 0) {
            id = id == kMaxUserId ? 1 : id + 1;
        }
        used.insert(id);
        m_users.push_back(User{id, std::move(name)});
    }
    m_szRoot = palmFolder;
    if (m_szRoot.back() != '/') {
        m_szRoot += '/';
    }
    m_bLoaded = true;
    return true;
}

void UserDataLibrary::Free() {
    m_bLoaded = false;
    m_szRoot.clear();
    m_users.clear();
}

const UserDataLibrary::User* UserDataLibrary::FindUser(std::int32_t userId) const {
    for (const User& user : m_users) {
        if (user.id == userId) {
            return &user;
        }
    }
    return nullptr;
}

std::int16_t UserDataLibrary::UmGetUserCount() const {
    return m_bLoaded ? static_cast<std::int16_t>(m_users.size()) : kMissingCount;
}

std::int32_t UserDataLibrary::UmGetUserID(std::int16_t position, std::int32_t& userId) const {
    if (!m_bLoaded || position < 0 || static_cast<std::size_t>(position) >= m_users.size()) {
        return 0;
    }
    userId = m_users[static_cast<std::size_t>(position)].id;
    return 1;
}

std::int32_t UserDataLibrary::UmGetUserName(std::int32_t userId, std::string& name,
                                            std::int16_t& size) const {
    const User* user = m_bLoaded ? FindUser(userId) : nullptr;
    if (user == nullptr) {
        name.clear();
        return 0;
    }
    return PlaceText(user->folder, kMaxName, name, size);
}

std::int32_t UserDataLibrary::UmGetUserDirectory(std::int32_t userId, std::string& directory,
                                                 std::int16_t& size) const {
    const User* user = m_bLoaded ? FindUser(userId) : nullptr;
    if (user == nullptr) {
        directory.clear();
        return 0;
    }
    return PlaceText(user->folder, kMaxDirectory, directory, size);
}

std::int32_t UserDataLibrary::UmGetRootDirectory(std::string& directory, std::int16_t& size) const {
    if (!m_bLoaded || size <= 0 || m_szRoot.size() + 1 > static_cast<std::size_t>(size)) {
        directory.clear();
        return 0;
    }
    directory = m_szRoot;
    size = static_cast<std::int16_t>(directory.size() + 1);
    return 1;
}

UserDataLibrary& UserLibrary() {
    static UserDataLibrary library;
    return library;
}

}  // namespace tabrel
