#include "palm/db6x/DbOpen.h"

#include <cstdint>
#include <vector>

#include "palm/db6x/engine/DbFileBytes.h"
#include "palm/db6x/engine/SqliteEngine.h"
#include "palm/db6x/jet/JetEngine.h"

namespace tabrel {

namespace {

// The first bytes that tell a database file's engine:
//   offset  size  meaning
//   0       16    "SQLite format 3" and a zero byte: an SQLite database
//   4       15    "Standard Jet DB": a Jet (Access 97 to 2003) database
constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};
constexpr std::string_view kJetMagic = "Standard Jet DB";
constexpr std::size_t kJetMagicOffset = 4;
constexpr std::size_t kHeaderSize = 20;

enum class FileKind { Sqlite, Jet, Other };

FileKind KindOfHeader(const std::vector<std::uint8_t>& bytes) {
    const std::string_view header(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (header.starts_with(kSqliteMagic)) {
        return FileKind::Sqlite;
    }
    if (header.size() >= kJetMagicOffset + kJetMagic.size() &&
        header.substr(kJetMagicOffset, kJetMagic.size()) == kJetMagic) {
        return FileKind::Jet;
    }
    return FileKind::Other;
}

}  // namespace

std::unique_ptr<DbDatabase> OpenDbFile(const std::string& path, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileHead(path, kHeaderSize, bytes, error)) {
        return nullptr;
    }
    switch (KindOfHeader(bytes)) {
        case FileKind::Sqlite:
            return OpenSqliteFile(path, error);
        case FileKind::Jet:
            return OpenJetFile(path, error, JetAccess::Write);
        default:
            error = "The file is not a database that can be read.";
            return nullptr;
    }
}

}  // namespace tabrel
