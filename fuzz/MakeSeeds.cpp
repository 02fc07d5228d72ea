// Writes the seed corpora of the fuzz targets from the test writers: one folder per target
// under the folder named on the command line.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/ClassicWriter.h"
#include "support/JetWriter.h"
#include "support/PalmSgWriter.h"
#include "support/PeWriter.h"

namespace {

using tabrel::test::Bytes;
namespace fs = std::filesystem;

void Seed(const fs::path& folder, const std::string& name, std::uint8_t first, const Bytes& rest) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary);
    out.put(static_cast<char>(first));
    out.write(reinterpret_cast<const char*>(rest.data()),
              static_cast<std::streamsize>(rest.size()));
}

void Seed(const fs::path& folder, const std::string& name, const std::string& text) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << text;
}

Bytes TextBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// The four applications' files of both .dat generations, two records each (the first
// private and in a category); the first byte chooses the application (0 Contacts ... 3 Memos).
void DatSeeds(const fs::path& folder) {
    using namespace tabrel::test;
    const PalmSgValues values{.text = [](std::size_t i) { return "t" + std::to_string(i); }};
    auto palmsg = [&](PalmSgFile file, auto record) {
        file.categories = {{1, 1, 0, "Work", "Work"}};
        file.records = {record(PalmSgHeader{.id = 1, .category = 1, .isPrivate = 1}),
                        record(PalmSgHeader{.id = 2})};
        return file.Build();
    };
    auto classic = [&](ClassicFile file, auto record) {
        file.categories = {{1, 1, 0, "Work", "Work"}};
        file.records = {record(ClassicHeader{.id = 1}), record(ClassicHeader{.id = 2})};
        return file.Build();
    };
    Seed(folder, "palmsg-contacts", 0,
         palmsg(AddressFile(), [&](auto h) { return AddressRecord(h, values); }));
    Seed(folder, "palmsg-calendar", 1,
         palmsg(DateBookFile(), [&](auto h) { return DateBookRecord(h, values); }));
    Seed(folder, "palmsg-tasks", 2,
         palmsg(ToDoFile(), [&](auto h) { return ToDoRecord(h, values); }));
    Seed(folder, "palmsg-memos", 3,
         palmsg(MemoPadFile(), [&](auto h) { return MemoRecord(h, "Memo\r\nline"); }));
    Seed(folder, "classic-contacts", 0,
         classic(ClassicAddressFile(), [&](auto h) { return ClassicAddressRecord(h, values); }));
    Seed(folder, "classic-calendar", 1,
         classic(ClassicDateBookFile(), [&](auto h) { return ClassicDateBookRecord(h, values); }));
    Seed(folder, "classic-tasks", 2, classic(ClassicTodoFile(), [&](auto h) {
             return ClassicTodoRecord(h, {.description = "Task", .note = "Note"});
         }));
    Seed(folder, "classic-memos", 3,
         classic(ClassicMemoFile(), [&](auto h) { return ClassicMemoRecord(h, "Memo"); }));
}

void CsvSeeds(const fs::path& folder) {
    const std::string csv = "\"Lee\",\"Ann\",\"Acme, Inc.\"\r\n\"Ray\",\"Bob\",\"x\"\"y\"\r\n";
    Seed(folder, "contacts-double", 0, TextBytes(csv));
    Seed(folder, "memos-utf8-bom-skip", 0x20 | 4 | 3,
         TextBytes("\xEF\xBB\xBFMemo\r'Caf\xC3\xA9\r\nline'\r'two'\n"));
    Seed(folder, "tasks-none", (2 << 3) | 2, TextBytes("File taxes,01/01/2006 12:00:00,Yes,1\n"));
}

void SettingsSeeds(const fs::path& folder) {
    Seed(
        folder, "norvane.ini",
        "[Tabrel]\r\nMode=1\r\nApp=2\r\nPmUserID=7\r\nPmDataMode=0\r\nPmAddrFile=/d/address.dat\r\n"
        "QuoteMark='\r\nAppendCSV=1\r\nEnableDebug=1\r\nLogLevel=2\r\nAddTitle=1\r\n"
        "CsvEncoding=UTF-8\r\nMakeBackup=0\r\n[Path]\r\nPDPath=/palm\r\n");
}

void WineSeeds(const fs::path& folder) {
    Seed(folder, "user.reg",
         "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21\n\n"
         "[Software\\\\U.S. Robotics\\\\Pilot Desktop\\\\Core] 1700000000\n"
         "\"Path\"=\"C:\\\\Program Files\\\\Palm\"\n\"HotSyncPath\"=str(2):\"C:\\\\x\"\n"
         "\"Version\"=dword:00000401\n\"Data\"=hex:01,02,03\n");
    const Bytes pe = tabrel::test::MakePeWithVersion(6, 2, 0, 1);
    fs::create_directories(folder);
    std::ofstream(folder / "palm.exe", std::ios::binary)
        .write(reinterpret_cast<const char*>(pe.data()), static_cast<std::streamsize>(pe.size()));
}

void JetSeeds(const fs::path& folder) {
    using namespace tabrel::test;
    std::vector<JetTable> tables = {{"Information", JetInformationColumns(), {}},
                                    {"Category", JetCategoryColumns(), {}},
                                    {"Main", JetMainColumns(JetPalmApp::Memos), {}}};
    Seed(folder, "memos.mdb", 0, BuildJetDatabase(tables));
    // The page layout: a memo row whose note is on a long-value page.
    tables[2].rows = {{std::int64_t{1}, std::int64_t{0}, std::int64_t{0}, std::int64_t{1},
                       std::string("Work"), std::string(3000, 'm'), JetValue{}}};
    Seed(folder, "layout.mdb", 4, BuildJetDatabase(tables));
    // A table stream: one table of two columns, one row, the end.
    const Bytes stream = {'T', 1,   0, 0, 0, 'M', 2, 0, 4, 0, 1, 0, 0, 0, 'a', 10, 0,   1, 0,  0, 0,
                          'b', 'R', 1, 7, 0, 0,   0, 0, 0, 0, 0, 3, 1, 0, 0,   0,  'x', 0, 'E'};
    Seed(folder, "stream", 1, stream);
    Seed(folder, "text", 3, Bytes{0xFF, 0xFE, 'a', 'b', 0, 'c', 0});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const fs::path root = argv[1];
    DatSeeds(root / "dat");
    CsvSeeds(root / "csv");
    SettingsSeeds(root / "settings");
    WineSeeds(root / "wine_registry");
    JetSeeds(root / "jet");
    return 0;
}
