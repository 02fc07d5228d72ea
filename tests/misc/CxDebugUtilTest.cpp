#include <fmt/format.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "misc/CxAssert.h"
#include "misc/CxDebugUtil.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

constexpr const char* kTimePattern = R"(\[\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\])";

// Points the process's logger at a fresh folder and restores its defaults afterwards.
class CxDebugUtilTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(m_dir.Folder()); }
    void TearDown() override { Reset("./"); }

    static void Reset(const std::string& folder) {
        DebugLog().SetFolder(folder);
        DebugLog().Enable(false);
        DebugLog().SetLevel(0);
    }

    std::string LogPath() const { return m_dir.File("appdebug.log"); }
    std::string LogText() const { return test::ReadTextFile(LogPath()); }

    // The lines of the log, each without its CR LF; a bare LF ends up inside a line.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        const std::string text = LogText();
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) {
                lines.push_back(text.substr(start) + "<no CR LF>");
                break;
            }
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

    // The part of a line after the time stamp.
    static std::string AfterTime(const std::string& line) {
        std::smatch match;
        EXPECT_TRUE(std::regex_search(line, match, std::regex(std::string("^") + kTimePattern)))
            << line;
        return match.suffix().str();
    }

    // length bytes of a file from offset (counted from the end when fromEnd).
    static std::string ReadPart(const std::string& path, std::streamoff offset, std::size_t length,
                                bool fromEnd = false) {
        std::ifstream in(path, std::ios::binary);
        in.seekg(fromEnd ? -offset : offset, fromEnd ? std::ios::end : std::ios::beg);
        std::string part(length, '\0');
        in.read(part.data(), static_cast<std::streamsize>(length));
        part.resize(static_cast<std::size_t>(in.gcount()));
        return part;
    }

    static std::string ThreadId() { return fmt::format("{:05x}", static_cast<unsigned>(gettid())); }

    test::TempDir m_dir;
};

}  // namespace

TEST_F(CxDebugUtilTest, LineFormat) {
    DebugLog().Enable(true);
    DebugLog().SetLevel(3);
    DebugLog().Print(0, "/src/common/palm/PalmAddr.cpp", 123, "Loaded %d records from %s", 5,
                     "address.dat");
    DebugLog().Print(2, "PalmDate.cpp", 4567, "%s", "progress");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(AfterTime(lines[0]), "[PalmAddr.cpp        (123 )][" + ThreadId() +
                                       "][!!!] - Loaded 5 records from address.dat");
    EXPECT_EQ(AfterTime(lines[1]),
              "[PalmDate.cpp        (4567)][" + ThreadId() + "][   ] - progress");
}

TEST_F(CxDebugUtilTest, TimeStampIsTheLocalTime) {
    std::time_t before = std::time(nullptr);
    DebugLog().Print(0, "a.cpp", 1, "x");
    std::time_t after = std::time(nullptr);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    // The stamp is one of the seconds between the two clock readings.
    bool found = false;
    for (std::time_t t = before; t <= after; ++t) {
        std::tm local{};
        localtime_r(&t, &local);
        found = found ||
                lines[0].starts_with(fmt::format(
                    "[{:04d}/{:02d}/{:02d} {:02d}:{:02d}:{:02d}]", local.tm_year + 1900,
                    local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec));
    }
    EXPECT_TRUE(found) << lines[0];
}

TEST_F(CxDebugUtilTest, DisabledLogWritesLevelZeroOnly) {
    DebugLog().Enable(false);
    DebugLog().SetLevel(3);
    DebugLog().Print(2, "a.cpp", 1, "detail");
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
    DebugLog().Print(0, "a.cpp", 2, "failure");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].ends_with("][!!!] - failure")) << lines[0];
}

TEST_F(CxDebugUtilTest, EnabledLogWritesUpToItsLevel) {
    DebugLog().Enable(true);
    DebugLog().SetLevel(1);  // "High"
    DebugLog().Print(2, "a.cpp", 1, "detail");
    DebugLog().Print(3, "a.cpp", 1, "low");
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
    DebugLog().Print(1, "a.cpp", 1, "high");
    DebugLog().SetLevel(3);
    DebugLog().Print(3, "a.cpp", 1, "low");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with("][   ] - high"));
    EXPECT_TRUE(lines[1].ends_with("][   ] - low"));
}

TEST_F(CxDebugUtilTest, DefaultsAndSetters) {
    CxDebugUtil log;
    EXPECT_EQ(log.GetLevel(), 0);
    EXPECT_FALSE(log.IsEnabled());
    EXPECT_EQ(log.GetPath(), "./appdebug.log");
    log.SetLevel(7);
    EXPECT_EQ(log.GetLevel(), 3);
    log.SetLevel(-2);
    EXPECT_EQ(log.GetLevel(), 0);
    log.SetLevel(2);
    EXPECT_EQ(log.GetLevel(), 2);
    log.SetFolder(std::string(300, 'f'));
    EXPECT_EQ(log.GetPath(), std::string(259, 'f') + "appdebug.log");
}

TEST_F(CxDebugUtilTest, SourceFileNames) {
    DebugLog().Print(0, "C:\\work\\tabrel\\common\\palm\\PalmAddrEx.cpp", 7, "a");
    DebugLog().Print(0, "AVeryLongSourceFileName.cpp", 12345, "b");
    DebugLog().Print(0, nullptr, 1, "c");
    DebugLog().Print(0, "Exactly20Characters_", 0, "d");
    DebugLog().Print(0, (std::string(300, 'n') + ".cpp").c_str(), 1, "e");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 5u);
    const std::string id = "][" + ThreadId() + "][!!!] - ";
    EXPECT_EQ(AfterTime(lines[0]), "[PalmAddrEx.cpp      (7   )" + id + "a");
    EXPECT_EQ(AfterTime(lines[1]), "[AVeryLongSourceFileName.cpp(12345)" + id + "b");
    EXPECT_EQ(AfterTime(lines[2]), "[<null>              (1   )" + id + "c");
    EXPECT_EQ(AfterTime(lines[3]), "[Exactly20Characters_(0   )" + id + "d");
    EXPECT_EQ(AfterTime(lines[4]), "[" + std::string(255, 'n') + "(1   )" + id + "e");
}

TEST_F(CxDebugUtilTest, MacroLogsThisFileAndLine) {
    const int line = __LINE__ + 1;
    CX_LOG(0, "value %d of %s", 42, "x");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(
        AfterTime(lines[0]),
        fmt::format("[CxDebugUtilTest.cpp ({:<4})][{}][!!!] - value 42 of x", line, ThreadId()));
}

TEST_F(CxDebugUtilTest, AssertionIsLoggedAndThrown) {
    try {
        CX_ASSERT(1 + 1 == 3, "pData!=NULL");
        FAIL() << "no exception";
    } catch (const CxAssertionError& error) {
        EXPECT_STREQ(error.what(), "pData!=NULL");
    }
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].ends_with("][!!!] - Assertion failed: pData!=NULL")) << lines[0];
}

TEST_F(CxDebugUtilTest, LinesEndWithCrLfAndAreAppended) {
    test::WriteTextFile(LogPath(), "earlier\r\n");
    DebugLog().Print(0, "a.cpp", 1, "one");
    DebugLog().Print(0, "a.cpp", 2, "two");
    const std::string text = LogText();
    EXPECT_TRUE(text.starts_with("earlier\r\n["));
    EXPECT_TRUE(text.ends_with("] - two\r\n"));
    std::size_t bareLf = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bareLf += text[i] == '\n' && (i == 0 || text[i - 1] != '\r') ? 1 : 0;
    }
    EXPECT_EQ(bareLf, 0u);
    EXPECT_EQ(LogLines().size(), 3u);
}

TEST_F(CxDebugUtilTest, LongMessageIsCut) {
    DebugLog().Print(0, "a.cpp", 1, "%s", std::string(50000, 'm').c_str());
    DebugLog().Print(0, "a.cpp", 1, "%s", std::string(40959, 'k').c_str());
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with("] - " + std::string(40959, 'm')));
    EXPECT_FALSE(lines[0].ends_with(std::string(40960, 'm')));
    EXPECT_TRUE(lines[1].ends_with("] - " + std::string(40959, 'k')));
    EXPECT_FALSE(lines[1].ends_with(std::string(40960, 'k')));
}

TEST_F(CxDebugUtilTest, MissingFolderDropsTheMessage) {
    DebugLog().SetFolder(m_dir.Folder() + "missing/");
    DebugLog().Print(0, "a.cpp", 1, "lost");
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("missing")));
}

TEST_F(CxDebugUtilTest, FileOfExactly10MiBIsAppendedTo) {
    test::WriteTextFile(LogPath(), "");
    std::filesystem::resize_file(LogPath(), 10485760);  // sparse, so quick
    DebugLog().Print(0, "a.cpp", 1, "after");
    EXPECT_FALSE(std::filesystem::exists(LogPath() + ".old.log"));
    const auto size = std::filesystem::file_size(LogPath());
    const std::string line = DebugLog().FormatLine(0, "a.cpp", 1, "after") + "\r\n";
    EXPECT_EQ(size, 10485760u + line.size());
}

TEST_F(CxDebugUtilTest, LargerFileIsCopiedAndStartedAfresh) {
    test::WriteTextFile(LogPath(), "first\r\n");
    std::filesystem::resize_file(LogPath(), 10485761);
    test::WriteTextFile(LogPath() + ".old.log", "an earlier copy");
    DebugLog().Print(0, "a.cpp", 1, "fresh");

    const std::string old = LogPath() + ".old.log";
    ASSERT_TRUE(std::filesystem::exists(old));
    EXPECT_EQ(std::filesystem::file_size(old), 10485761u);
    EXPECT_EQ(ReadPart(old, 0, 7), "first\r\n");
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].ends_with("] - fresh"));
}

TEST_F(CxDebugUtilTest, FailedCopyKeepsAppending) {
    test::WriteTextFile(LogPath(), "first\r\n");
    std::filesystem::resize_file(LogPath(), 10485761);
    std::filesystem::create_directory(LogPath() + ".old.log");  // the copy cannot be made
    DebugLog().Print(0, "a.cpp", 1, "kept");

    const std::string line = DebugLog().FormatLine(0, "a.cpp", 1, "kept") + "\r\n";
    EXPECT_EQ(std::filesystem::file_size(LogPath()), 10485761u + line.size());
    EXPECT_EQ(ReadPart(LogPath(), 0, 7), "first\r\n");
    EXPECT_EQ(ReadPart(LogPath(), 8, 8, true), "- kept\r\n");
}

}  // namespace tabrel
