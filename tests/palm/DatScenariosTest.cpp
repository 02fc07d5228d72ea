// What the classic and the "PalmSG Database" containers promise alike, written once and
// run on the Memos file of each generation.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DatSamples.h"
#include "palm/dat/PmFile.h"
#include "support/EnvGuards.h"

namespace tabrel {

using namespace test;

namespace {

struct ClassicMemos {
    using Util = PmMemoUtil;
    static Bytes Sample() { return SampleMemoFile().Build(); }
    // The sample with a short third record and nothing after the records.
    static Bytes Short() {
        ClassicFile file = SampleMemoFile();
        file.records[2] = ClassicMemoRecord({.id = 22}, "short");
        file.trailing.clear();
        return file.Build();
    }
    static bool ChangeFirst(Util& memos, const std::string& text) {
        PmMemoRecord changed = LoadedMemo(memos, 0);
        changed.m_szMemo = text;
        return memos.ChangeRecord(0, changed);
    }
};

struct PalmSgMemos {
    using Util = PmMemoExUtil;
    static Bytes Sample() { return SampleMemoPad().Build(); }
    static Bytes Short() {
        PalmSgFile file = SampleMemoPad();
        file.records[1] = MemoRecord({.id = 22}, "short");
        file.trailing.clear();
        return file.Build();
    }
    static bool ChangeFirst(Util& memos, const std::string& text) {
        PmMemoExRecord changed = LoadedRecord(memos, 0);
        changed.m_szMemo = text;
        return memos.ChangeRecord(0, changed);
    }
};

template <class Generation>
class DatScenarios : public ::testing::Test {
  protected:
    // A folder of its own in a temporary folder others may enter, holding memopad.dat.
    std::string FileInFolder(const Bytes& bytes) {
        std::filesystem::permissions(m_dir.Path(), std::filesystem::perms(0755));
        m_folder = m_dir.Path() / "ro";
        std::filesystem::create_directory(m_folder);
        const std::string path = (m_folder / "memopad.dat").string();
        WriteFile(path, bytes);
        return path;
    }

    ScopedLogFolder m_logFolder;
    TempDir m_dir;
    std::filesystem::path m_folder;
};

using Generations = ::testing::Types<ClassicMemos, PalmSgMemos>;
TYPED_TEST_SUITE(DatScenarios, Generations);

TYPED_TEST(DatScenarios, TruncationAtAnyOffsetFailsCleanly) {
    const Bytes full = TypeParam::Short();
    DatFile dat(full);
    ASSERT_TRUE(typename TypeParam::Util(dat.Path()).IsLoaded());
    for (std::size_t size = 0; size < full.size(); ++size) {
        WriteFile(dat.Path(), Bytes(full.begin(), full.begin() + static_cast<long>(size)));
        typename TypeParam::Util memos;
        EXPECT_FALSE(memos.LoadFile(dat.Path())) << "cut at " << size;
        EXPECT_FALSE(memos.Save()) << "cut at " << size;  // nothing loaded, nothing saved
    }
    // A failed load also forgets the file loaded before.
    WriteFile(dat.Path(), full);
    typename TypeParam::Util memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    WriteFile(dat.Path(), Bytes(full.begin(), full.end() - 1));
    EXPECT_FALSE(memos.LoadFile(dat.Path()));
    EXPECT_FALSE(memos.Save());
    EXPECT_EQ(dat.Read(), Bytes(full.begin(), full.end() - 1));
}

// A save into a folder where no new file can be made fails and leaves the file alone.
TYPED_TEST(DatScenarios, FailedSaveLeavesTheOriginalFile) {
    const Bytes original = TypeParam::Sample();
    const std::string path = this->FileInFolder(original);
    std::filesystem::permissions(path, std::filesystem::perms(0666));
    std::filesystem::permissions(this->m_folder, std::filesystem::perms(0555));
    EXPECT_TRUE(RunUnprivileged([&] {
        typename TypeParam::Util readOnly;
        return readOnly.LoadFile(path) && TypeParam::ChangeFirst(readOnly, "lost") &&
               !readOnly.Save();
    }));
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(this->m_folder),
                            std::filesystem::directory_iterator()),
              1);
}

// A file another program wrote after the load is not saved over (its change would be
// lost); the program's own saves one after the other still go through.
TYPED_TEST(DatScenarios, FileChangedAfterTheLoadIsNotSavedOver) {
    const Bytes original = TypeParam::Sample();
    DatFile dat(original);
    typename TypeParam::Util memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    Bytes changed = original;
    changed.push_back(0);
    WriteFile(dat.Path(), changed);
    ASSERT_TRUE(TypeParam::ChangeFirst(memos, "lost"));
    EXPECT_FALSE(memos.Save());
    EXPECT_EQ(dat.Read(), changed);
    EXPECT_EQ(dat.EntryCount(), 1u);

    WriteFile(dat.Path(), original);
    ASSERT_TRUE(memos.LoadFile(dat.Path()));
    ASSERT_TRUE(TypeParam::ChangeFirst(memos, "first save"));
    EXPECT_TRUE(memos.Save());
    ASSERT_TRUE(TypeParam::ChangeFirst(memos, "second save"));
    EXPECT_TRUE(memos.Save());
    EXPECT_TRUE(typename TypeParam::Util(dat.Path()).IsLoaded());
}

// Loading only reads: a file the user may not write, in a folder the user may not write,
// loads (a save then fails and leaves it alone).
TYPED_TEST(DatScenarios, ReadOnlyFilesLoad) {
    const Bytes original = TypeParam::Sample();
    const std::string path = this->FileInFolder(original);
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    EXPECT_TRUE(RunUnprivileged([&] {
        typename TypeParam::Util memos;
        return memos.LoadFile(path) && memos.GetDataMgr().GetRecordCount() == 3 && !memos.Save();
    }));
    std::filesystem::permissions(this->m_folder, std::filesystem::perms(0555));
    EXPECT_TRUE(RunUnprivileged([&] {
        typename TypeParam::Util memos(path);
        return memos.IsLoaded() && memos.GetDataMgr().GetRecordCount() == 3;
    }));
    EXPECT_EQ(ReadFile(path), original);

    // A file held for writing elsewhere is still read, never saved over.
    PmFile holder;
    ASSERT_TRUE(holder.Open(path, PmOpenReadWrite));
    typename TypeParam::Util held(path);
    EXPECT_TRUE(held.IsLoaded());
    EXPECT_FALSE(held.Save());
}

}  // namespace
}  // namespace tabrel
