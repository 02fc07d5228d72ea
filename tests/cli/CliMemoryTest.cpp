// tabrel-cli short of memory. Under a limit swept from far too little to enough, an export
// or an import either converts every record or ends with the memory message, status 1 and
// nothing written; never a signal, never fewer records.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CliConvertSupport.h"
#include "support/ClassicWriter.h"
#include "support/PalmSgWriter.h"

namespace tabrel {

using namespace test;
using namespace test::cliconvert;

namespace {

constexpr int kMemos = 3000;

std::string MemoText(int i) {
    return "Memo " + std::to_string(i) + "\r\n" + std::string(120, static_cast<char>('a' + i % 26));
}

std::string WriteMemos(const CliWork& work, bool classic) {
    const std::string path = work.File(classic ? "classic/memopad.dat" : "palmsg/memopad.dat");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::vector<Bytes> records;
    for (int i = 0; i < kMemos; ++i) {
        const auto id = static_cast<std::uint32_t>(100 + i);
        records.push_back(classic ? ClassicMemoRecord({.id = id}, MemoText(i))
                                  : MemoRecord({.id = id}, MemoText(i)));
    }
    if (classic) {
        ClassicFile file = ClassicMemoFile();
        file.records = std::move(records);
        WriteFile(path, file.Build());
    } else {
        PalmSgFile file = MemoPadFile();
        file.records = std::move(records);
        WriteFile(path, file.Build());
    }
    return path;
}

// How many memos a CSV file holds: each starts "Memo" (an imported one "New Memo").
std::size_t MemoCount(const std::string& path) {
    const std::string text = ReadTextFile(path);
    std::size_t count = 0;
    for (std::size_t at = text.find("Memo "); at != std::string::npos;
         at = text.find("Memo ", at + 1)) {
        ++count;
    }
    return count;
}

// Whether anything but the files named is in folder (a temporary file, a backup copy).
bool HoldsOnly(const std::string& folder, const std::vector<std::string>& names) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (std::find(names.begin(), names.end(), entry.path().filename()) == names.end()) {
            ADD_FAILURE() << "left behind: " << entry.path();
            return false;
        }
    }
    return true;
}

// A limit on the child's memory: the preloaded cap on operator new, or (where the build
// allows it) the address space.
struct Limit {
    bool addressSpace = false;
    std::size_t bytes = 0;
};

ProgramResult RunLimited(const CliWork& work, const Limit& limit,
                         const std::vector<std::string>& args) {
    if (limit.addressSpace) {
        return RunProgramAndWait(TABREL_CLI, args, [&] {
            const rlimit value{limit.bytes, limit.bytes};
            ::setrlimit(RLIMIT_AS, &value);
        });
    }
    const char* asan = std::getenv("ASAN_OPTIONS");
    const ScopedEnv options("ASAN_OPTIONS",
                            std::string(asan != nullptr ? asan : "") + ":verify_asan_link_order=0");
    const ScopedEnv preload("LD_PRELOAD", std::string(TABREL_MEMORY_CAP_LIB));
    const ScopedEnv cap("TABREL_TEST_MEMORY_CAP", std::to_string(limit.bytes));
    return work.Run(args);
}

// Sweeps the limit up from start until the command succeeds, by half each step (by a
// sixteenth for the address space, most of which the program's start takes); every run
// before must fail cleanly. check judges a success.
void Sweep(const CliWork& work, bool addressSpace, std::size_t start,
           const std::vector<std::string>& args, const std::string& named,
           const std::function<void()>& checkUnchanged, const std::function<void()>& checkDone) {
    int failures = 0;
    for (std::size_t bytes = start; bytes < (std::size_t{1} << 32);
         bytes += bytes / (addressSpace ? 16 : 2)) {
        SCOPED_TRACE("limit " + std::to_string(bytes));
        const ProgramResult result = RunLimited(work, {addressSpace, bytes}, args);
        if (result.exitCode == 0) {
            checkDone();
            EXPECT_GE(failures, 3) << "the sweep never ran short";
            return;
        }
        ++failures;
        ASSERT_EQ(result.exitCode, 1) << result.err;  // -1: ended by a signal
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("Not enough memory to load " + named) ||
                    result.err.starts_with("Not enough memory to run"))
            << result.err;
        checkUnchanged();
    }
    FAIL() << "no limit was enough";
}

// Each sweep that this build allows: always the cap on operator new; the address space
// too where no sanitizer reserves it, from the smallest in which the tool starts at all.
void SweepEveryWay(const std::function<void(bool addressSpace, std::size_t start)>& sweep,
                   [[maybe_unused]] const CliWork& work) {
    sweep(false, std::size_t{64} << 10);
#if !defined(__SANITIZE_ADDRESS__)
    std::size_t bytes = std::size_t{8} << 20;
    while (RunLimited(work, {true, bytes}, {"--version"}).exitCode != 0 && bytes < (1u << 31)) {
        bytes += bytes / 4;
    }
    sweep(true, bytes);
#endif
}

}  // namespace

TEST(CliMemory, AnExportShortOfMemoryConvertsEverythingOrNothing) {
    const CliWork work;
    for (const bool classic : {true, false}) {
        SCOPED_TRACE(classic ? "classic" : "PalmSG");
        const std::string data = WriteMemos(work, classic);
        const std::string folder = std::filesystem::path(data).parent_path();
        const std::string csv = folder + "/out.csv";
        SweepEveryWay(
            [&](bool addressSpace, std::size_t start) {
                std::filesystem::remove(csv);
                Sweep(
                    work, addressSpace, start,
                    {"export", "--app", "memos", "--file", data, "--csv", csv}, data,
                    [&] { EXPECT_TRUE(HoldsOnly(folder, {"memopad.dat"})); },
                    [&] { EXPECT_EQ(MemoCount(csv), static_cast<std::size_t>(kMemos)); });
            },
            work);
    }
}

TEST(CliMemory, AnImportShortOfMemoryWritesEverythingOrNothing) {
    const CliWork work;
    const std::string data = WriteMemos(work, false);
    const std::string folder = std::filesystem::path(data).parent_path();
    const Bytes before = ReadFile(data);
    std::vector<Values> added;
    for (int i = 0; i < kMemos; ++i) {
        added.push_back({"New " + MemoText(i)});
    }
    const std::string csv = work.File("import.csv");
    WriteTextFile(csv, CsvLines(added));
    SweepEveryWay(
        [&](bool addressSpace, std::size_t start) {
            WriteFile(data, before);
            Sweep(
                work, addressSpace, start,
                {"import", "--app", "memos", "--file", data, "--csv", csv, "--no-backup"}, data,
                [&] {
                    EXPECT_TRUE(ReadFile(data) == before);
                    EXPECT_TRUE(HoldsOnly(folder, {"memopad.dat"}));
                },
                [&] {
                    const std::string out = work.File("after.csv");
                    ASSERT_EQ(work.Export("memos", data, out).exitCode, 0);
                    EXPECT_EQ(MemoCount(out), static_cast<std::size_t>(2 * kMemos));
                });
        },
        work);
}

}  // namespace tabrel
