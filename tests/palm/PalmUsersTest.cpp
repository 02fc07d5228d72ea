#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "palm/desktop/PalmUsers.h"
#include "palm/desktop/PmApp.h"
#include "palm/desktop/UserDataLibrary.h"
#include "support/PalmTestSupport.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::ScopedPalmSetup;
using test::WriteTextFile;

namespace {

// A Palm Desktop folder with users, pointed at for the lifetime of the object; the library is
// loaded from it and freed at the end.
class PalmFolder {
  public:
    PalmFolder() {
        std::filesystem::create_directories(Root());
        SetPalmDesktopFolder(Root());
    }
    ~PalmFolder() { FreeUserLibrary(); }
    PalmFolder(const PalmFolder&) = delete;
    PalmFolder& operator=(const PalmFolder&) = delete;

    std::string Root() const { return m_setup.File("Palm"); }
    void AddFolder(const std::string& relative) {
        std::filesystem::create_directories(Root() + "/" + relative);
    }

  private:
    ScopedPalmSetup m_setup;
};

PalmUser Entry(PalmUserList& users, std::size_t i) {
    const PalmUser* user = users.At(i);
    return user == nullptr ? PalmUser{-1, "<none>", "<none>"} : *user;
}

}  // namespace

TEST(PalmUsers, UsersAreTheFoldersWithApplicationFoldersInNameOrder) {
    PalmFolder palm;
    palm.AddFolder("alice/Datebook");
    palm.AddFolder("Zed/address");
    palm.AddFolder("Bob/TODO");
    palm.AddFolder("Bob/MemoPad");
    palm.AddFolder("Help/Images");  // no application folder
    palm.AddFolder("Empty");
    WriteTextFile(palm.Root() + "/Fake/address", "a file, not a folder");
    WriteTextFile(palm.Root() + "/palm.exe", "MZ");

    ASSERT_TRUE(LoadUserLibrary());
    PalmUserList users;
    EXPECT_EQ(LoadPalmUsers(users), std::nullopt);
    ASSERT_EQ(users.GetCount(), 3u);
    // FNV-1a of the folder name with the top bit cleared.
    EXPECT_EQ(Entry(users, 0).id, 0x6BCBA174);
    EXPECT_EQ(Entry(users, 0).name, "Bob");
    EXPECT_EQ(Entry(users, 0).directory, "Bob");
    EXPECT_EQ(Entry(users, 1).id, 0x1A161894);
    EXPECT_EQ(Entry(users, 1).name, "Zed");
    EXPECT_EQ(Entry(users, 2).id, 0x072213E7);
    EXPECT_EQ(Entry(users, 2).name, "alice");
    EXPECT_EQ(UserDataLibrary::HashUserName("a"), 0x640C292C);  // the FNV-1a test vector
    EXPECT_EQ(UserDataLibrary::HashUserName(""), 0x011C9DC5);

    // The same identifiers in the next run; a new user does not move the others.
    FreeUserLibrary();
    palm.AddFolder("Carol/memopad");
    ASSERT_TRUE(LoadUserLibrary());
    EXPECT_EQ(LoadPalmUsers(users), std::nullopt);
    ASSERT_EQ(users.GetCount(), 4u);
    EXPECT_EQ(Entry(users, 1).name, "Carol");
    EXPECT_EQ(Entry(users, 2).id, 0x1A161894);

    FreePalmUsers(users);
    EXPECT_EQ(users.GetCount(), 0u);
}

TEST(PalmUsers, CollidingNamesTakeTheNextFreeNumberInNameOrder) {
    PalmFolder palm;
    // Both names hash to 0x3214C604.
    palm.AddFolder("u605430/address");
    palm.AddFolder("u31992/address");
    ASSERT_TRUE(LoadUserLibrary());
    PalmUserList users;
    LoadPalmUsers(users);
    ASSERT_EQ(users.GetCount(), 2u);
    EXPECT_EQ(Entry(users, 0).name, "u31992");
    EXPECT_EQ(Entry(users, 0).id, 0x3214C604);
    EXPECT_EQ(Entry(users, 1).name, "u605430");
    EXPECT_EQ(Entry(users, 1).id, 0x3214C605);
}

TEST(PalmUsers, WithoutAPalmFolderTheUsersCannotBeListed) {
    ScopedPalmSetup setup;  // no registry, no override: no Palm Desktop folder
    EXPECT_FALSE(LoadUserLibrary());
    EXPECT_FALSE(UserLibrary().IsLoaded());
    EXPECT_EQ(UserLibrary().UmGetUserCount(), -100);

    PalmUserList users;
    users.Add(std::make_unique<PalmUser>());  // a previous list is released
    const auto message = LoadPalmUsers(users);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->caption, "Error");
    EXPECT_EQ(message->text, "Can not find any Palm users in your desktop environment.");
    EXPECT_EQ(users.GetCount(), 0u);

    std::string text = "stale";
    EXPECT_FALSE(GetUserDataFolder(0x6BCBA174, text));
    EXPECT_FALSE(GetUserName(0x6BCBA174, text, 32));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(FindUserDatabase(0x6BCBA174, AppContacts, false, text));

    // A folder that does not exist counts the same.
    SetPalmDesktopFolder(setup.File("no such folder"));
    EXPECT_FALSE(LoadUserLibrary());
    EXPECT_TRUE(LoadPalmUsers(users));
}

TEST(PalmUsers, APalmFolderWithoutUsersGivesAnEmptyListWithoutMessage) {
    PalmFolder palm;
    palm.AddFolder("Help");
    ASSERT_TRUE(LoadUserLibrary());
    PalmUserList users;
    EXPECT_EQ(LoadPalmUsers(users), std::nullopt);
    EXPECT_EQ(users.GetCount(), 0u);
}

TEST(PalmUsers, DataFolderNameAndWidths) {
    PalmFolder palm;
    const std::string longName(70, 'L');
    palm.AddFolder("Bob/address");
    palm.AddFolder(longName + "/todo");
    ASSERT_TRUE(LoadUserLibrary());
    PalmUserList users;
    LoadPalmUsers(users);
    ASSERT_EQ(users.GetCount(), 2u);
    EXPECT_EQ(Entry(users, 1).name, std::string(63, 'L'));
    EXPECT_EQ(Entry(users, 1).directory, longName);

    std::string folder;
    ASSERT_TRUE(GetUserDataFolder(Entry(users, 1).id, folder));
    EXPECT_EQ(folder, palm.Root() + "/" + longName + "/");
    ASSERT_TRUE(GetUserDataFolder(0x6BCBA174, folder));
    EXPECT_EQ(folder, palm.Root() + "/Bob/");
    EXPECT_FALSE(GetUserDataFolder(12345, folder));  // unknown user: no folder at all

    std::string name;
    ASSERT_TRUE(GetUserName(Entry(users, 1).id, name, 32));
    EXPECT_EQ(name, std::string(31, 'L'));
    EXPECT_FALSE(GetUserName(Entry(users, 1).id, name, 0));
    EXPECT_FALSE(GetUserName(12345, name, 32));
}

TEST(PalmUsers, LibraryCallsKeepTheirSizeConventions) {
    PalmFolder palm;
    palm.AddFolder("Bob/address");
    ASSERT_TRUE(LoadUserLibrary());
    const UserDataLibrary& library = UserLibrary();
    EXPECT_EQ(library.UmGetUserCount(), 1);

    std::int32_t id = 7;
    EXPECT_EQ(library.UmGetUserID(1, id), 0);
    EXPECT_EQ(library.UmGetUserID(-1, id), 0);
    EXPECT_EQ(id, 7);
    EXPECT_NE(library.UmGetUserID(0, id), 0);
    EXPECT_EQ(id, 0x6BCBA174);

    std::string text;
    std::int16_t size = 3;
    EXPECT_NE(library.UmGetUserName(id, text, size), 0);
    EXPECT_EQ(text, "Bo");
    EXPECT_EQ(size, 3);
    size = 64;
    EXPECT_NE(library.UmGetUserDirectory(id, text, size), 0);
    EXPECT_EQ(text, "Bob");
    EXPECT_EQ(size, 4);

    const std::string root = palm.Root() + "/";
    size = 260;
    EXPECT_NE(library.UmGetRootDirectory(text, size), 0);
    EXPECT_EQ(text, root);
    EXPECT_EQ(size, static_cast<std::int16_t>(root.size() + 1));
    // A root folder that does not fit is refused rather than cut to another place.
    size = static_cast<std::int16_t>(root.size());
    EXPECT_EQ(library.UmGetRootDirectory(text, size), 0);
    EXPECT_EQ(text, "");
}

TEST(PalmUsers, FindUserDatabaseIgnoresLetterCase) {
    PalmFolder palm;
    palm.AddFolder("Bob/Address");
    palm.AddFolder("Bob/MEMOPAD");
    WriteTextFile(palm.Root() + "/Bob/Address/ADDRESS.DAT", "x");
    WriteTextFile(palm.Root() + "/Bob/MEMOPAD/memopad.MDB", "x");
    ASSERT_TRUE(LoadUserLibrary());
    const std::int32_t bob = 0x6BCBA174;

    std::string path;
    ASSERT_TRUE(FindUserDatabase(bob, AppContacts, false, path));
    EXPECT_EQ(path, palm.Root() + "/Bob/Address/ADDRESS.DAT");
    ASSERT_TRUE(FindUserDatabase(bob, AppMemos, true, path));
    EXPECT_EQ(path, palm.Root() + "/Bob/MEMOPAD/memopad.MDB");

    EXPECT_FALSE(FindUserDatabase(bob, AppContacts, true, path));
    EXPECT_EQ(path, palm.Root() + "/Bob/Address/Address.mdb");  // where it was looked for
    EXPECT_FALSE(FindUserDatabase(bob, AppCalendar, false, path));
    EXPECT_EQ(path, palm.Root() + "/Bob/datebook/datebook.dat");
    EXPECT_FALSE(FindUserDatabase(bob, 9, false, path));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(FindUserDatabase(12345, AppContacts, false, path));
}

}  // namespace tabrel
