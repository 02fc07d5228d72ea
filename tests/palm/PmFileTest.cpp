#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <random>

#include "palm/dat/PmFile.h"
#include "support/LockHolder.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::Bytes;

namespace {

Bytes ReadUpTo(PmFile& file, std::size_t size) {
    Bytes bytes(size);
    std::size_t count = 0;
    EXPECT_TRUE(file.Read(bytes, count));
    bytes.resize(count);
    return bytes;
}

}  // namespace

TEST(PmFile, FourOpenModes) {
    test::TempDir dir;
    const std::string path = dir.File("a.dat"), missing = dir.File("missing.dat");
    test::WriteFile(path, {'a', 'b', 'c', 'd'});
    PmFile file;
    EXPECT_FALSE(file.Open(missing, PmOpenRead) || file.Open(missing, PmOpenWrite) ||
                 file.Open(missing, PmOpenReadWrite) || file.Open(path, -1) || file.Open(path, 4) ||
                 file.Open("", PmOpenRead) ||
                 file.Open(dir.Folder(), PmOpenRead));  // a folder is no data file

    const Bytes xy{'X', 'Y'};
    ASSERT_TRUE(file.Open(path, PmOpenRead));
    EXPECT_FALSE(file.Write(xy));
    EXPECT_EQ(ReadUpTo(file, 10), (Bytes{'a', 'b', 'c', 'd'}));
    ASSERT_TRUE(file.Open(path, PmOpenWrite));
    Bytes one(1);
    std::size_t count = 0;
    EXPECT_FALSE(file.Read(one, count));
    EXPECT_TRUE(file.Write(xy) && file.Close());
    EXPECT_EQ(test::ReadFile(path), (Bytes{'X', 'Y', 'c', 'd'}));  // written over, not shortened
    ASSERT_TRUE(file.Open(path, PmOpenReadWrite));
    EXPECT_EQ(ReadUpTo(file, 2), xy);
    ASSERT_TRUE(file.Open(path, PmOpenCreate));
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.Open(missing, PmOpenCreate) && file.Close());
    EXPECT_TRUE(test::ReadFile(path).empty() && std::filesystem::exists(missing));
}

// Reads share the file, a write holds it alone; a file another program holds alone is
// read but never written or emptied.
TEST(PmFile, ReadsShareTheFileAndAWriteHoldsItAlone) {
    test::TempDir dir;
    const std::string path = dir.File("locked.dat");
    test::WriteFile(path, {1, 2, 3});
    PmFile holder, second;
    ASSERT_TRUE(holder.Open(path, PmOpenRead));
    EXPECT_TRUE(second.Open(path, PmOpenRead) && second.Close());
    for (int mode : {PmOpenWrite, PmOpenReadWrite, PmOpenCreate}) {
        EXPECT_FALSE(second.Open(path, mode) || second.IsOpen());
    }
    EXPECT_TRUE(holder.Close() && second.Open(path, PmOpenReadWrite) && second.Close());

    const int other = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // another program's lock
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_FALSE(second.Open(path, PmOpenCreate));
    EXPECT_FALSE(second.Open(path, PmOpenReadWrite));
    EXPECT_TRUE(second.Open(path, PmOpenRead) && second.Close());
    ::close(other);
    EXPECT_EQ(test::ReadFile(path), (Bytes{1, 2, 3}));
}

// A POSIX record lock of another program (a Palm Desktop under Wine) keeps the file from
// being written, not from being read.
TEST(PmFile, FileUnderAnotherProgramsRecordLockIsNotWritten) {
    test::TempDir dir;
    const std::string path = dir.File("held.dat");
    test::WriteFile(path, {1, 2, 3});
    PmFile file;
    {
        const test::LockHolder holder(path, test::LockKind::RecordRead);
        ASSERT_TRUE(holder.IsHolding());
        EXPECT_FALSE(file.Open(path, PmOpenReadWrite));
        EXPECT_FALSE(file.Open(path, PmOpenCreate));
        EXPECT_TRUE(file.Open(path, PmOpenRead) && file.Close());
    }
    EXPECT_TRUE(file.Open(path, PmOpenReadWrite) && file.Close());
    EXPECT_EQ(test::ReadFile(path), (Bytes{1, 2, 3}));
}

// Random seeks, reads and writes of every size against a model of the file.
TEST(PmFile, MixedReadsAndWritesMatchAModelOfTheFile) {
    test::TempDir dir;
    const std::string path = dir.File("mixed.dat");
    std::mt19937 random(20240601);
    Bytes model(3 * PmFile::kBufferSize + 123);
    for (auto& b : model) {
        b = static_cast<std::uint8_t>(random());
    }
    test::WriteFile(path, model);

    PmFile file;
    ASSERT_TRUE(file.Open(path, PmOpenReadWrite));
    std::uint64_t at = 0;
    for (int step = 0; step < 3000; ++step) {
        const std::size_t size =
            random() % 8 == 0 ? random() % (2 * PmFile::kBufferSize) : 1 + random() % 64;
        const auto op = random() % 4;
        if (op == 0) {
            at = random() % (model.size() + 200);
            ASSERT_TRUE(file.Seek(at));
        } else if (op == 1) {
            const Bytes got = ReadUpTo(file, size);
            const auto from = model.begin() + std::min<std::size_t>(at, model.size());
            ASSERT_EQ(got, Bytes(from, from + std::min<std::size_t>(size, model.end() - from)));
            at += got.size();
        } else {
            Bytes bytes(size, static_cast<std::uint8_t>(step));
            ASSERT_TRUE(file.Write(bytes));
            model.resize(std::max<std::size_t>(model.size(), at + size));  // a gap reads as 0
            std::copy(bytes.begin(), bytes.end(), model.begin() + at);
            at += size;
        }
        ASSERT_EQ(file.GetPosition(), at) << step;
        ASSERT_EQ(file.GetSize(), model.size()) << step;
    }
    EXPECT_TRUE(file.Skip(5) && file.GetPosition() == at + 5);
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(test::ReadFile(path), model);
}

TEST(PmFile, FlushAndCloseReportBytesThatNeverReachedTheFile) {
    test::TempDir dir;
    const std::string path = dir.File("flush.dat");
    PmFile file;
    EXPECT_TRUE(file.Close());  // nothing open: harmless
    EXPECT_FALSE(file.Flush());
    ASSERT_TRUE(file.Open(path, PmOpenCreate) && file.Write(Bytes(10, 7)) && file.Flush());
    EXPECT_EQ(test::ReadFile(path), Bytes(10, 7));  // on disk while still open
    EXPECT_TRUE(file.Sync() && file.Close());

    // With a file size limit of 5 bytes the buffered write succeeds, writing it back fails.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 5;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = file.Open(path, PmOpenCreate) && file.Write(Bytes(10, 7));
    const bool flushed = file.Flush(), flushedAgain = file.Flush(), closed = file.Close();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(written);
    EXPECT_FALSE(flushed || flushedAgain || closed);  // a lost byte stays reported
}

}  // namespace tabrel
