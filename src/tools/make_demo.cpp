// tabrel-make-demo: writes the demo Palm Desktop folder: one Palm user ("Demo User") with
// Contacts, Calendar, Tasks and Memos in Palm Desktop 4.1.x ("PalmSG Database") files, and
// a stand-in palm.exe that gives the installed version as 4.1.4, so that the users' data is
// read as 4.1.x data.
//
//   tabrel-make-demo FOLDER      (the repository's copy lives in demo/palm)
//
// The files are written through the program's own writers: an empty database saved by the
// application's reader, then the demo records imported through the application's facade and
// saved. The output is the same, byte for byte, on every run: times are taken in UTC and
// the database name recorded in each file is its path relative to FOLDER.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "palm/unified/PmAddrInfo.h"
#include "palm/unified/PmDateInfo.h"
#include "palm/unified/PmMemoInfo.h"
#include "palm/unified/PmTodoInfo.h"
#include "tools/DemoPalmProgram.h"
#include "tools/DemoRecords.h"

namespace {

using namespace tabrel;
namespace fs = std::filesystem;

constexpr std::uint32_t kDemoPalmVersion = 40104;  // Palm Desktop 4.1.4
constexpr const char* kDemoUser = "Demo User";

// Writes the database at path (relative to the current folder) holding records.
template <class Info, class ExUtil, class Record>
bool WriteDatabase(const std::string& path, const std::vector<Record>& records) {
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    if (error) {
        std::fprintf(stderr, "Cannot create the folder of %s: %s\n", path.c_str(),
                     error.message().c_str());
        return false;
    }
    // A save replaces an existing file; the first one needs a file to replace.
    if (!fs::exists(path)) {
        std::ofstream(path, std::ios::binary);
    }
    ExUtil empty;
    empty.InitDefaults();
    if (!empty.SaveAs(path)) {
        std::fprintf(stderr, "Cannot write the empty database %s\n", path.c_str());
        return false;
    }
    Info info(kDemoPalmVersion);
    if (!info.LoadByFile(path)) {
        std::fprintf(stderr, "Cannot load the new database %s\n", path.c_str());
        return false;
    }
    for (const Record& record : records) {
        if (info.ImportRecord(record) != kImportAdded) {
            std::fprintf(stderr, "Cannot add a record to %s\n", path.c_str());
            return false;
        }
    }
    if (!info.Save()) {
        std::fprintf(stderr, "Cannot save %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %zu records\n", path.c_str(), records.size());
    return true;
}

bool WriteProgramStub(const std::string& path) {
    const std::vector<std::uint8_t> bytes = demo::MakeVersionStub(4, 1, 4);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "Cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: Palm Desktop 4.1.4 version stub\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s FOLDER\nWrites the demo Palm Desktop folder.\n",
                     argc > 0 ? argv[0] : "tabrel-make-demo");
        return 2;
    }
    // The same times, and so the same bytes, wherever it runs.
    setenv("TZ", "UTC", 1);
    tzset();

    std::error_code error;
    const fs::path root = fs::absolute(argv[1], error);
    if (!error) {
        fs::create_directories(root, error);
    }
    if (!error) {
        fs::current_path(root, error);
    }
    if (error) {
        std::fprintf(stderr, "Cannot use the folder %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    // The readers log as they go (some lines at the always-written level); that log goes to
    // a folder of its own, kept only when something failed.
    std::string logFolder = (fs::temp_directory_path() / "tabrel-make-demo-XXXXXX").string();
    if (mkdtemp(logFolder.data()) == nullptr) {
        std::fprintf(stderr, "Cannot create a folder for the log\n");
        return 1;
    }
    DebugLog().SetFolder(logFolder + "/");

    const std::string user = std::string(kDemoUser) + "/";
    const bool ok =
        WriteProgramStub("palm.exe") &&
        WriteDatabase<PmAddrInfo, PmAddrExUtil>(user + "address/address.dat",
                                                demo::DemoContacts()) &&
        WriteDatabase<PmDateInfo, PmDateExUtil>(user + "datebook/datebook.dat",
                                                demo::DemoEvents()) &&
        WriteDatabase<PmTodoInfo, PmTodoExUtil>(user + "todo/todo.dat", demo::DemoTasks()) &&
        WriteDatabase<PmMemoInfo, PmMemoExUtil>(user + "memopad/memopad.dat", demo::DemoMemos());
    if (!ok) {
        std::fprintf(stderr, "See %s for details.\n", DebugLog().GetPath().c_str());
        return 1;
    }
    fs::remove_all(logFolder, error);
    return 0;
}
