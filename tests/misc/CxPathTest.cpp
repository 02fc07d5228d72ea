#include <gtest/gtest.h>

#include <filesystem>

#include "misc/CxPath.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::TempDir;
using test::WriteTextFile;

TEST(CxPath, FindsEntriesWithoutRegardToLetterCase) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("User/Address"));
    WriteTextFile(dir.File("User/Address/ADDRESS.DAT"), "x");
    WriteTextFile(dir.File("User/Address/address.dat"), "y");
    WriteTextFile(dir.File("User/Address/Todo.DAT"), "z");

    // The exact name first, else the first match in byte order.
    EXPECT_EQ(FindEntryNoCase(dir.File("User/Address"), "address.dat"), "address.dat");
    EXPECT_EQ(FindEntryNoCase(dir.File("User/Address"), "Address.Dat"), "ADDRESS.DAT");
    EXPECT_EQ(FindEntryNoCase(dir.Folder(), "missing"), std::nullopt);
    EXPECT_EQ(FindEntryNoCase(dir.File("nowhere"), "x"), std::nullopt);
    EXPECT_EQ(FindEntryNoCase(dir.Folder(), ""), std::nullopt);

    EXPECT_EQ(FindPathNoCase(dir.Folder(), "user/address/todo.dat"),
              dir.File("User/Address/Todo.DAT"));
    EXPECT_EQ(FindPathNoCase(dir.Folder(), "user\\address\\"), dir.File("User/Address") + "/");
    EXPECT_EQ(FindPathNoCase(dir.Folder(), "user/memopad/memopad.dat"), std::nullopt);
    EXPECT_EQ(ResolvePathNoCase(dir.Folder(), "user/memopad/memopad.dat"),
              dir.File("User/memopad/memopad.dat"));
    EXPECT_EQ(ResolvePathNoCase(dir.Folder(), ""), dir.Folder());
    // A file is no folder to look into.
    EXPECT_EQ(FindPathNoCase(dir.Folder(), "user/address/todo.dat/x"), std::nullopt);
}

TEST(CxPath, JoinPathAddsOneSeparator) {
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
}

}  // namespace tabrel
