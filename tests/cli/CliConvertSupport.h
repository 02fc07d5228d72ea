#pragma once
// Helpers of the conversion tests that run the real tabrel-cli: a work folder with an empty
// settings folder and UTC as the time zone, the export and import commands, the CSV text the
// tool should write, and the round trip export, import, export of one data file.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/EnvGuards.h"
#include "support/RunProgram.h"
#include "support/TestSupport.h"

namespace tabrel::test::cliconvert {

using Values = std::vector<std::string>;

// A time value meaning "no date" (no due date, no end).
inline constexpr std::uint32_t kNoDate = 1956499199;

// A temporary work folder for one test; while it lives, tabrel-cli finds no settings file
// and works in UTC.
class CliWork {
  public:
    CliWork() : m_config("XDG_CONFIG_HOME", m_dir.File("config")), m_zone("TZ", "UTC") {}

    const TempDir& Dir() const { return m_dir; }
    std::string File(std::string_view name) const { return m_dir.File(name); }

    ProgramResult Run(const std::vector<std::string>& args) const {
        return RunProgramAndWait(TABREL_CLI, args);
    }
    // export (or import) --app app --file file --csv csv, then the extra arguments.
    ProgramResult Export(const std::string& app, const std::string& file, const std::string& csv,
                         const std::vector<std::string>& extra = {}) const {
        return Convert("export", app, file, csv, extra);
    }
    ProgramResult Import(const std::string& app, const std::string& file, const std::string& csv,
                         const std::vector<std::string>& extra = {}) const {
        return Convert("import", app, file, csv, extra);
    }

  private:
    ProgramResult Convert(const std::string& command, const std::string& app,
                          const std::string& file, const std::string& csv,
                          const std::vector<std::string>& extra) const {
        std::vector<std::string> args{command, "--app", app, "--file", file, "--csv", csv};
        args.insert(args.end(), extra.begin(), extra.end());
        return Run(args);
    }

    TempDir m_dir;
    ScopedEnv m_config;
    ScopedEnv m_zone;
};

// A text as an SQL literal for a 6.x database, each CR LF in it written as char(13, 10).
inline std::string SqlText(std::string_view text) {
    std::string sql;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        sql += "'";
        // Up to the line break, or (end = npos) to the end of the text.
        for (const char c : text.substr(start, end - start)) {
            sql += c == '\'' ? std::string("''") : std::string(1, c);
        }
        sql += "'";
        if (end == std::string_view::npos) {
            return sql;
        }
        sql += " || char(13, 10) || ";
        start = end + 2;
    }
}

// The finish line of a successful conversion.
inline std::string Converted(std::size_t count) {
    return "Convesion succeeded. " + std::to_string(count) + " records were converted\n";
}

// One CSV line: every value enclosed in the quotation character with the ones inside it
// doubled (quote 0: the values as they are), joined by ",", ended by CR LF.
inline std::string CsvLine(const Values& values, char quote = '"') {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        if (quote == '\0') {
            line += values[i];
            continue;
        }
        line += quote;
        for (const char c : values[i]) {
            line += c;
            if (c == quote) {
                line += c;
            }
        }
        line += quote;
    }
    return line + "\r\n";
}

// The lines of several records, in order.
inline std::string CsvLines(const std::vector<Values>& records) {
    std::string text;
    for (const auto& values : records) {
        text += CsvLine(values);
    }
    return text;
}

// The values of one record in catalogue order: the named ones as given, the others empty.
// A name that the catalogue does not hold fails the test.
inline Values InCatalogueOrder(const Values& catalogue,
                               const std::map<std::string, std::string>& named) {
    Values values(catalogue.size());
    for (const auto& [name, value] : named) {
        bool found = false;
        for (std::size_t i = 0; i < catalogue.size(); ++i) {
            if (catalogue[i] == name) {
                values[i] = value;
                found = true;
            }
        }
        EXPECT_TRUE(found) << "no catalogue field " << name;
    }
    return values;
}

// What a round trip of one data file is told and should give.
struct RoundTrip {
    std::string app;                       // contacts, calendar, tasks or memos
    std::string dataFile;                  // the Palm Desktop file, in the work folder
    Values catalogue;                      // the field names: the title row of the first export
    std::vector<Values> exported;          // the records of the first export, in order
    std::string importCsv;                 // the CSV text to import
    std::vector<std::string> importExtra;  // e.g. --fields
    std::size_t imported = 0;              // the records the import converts
    std::vector<Values> reexported;        // the records of the export after the import
};

// Exports the data file with a title row and compares the CSV bytes and the output (the data
// file stays as it was), imports the CSV text into it, and exports it again, without a title,
// over an existing CSV file.
inline void CheckRoundTrip(const CliWork& work, const RoundTrip& trip) {
    const std::string first = work.File("first.csv");
    const Bytes data = ReadFile(trip.dataFile);
    const ProgramResult exported = work.Export(trip.app, trip.dataFile, first, {"--title"});
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.err, "");
    EXPECT_EQ(exported.out, Converted(trip.exported.size()));
    EXPECT_EQ(ReadTextFile(first), CsvLine(trip.catalogue, '\0') + CsvLines(trip.exported));
    EXPECT_TRUE(ReadFile(trip.dataFile) == data) << "the export changed the data file";

    const std::string input = work.File("import.csv");
    WriteTextFile(input, trip.importCsv);
    const ProgramResult imported = work.Import(trip.app, trip.dataFile, input, trip.importExtra);
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.err, "");
    EXPECT_TRUE(imported.out.starts_with(Converted(trip.imported))) << imported.out;

    // The second export replaces what its CSV file held.
    const std::string second = work.File("second.csv");
    WriteTextFile(second, "stale\r\n");
    const ProgramResult again = work.Export(trip.app, trip.dataFile, second);
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, Converted(trip.reexported.size()));
    EXPECT_EQ(ReadTextFile(second), CsvLines(trip.reexported));
}

}  // namespace tabrel::test::cliconvert
