#include "misc/CxSafeReplace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

#include "misc/CxDebugUtil.h"
#include "misc/CxWriteError.h"

namespace tabrel {

namespace {

// The file a write replaces: what a symbolic link points to, else path itself (a link
// that points nowhere is replaced by the new file).
std::string ReplacedFile(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                               &std::free);
        if (real) {
            return real.get();
        }
    }
    return path;
}

// The folder part of a path with its '/', or "" for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The process id in a temporary file name ".<base>.tmp-<pid>-<n>", or 0 when name is none.
pid_t TempOwner(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) {
        return 0;
    }
    name.remove_prefix(prefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size() ||
        name.find_first_not_of("0123456789", dash + 1) != std::string_view::npos) {
        return 0;
    }
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    return error == std::errc() && end == name.data() + dash ? pid : 0;
}

// Removes the temporary files that saves of target killed before their end left behind:
// those whose process is gone. A file of a running process (ours included) stays.
void RemoveStaleTemps(const std::string& folder, const std::string& base) {
    const std::string prefix = "." + base + ".tmp-";
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        const pid_t pid = TempOwner(name, prefix);
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH && entries->is_regular_file(error) &&
            !entries->is_symlink(error)) {
            const std::string path = folder + name;
            if (::unlink(path.c_str()) == 0) {
                CX_LOG(kLogProgress, "Removed the stale temporary file %s", path);
            }
        }
    }
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool SyncFolder(const std::string& file) {
    const std::string folder = FolderOf(file);
    const CxUniqueFd dir(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.IsOpen() && ::fsync(dir.Get()) == 0;
}

}  // namespace

bool CxSafeReplace::CanReplace(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const std::string target = ReplacedFile(path);
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 &&
        (!S_ISREG(info.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
        return false;
    }
    const std::string folder = FolderOf(target);
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

bool CxSafeReplace::Begin(const std::string& path) {
    Abandon();
    if (path.empty()) {
        return false;
    }
    m_szTarget = ReplacedFile(path);
    struct stat info {};
    if (::stat(m_szTarget.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        CX_LOG(kLogFailure, "The file %s is not a regular file", m_szTarget);
        return false;
    }
    const std::string folder = FolderOf(m_szTarget);
    const std::string base = m_szTarget.substr(folder.size());
    RemoveStaleTemps(folder, base);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_szTempPath = folder + "." + base + ".tmp-" + std::to_string(::getpid()) + "-" +
                       std::to_string(++counter);
        m_tempFd = CxUniqueFd(
            ::open(m_szTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
        if (m_tempFd.IsOpen()) {
            return true;
        }
        if (errno != EEXIST) {
            NoteWriteError(errno);
            break;
        }
    }
    CX_LOG(kLogFailure, "Can not create a temporary file beside %s", m_szTarget);
    m_szTempPath.clear();
    return false;
}

bool CxSafeReplace::Commit() {
    if (!m_tempFd.IsOpen()) {
        Abandon();
        return false;
    }
    const int fd = m_tempFd.Get();
    struct stat old {};
    bool ok = true;
    if (::stat(m_szTarget.c_str(), &old) == 0) {
        // Keep the owner where allowed (a write by root of a user's file), then the mode.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            CX_LOG(kLogProgress, "Can not keep the owner of %s", m_szTarget);
        }
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    } else {
        ok = ::fchmod(fd, NewFileMode()) == 0;
    }
    int synced = -1;
    do {
        synced = ::fsync(fd);
    } while (synced != 0 && errno == EINTR);
    ok = ok && synced == 0;
    ok = m_tempFd.Close() && ok;
    ok = ok && ::rename(m_szTempPath.c_str(), m_szTarget.c_str()) == 0;
    if (!ok) {
        NoteWriteError(errno);
        CX_LOG(kLogFailure, "Can not replace the file %s", m_szTarget);
        Abandon();
        return false;
    }
    m_szTempPath.clear();
    // Make the rename itself durable.
    SyncFolder(m_szTarget);
    return true;
}

void CxSafeReplace::Abandon() {
    m_tempFd.Reset();
    if (!m_szTempPath.empty()) {
        ::unlink(m_szTempPath.c_str());
        m_szTempPath.clear();
    }
}

}  // namespace tabrel
