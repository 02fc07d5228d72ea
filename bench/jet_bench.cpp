// jet_bench: times the export of a Palm Desktop 6.x Address.mdb in a Jet file to CSV through
// the conversion engine, step by step as tabrel-cli runs it (CheckPalmFile, LoadPalmData,
// CheckCsvFile, DefaultFieldList, SelectAllRecords, RunConversion), and, for comparison,
// mdbtools' mdb-export of the table "Main" of the same file; then the import of 2,000 new
// contacts from a CSV file into a copy of the file through the engine (which writes the
// Jet file back), as a ratio to the engine's export.
//
// The file is made with the tests' Jet writer: 20,000 contacts by default, each with names,
// a company, phones, e-mail, an address, a category and a note; every tenth note is longer
// than a page, so that it is kept in a chain of long-value pages.
//
// Usage: jet_bench [contacts] [runs]   (defaults 20000 and 3; the best run is reported)
// Everything is written into a fresh folder under the system's temporary folder, which is
// removed at the end; the debug log is off (its failure lines go to that folder and are
// counted at the end). Build it in Release (-DCMAKE_BUILD_TYPE=Release -DTABREL_BUILD_BENCH=ON).

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/AppSettings.h"
#include "engine/ConversionDriver.h"
#include "engine/ConversionJob.h"
#include "engine/FieldSelection.h"
#include "engine/ImportReader.h"
#include "engine/SourceChecks.h"
#include "misc/CxDebugUtil.h"
#include "palm/db6x/DbOpen.h"
#include "palm/db6x/engine/DbEngine.h"
#include "support/JetWriter.h"

extern char** environ;

namespace tabrel {

namespace {

using Clock = std::chrono::steady_clock;
using test::JetValue;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double MiB(std::uintmax_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "jet_bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code error;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, error);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    bool IsMade() const { return !m_path.empty(); }
    std::string Folder() const { return m_path.string() + "/"; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

// The Address.mdb of count contacts.
std::vector<std::uint8_t> BuildAddressBook(std::size_t count) {
    std::vector<test::JetTable> tables = test::JetPalmTables(test::JetPalmApp::Contacts);
    tables[0].rows.push_back({JetValue(std::string("Version")), JetValue(std::string("6"))});
    const char* categories[] = {"Business", "Personal", "QuickList", "Family", "Clients"};
    for (std::int64_t id = 1; id <= 5; ++id) {
        tables[1].rows.push_back({JetValue(id), JetValue(std::string(categories[id - 1])),
                                  JetValue(std::int64_t{1}), JetValue(std::int64_t{0})});
    }
    const std::vector<test::JetColumn>& columns = tables[2].columns;
    const auto set = [&columns](std::vector<JetValue>& row, const std::string& name,
                                JetValue value) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].name == name) {
                row[i] = std::move(value);
            }
        }
    };
    for (std::size_t n = 0; n < count; ++n) {
        // Every column holds a value, as in a row Palm Desktop writes: 0, No or the empty
        // text, but the binary ones.
        std::vector<JetValue> row(columns.size());
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const test::JetType type = columns[i].type;
            if (type == test::JetType::Text || type == test::JetType::Memo) {
                row[i] = JetValue(std::string());
            } else if (type != test::JetType::Ole) {
                row[i] = JetValue(std::int64_t{0});
            }
        }
        const std::string number = std::to_string(n);
        set(row, "Record ID", JetValue(static_cast<std::int64_t>(n + 1)));
        set(row, "Status", JetValue(std::int64_t{0}));
        set(row, "Placement", JetValue(static_cast<std::int64_t>(n)));
        set(row, "Category", JetValue(std::to_string(n % 5 + 1)));
        set(row, "First Name", JetValue("First" + number));
        set(row, "Last Name", JetValue("Last" + number));
        set(row, "Company", JetValue("Company " + std::to_string(n % 997) + " GmbH"));
        set(row, "Job Title", JetValue(std::string("Manager")));
        set(row, "Work Phone", JetValue("+49 30 " + number));
        set(row, "Home Phone", JetValue("+49 40 " + number));
        set(row, "E-mail 1", JetValue("first" + number + "@example.com"));
        set(row, "Work Street", JetValue(number + " Main Street"));
        set(row, "Work City", JetValue(std::string("Berlin")));
        set(row, "Work Zip", JetValue(std::string("10115")));
        set(row, "Work Country", JetValue(std::string("Germany")));
        std::string note = "Met at the fair, contact " + number + ".";
        if (n % 10 == 0) {
            while (note.size() < 6000) {
                note += " Follow up on the order.";
            }
        }
        set(row, "Note", JetValue(note));
        tables[2].rows.push_back(std::move(row));
    }
    return test::BuildJetDatabase(tables);
}

// Reports nothing while a pass runs.
class QuietObserver final : public ConversionObserver {
  public:
    void SetProgress(int) override {}
    void SetStatus(std::string_view) override {}
};

// Exports the file to the CSV file through the engine; the seconds of the load and of the
// whole export, or none when a step refused.
std::optional<std::pair<double, double>> EngineExport(const std::string& palmFile,
                                                      const std::string& csvFile,
                                                      std::size_t count) {
    const auto start = Clock::now();
    AppSettings settings;
    settings.m_nMode = ModePalmToCsv;
    settings.m_nApp = AppContacts;
    settings.m_nPmDataMode = PmDataByFile;
    ConversionJob job;
    job.m_nApp = AppContacts;
    for (const auto& message :
         {CheckPalmFile(job, palmFile), LoadPalmData(job, settings, palmFile)}) {
        if (message) {
            std::fprintf(stderr, "refused: %s\n", message->text.c_str());
            return std::nullopt;
        }
    }
    const double loaded = SecondsSince(start);
    if (const auto message = CheckCsvFile(job, settings, csvFile)) {
        std::fprintf(stderr, "refused: %s\n", message->text.c_str());
        return std::nullopt;
    }
    job.m_fields = DefaultFieldList(job.GetCatalogue());
    job.SelectAllRecords(ModePalmToCsv);
    QuietObserver observer;
    const ConversionResult result = RunConversion(job, settings, observer);
    const double seconds = SecondsSince(start);
    if (!result.Succeeded() || result.m_nConverted != count) {
        std::fprintf(stderr, "the export converted %u of %zu records\n", result.m_nConverted,
                     count);
        return std::nullopt;
    }
    return std::pair{loaded, seconds};
}

// Imports added new contacts (first and last names) from a CSV file into the file through
// the engine; its seconds, or none.
std::optional<double> EngineImport(const std::string& palmFile, const std::string& csvFile,
                                   std::size_t added) {
    {
        std::FILE* out = std::fopen(csvFile.c_str(), "wb");
        if (out == nullptr) {
            return std::nullopt;
        }
        for (std::size_t n = 0; n < added; ++n) {
            std::fprintf(out, "\"New%zu\",\"Imported%zu\"\r\n", n, n);
        }
        std::fclose(out);
    }
    const auto start = Clock::now();
    AppSettings settings;
    settings.m_nMode = ModeCsvToPalm;
    settings.m_nApp = AppContacts;
    settings.m_nPmDataMode = PmDataByFile;
    settings.m_bMakeBackup = false;
    ConversionJob job;
    job.m_nApp = AppContacts;
    for (const auto& message : {CheckPalmFile(job, palmFile), LoadPalmData(job, settings, palmFile),
                                CheckCsvFile(job, settings, csvFile)}) {
        if (message) {
            std::fprintf(stderr, "refused: %s\n", message->text.c_str());
            return std::nullopt;
        }
    }
    std::string error;
    if (!ParseFieldList("First Name,Last Name", job.GetCatalogue(), job.m_fields, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return std::nullopt;
    }
    ReadImportRecords(job, settings);
    job.SelectAllRecords(ModeCsvToPalm);
    QuietObserver observer;
    const ConversionResult result = RunConversion(job, settings, observer);
    const double seconds = SecondsSince(start);
    if (!result.Succeeded() || result.m_nConverted != added) {
        std::fprintf(stderr, "the import converted %u of %zu records: %s\n", result.m_nConverted,
                     added, result.m_failure ? result.m_failure->text.c_str() : "");
        return std::nullopt;
    }
    return seconds;
}

// Runs mdb-export on the table Main of the file into outFile; its seconds, or none.
std::optional<double> MdbExport(const std::string& palmFile, const std::string& outFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string program = "mdb-export";
    std::string table = "Main";
    std::string file = palmFile;
    char* argv[] = {program.data(), file.data(), table.data(), nullptr};
    const auto start = Clock::now();
    pid_t child = 0;
    const int rc = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        std::fprintf(stderr, "mdb-export cannot be started (is mdbtools installed?)\n");
        return std::nullopt;
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const double seconds = SecondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "mdb-export failed\n");
        return std::nullopt;
    }
    return seconds;
}

int Run(std::size_t count, int runs) {
    const ScratchFolder folder;
    if (!folder.IsMade()) {
        std::fprintf(stderr, "no scratch folder\n");
        return 1;
    }
    DebugLog().SetFolder(folder.Folder());
    DebugLog().Enable(false);
    const std::string palmFile = folder.File("Address.mdb");
    auto start = Clock::now();
    const std::vector<std::uint8_t> bytes = BuildAddressBook(count);
    {
        std::FILE* out = std::fopen(palmFile.c_str(), "wb");
        if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
            std::fprintf(stderr, "the file cannot be written\n");
            return 1;
        }
        std::fclose(out);
    }
    std::printf("Address.mdb: %zu contacts, %.1f MiB, written in %.2f s\n", count,
                MiB(bytes.size()), SecondsSince(start));

    double bestLoad = 1e9;
    double bestExport = 1e9;
    double bestMdb = 1e9;
    const std::string csvFile = folder.File("contacts.csv");
    const std::string mdbFile = folder.File("mdb-export.csv");
    double bestOpen = 1e9;
    for (int run = 0; run < runs; ++run) {
        start = Clock::now();
        std::string error;
        if (OpenDbFile(palmFile, error) == nullptr) {
            std::fprintf(stderr, "the file cannot be opened: %s\n", error.c_str());
            return 1;
        }
        bestOpen = std::min(bestOpen, SecondsSince(start));
        const auto engine = EngineExport(palmFile, csvFile, count);
        const auto mdb = MdbExport(palmFile, mdbFile);
        if (!engine || !mdb) {
            return 1;
        }
        bestLoad = std::min(bestLoad, engine->first);
        bestExport = std::min(bestExport, engine->second);
        bestMdb = std::min(bestMdb, *mdb);
    }
    std::printf("best of %d runs:\n", runs);
    std::printf("  engine export to CSV      %7.3f s (check and load %.3f s), CSV %.1f MiB\n",
                bestExport, bestLoad, MiB(std::filesystem::file_size(csvFile)));
    std::printf(
        "  of which one Jet engine open: %.3f s (the file is opened twice: checked, then loaded)\n",
        bestOpen);
    std::printf("  mdb-export Main           %7.3f s, CSV %.1f MiB\n", bestMdb,
                MiB(std::filesystem::file_size(mdbFile)));
    double bestImport = 1e9;
    const std::string copy = folder.File("Import.mdb");
    for (int run = 0; run < runs; ++run) {
        std::filesystem::copy_file(palmFile, copy,
                                   std::filesystem::copy_options::overwrite_existing);
        const auto imported = EngineImport(copy, folder.File("import.csv"), 2000);
        if (!imported) {
            return 1;
        }
        bestImport = std::min(bestImport, *imported);
    }
    std::printf("  engine import of 2,000 new contacts %7.3f s: %.2f x the engine export\n",
                bestImport, bestImport / bestExport);
    std::error_code error;
    const std::uintmax_t logSize = std::filesystem::file_size(DebugLog().GetPath(), error);
    std::printf("the debug log (off) received %.1f KiB of failure lines\n",
                error ? 0.0 : static_cast<double>(logSize) / 1024.0);
    return 0;
}

}  // namespace

}  // namespace tabrel

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    return tabrel::Run(count, std::max(runs, 1));
}
