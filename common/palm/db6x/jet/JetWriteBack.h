#pragma once
// Writes the tables of the in-memory copy of a Jet file back into the file: each table the
// copy changed is laid out afresh from all of its rows in the copy (JetTableRewrite.h), in
// a new version of the file that takes the old one's place in one step, so that the file
// is either as it was or holds every change.
//
// The copy's values become the stored ones by the column's type:
//   Yes/No                 the integer is Yes unless 0 (NULL is No)
//   Byte, Integer, Long    the integer, in the column's width
//   Currency               the number × 10,000, rounded
//   Single, Double, Date   the number
//   Text, Memo             the UTF-16 text, compressed where the column allows it
//   others                 the bytes as stored

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct sqlite3;

namespace tabrel {

// Why the file's tables of these names cannot be written, or "" when they all can.
std::string WhyJetTablesUnwritable(const std::vector<std::uint8_t>& file,
                                   const std::set<std::string>& tables);

// Writes the tables named (as named in the copy and in the file) from copy into file (its
// bytes, updated on success) and then into the file at path. False with the reason in
// error, the file at path and file unchanged.
bool WriteJetTablesBack(sqlite3* copy, const std::set<std::string>& tables,
                        std::vector<std::uint8_t>& file, const std::string& path,
                        std::string& error);

}  // namespace tabrel
