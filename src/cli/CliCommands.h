#pragma once
// The commands of tabrel-cli, each a thin layer over the conversion engine. Each prints
// its result on standard output and any refusal or failure on standard error, and answers
// the process's exit status.

#include <optional>
#include <string>

namespace tabrel::cli {

// What the export and import commands are told.
struct ConvertOptions {
    int app = 0;                          // AppContacts ... AppMemos
    std::string file;                     // the Palm Desktop data file, or
    std::optional<int> user;              // the Palm user
    std::string csv;                      // the CSV file
    std::optional<std::string> fields;    // the --fields list
    std::optional<std::string> quote;     // none, double, single or the character
    std::optional<std::string> encoding;  // ansi or utf-8
    bool append = false;
    bool title = false;
    bool skipFirstLine = false;
    bool noBackup = false;
};

// The application code of a name (contacts, calendar, tasks, memos); 0 for none.
int AppOfName(const std::string& name);

int RunExport(const ConvertOptions& options);
int RunImport(const ConvertOptions& options);
// The catalogue of the loaded generation, one field name a line.
int RunFields(const ConvertOptions& options);
// The application, generation and number of records of a data file; app 0 tries every
// application.
int RunInfo(const std::string& file, int app);
// The Palm users, one a line: identifier, tab, name, tab, data folder.
int RunUsers();

}  // namespace tabrel::cli
