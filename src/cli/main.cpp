// tabrel-cli: converts Palm Desktop data to CSV and back, for scripts and batch work.

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"Tabrel: converts Palm Desktop Contacts, Calendar, Tasks and Memos to CSV "
                 "files and CSV files back into Palm Desktop data."};
    app.set_version_flag("--version", std::string("tabrel-cli ") + TABREL_VERSION);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
