#pragma once
// Whether another program is using a Palm Desktop data file, as a running Palm Desktop
// (under Wine) does: it holds a POSIX record lock or a flock on a .dat file, or Jet's lock
// file (.ldb) lies beside a .mdb database. Data written into a file in use
// would be lost when that program writes its own copy back.

#include <optional>
#include <string>

namespace tabrel {

// How another program holds the file at path, in words for the user ("it holds a lock on
// the file (process 1234)", "its lock file /data/Address.ldb is beside it"); nullopt when nothing
// holds it or the file cannot be opened to ask. Only other processes' holds are seen, except a
// flock this process holds through another open of the file.
std::optional<std::string> FindOtherProgramsHold(const std::string& path);

}  // namespace tabrel
