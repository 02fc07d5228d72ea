// tabrel-cli: converts Palm Desktop data to CSV and back, for scripts and batch work.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "PalmDesktop.h"
#include "PalmUsers.h"

namespace {

using namespace tabrel;

// Prints the Palm users, one a line: identifier, tab, name, tab, data folder.
int ListUsers() {
    LoadUserLibrary();
    PalmUserList users;
    if (const auto message = LoadPalmUsers(users)) {
        fmt::print(stderr, "{}\n", message->text);
        FreeUserLibrary();
        return 1;
    }
    for (const PalmUser& user : users) {
        std::string folder;
        GetUserDataFolder(user.id, folder);
        fmt::print("{}\t{}\t{}\n", user.id, user.name, folder);
    }
    FreePalmUsers(users);
    FreeUserLibrary();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Tabrel: converts Palm Desktop Contacts, Calendar, Tasks and Memos to CSV files and "
        "CSV files back into Palm Desktop data.",
        "tabrel-cli"};
    app.set_version_flag("--version", std::string("tabrel-cli ") + TABREL_VERSION);
    app.require_subcommand(1);

    std::string palmFolder;
    app.add_option("--palm-folder", palmFolder,
                   "The Palm Desktop folder for this run, in place of the configured or "
                   "detected one")
        ->type_name("PATH");

    CLI::App* users = app.add_subcommand("users",
                                         "List the Palm users: identifier, name and "
                                         "data folder, tab-separated");

    CLI11_PARSE(app, argc, argv);

    if (!palmFolder.empty()) {
        SetPalmDesktopFolder(palmFolder);
    }
    if (users->parsed()) {
        return ListUsers();
    }
    return 0;
}
