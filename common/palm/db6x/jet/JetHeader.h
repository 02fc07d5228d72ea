#pragma once
// Checks made on the bytes of a Jet database file before any of it is handed to the Jet
// library: the size is a whole number of Jet 4 pages, the first page is a Jet 4 database
// header, and the database is neither password-protected nor encrypted (the library would
// read an encrypted file page by page with its key; Palm Desktop never writes one, and the
// long values are read here from the plain pages).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tabrel {

// The page size of Jet 4 (Access 2000 to 2003) databases.
inline constexpr std::size_t kJetPageSize = 4096;

// Whether the file's bytes may be read as a Palm Desktop 6.x database; false with the reason
// in error.
bool CheckJetFile(std::span<const std::uint8_t> file, std::string& error);

// The database password field of a Jet 4 header page, unmasked: 40 bytes, all zero when
// the database has no password. Empty when the page is shorter than a header.
std::string JetPasswordField(std::span<const std::uint8_t> headerPage);

}  // namespace tabrel
