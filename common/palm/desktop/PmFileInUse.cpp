#include "palm/desktop/PmFileInUse.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "misc/CxText.h"
#include "misc/CxUniqueFd.h"

namespace tabrel {

namespace {

bool IsJetFileName(const std::string& path) {
    return path.size() >= 4 && EqualsNoCase(std::string_view(path).substr(path.size() - 4), ".mdb");
}

// Jet's lock file: the database's name with .ldb for .mdb.
std::optional<std::string> JetLockFileOf(const std::string& path) {
    const std::string stem = path.substr(0, path.size() - 4);
    for (const char* extension : {".ldb", ".LDB"}) {
        struct stat info {};
        if (::lstat((stem + extension).c_str(), &info) == 0) {
            return stem + extension;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FindOtherProgramsHold(const std::string& path) {
    if (IsJetFileName(path)) {
        // Jet keeps its lock file beside a database it has open. The database itself is
        // not opened here: closing a descriptor drops every POSIX lock this process holds
        // on the file, and the 6.x readers' database engine holds its locks so.
        if (const auto lockFile = JetLockFileOf(path)) {
            return "its lock file " + *lockFile + " is beside it";
        }
        return std::nullopt;
    }
    const CxUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.IsOpen()) {
        return std::nullopt;
    }
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    if (::fcntl(fd.Get(), F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK) {
        return "it holds a lock on the file (process " + std::to_string(probe.l_pid) + ")";
    }
    int locked = -1;
    do {
        locked = ::flock(fd.Get(), LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0 && errno == EWOULDBLOCK) {
        return std::string("it holds a lock on the file");
    }
    return std::nullopt;  // the flock taken here goes with the descriptor
}

}  // namespace tabrel
