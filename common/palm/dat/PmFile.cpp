#include "palm/dat/PmFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "misc/CxDebugUtil.h"
#include "misc/CxWriteError.h"

namespace tabrel {

namespace {

constexpr std::uint64_t kMaxOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
// One system call never asks for more than this.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

bool OpenFlags(int mode, int& flags) {
    switch (mode) {
        case PmOpenRead:
            flags = O_RDONLY;
            return true;
        case PmOpenWrite:
            flags = O_WRONLY;
            return true;
        case PmOpenReadWrite:
            flags = O_RDWR;
            return true;
        case PmOpenCreate:
            // No O_TRUNC: the file is emptied only once the lock is held.
            flags = O_RDWR | O_CREAT;
            return true;
        default:
            return false;
    }
}

PmFileStamp StampOf(const struct stat& info) {
    return PmFileStamp{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::uint64_t>(info.st_size), static_cast<std::int64_t>(info.st_mtim.tv_sec),
        static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

}  // namespace

std::optional<PmFileStamp> PmFileStamp::Of(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return StampOf(info);
}

std::optional<PmFileStamp> PmFile::GetStamp() const {
    struct stat info {};
    if (!IsOpen() || ::fstat(m_fd, &info) != 0) {
        return std::nullopt;
    }
    return StampOf(info);
}

PmFile::~PmFile() {
    Close();
}

bool PmFile::Open(const std::string& path, int mode) {
    Close();
    int flags = 0;
    if (path.empty() || path.find('\0') != std::string::npos || !OpenFlags(mode, flags)) {
        return false;
    }
    // O_NONBLOCK keeps a FIFO given as the file from hanging the open; it is refused below
    // and has no effect on regular files.
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) {
        return false;
    }
    m_fd = fd;

    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Discard();
        return false;
    }
    // Reads share the file; a write holds it alone. A file another program holds alone
    // is still read (a running Palm Desktop holds its files), never written.
    int locked = -1;
    do {
        locked = ::flock(m_fd, (mode == PmOpenRead ? LOCK_SH : LOCK_EX) | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0 && (mode != PmOpenRead || errno != EWOULDBLOCK)) {
        CX_LOG(kLogFailure, "The file %s is locked by another program.", path);
        Discard();
        return false;
    }
    // A POSIX record lock, as a Palm Desktop running under Wine takes, is invisible to
    // flock: a file another program holds so is not written under it (it would replace
    // the file the program has open, and one of the two writes would be lost).
    if (mode != PmOpenRead) {
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        if (::fcntl(m_fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK) {
            CX_LOG(kLogFailure, "The file %s is locked by another program (process %d).", path,
                   static_cast<int>(probe.l_pid));
            Discard();
            return false;
        }
    }
    if (mode == PmOpenCreate) {
        if (::ftruncate(m_fd, 0) != 0) {
            Discard();
            return false;
        }
        info.st_size = 0;
    }

    if (m_buffer.size() != kBufferSize) {
        m_buffer.resize(kBufferSize);
    }
    m_bReadable = mode != PmOpenWrite;
    m_bWritable = mode != PmOpenRead;
    m_bWriteFailed = false;
    m_nPosition = 0;
    m_nSize = static_cast<std::uint64_t>(info.st_size);
    m_use = BufferUse::None;
    m_nBufferStart = 0;
    m_nBufferLength = 0;
    return true;
}

bool PmFile::Close() {
    if (!IsOpen()) {
        return true;
    }
    bool ok = WriteBack() && !m_bWriteFailed;
    // Closing also drops the lock. close() is not retried: on Linux the descriptor is gone
    // even when it reports EINTR.
    if (::close(m_fd) != 0) {
        ok = false;
    }
    m_fd = -1;
    Discard();
    return ok;
}

void PmFile::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = -1;
    m_bReadable = false;
    m_bWritable = false;
    m_nPosition = 0;
    m_nSize = 0;
    m_use = BufferUse::None;
    m_nBufferStart = 0;
    m_nBufferLength = 0;
}

bool PmFile::Seek(std::uint64_t position) {
    if (!IsOpen() || position > kMaxOffset) {
        return false;
    }
    m_nPosition = position;
    return true;
}

bool PmFile::Skip(std::uint64_t count) {
    if (!IsOpen() || count > kMaxOffset - m_nPosition) {
        return false;
    }
    m_nPosition += count;
    return true;
}

bool PmFile::ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset, std::size_t& count) {
    count = 0;
    const std::size_t want = std::min(buffer.size(), kMaxTransfer);
    ssize_t got = -1;
    do {
        got = ::pread(m_fd, buffer.data(), want, static_cast<off_t>(offset));
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return false;
    }
    count = static_cast<std::size_t>(got);
    return true;
}

bool PmFile::Read(std::span<std::uint8_t> buffer, std::size_t& count) {
    count = 0;
    if (!IsOpen() || !m_bReadable) {
        return false;
    }
    if (m_use == BufferUse::Writing && !WriteBack()) {
        return false;
    }
    while (count < buffer.size()) {
        const std::span<std::uint8_t> rest = buffer.subspan(count);
        if (m_use == BufferUse::Reading && m_nPosition >= m_nBufferStart &&
            m_nPosition < m_nBufferStart + m_nBufferLength) {
            const auto from = static_cast<std::size_t>(m_nPosition - m_nBufferStart);
            const std::size_t take = std::min(rest.size(), m_nBufferLength - from);
            std::memcpy(rest.data(), m_buffer.data() + from, take);
            m_nPosition += take;
            count += take;
            continue;
        }
        std::size_t got = 0;
        if (rest.size() >= m_buffer.size()) {
            // Large reads bypass the buffer.
            if (!ReadAt(rest, m_nPosition, got)) {
                return false;
            }
            m_nPosition += got;
            count += got;
        } else {
            m_use = BufferUse::None;
            if (!ReadAt(m_buffer, m_nPosition, got)) {
                return false;
            }
            m_use = BufferUse::Reading;
            m_nBufferStart = m_nPosition;
            m_nBufferLength = got;
        }
        if (got == 0) {
            break;  // end of file
        }
    }
    return true;
}

bool PmFile::WriteAt(std::span<const std::uint8_t> bytes, std::uint64_t offset) {
    while (!bytes.empty()) {
        const std::size_t want = std::min(bytes.size(), kMaxTransfer);
        const ssize_t put = ::pwrite(m_fd, bytes.data(), want, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            NoteWriteError(put < 0 ? errno : ENOSPC);
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(put));
        offset += static_cast<std::uint64_t>(put);
    }
    return true;
}

bool PmFile::WriteBack() {
    if (m_use != BufferUse::Writing) {
        return true;
    }
    const bool ok =
        WriteAt(std::span<const std::uint8_t>(m_buffer.data(), m_nBufferLength), m_nBufferStart);
    m_use = BufferUse::None;
    m_nBufferLength = 0;
    if (!ok) {
        m_bWriteFailed = true;
    }
    return ok;
}

bool PmFile::Write(std::span<const std::uint8_t> bytes) {
    if (!IsOpen() || !m_bWritable || bytes.size() > kMaxOffset - m_nPosition) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    if (m_use == BufferUse::Reading) {
        m_use = BufferUse::None;  // the read-ahead may no longer match the file
    }
    if (m_use == BufferUse::Writing &&
        (m_nPosition != m_nBufferStart + m_nBufferLength ||
         m_nBufferLength + bytes.size() > m_buffer.size()) &&
        !WriteBack()) {
        return false;
    }
    if (bytes.size() >= m_buffer.size()) {
        if (!WriteAt(bytes, m_nPosition)) {
            m_bWriteFailed = true;
            return false;
        }
    } else {
        if (m_use != BufferUse::Writing) {
            m_use = BufferUse::Writing;
            m_nBufferStart = m_nPosition;
            m_nBufferLength = 0;
        }
        std::memcpy(m_buffer.data() + m_nBufferLength, bytes.data(), bytes.size());
        m_nBufferLength += bytes.size();
    }
    m_nPosition += bytes.size();
    m_nSize = std::max(m_nSize, m_nPosition);
    return true;
}

bool PmFile::Flush() {
    if (!IsOpen()) {
        return false;
    }
    return WriteBack() && !m_bWriteFailed;
}

bool PmFile::Sync() {
    if (!Flush()) {
        return false;
    }
    int synced = -1;
    do {
        synced = ::fsync(m_fd);
    } while (synced != 0 && errno == EINTR);
    if (synced != 0) {
        NoteWriteError(errno);
    }
    return synced == 0;
}

}  // namespace tabrel
