// palmsg_load: writes an address.dat of 20,000 contacts with the Contacts writer and times
// loading it back.
//
// Usage: palmsg_load [record count] [runs]
// The file is written into a fresh folder under the system's temporary folder, which is
// removed at the end. The debug log goes to that folder too.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "palm/palmsg/PmAddrExUtil.h"

namespace {

using Clock = std::chrono::steady_clock;

// A fresh folder, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "palmsg-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
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

    bool IsValid() const { return !m_path.empty(); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    std::string Folder() const { return m_path.string() + "/"; }

  private:
    std::filesystem::path m_path;
};

// A contact with the fields an address book typically fills.
tabrel::PmAddrExRecord MakeContact(std::size_t n, std::int32_t categoryId) {
    tabrel::PmAddrExRecord record = tabrel::PmAddrExRecord::MakeNew();
    const std::string number = std::to_string(n);
    record.m_dwCategoryId = static_cast<std::uint32_t>(categoryId);
    record.m_szFirstName = "First" + number;
    record.m_szLastName = "Lastname" + number;
    record.m_szTitle = "Engineer";
    record.m_szCompany = "Company " + std::to_string(n % 500) + " Incorporated";
    record.m_szNote = "Met at the conference; follow up about the order of item " + number;
    record.m_szPhones[0] = "+1 555 0100 " + number;
    record.m_dwPhoneLabels[0] = tabrel::PhoneWork;
    record.m_szPhones[1] = "+1 555 0199 " + number;
    record.m_dwPhoneLabels[1] = tabrel::PhoneMobile;
    record.m_szPhones[2] = "first" + number + "@example.com";
    record.m_dwPhoneLabels[2] = tabrel::PhoneEmail;
    record.m_addresses[0].m_szStreet = std::to_string(n % 900 + 1) + " Main Street";
    record.m_addresses[0].m_szCity = "Springfield";
    record.m_addresses[0].m_szState = "IL";
    record.m_addresses[0].m_szZip = "62701";
    record.m_addresses[0].m_szCountry = "USA";
    record.m_szWebPage = "http://www.example.com/~user" + number;
    record.m_dBirthday = 25000.0 + static_cast<double>(n % 10000);
    return record;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    ScratchFolder folder;
    if (!folder.IsValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    tabrel::DebugLog().SetFolder(folder.Folder());
    const std::string path = folder.File("address.dat");
    std::ofstream(path, std::ios::binary).close();  // a save replaces an existing file

    tabrel::PmAddrExUtil writer;
    writer.SetCatMgr(std::make_unique<tabrel::PmCategoryMgr>());
    writer.GetCatMgr()->AddUnfiled();
    std::vector<std::int32_t> categories;
    for (const char* name : {"Business", "Personal", "QuickList"}) {
        std::int32_t id = 0;
        writer.GetCategoryId(name, id, true);
        categories.push_back(id);
    }
    for (std::size_t n = 0; n < count; ++n) {
        writer.AddNewRecord(MakeContact(n, categories[n % categories.size()]));
    }
    const auto saveStart = Clock::now();
    if (!writer.SaveAs(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    const double saveMs =
        std::chrono::duration<double, std::milli>(Clock::now() - saveStart).count();

    std::vector<double> loadMs;
    std::size_t loaded = 0;
    for (int run = 0; run < runs; ++run) {
        tabrel::PmAddrExUtil reader;
        const auto start = Clock::now();
        if (!reader.LoadFile(path)) {
            std::fprintf(stderr, "cannot load %s\n", path.c_str());
            return 1;
        }
        loadMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        loaded = reader.GetDataMgr().GetRecordCount();
    }
    std::sort(loadMs.begin(), loadMs.end());
    std::printf("address.dat: %zu contacts, %ju bytes\n", loaded,
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    std::printf("save: %.1f ms\n", saveMs);
    std::printf("load: best %.1f ms, median %.1f ms over %d runs\n", loadMs.front(),
                loadMs[loadMs.size() / 2], runs);
    return 0;
}
