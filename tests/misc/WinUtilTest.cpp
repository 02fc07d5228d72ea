#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "misc/WinUtil.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using test::TempDir;

// Sets an environment variable for the lifetime of the object and restores it.
class EnvGuard {
  public:
    EnvGuard(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~EnvGuard() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

std::string PathWith(const TempDir& dir) {
    const char* old = std::getenv("PATH");
    return dir.Path().string() + ":" + (old != nullptr ? old : "/usr/bin:/bin");
}

// A stand-in for xdg-open that writes its argument count and each argument in brackets to
// <dir>/args, renaming it into place so that a reader never sees half of it.
void WriteFakeXdgOpen(const TempDir& dir) {
    const std::string script = dir.File("xdg-open");
    test::WriteTextFile(script,
                        "#!/bin/sh\n"
                        "out='" +
                            dir.File("args") +
                            "'\n"
                            "{ printf '%s\\n' \"$#\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; "
                            "done; } > \"$out.tmp\"\n"
                            "mv \"$out.tmp\" \"$out\"\n");
    chmod(script.c_str(), 0755);
}

// Waits (boundedly) for the fake program's report.
std::optional<std::string> WaitForArgs(const TempDir& dir) {
    const std::string path = dir.File("args");
    for (int i = 0; i < 1000; ++i) {
        if (std::filesystem::exists(path)) {
            return test::ReadTextFile(path);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

// True when this process has no child left, running or unreaped.
bool NoChildrenLeft() {
    return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

}  // namespace

TEST(WinUtil, GetAppFolderIsTheFolderOfTheRunningProgram) {
    const std::string folder = GetAppFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(folder + exe.filename().string(), exe.string());
}

TEST(WinUtil, RunProgramPassesThePathAsExactlyOneArgument) {
    TempDir dir;
    WriteFakeXdgOpen(dir);
    const EnvGuard path("PATH", PathWith(dir));
    const std::string target = dir.Folder() + "my \"odd\" 'file'; rm -rf ~ $(touch " +
                               dir.File("pwned") + ") `touch " + dir.File("pwned2") +
                               "` & | > *.txt\nsecond line";
    ASSERT_TRUE(RunProgram(target));
    const auto args = WaitForArgs(dir);
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(*args, "1\n[" + target + "]\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("pwned")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("pwned2")));
    EXPECT_TRUE(NoChildrenLeft());
}

TEST(WinUtil, RunProgramKeepsAPathFromPassingForAnOption) {
    TempDir dir;
    WriteFakeXdgOpen(dir);
    const EnvGuard path("PATH", PathWith(dir));
    ASSERT_TRUE(RunProgram("--manual"));
    const auto args = WaitForArgs(dir);
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(*args, "1\n[./--manual]\n");
}

TEST(WinUtil, RunProgramFailures) {
    EXPECT_FALSE(RunProgram(""));

    TempDir dir;
    {
        const EnvGuard path("PATH", dir.Path().string());  // no xdg-open anywhere
        EXPECT_FALSE(RunProgram("/tmp/doc.txt"));
    }
    {
        // Present and executable, but not a program the system can start.
        test::WriteFile(dir.File("xdg-open"), {0x01, 0x02, 0x03, 0x04});
        chmod(dir.File("xdg-open").c_str(), 0755);
        const EnvGuard path("PATH", dir.Path().string());
        EXPECT_FALSE(RunProgram("/tmp/doc.txt"));
    }
    {
        // Not executable: not taken.
        chmod(dir.File("xdg-open").c_str(), 0644);
        const EnvGuard path("PATH", dir.Path().string());
        EXPECT_FALSE(RunProgram("/tmp/doc.txt"));
    }
    EXPECT_TRUE(NoChildrenLeft());
}

TEST(WinUtil, HexDumpFormat) {
    const unsigned char bytes[] = {0x00, 0xab, 0x7f, 0xff, 0x10};
    EXPECT_EQ(HexDump(bytes, sizeof bytes), "00 ab 7f ff 10");
    EXPECT_EQ(HexDump(bytes, 1), "00");
    EXPECT_EQ(HexDump(bytes, 0), "");
    EXPECT_EQ(HexDump(nullptr, 10), "");
}

TEST(WinUtil, HexDumpShowsTheFirst1024BytesOnly) {
    test::Bytes bytes(2000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    const std::string text = HexDump(bytes.data(), bytes.size());
    ASSERT_EQ(text.size(), 1024u * 3 - 1);
    EXPECT_EQ(text.substr(0, 12), "00 07 0e 15 ");
    EXPECT_EQ(text.substr(text.size() - 2), "f9");  // byte 1023: 1023 * 7 mod 256
    EXPECT_EQ(HexDump(bytes.data(), 1024), text);
}

}  // namespace tabrel
