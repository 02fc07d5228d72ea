// Damaged Jet files: whatever bytes a file holds, opening it ends, either with the tables
// or with a reason, and never changes the file.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "palm/db6x/DbOpen.h"
#include "support/JetWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using test::JetValue;

// A Memos database whose pages hold every kind of structure: the catalogue, definitions,
// data pages, inline, single-page and chained memos.
test::Bytes MemoFile() {
    auto tables = test::JetPalmTables(test::JetPalmApp::Memos);
    tables[0].rows.push_back({JetValue(std::string("Version")), JetValue(std::string("6"))});
    tables[1].rows.push_back({JetValue(std::int64_t{1}), JetValue(std::string("Business")),
                              JetValue(std::int64_t{1}), JetValue(std::int64_t{0})});
    for (std::int64_t id = 1; id <= 40; ++id) {
        const std::size_t length = id % 3 == 0 ? 9000 : id % 3 == 1 ? 1500 : 20;
        tables[2].rows.push_back({JetValue(id), JetValue(std::int64_t{0}), JetValue(id),
                                  JetValue(std::int64_t{0}), JetValue(std::string("1")),
                                  JetValue(std::string(length, static_cast<char>('a' + id % 26))),
                                  JetValue()});
    }
    return test::BuildJetDatabase(tables);
}

}  // namespace

TEST(JetDamage, EveryDamagedFileOpensOrFailsWithAReason) {
    const test::TempDir dir;
    const test::Bytes good = MemoFile();
    const std::string path = dir.File("MemoPad.mdb");
    std::mt19937 random(20261210);
    std::uniform_int_distribution<std::size_t> anyByte(4096, good.size() - 1);
    std::uniform_int_distribution<int> anyValue(0, 255);
    int opened = 0;
    for (int round = 0; round < 60; ++round) {
        test::Bytes bytes = good;
        // A few bytes anywhere after the header, or a whole page made random.
        if (round % 4 == 3) {
            const std::size_t page = anyByte(random) / 4096 * 4096;
            for (std::size_t i = page; i < page + 4096; ++i) {
                bytes[i] = static_cast<std::uint8_t>(anyValue(random));
            }
        } else {
            for (int n = 0; n < 1 + round % 8; ++n) {
                bytes[anyByte(random)] = static_cast<std::uint8_t>(anyValue(random));
            }
        }
        test::WriteFile(path, bytes);
        std::string error;
        const auto db = OpenDbFile(path, error);
        if (db != nullptr) {
            ++opened;
        } else {
            EXPECT_FALSE(error.empty()) << "round " << round;
        }
        EXPECT_TRUE(test::ReadFile(path) == bytes) << "round " << round;
    }
    // Bytes that fall into unused parts of pages change nothing that is read.
    EXPECT_GT(opened, 0);
}

}  // namespace tabrel
