#pragma once
// Opening a 6.x database file with the engine its first bytes call for.

#include <memory>
#include <string>

#include "palm/db6x/engine/DbEngine.h"

namespace tabrel {

// Opens the database file at path with the engine its first bytes call for: "SQLite format
// 3" is opened in place by SQLite, for reading and writing; a Jet file ("Standard Jet DB" at
// offset 4) is read into memory by the Jet engine (JetEngine.h) and cannot be written.
// Any other file is no database: nullptr with the reason in error, as for a file that
// cannot be read or a Jet file that cannot be loaded.
std::unique_ptr<DbDatabase> OpenDbFile(const std::string& path, std::string& error);

}  // namespace tabrel
