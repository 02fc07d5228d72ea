#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "misc/CxFile.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::ReadTextFile;
using test::TempDir;
using test::WriteTextFile;

TEST(CxFile, WriteLineEndsEachLineWithCrLf) {
    TempDir dir;
    const std::string path = dir.File("out.csv");
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path, "wb"));
        EXPECT_TRUE(file.WriteLine("\"a\",\"b\""));
        EXPECT_TRUE(file.WriteLine(""));
        EXPECT_TRUE(file.WriteLine(std::string("x\0y", 3)));
    }  // destruction closes and flushes
    EXPECT_EQ(ReadTextFile(path), std::string("\"a\",\"b\"\r\n\r\nx\0y\r\n", 16));
}

TEST(CxFile, ModesTruncateAppendAndRead) {
    TempDir dir;
    const std::string path = dir.File("data.txt");
    WriteTextFile(path, "old\r\n");
    CxFile file;

    ASSERT_TRUE(file.Open(path, "ab"));
    EXPECT_TRUE(file.WriteLine("appended"));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadTextFile(path), "old\r\nappended\r\n");

    ASSERT_TRUE(file.Open(path, "a+b"));  // reads from the start, writes at the end
    std::string line;
    ASSERT_TRUE(file.ReadLine(line, 100));
    EXPECT_EQ(line, "old\r\n");
    EXPECT_TRUE(file.WriteLine("more"));
    file.Close();
    EXPECT_EQ(ReadTextFile(path), "old\r\nappended\r\nmore\r\n");

    ASSERT_TRUE(file.Open(path, "wb"));
    file.Close();
    EXPECT_EQ(ReadTextFile(path), "");

    // A read-only file refuses writes.
    ASSERT_TRUE(file.Open(path, "rb"));
    EXPECT_FALSE(file.WriteLine("no"));
}

TEST(CxFile, OpenFailures) {
    TempDir dir;
    CxFile file;
    EXPECT_FALSE(file.Open("", "rb"));
    EXPECT_FALSE(file.Open(dir.File("x.txt"), ""));
    EXPECT_FALSE(file.Open(dir.File("missing.txt"), "rb"));
    EXPECT_FALSE(file.Open(dir.File("no/such/folder.txt"), "wb"));
    EXPECT_FALSE(file.IsOpen());

    // A failed open leaves no earlier file open.
    ASSERT_TRUE(file.Open(dir.File("first.txt"), "wb"));
    EXPECT_FALSE(file.Open(dir.File("missing.txt"), "rb"));
    EXPECT_FALSE(file.IsOpen());
}

TEST(CxFile, OperationsOnAClosedFileFailQuietly) {
    CxFile file;
    std::string line = "stale";
    EXPECT_FALSE(file.WriteLine("text"));
    EXPECT_FALSE(file.ReadLine(line, 100));
    EXPECT_EQ(line, "");
    EXPECT_TRUE(file.Close());
    EXPECT_TRUE(file.Close());
}

TEST(CxFile, ReadLineCutsAndKeepsLineEnds) {
    TempDir dir;
    const std::string path = dir.File("in.csv");
    WriteTextFile(path, "first line\r\nsecond\nlast");
    CxFile file;
    ASSERT_TRUE(file.Open(path, "rb"));

    std::vector<std::string> lines;
    std::string line;
    while (file.ReadLine(line, 6)) {  // at most 5 characters a call
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"first", " line", "\r\n", "secon", "d\n", "last"}));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(file.ReadLine(line, 6));  // still at the end
}

TEST(CxFile, ReadLineRefusesBuffersWithoutRoom) {
    TempDir dir;
    const std::string path = dir.File("in.csv");
    WriteTextFile(path, "abc\n");
    CxFile file;
    ASSERT_TRUE(file.Open(path, "rb"));
    std::string line;
    EXPECT_FALSE(file.ReadLine(line, 0));
    EXPECT_FALSE(file.ReadLine(line, 1));
    ASSERT_TRUE(file.ReadLine(line, 2));
    EXPECT_EQ(line, "a");
    ASSERT_TRUE(file.ReadLine(line, 100));
    EXPECT_EQ(line, "bc\n");
}

TEST(CxFile, GetFileSize) {
    TempDir dir;
    WriteTextFile(dir.File("five.txt"), "12345");
    WriteTextFile(dir.File("empty.txt"), "");
    EXPECT_EQ(CxFile::GetFileSize(dir.File("five.txt")), 5);
    EXPECT_EQ(CxFile::GetFileSize(dir.File("empty.txt")), 0);
    EXPECT_EQ(CxFile::GetFileSize(dir.File("missing.txt")), -1);
    EXPECT_EQ(CxFile::GetFileSize(""), -1);
    EXPECT_EQ(CxFile::GetFileSize(dir.Folder()), -1);
}

}  // namespace tabrel
