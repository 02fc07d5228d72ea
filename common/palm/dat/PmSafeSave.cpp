#include "palm/dat/PmSafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "misc/CxDebugUtil.h"
#include "misc/CxUniqueFd.h"

namespace tabrel {

namespace {

// The file a save replaces: what a symbolic link points to, else path itself.
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

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Gives the new file the old one's owner (where allowed) and permissions.
bool TakeOverAttributes(const std::string& from, const std::string& to) {
    struct stat info {};
    if (::stat(from.c_str(), &info) != 0) {
        return false;
    }
    if (::chown(to.c_str(), info.st_uid, info.st_gid) != 0) {
        CX_LOG(kLogProgress, "Can not keep the owner of %s", from);
    }
    return ::chmod(to.c_str(), info.st_mode & 07777) == 0;
}

void SyncFolder(const std::string& file) {
    const std::string folder = FolderOf(file);
    const CxUniqueFd dir(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsOpen()) {
        ::fsync(dir.Get());
    }
}

}  // namespace

PmSafeSave::~PmSafeSave() {
    if (m_bTempCreated) {
        ::unlink(m_szTempPath.c_str());
    }
}

bool PmSafeSave::OpenTarget(const std::string& path) {
    if (path.empty() || !m_target.Open(path, PmOpenReadWrite)) {
        return false;
    }
    m_szReplaced = ReplacedFile(path);
    return true;
}

bool PmSafeSave::CreateTemp() {
    if (!m_target.IsOpen() || m_bTempCreated) {
        return false;
    }
    const std::string folder = FolderOf(m_szReplaced);
    const std::string base = m_szReplaced.substr(folder.size());
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_szTempPath = folder + "." + base + ".tmp-" + std::to_string(::getpid()) + "-" +
                       std::to_string(++counter);
        const CxUniqueFd fd(
            ::open(m_szTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
        if (fd.IsOpen()) {
            m_bTempCreated = true;
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool PmSafeSave::Commit() {
    if (!m_bTempCreated || !TakeOverAttributes(m_szReplaced, m_szTempPath) ||
        ::rename(m_szTempPath.c_str(), m_szReplaced.c_str()) != 0) {
        return false;
    }
    m_bTempCreated = false;
    SyncFolder(m_szReplaced);
    return true;
}

}  // namespace tabrel
