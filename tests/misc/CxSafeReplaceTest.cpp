#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "misc/CxSafeReplace.h"
#include "support/TestSupport.h"

namespace tabrel {
namespace {

using test::ReadTextFile;
using test::TempDir;
using test::WriteTextFile;

bool Replace(const std::string& path, const std::string& content) {
    CxSafeReplace replacement;
    return replacement.Begin(path) &&
           ::write(replacement.GetTempFd(), content.data(), content.size()) ==
               static_cast<ssize_t>(content.size()) &&
           replacement.Commit();
}

std::size_t EntryCount(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

TEST(CxSafeReplace, FollowsALinkAndKeepsOwnerAndMode) {
    TempDir dir;
    const std::string target = dir.File("real.dat");
    const std::string link = dir.File("link.dat");
    WriteTextFile(target, "old");
    ::chmod(target.c_str(), 0604);
    std::filesystem::create_symlink("real.dat", link);  // relative, as users make them
    // Only root may give a file away; as another user the owner is the user's own anyway.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), 12345, 23456), 0);
    }

    ASSERT_TRUE(Replace(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadTextFile(target), "new");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    if (root) {
        EXPECT_EQ(info.st_uid, 12345u);
        EXPECT_EQ(info.st_gid, 23456u);
    }
    EXPECT_EQ(EntryCount(dir.Folder()), 2u);  // no temporary file left behind
}

TEST(CxSafeReplace, NewFilesAbandonedWritesAndRefusals) {
    TempDir dir;
    const std::string path = dir.File("new.csv");
    const mode_t mask = ::umask(027);
    ASSERT_TRUE(Replace(path, "first"));
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);  // as a file the user creates

    {
        CxSafeReplace abandoned;
        ASSERT_TRUE(abandoned.Begin(path));
        EXPECT_EQ(EntryCount(dir.Folder()), 2u);
    }
    EXPECT_EQ(ReadTextFile(path), "first");
    EXPECT_EQ(EntryCount(dir.Folder()), 1u);

    CxSafeReplace refused;
    EXPECT_FALSE(refused.Begin(dir.Folder()));  // a folder is no file to replace
    EXPECT_FALSE(refused.Begin(dir.File("no/such/file")));
    EXPECT_FALSE(refused.Begin(""));
    EXPECT_FALSE(refused.Commit());
    EXPECT_FALSE(CxSafeReplace::CanReplace(dir.Folder()));
    EXPECT_TRUE(CxSafeReplace::CanReplace(path));
    EXPECT_TRUE(CxSafeReplace::CanReplace(dir.File("other.csv")));
}

// The temporary files of saves killed before their end go at the next save of the file;
// those of running processes, and of other files, stay.
TEST(CxSafeReplace, RemovesTheTemporaryFilesOfKilledSaves) {
    TempDir dir;
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string gone = std::to_string(child);
    const std::string running = std::to_string(::getpid());
    const std::vector<std::string> names{
        ".address.dat.tmp-" + gone + "-3", ".address.dat.tmp-" + running + "-9999",
        ".datebook.dat.tmp-" + gone + "-1", ".address.dat.tmp-x-1"};
    for (const std::string& name : names) {
        WriteTextFile(dir.File(name), "partial");
    }
    ASSERT_TRUE(Replace(dir.File("address.dat"), "saved"));
    EXPECT_FALSE(std::filesystem::exists(dir.File(".address.dat.tmp-" + gone + "-3")));
    EXPECT_TRUE(std::filesystem::exists(dir.File(".address.dat.tmp-" + running + "-9999")));
    EXPECT_TRUE(std::filesystem::exists(dir.File(".datebook.dat.tmp-" + gone + "-1")));
    EXPECT_TRUE(std::filesystem::exists(dir.File(".address.dat.tmp-x-1")));
    EXPECT_EQ(ReadTextFile(dir.File("address.dat")), "saved");
}

}  // namespace
}  // namespace tabrel
