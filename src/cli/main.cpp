// tabrel-cli: converts Palm Desktop data to CSV and back, for scripts and batch work.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <new>
#include <string>

#include "cli/CliCommands.h"
#include "palm/desktop/PalmDesktop.h"

namespace {

using namespace tabrel::cli;

// The options every conversion command shares.
void AddSourceOptions(CLI::App& command, ConvertOptions& options, std::string& app) {
    command.add_option("--app", app, "The application: contacts, calendar, tasks or memos")
        ->required()
        ->check(CLI::IsMember({"contacts", "calendar", "tasks", "memos"}));
    CLI::Option* file =
        command.add_option("--file", options.file, "The Palm Desktop data file (.dat or .mdb)")
            ->type_name("PATH");
    CLI::Option* user =
        command.add_option("--user", options.user, "The Palm user's identifier (see: users)")
            ->type_name("ID");
    file->excludes(user);
    user->excludes(file);
    command.callback([file, user] {
        if (file->count() == 0 && user->count() == 0) {
            throw CLI::RequiredError("--file or --user");
        }
    });
}

void AddCsvOptions(CLI::App& command, ConvertOptions& options) {
    command.add_option("--csv", options.csv, "The CSV file")->required()->type_name("PATH");
    command
        .add_option("--fields", options.fields,
                    "Comma-separated columns in order: catalogue field names (see: fields), "
                    "text:NAME=VALUE, seq:NAME=START or field:NAME=SOURCE; default: every "
                    "catalogue field")
        ->type_name("LIST");
    command
        .add_option("--quote", options.quote,
                    "Quotation mark: none, double, single or a character (default: the "
                    "settings file's, else double)")
        ->type_name("none|double|single|CHAR");
    command.add_option("--encoding", options.encoding, "CSV text encoding (default: ansi)")
        ->check(CLI::IsMember({"ansi", "utf-8"}))
        ->type_name("ansi|utf-8");
}

int Run(int argc, char** argv) {
    CLI::App app{
        "Tabrel: converts Palm Desktop Contacts, Calendar, Tasks and Memos to CSV files and "
        "CSV files back into Palm Desktop data.",
        "tabrel-cli"};
    app.set_version_flag("--version", std::string("tabrel-cli ") + TABREL_VERSION);
    app.require_subcommand(1);
    app.fallthrough();

    std::string palmFolder;
    app.add_option("--palm-folder", palmFolder,
                   "The Palm Desktop folder for this run, in place of the configured or "
                   "detected one")
        ->type_name("PATH");

    ConvertOptions exportOptions;
    std::string exportApp;
    CLI::App* exportCommand =
        app.add_subcommand("export", "Convert Palm Desktop data to a CSV file");
    AddSourceOptions(*exportCommand, exportOptions, exportApp);
    AddCsvOptions(*exportCommand, exportOptions);
    exportCommand->add_flag("--append", exportOptions.append,
                            "Append to an existing CSV file instead of replacing it");
    exportCommand->add_flag("--title", exportOptions.title, "Write a title row first");

    ConvertOptions importOptions;
    std::string importApp;
    CLI::App* importCommand =
        app.add_subcommand("import", "Convert a CSV file into Palm Desktop data");
    AddSourceOptions(*importCommand, importOptions, importApp);
    AddCsvOptions(*importCommand, importOptions);
    importCommand->add_flag("--skip-first-line", importOptions.skipFirstLine,
                            "Leave out the CSV file's first line (a title row)");
    importCommand->add_flag("--no-backup", importOptions.noBackup,
                            "Do not keep a copy of the Palm Desktop file before writing into it");

    ConvertOptions fieldsOptions;
    std::string fieldsApp;
    CLI::App* fieldsCommand = app.add_subcommand(
        "fields", "List the fields of the loaded data, one a line, in catalogue order");
    AddSourceOptions(*fieldsCommand, fieldsOptions, fieldsApp);

    std::string infoFile;
    std::string infoApp;
    CLI::App* infoCommand = app.add_subcommand(
        "info", "Tell the application, generation and number of records of a data file");
    infoCommand->add_option("--file", infoFile, "The Palm Desktop data file")
        ->required()
        ->type_name("PATH");
    infoCommand->add_option("--app", infoApp, "The application, when known")
        ->check(CLI::IsMember({"contacts", "calendar", "tasks", "memos"}));

    CLI::App* usersCommand = app.add_subcommand(
        "users", "List the Palm users: identifier, name and data folder, tab-separated");

    CLI11_PARSE(app, argc, argv);

    if (!palmFolder.empty()) {
        tabrel::SetPalmDesktopFolder(palmFolder);
    }
    if (exportCommand->parsed()) {
        exportOptions.app = AppOfName(exportApp);
        return RunExport(exportOptions);
    }
    if (importCommand->parsed()) {
        importOptions.app = AppOfName(importApp);
        return RunImport(importOptions);
    }
    if (fieldsCommand->parsed()) {
        fieldsOptions.app = AppOfName(fieldsApp);
        return RunFields(fieldsOptions);
    }
    if (infoCommand->parsed()) {
        return RunInfo(infoFile, AppOfName(infoApp));
    }
    if (usersCommand->parsed()) {
        return RunUsers();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        // A command names its file itself; this is what is left for the command line.
        std::fputs("Not enough memory to run tabrel-cli.\n", stderr);
        return 1;
    }
}
