#pragma once
// UserDataLibrary: stands in for Palm Desktop's user-data library. Palm Desktop keeps one
// folder per Palm user in its own folder; the users are the sub-folders of the Palm Desktop
// folder that hold at least one application folder ("address", "datebook", "todo",
// "memopad", in any letter case), listed in name order (byte order) as they were when the
// library was loaded.
//
// A user's name and directory are the folder's name. The identifier is a positive 32-bit
// number made from the name, the same in every run: FNV-1a (32 bits) of the name's bytes
// with the top bit cleared, 0 becoming 1; when two names give the same number, the later
// one in name order takes the next free number.
//
// The calls keep the library's conventions: texts come back cut to the passed size - 1 (and
// to 63 characters for names, 255 for directories), the size variable is set to the length
// placed plus 1; a result of 0 is a failure, anything else success. Before Load succeeds (no
// Palm Desktop folder) the library counts as not loaded and every call fails: the count is
// -100, every text is empty.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabrel {

class UserDataLibrary {
  public:
    static constexpr std::size_t kMaxName = 63;
    static constexpr std::size_t kMaxDirectory = 255;
    static constexpr std::int16_t kMissingCount = -100;

    UserDataLibrary() = default;
    UserDataLibrary(const UserDataLibrary&) = delete;
    UserDataLibrary& operator=(const UserDataLibrary&) = delete;

    // Lists the users of the Palm Desktop folder palmFolder; false (not loaded) when the
    // folder is empty or does not exist.
    bool Load(const std::string& palmFolder);
    void Free();
    bool IsLoaded() const { return m_bLoaded; }

    // The number of users (at most 32767); kMissingCount when not loaded.
    std::int16_t UmGetUserCount() const;
    // The identifier of the user at position (0 up to the count - 1).
    std::int32_t UmGetUserID(std::int16_t position, std::int32_t& userId) const;
    std::int32_t UmGetUserName(std::int32_t userId, std::string& name, std::int16_t& size) const;
    std::int32_t UmGetUserDirectory(std::int32_t userId, std::string& directory,
                                    std::int16_t& size) const;
    // The Palm Desktop folder, ending with '/'. Fails instead of cutting when it does not fit
    // in size - 1 characters: a cut folder would name another place.
    std::int32_t UmGetRootDirectory(std::string& directory, std::int16_t& size) const;

    // The identifier's hash of a folder name (before collisions are resolved).
    static std::int32_t HashUserName(std::string_view folderName);

  private:
    struct User {
        std::int32_t id = 0;
        std::string folder;
    };

    const User* FindUser(std::int32_t userId) const;

    bool m_bLoaded = false;
    std::string m_szRoot;
    std::vector<User> m_users;
};

// The process-wide library, as the program loads it at start-up.
UserDataLibrary& UserLibrary();

}  // namespace tabrel
