// convert_bench: times whole Contacts conversions through the conversion engine, step by
// step as tabrel-cli runs them (CheckPalmFile, LoadPalmData, CheckCsvFile, DefaultFieldList,
// ReadImportRecords, SelectAllRecords, RunConversion), for each storage generation: classic
// .dat, PalmSG .dat, the 6.x database in its SQLite form and in a Jet file:
//   1. exporting a large file to CSV;
//   2. importing a CSV of new contacts into a file of as many others, and, for comparison,
//      only loading both: the file, and the CSV read into import records.
// Each conversion is set beside a plain copy of its file, the generation's reader alone
// loading it and, for a Jet file, mdbtools' mdb-export of its table "Main": its time as a
// ratio to each, its peak memory as a ratio to the file size.
// The data files are made with the project's own writers (the readers' save paths; for
// 6.x, PmAddrEx2Util::WriteRecord into an SQLite database with the 6.x tables, which the
// tests' Jet writer copies into a Jet file), and each import CSV by an engine export of a
// file of other contacts.
//
// Usage: convert_bench [export count] [import count] [6.x import count]
//        (defaults 100000, 20000, 20000; the 6.x import count serves both 6.x forms)
//
// Every measurement runs in a child process of its own, so that its peak memory (VmHWM)
// is its own; the parent only forks and waits. Everything is written into a fresh folder
// under the system's temporary folder, which is removed at the end; the debug log is off
// (its failure lines go to that folder and are counted at the end).

#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/AppSettings.h"
#include "engine/ConversionDriver.h"
#include "engine/ConversionJob.h"
#include "engine/FieldSelection.h"
#include "engine/ImportReader.h"
#include "engine/SourceChecks.h"
#include "misc/CxDebugUtil.h"
#include "palm/classic/PmAddrUtil.h"
#include "palm/db6x/PmAddrEx2Util.h"
#include "palm/palmsg/PmAddrExUtil.h"
#include "palm/unified/PmInfoConvert.h"
#include "support/JetWriter.h"

extern char** environ;

namespace tabrel {

namespace {

using Clock = std::chrono::steady_clock;

// Names of the imported contacts start here, so that none equals a contact of the file.
constexpr std::size_t kImportNameOffset = 1000000;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// User plus system CPU time of this process, in seconds.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The peak resident size of this process (VmHWM) in KiB; ru_maxrss when /proc is missing.
long PeakKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double MiB(std::uintmax_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

std::uintmax_t FileSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

// A fresh folder, removed with everything in it by the process that made it.
class ScratchFolder {
  public:
    ScratchFolder() : m_owner(getpid()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "convert-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code error;
        if (!m_path.empty() && getpid() == m_owner) {
            std::filesystem::remove_all(m_path, error);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool IsValid() const { return !m_path.empty(); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Folder() const { return m_path.string() + "/"; }

  private:
    std::filesystem::path m_path;
    pid_t m_owner;
};

// --- Child processes ---------------------------------------------------------------------

// Set by SIGINT or SIGTERM in the parent: the running measurement is ended and no other
// one starts, so that the scratch folder is still removed.
volatile std::sig_atomic_t g_nStopSignal = 0;

void OnStopSignal(int signal) {
    g_nStopSignal = signal;
}

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: waitpid returns EINTR
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Stopped() {
    return g_nStopSignal != 0;
}

// Runs work in a child process and waits for it; true when it answered true. The child
// leaves through _exit, so nothing of the parent (the scratch folder) is destroyed twice.
bool RunInChild(const std::function<bool()>& work) {
    if (Stopped()) {
        return false;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return false;
    }
    if (child == 0) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        bool ok = false;
        try {
            ok = work();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "failed: %s\n", error.what());
        }
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            std::perror("waitpid");
            return false;
        }
        if (Stopped()) {
            kill(child, SIGTERM);
        }
    }
    if (Stopped()) {
        return false;
    }
    if (WIFSIGNALED(status)) {
        std::fprintf(stderr, "child ended by signal %d\n", WTERMSIG(status));
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The durations of the steps of one measurement, as "name seconds" in order.
class Steps {
  public:
    void Add(std::string name, double seconds) { m_steps.emplace_back(std::move(name), seconds); }
    std::string Text() const {
        std::string text;
        for (const auto& [name, seconds] : m_steps) {
            char part[96];
            std::snprintf(part, sizeof part, "%s%s %.3f", text.empty() ? "" : ", ", name.c_str(),
                          seconds);
            text += part;
        }
        return text;
    }

  private:
    std::vector<std::pair<std::string, double>> m_steps;
};

void PrintHeader() {
    std::printf("%-44s %8s %9s %10s %8s %9s\n", "measurement", "records", "seconds", "records/s",
                "CPU s", "peak MiB");
}

// The time and peak memory of the last measurement a child printed, in memory shared with
// the parent, which reads them for the ratios.
struct Figures {
    double seconds = 0;
    long peakKiB = 0;
};

Figures& LastFigures() {
    static Figures* const shared = [] {
        void* memory = mmap(nullptr, sizeof(Figures), PROT_READ | PROT_WRITE,
                            MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            std::perror("mmap");
            std::exit(1);
        }
        return std::construct_at(static_cast<Figures*>(memory));
    }();
    return *shared;
}

// One measurement's line, then its steps and any note, indented.
// peakKiB: of another process than this one (a peer tool it ran).
void PrintFigures(const std::string& name, std::size_t records, double seconds, double cpu,
                  const Steps& steps, const std::string& note, long peakKiB = PeakKiB()) {
    LastFigures() = Figures{seconds, peakKiB};
    const double rate = seconds > 0 ? static_cast<double>(records) / seconds : 0.0;
    std::printf("%-44s %8zu %9.3f %10.0f %8.3f %9.1f\n", name.c_str(), records, seconds, rate, cpu,
                static_cast<double>(peakKiB) / 1024.0);
    if (!steps.Text().empty()) {
        std::printf("    %s\n", steps.Text().c_str());
    }
    if (!note.empty()) {
        std::printf("    %s\n", note.c_str());
    }
}

// --- The contacts ------------------------------------------------------------------------

const std::vector<std::string>& CategoryNames() {
    static const std::vector<std::string> names = {"Business", "Personal", "QuickList"};
    return names;
}

// What every generation's contact n holds, with the fields an address book typically fills.
struct ContactTexts {
    std::string first;
    std::string last;
    std::string title;
    std::string company;
    std::string note;
    std::string workPhone;
    std::string mobilePhone;
    std::string email;
    std::string street;
    std::string city = "Springfield";
    std::string state = "IL";
    std::string zip = "62701";
    std::string country = "USA";
    std::string web;
    std::size_t category = 0;  // into CategoryNames()
    double birthday = 0;       // a variant date
};

ContactTexts MakeTexts(std::size_t n) {
    const std::string number = std::to_string(n);
    ContactTexts c;
    c.first = "First" + number;
    c.last = "Lastname" + number;
    c.title = "Engineer";
    c.company = "Company " + std::to_string(n % 500) + " Incorporated";
    c.note = "Met at the conference; follow up about the order of item " + number;
    c.workPhone = "+1 555 0100 " + number;
    c.mobilePhone = "+1 555 0199 " + number;
    c.email = "first" + number + "@example.com";
    c.street = std::to_string(n % 900 + 1) + " Main Street";
    c.web = "http://www.example.com/~user" + number;
    c.category = n % CategoryNames().size();
    c.birthday = 25000.0 + static_cast<double>(n % 10000);
    return c;
}

// Category IDs of CategoryNames() in a .dat writer, created in a fresh list.
template <class Util>
std::vector<std::int32_t> MakeDatCategories(Util& writer) {
    writer.SetCatMgr(std::make_unique<PmCategoryMgr>());
    writer.GetCatMgr()->AddUnfiled();
    std::vector<std::int32_t> ids;
    for (const std::string& name : CategoryNames()) {
        std::int32_t id = 0;
        writer.GetCategoryId(name, id, true);
        ids.push_back(id);
    }
    return ids;
}

PmAddrRecord MakeClassicContact(const ContactTexts& c, std::int32_t categoryId) {
    PmAddrRecord record;
    record.m_dwCategoryId = static_cast<std::uint32_t>(categoryId);
    record.m_szFirstName = c.first;
    record.m_szLastName = c.last;
    record.m_szTitle = c.title;
    record.m_szCompany = c.company;
    record.m_szNote = c.note;
    record.m_szPhones[0] = c.workPhone;
    record.m_dwPhoneLabels[0] = PhoneWork;
    record.m_szPhones[1] = c.mobilePhone;
    record.m_dwPhoneLabels[1] = PhoneMobile;
    record.m_szPhones[2] = c.email;
    record.m_dwPhoneLabels[2] = PhoneEmail;
    record.m_dwPhoneLabels[3] = PhoneHome;
    record.m_dwPhoneLabels[4] = PhoneOther;
    record.m_szAddress = c.street;
    record.m_szCity = c.city;
    record.m_szState = c.state;
    record.m_szZip = c.zip;
    record.m_szCountry = c.country;
    return record;
}

PmAddrExRecord MakePalmSgContact(const ContactTexts& c, std::int32_t categoryId) {
    PmAddrExRecord record = PmAddrExRecord::MakeNew();
    record.m_dwCategoryId = static_cast<std::uint32_t>(categoryId);
    record.m_szFirstName = c.first;
    record.m_szLastName = c.last;
    record.m_szTitle = c.title;
    record.m_szCompany = c.company;
    record.m_szNote = c.note;
    record.m_szPhones[0] = c.workPhone;
    record.m_dwPhoneLabels[0] = PhoneWork;
    record.m_szPhones[1] = c.mobilePhone;
    record.m_dwPhoneLabels[1] = PhoneMobile;
    record.m_szPhones[2] = c.email;
    record.m_dwPhoneLabels[2] = PhoneEmail;
    record.m_addresses[0].m_szStreet = c.street;
    record.m_addresses[0].m_szCity = c.city;
    record.m_addresses[0].m_szState = c.state;
    record.m_addresses[0].m_szZip = c.zip;
    record.m_addresses[0].m_szCountry = c.country;
    record.m_szWebPage = c.web;
    record.m_dBirthday = kPmDateOffset + c.birthday;
    return record;
}

PmAddrEx2Record Make6xContact(const ContactTexts& c, std::int32_t recordId,
                              std::int32_t categoryId) {
    PmAddrEx2Record record;
    record.m_nRecordId = recordId;
    record.m_nCategoryId = categoryId;
    record.m_szFirstName = c.first;
    record.m_szLastName = c.last;
    record.m_szJobTitle = c.title;
    record.m_szCompany = c.company;
    record.m_szNote = c.note;
    record.m_szPhone1 = c.workPhone;  // the Work Phone column
    record.m_nPhoneLabel1 = static_cast<std::int32_t>(PhoneWork);
    record.m_szPhone3 = c.mobilePhone;  // the Work Mobile column
    record.m_nPhoneLabel3 = static_cast<std::int32_t>(PhoneMobile);
    record.m_szPhone4 = c.email;  // the Home Phone column, holding an e-mail address
    record.m_nPhoneLabel4 = static_cast<std::int32_t>(PhoneEmail);
    record.m_nPhoneLabel2 = static_cast<std::int32_t>(PhoneFax);
    record.m_nPhoneLabel5 = static_cast<std::int32_t>(PhoneFax);
    record.m_nPhoneLabel6 = static_cast<std::int32_t>(PhoneMobile);
    record.m_nPhoneLabel7 = static_cast<std::int32_t>(PhoneOther);
    record.m_szWorkStreet = c.street;
    record.m_szWorkCity = c.city;
    record.m_szWorkState = c.state;
    record.m_szWorkZip = c.zip;
    record.m_szWorkCountry = c.country;
    record.m_szWebsite = c.web;
    record.m_nBirthday = kPmDateOffset + static_cast<std::int32_t>(c.birthday);
    return record;
}

// --- Making the files --------------------------------------------------------------------

// A .dat save replaces an existing file, so an empty one is made first.
bool MakeEmptyFile(const std::string& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file);
}

// A classic address.dat of count contacts, contact names numbered from first.
bool WriteClassicFile(const std::string& path, std::size_t count, std::size_t first) {
    PmAddrUtil writer;
    const std::vector<std::int32_t> categories = MakeDatCategories(writer);
    for (std::size_t n = first; n < first + count; ++n) {
        const ContactTexts texts = MakeTexts(n);
        if (!writer.AddNewRecord(MakeClassicContact(texts, categories[texts.category]))) {
            return false;
        }
    }
    return MakeEmptyFile(path) && writer.SaveAs(path);
}

// A PalmSG address.dat of count contacts.
bool WritePalmSgFile(const std::string& path, std::size_t count, std::size_t first) {
    PmAddrExUtil writer;
    const std::vector<std::int32_t> categories = MakeDatCategories(writer);
    for (std::size_t n = first; n < first + count; ++n) {
        const ContactTexts texts = MakeTexts(n);
        if (!writer.AddNewRecord(MakePalmSgContact(texts, categories[texts.category]))) {
            return false;
        }
    }
    return MakeEmptyFile(path) && writer.SaveAs(path);
}

// The declared SQL type of a column of the 6.x table "Main" (as a Jet schema gives it).
std::string_view Declared6xType(std::string_view column) {
    static constexpr std::string_view kIntegers[] = {
        "Record ID",           "Status",       "Placement",    "Anniversary",   "Birthday",
        "Primary Contact",     "Phone Label1", "Phone Label2", "Phone Label3",  "Phone Label4",
        "Phone Label5",        "Phone Label6", "Phone Label7", "Chat1 LabelID", "Chat2 LabelID",
        "Birthday AlarmAdv",   "Avatar",       "Addr Label1",  "Addr Label2",   "Addr Label3",
        "Anniversary AlarmAdv"};
    static constexpr std::string_view kBits[] = {"Private", "Birthday AlarmSet",
                                                 "Anniversary AlarmSet"};
    if (std::find(std::begin(kIntegers), std::end(kIntegers), column) != std::end(kIntegers)) {
        return "INTEGER";
    }
    if (std::find(std::begin(kBits), std::end(kBits), column) != std::end(kBits)) {
        return "BIT";
    }
    return column == "Note" ? "MEMO" : "TEXT";
}

// The SQL that creates the three tables of a 6.x Contacts database: "Main" with the
// reader's columns, then the binary columns a new contact's INSERT fills. Text columns
// compare without letter case, as Jet's do.
std::string Create6xTablesSql() {
    const auto column = [](std::string_view name, std::string_view type) {
        const bool text = type == "TEXT" || type == "MEMO";
        return "[" + std::string(name) + "] " + std::string(type) + (text ? " COLLATE NOCASE" : "");
    };
    std::string sql = "CREATE TABLE Information (" + column("Name", "TEXT") + ", " +
                      column("Note", "MEMO") + ");";
    sql += "CREATE TABLE Category (" + column("ID", "INTEGER") + ", " + column("Name", "TEXT") +
           ", " + column("Status", "INTEGER") + ", " + column("Color", "INTEGER") + ");";
    sql += "CREATE TABLE Main (";
    for (const std::string_view name : PmAddrEx2Util::kColumns) {
        sql += column(name, Declared6xType(name)) + ", ";
    }
    sql += column("Photo", "LONGBINARY") + ", " + column("VoiceTag", "LONGBINARY") + ", " +
           column("Ringtone", "LONGBINARY") + ", " + column("Blob", "LONGBINARY") + ");";
    return sql;
}

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

// A new SQLite file holding the empty 6.x tables.
bool Create6xDatabase(const std::string& path) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const std::unique_ptr<sqlite3, SqliteCloser> db(raw);
    if (opened != SQLITE_OK) {
        return false;
    }
    char* message = nullptr;
    if (sqlite3_exec(db.get(), Create6xTablesSql().c_str(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        std::fprintf(stderr, "cannot create the tables of %s: %s\n", path.c_str(),
                     message != nullptr ? message : "?");
        sqlite3_free(message);
        return false;
    }
    return true;
}

// A 6.x Address.mdb (an SQLite file) of count contacts, each row written by the reader's
// own WriteRecord. The rows go in one transaction, and the record list is emptied after
// each write, so that making the file costs neither a disk sync nor a list walk per row.
bool Write6xFile(const std::string& path, std::size_t count, std::size_t first) {
    if (!Create6xDatabase(path)) {
        return false;
    }
    PmAddrEx2Util writer(path);
    PmMDBAccessor* accessor = writer.GetAccessor();
    if (!writer.IsLoaded() || accessor == nullptr) {
        return false;
    }
    std::vector<std::int32_t> categories;
    for (const std::string& name : CategoryNames()) {
        std::int32_t id = 0;
        if (!writer.GetCategoryId(name, id, true)) {
            return false;
        }
        categories.push_back(id);
    }
    if (!accessor->ExecuteSql("BEGIN", false)) {
        return false;
    }
    PmAddrEx2DataMgr& records = writer.GetDataMgr();
    records.Clear();
    for (std::size_t n = first; n < first + count; ++n) {
        const ContactTexts texts = MakeTexts(n);
        PmAddrEx2Record record = Make6xContact(texts, static_cast<std::int32_t>(n - first + 1),
                                               categories[texts.category]);
        if (!records.AddRecord(record) || !writer.WriteRecord(*records.GetRecordAt(0))) {
            return false;
        }
        records.Clear();
    }
    return accessor->ExecuteSql("COMMIT", false);
}

// A Jet cell of the column from the value the SQLite twin holds.
test::JetValue JetCellOf(sqlite3_stmt* row, int at, test::JetType type) {
    using test::JetType;
    switch (sqlite3_column_type(row, at)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            if (type == JetType::Ole) {
                return std::string(4, '\0');  // the 0x00000000 of the readers' INSERT
            }
            if (type == JetType::Text || type == JetType::Memo) {
                return std::to_string(sqlite3_column_int64(row, at));
            }
            return std::int64_t{sqlite3_column_int64(row, at)};
        case SQLITE_FLOAT:
            return sqlite3_column_double(row, at);
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_blob(row, at));
            return std::string(text != nullptr ? text : "",
                               static_cast<std::size_t>(sqlite3_column_bytes(row, at)));
        }
    }
}

// A Jet Address.mdb of the same contacts as Write6xFile's: that file is written, and its
// tables copied row by row into a Jet file by the tests' Jet writer.
bool WriteJetFile(const std::string& path, std::size_t count, std::size_t first) {
    const std::string twin = path + ".sqlite";
    if (!Write6xFile(twin, count, first)) {
        return false;
    }
    sqlite3* raw = nullptr;
    sqlite3_open_v2(twin.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, SqliteCloser> db(raw);
    std::vector<test::JetTable> tables = test::JetPalmTables(test::JetPalmApp::Contacts);
    for (test::JetTable& table : tables) {
        std::string sql = "SELECT ";
        for (const test::JetColumn& column : table.columns) {
            sql += (sql.size() > 7 ? ", [" : "[") + column.name + "]";
        }
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db.get(), (sql + " FROM " + table.name + " ORDER BY rowid").c_str(),
                               -1, &statement, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "cannot read %s: %s\n", twin.c_str(), sqlite3_errmsg(db.get()));
            return false;
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<test::JetValue> row;
            for (std::size_t i = 0; i < table.columns.size(); ++i) {
                row.push_back(JetCellOf(statement, static_cast<int>(i), table.columns[i].type));
            }
            table.rows.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
    }
    const std::vector<std::uint8_t> bytes = test::BuildJetDatabase(tables);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    std::error_code error;
    std::filesystem::remove(twin, error);
    return static_cast<bool>(out.flush());
}

// --- The generations ---------------------------------------------------------------------

// The reader of a generation alone loading a file: the number of contacts it holds.
template <class Reader>
std::optional<std::size_t> ReaderLoad(const std::string& path) {
    Reader reader(path);
    if (!reader.IsLoaded()) {
        return std::nullopt;
    }
    return reader.GetDataMgr().GetRecordCount();
}

struct Generation {
    const char* name;       // "classic", "PalmSG", "6.x" (the SQLite form), "Jet"
    const char* extension;  // ".dat" or ".mdb"
    std::function<bool(const std::string&, std::size_t, std::size_t)> write;
    std::function<std::optional<std::size_t>(const std::string&)> load;
};

const std::vector<Generation>& Generations() {
    static const std::vector<Generation> generations = {
        {"classic", ".dat", WriteClassicFile, ReaderLoad<PmAddrUtil>},
        {"PalmSG", ".dat", WritePalmSgFile, ReaderLoad<PmAddrExUtil>},
        {"6.x", ".mdb", Write6xFile, ReaderLoad<PmAddrEx2Util>},
        {"Jet", ".mdb", WriteJetFile, ReaderLoad<PmAddrEx2Util>},
    };
    return generations;
}

// --- Conversions through the engine ------------------------------------------------------

class QuietObserver final : public ConversionObserver {
  public:
    void SetProgress(int) override {}
    void SetStatus(std::string_view) override {}
};

// The settings of a Contacts conversion by file with the defaults of a fresh settings
// file (double quotes, ANSI, no title row, overwrite).
AppSettings ContactsSettings(int mode) {
    AppSettings settings;
    settings.m_nMode = mode;
    settings.m_nApp = AppContacts;
    settings.m_nPmDataMode = PmDataByFile;
    return settings;
}

// Fails with the message of a refused step.
bool Refused(const char* step, const std::optional<UserMessage>& message) {
    if (message) {
        std::fprintf(stderr, "%s refused: %s\n", step, message->text.c_str());
        return true;
    }
    return false;
}

// The outcome of one conversion: the pass's result and the time of each step.
struct Conversion {
    bool completed = false;
    ConversionResult result;
    Steps steps;
};

// Converts the Palm Desktop file to the CSV file (mode ModePalmToCsv) or the CSV file into
// the Palm Desktop file (ModeCsvToPalm), every field and every record, as tabrel-cli does.
Conversion Convert(int mode, const std::string& palmFile, const std::string& csvFile) {
    Conversion conversion;
    AppSettings settings = ContactsSettings(mode);
    auto start = Clock::now();
    ConversionJob job;
    job.m_nApp = AppContacts;
    if (Refused("CheckPalmFile", CheckPalmFile(job, palmFile))) {
        return conversion;
    }
    conversion.steps.Add("check file", SecondsSince(start));
    start = Clock::now();
    if (Refused("LoadPalmData", LoadPalmData(job, settings, palmFile))) {
        return conversion;
    }
    conversion.steps.Add("load file", SecondsSince(start));
    start = Clock::now();
    if (Refused("CheckCsvFile", CheckCsvFile(job, settings, csvFile))) {
        return conversion;
    }
    job.m_fields = DefaultFieldList(job.GetCatalogue());
    conversion.steps.Add("CSV and fields", SecondsSince(start));
    if (mode == ModeCsvToPalm) {
        start = Clock::now();
        ReadImportRecords(job, settings, false);
        conversion.steps.Add("read CSV", SecondsSince(start));
    }
    start = Clock::now();
    job.SelectAllRecords(mode);
    if (job.m_selectedRecords.empty()) {
        std::fprintf(stderr, "%s\n", NoRecordSelectedText(job.m_nApp).c_str());
        return conversion;
    }
    QuietObserver observer;
    conversion.result = RunConversion(job, settings, observer);
    conversion.steps.Add(mode == ModeCsvToPalm ? "import pass and save" : "export pass",
                         SecondsSince(start));
    if (!conversion.result.Succeeded()) {
        std::fprintf(stderr, "the pass failed: %s\n", conversion.result.m_failure->text.c_str());
        return conversion;
    }
    conversion.completed = true;
    return conversion;
}

// The number of contacts the facade shows in a file; none when it cannot be loaded.
std::optional<std::size_t> CountContacts(const std::string& path) {
    ConversionJob job;
    if (!job.Addr().LoadByFile(path)) {
        return std::nullopt;
    }
    return job.Addr().GetItemCount();
}

// --- The measurements --------------------------------------------------------------------

// Exports a file of count contacts to CSV and prints the figures.
bool MeasureExport(const std::string& label, const std::string& palmFile,
                   const std::string& csvFile, std::size_t count) {
    const double cpuStart = CpuSeconds();
    const auto start = Clock::now();
    const Conversion conversion = Convert(ModePalmToCsv, palmFile, csvFile);
    const double seconds = SecondsSince(start);
    const double cpu = CpuSeconds() - cpuStart;
    if (!conversion.completed) {
        return false;
    }
    char note[160];
    std::snprintf(note, sizeof note, "file %.1f MiB, CSV %.1f MiB", MiB(FileSize(palmFile)),
                  MiB(FileSize(csvFile)));
    PrintFigures(label, conversion.result.m_nConverted, seconds, cpu, conversion.steps, note);
    if (conversion.result.m_nConverted != count) {
        std::fprintf(stderr, "expected %zu records, %u were converted\n", count,
                     conversion.result.m_nConverted);
        return false;
    }
    return true;
}

// Copies the file as a plain copy does (read and written in blocks of 128 KiB, no sync),
// and prints the figures.
bool MeasureCopy(const std::string& palmFile, const std::string& copyFile) {
    const double cpuStart = CpuSeconds();
    const auto start = Clock::now();
    std::ifstream in(palmFile, std::ios::binary);
    std::ofstream out(copyFile, std::ios::binary | std::ios::trunc);
    std::vector<char> block(128 * 1024);
    while (in && out) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        out.write(block.data(), in.gcount());
    }
    out.close();
    const double seconds = SecondsSince(start);
    if (!in.eof() || !out) {
        std::fprintf(stderr, "cannot copy %s\n", palmFile.c_str());
        return false;
    }
    PrintFigures("plain copy of the file", 0, seconds, CpuSeconds() - cpuStart, Steps(), "");
    return true;
}

// The generation's reader alone loads the file, and the figures are printed.
bool MeasureReaderLoad(const Generation& generation, const std::string& palmFile,
                       std::size_t count) {
    const double cpuStart = CpuSeconds();
    const auto start = Clock::now();
    const std::optional<std::size_t> loaded = generation.load(palmFile);
    const double seconds = SecondsSince(start);
    if (!loaded || *loaded != count) {
        std::fprintf(stderr, "the reader loaded %zu contacts instead of %zu\n", loaded.value_or(0),
                     count);
        return false;
    }
    PrintFigures(std::string("reader alone loads the ") + generation.name + " file", count, seconds,
                 CpuSeconds() - cpuStart, Steps(), "");
    return true;
}

// mdbtools' mdb-export writes the table "Main" of a Jet file as CSV, and the figures are
// printed: the peer tool's time for what an export does.
bool MeasureMdbExport(const std::string& palmFile, const std::string& csvFile, std::size_t count) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, csvFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "mdb-export";
    std::string table = "Main";
    std::string file = palmFile;
    char* const args[] = {program.data(), file.data(), table.data(), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "mdb-export of %s failed (is mdbtools installed?)\n",
                     palmFile.c_str());
        return false;
    }
    const double seconds = SecondsSince(start);
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    char note[96];
    std::snprintf(note, sizeof note, "CSV %.1f MiB", MiB(FileSize(csvFile)));
    PrintFigures("mdb-export of Main", count, seconds, cpu, Steps(), note, usage.ru_maxrss);
    return true;
}

// What a conversion of a file is measured against, each in a process of its own: a plain
// copy of the file, the generation's reader alone loading it and, for a Jet file,
// mdb-export of its contacts.
struct Baseline {
    std::uintmax_t fileBytes = 0;  // the file's size before the conversion
    Figures copy;
    Figures load;
    std::optional<Figures> mdbExport;
};

std::optional<Baseline> MeasureBaseline(const Generation& generation, const std::string& palmFile,
                                        std::size_t count) {
    Baseline baseline;
    baseline.fileBytes = FileSize(palmFile);
    const std::string copyFile = palmFile + ".copy";
    const bool copied = RunInChild([&] { return MeasureCopy(palmFile, copyFile); });
    baseline.copy = LastFigures();
    std::error_code error;
    std::filesystem::remove(copyFile, error);
    if (!copied || !RunInChild([&] { return MeasureReaderLoad(generation, palmFile, count); })) {
        return std::nullopt;
    }
    baseline.load = LastFigures();
    if (generation.name == std::string_view("Jet")) {
        const std::string csvFile = palmFile + ".mdb-export.csv";
        const bool exported =
            RunInChild([&] { return MeasureMdbExport(palmFile, csvFile, count); });
        std::filesystem::remove(csvFile, error);
        if (!exported) {
            return std::nullopt;
        }
        baseline.mdbExport = LastFigures();
    }
    return baseline;
}

// The ratios of a conversion's figures to its baseline and its file's size.
void PrintRatios(const char* what, const Figures& measured, const Baseline& baseline) {
    const double fileKiB = static_cast<double>(baseline.fileBytes) / 1024.0;
    const auto times = [&](const Figures& base) {
        return measured.seconds / std::max(base.seconds, 1e-6);
    };
    std::printf("    ratios: %s %.1fx the copy, %.1fx the reader's load", what,
                times(baseline.copy), times(baseline.load));
    if (baseline.mdbExport) {
        std::printf(", %.1fx mdb-export", times(*baseline.mdbExport));
    }
    std::printf("; peak memory %.1fx the file\n",
                static_cast<double>(measured.peakKiB) / std::max(fileKiB, 1.0));
}

// Only loads the file and reads the CSV into import records, as an import does before its
// pass, and prints the figures.
bool MeasureLoadBoth(const std::string& label, const std::string& palmFile,
                     const std::string& csvFile, std::size_t count) {
    const double cpuStart = CpuSeconds();
    auto start = Clock::now();
    const auto begin = start;
    Steps steps;
    AppSettings settings = ContactsSettings(ModeCsvToPalm);
    ConversionJob job;
    job.m_nApp = AppContacts;
    if (Refused("CheckPalmFile", CheckPalmFile(job, palmFile)) ||
        Refused("LoadPalmData", LoadPalmData(job, settings, palmFile))) {
        return false;
    }
    steps.Add("check and load file", SecondsSince(start));
    start = Clock::now();
    if (Refused("CheckCsvFile", CheckCsvFile(job, settings, csvFile))) {
        return false;
    }
    job.m_fields = DefaultFieldList(job.GetCatalogue());
    const std::size_t read = ReadImportRecords(job, settings, false);
    steps.Add("CSV into import records", SecondsSince(start));
    const double seconds = SecondsSince(begin);
    const double cpu = CpuSeconds() - cpuStart;
    char note[160];
    std::snprintf(note, sizeof note, "%zu contacts in the file, %zu import records",
                  job.Addr().GetItemCount(), read);
    PrintFigures(label, read, seconds, cpu, steps, note);
    return read == count && job.Addr().GetItemCount() == count;
}

// Imports the CSV into the file and prints the figures; then checks that the file holds
// both its own contacts and the imported ones.
bool MeasureImport(const std::string& label, const std::string& palmFile,
                   const std::string& csvFile, std::size_t count) {
    {
        const double cpuStart = CpuSeconds();
        const auto start = Clock::now();
        const Conversion conversion = Convert(ModeCsvToPalm, palmFile, csvFile);
        const double seconds = SecondsSince(start);
        const double cpu = CpuSeconds() - cpuStart;
        if (!conversion.completed) {
            return false;
        }
        char note[160];
        std::snprintf(note, sizeof note, "file after the import %.1f MiB", MiB(FileSize(palmFile)));
        PrintFigures(label, conversion.result.m_nConverted, seconds, cpu, conversion.steps, note);
        if (conversion.result.m_nConverted != count) {
            std::fprintf(stderr, "expected %zu records, %u were converted\n", count,
                         conversion.result.m_nConverted);
            return false;
        }
    }
    const std::optional<std::size_t> held = CountContacts(palmFile);
    if (!held || *held != 2 * count) {
        std::fprintf(stderr, "the file holds %zu contacts instead of %zu\n", held.value_or(0),
                     2 * count);
        return false;
    }
    return true;
}

// --- The run -----------------------------------------------------------------------------

std::size_t CountArgument(int argc, char** argv, int index, std::size_t fallback) {
    if (argc <= index) {
        return fallback;
    }
    char* end = nullptr;
    const unsigned long long value = std::strtoull(argv[index], &end, 10);
    if (end == argv[index] || *end != '\0' || value == 0) {
        std::fprintf(stderr, "not a record count: %s\n", argv[index]);
        std::exit(2);
    }
    return static_cast<std::size_t>(value);
}

// Makes a file in a child process and says how long it took.
bool MakeFile(const Generation& generation, const std::string& path, std::size_t count,
              std::size_t first) {
    const auto start = Clock::now();
    const bool made = RunInChild([&] { return generation.write(path, count, first); });
    if (!made) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("  (made %s with %zu contacts, %.1f MiB, in %.1f s)\n", path.c_str(), count,
                MiB(FileSize(path)), SecondsSince(start));
    return true;
}

// The 1-minute load average of the machine; negative when it cannot be read. Wall times
// mean little when it is above the core count.
double LoadAverage() {
    double loads[1] = {0};
    return getloadavg(loads, 1) == 1 ? loads[0] : -1.0;
}

// Lines the debug log received (only failures are written while it is off).
std::size_t LogLineCount(const std::string& path) {
    std::ifstream log(path);
    std::size_t lines = 0;
    std::string line;
    while (std::getline(log, line)) {
        ++lines;
    }
    return lines;
}

int Run(int argc, char** argv) {
    const std::size_t exportCount = CountArgument(argc, argv, 1, 100000);
    const std::size_t importCount = CountArgument(argc, argv, 2, 20000);
    const std::size_t import6xCount = CountArgument(argc, argv, 3, 20000);

    ScratchFolder folder;
    if (!folder.IsValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    CatchStopSignals();
    LastFigures();  // shared with the children: made before the first of them
    // Nothing of the user's own settings or Palm Desktop installation is read.
    setenv("XDG_CONFIG_HOME", folder.Folder().c_str(), 1);
    setenv("WINEPREFIX", folder.File("wine").c_str(), 1);
    DebugLog().SetFolder(folder.Folder());
    DebugLog().Enable(false);

    std::printf("convert_bench: Contacts through the conversion engine, %ld cores, files in %s\n",
                sysconf(_SC_NPROCESSORS_ONLN), folder.Folder().c_str());
    std::printf("each measurement in a process of its own; peak MiB is its VmHWM\n");
    std::printf("load average at the start %.2f\n\n", LoadAverage());
    bool ok = true;

    std::printf("1. Export to CSV\n");
    PrintHeader();
    for (const Generation& generation : Generations()) {
        if (Stopped()) {
            break;
        }
        const std::string palmFile =
            folder.File(std::string("export-") + generation.name + generation.extension);
        const std::string csvFile = folder.File(std::string("export-") + generation.name + ".csv");
        if (!MakeFile(generation, palmFile, exportCount, 0)) {
            ok = false;
            continue;
        }
        const std::optional<Baseline> baseline = MeasureBaseline(generation, palmFile, exportCount);
        if (!baseline) {
            ok = false;
            continue;
        }
        const std::string label = std::string("export ") + generation.name + " -> CSV";
        if (!RunInChild([&] { return MeasureExport(label, palmFile, csvFile, exportCount); })) {
            std::fprintf(stderr, "%s failed\n", label.c_str());
            ok = false;
        } else {
            PrintRatios("export", LastFigures(), *baseline);
        }
        std::error_code error;
        for (const std::string& path : {palmFile, csvFile}) {
            std::filesystem::remove(path, error);
        }
    }

    std::printf("\n2. Import from CSV into a file of as many other contacts\n");
    PrintHeader();
    for (const Generation& generation : Generations()) {
        if (Stopped()) {
            break;
        }
        const std::size_t count =
            generation.extension == std::string_view(".mdb") ? import6xCount : importCount;
        const std::string base = std::string("import-") + generation.name;
        const std::string palmFile = folder.File(base + generation.extension);
        const std::string sourceFile = folder.File(base + "-source" + generation.extension);
        const std::string csvFile = folder.File(base + ".csv");
        // The CSV: an engine export of a file of other contacts.
        if (!MakeFile(generation, palmFile, count, 0) ||
            !MakeFile(generation, sourceFile, count, kImportNameOffset)) {
            ok = false;
            continue;
        }
        if (!RunInChild([&] { return Convert(ModePalmToCsv, sourceFile, csvFile).completed; })) {
            std::fprintf(stderr, "cannot export %s to %s\n", sourceFile.c_str(), csvFile.c_str());
            ok = false;
            continue;
        }
        std::printf("  (exported %s to %s, %.1f MiB)\n", sourceFile.c_str(), csvFile.c_str(),
                    MiB(FileSize(csvFile)));
        const std::string loadLabel = std::string("load ") + generation.name + " file + read CSV";
        const std::string importLabel = std::string("import CSV -> ") + generation.name;
        const std::optional<Baseline> baseline = MeasureBaseline(generation, palmFile, count);
        if (!baseline) {
            ok = false;
            continue;
        }
        if (!RunInChild([&] { return MeasureLoadBoth(loadLabel, palmFile, csvFile, count); })) {
            std::fprintf(stderr, "%s failed\n", loadLabel.c_str());
            ok = false;
        }
        if (!RunInChild([&] { return MeasureImport(importLabel, palmFile, csvFile, count); })) {
            std::fprintf(stderr, "%s failed\n", importLabel.c_str());
            ok = false;
        } else {
            PrintRatios("import", LastFigures(), *baseline);
        }
        std::error_code error;
        for (const std::string& path : {palmFile, sourceFile, csvFile}) {
            std::filesystem::remove(path, error);
        }
    }

    if (Stopped()) {
        std::printf("\nstopped by signal %d\n", static_cast<int>(g_nStopSignal));
        return 128 + static_cast<int>(g_nStopSignal);
    }
    std::printf("\nload average at the end %.2f\n", LoadAverage());
    const std::size_t logLines = LogLineCount(DebugLog().GetPath());
    if (logLines > 0) {
        std::printf("the debug log (off) received %zu failure lines\n", logLines);
    }
    return ok ? 0 : 1;
}

}  // namespace

}  // namespace tabrel

int main(int argc, char** argv) {
    return tabrel::Run(argc, argv);
}
