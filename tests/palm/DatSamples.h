#pragma once
// The sample memo files of both .dat generations that the container tests load, and a
// file of given bytes in a folder of its own.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "palm/classic/PmMemoUtil.h"
#include "palm/palmsg/PmMemoExUtil.h"
#include "support/ClassicWriter.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel::test {

// Offsets of the record count bytes of reserved block 1 in every PalmSG file.
inline constexpr std::size_t kCountLow = 24 + 4 + 12;
inline constexpr std::size_t kCountHigh = kCountLow + 1;

// A file of the given bytes in a fresh folder.
class DatFile {
  public:
    explicit DatFile(const Bytes& bytes, std::string_view name = "memopad.dat")
        : m_path(m_dir.File(name)) {
        WriteFile(m_path, bytes);
    }
    const std::string& Path() const { return m_path; }
    Bytes Read() const { return ReadFile(m_path); }
    std::size_t EntryCount() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(m_dir.Path())) {
            ++count;
        }
        return count;
    }
    const TempDir& Dir() const { return m_dir; }

  private:
    TempDir m_dir;
    std::string m_path;
};

// Six memos as Palm Desktop writes them, three of them deleted or archived, one with a text
// word of 0 and one longer than 8191 bytes, and trailing bytes after the records.
inline ClassicFile SampleMemoFile() {
    ClassicFile file = ClassicMemoFile();
    file.nextFeedId = 130;
    file.categories = {{1, 1, 0, "Business", "Business"}, {3, 7, 0, "Per.sonal", "Per_sonal"}};
    ClassicFields third = ClassicHeaderFields({.id = 22, .status = 0x40, .placement = 2});
    third.Text(std::string(9000, 'm'), 0).Boolean(0).Integer(7);
    file.records = {
        ClassicMemoRecord({.id = 0x00A1B2C3, .placement = 1}, "Shopping: milk", 1, 1),
        ClassicMemoRecord({.id = 11, .status = 0x80, .placement = 5}, "archived"),
        third.Get(),
        ClassicMemoRecord({.id = 12, .status = 0x04, .placement = 6}, "deleted"),
        ClassicMemoRecord({.id = 33, .placement = 3}, "no such category", 0, 5),
        ClassicMemoRecord({.id = 13, .status = 0x84, .placement = 7}, "deleted and archived"),
    };
    file.trailing = {0xDE, 0xAD, 0xBE, 0xEF, 0x01};
    return file;
}

inline PmMemoRecord LoadedMemo(PmMemoUtil& memos, std::size_t position) {
    const PmMemoRecord* record = memos.GetDataMgr().GetRecordAt(position);
    return record != nullptr ? *record : PmMemoRecord{};
}

// Three memos as Palm Desktop writes them: private flags under code 6, blocks with data,
// a text word of 0, a memo longer than 8191 bytes and trailing bytes after the records.
inline PalmSgFile SampleMemoPad() {
    PalmSgFile file = MemoPadFile();
    file.reserved1[kCountLow - 28] = 3;
    file.nextFeedId = 130;
    file.categories = {{1, 1, 0, "Business", "Business"}, {3, 7, 0, "Per.sonal", "Per_sonal"}};
    PalmSgHeader first{.id = 0x00A1B2C3,
                       .number = 4096,
                       .status = 0,
                       .field3 = 0,
                       .placement = 1,
                       .category = 1,
                       .isPrivate = 1};
    first.blocks[0] = PalmSgFields().Block(64, Pattern(6, 0x70)).Get();
    first.blocks[2] = PalmSgFields().WordBlock(66, 2, 9, 8, Pattern(3, 0x80)).Get();
    PalmSgFields second = HeaderFields(
        {.id = 22, .number = 4097, .status = 0x40, .field3 = 14, .placement = 2, .category = 7});
    second.Text("carried", 0).Text("").Text(std::string(9000, 'm'));
    file.records = {MemoRecord(first, "Shopping: milk", "t11", "t12"), second.Get(),
                    MemoRecord({.id = 33, .category = 5}, "no such category")};
    file.trailing = {0xDE, 0xAD, 0xBE, 0xEF, 0x01};
    return file;
}

inline PmMemoExRecord LoadedRecord(PmMemoExUtil& memos, std::size_t position) {
    const PmMemoExRecord* record = memos.GetDataMgr().GetRecordAt(position);
    return record != nullptr ? *record : PmMemoExRecord{};
}

}  // namespace tabrel::test
