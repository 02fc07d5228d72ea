#pragma once
// CxBackupCopy: keeps a copy of a file beside it before a conversion writes into it, so an
// import the user regrets is one copy away from undone.
//
//   the copy       "<name>.<YYYYMMDD-HHMMSS>.bak" in the file's folder (a symbolic link
//                  resolved), the time the local time of the copy; "-2", "-3" ... before
//                  ".bak" when that name is taken
//   how            written whole through CxSafeReplace (a copy cut short never carries the
//                  name), with the file's permissions
//   rotation       of the copies of that file (names of that form only), the newest keep
//                  stay and the older ones are removed

#include <cstddef>
#include <optional>
#include <string>

namespace tabrel {

// Copies the file at path; the copy's path, or nullopt with the reason in error.
std::optional<std::string> MakeBackupCopy(const std::string& path, std::size_t keep,
                                          std::string& error);

}  // namespace tabrel
