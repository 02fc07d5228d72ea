#include "DbEngine.h"

#include <array>
#include <fstream>

#include "SqliteEngine.h"

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

}  // namespace

std::unique_ptr<DbDatabase> OpenDbFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "The file cannot be read.";
        return nullptr;
    }
    std::array<char, kHeaderSize> bytes{};
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::string_view header(bytes.data(), static_cast<std::size_t>(in.gcount()));
    if (header.starts_with(kSqliteMagic)) {
        return OpenSqliteFile(path, error);
    }
    if (header.size() >= kJetMagicOffset + kJetMagic.size() &&
        header.substr(kJetMagicOffset, kJetMagic.size()) == kJetMagic) {
        error = "The file is a Jet database (Standard Jet DB), which cannot be read yet.";
        return nullptr;
    }
    error = "The file is not a database that can be read.";
    return nullptr;
}

}  // namespace tabrel
