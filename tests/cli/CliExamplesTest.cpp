// The example conversions beside the project (made independently of this code from the
// same rules): each data file, converted as its cmd says, gives exactly the expected CSV
// bytes and standard output.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/EnvGuards.h"
#include "support/RunProgram.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> ExampleFolders() {
    std::vector<fs::path> folders;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(TABREL_EXAMPLES_DIR, error)) {
        if (entry.is_directory() && fs::exists(entry.path() / "cmd")) {
            folders.push_back(entry.path());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

// The data file of an example: the one file that is not cmd, about or expected.*.
fs::path DataFileOf(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "cmd" && name != "about" && name.rfind("expected", 0) != 0) {
            return entry.path();
        }
    }
    return {};
}

}  // namespace

TEST(CliExamples, EveryExampleConvertsToItsExpectedBytes) {
    const std::vector<fs::path> folders = ExampleFolders();
    if (folders.empty()) {
        GTEST_SKIP() << "no examples in " << TABREL_EXAMPLES_DIR;
    }
    for (const fs::path& folder : folders) {
        SCOPED_TRACE(folder.filename().string());
        TempDir work;
        ScopedEnv config("XDG_CONFIG_HOME", work.File("config"));
        ScopedEnv zone("TZ", "UTC");
        const fs::path data = DataFileOf(folder);
        const std::string copy = work.File(data.filename().string());
        fs::copy_file(data, copy);
        fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
        const std::string csv = work.File("out.csv");

        std::istringstream words(ReadTextFile(folder / "cmd"));
        std::vector<std::string> args;
        for (std::string word; words >> word;) {
            args.push_back(word == "{IN}" ? copy : word == "{CSV}" ? csv : word);
        }
        const ProgramResult result = RunProgramAndWait(TABREL_CLI, args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, ReadTextFile(folder / "expected.stdout"));
        EXPECT_TRUE(ReadFile(csv) == ReadFile(folder / "expected.csv"))
            << "CSV differs from " << (folder / "expected.csv");
        // Exporting never changes the data file.
        EXPECT_TRUE(ReadFile(copy) == ReadFile(data));
    }
}

}  // namespace tabrel
