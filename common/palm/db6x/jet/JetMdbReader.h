#pragma once
// Reads the tables "Information", "Category" and "Main" of a Jet 4 file with mdbtools'
// libmdb and writes them as a table stream (JetTableStream.h): every column in stored
// order, every row, NULL as NULL, texts as UTF-16, Memo and OLE values whole. Tables of
// other names are not read; a missing table is left out.
//
// It is meant to run in a child process (JetChildProcess.h): libmdb prints to the standard
// error and does not guard every read of a damaged file.

#include <cstdint>
#include <vector>

namespace tabrel {

// Reads file (which CheckJetFile accepted) and writes its tables to fd. 0 when the stream
// ends with its end record; 1 when it ends with a failure record naming the reason.
int WriteJetTables(std::vector<std::uint8_t>& file, int fd);

}  // namespace tabrel
