#include "palm/db6x/engine/DbFileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "misc/CxUniqueFd.h"

namespace tabrel {

namespace {

std::string ErrnoText(int code) {
    return std::generic_category().message(code);
}

// Opens path for reading, without touching its access time when the system lets this
// process (O_NOATIME is refused to anyone but the file's owner).
int OpenForReading(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOATIME);
    if (fd < 0 && errno == EPERM) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    return fd;
}

// Reads up to count bytes from fd into bytes; false with errno set on a failure.
bool ReadUpTo(int fd, std::size_t count, std::vector<std::uint8_t>& bytes) {
    bytes.resize(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd, bytes.data() + done, count - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return true;
}

}  // namespace

bool ReadFileHead(const std::string& path, std::size_t count, std::vector<std::uint8_t>& bytes,
                  std::string& error) {
    const CxUniqueFd fd(OpenForReading(path));
    if (fd.Get() < 0 || !ReadUpTo(fd.Get(), count, bytes)) {
        error = "The file cannot be read: " + ErrnoText(errno) + ".";
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::size_t maxSize, std::vector<std::uint8_t>& bytes,
                   std::string& error) {
    const CxUniqueFd fd(OpenForReading(path));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0) {
        error = "The file cannot be read: " + ErrnoText(errno) + ".";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "The file cannot be read: it is not a regular file.";
        return false;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
        error = "The file is larger than a database can be.";
        return false;
    }
    // One byte more than the size, so that a file that grew meanwhile is noticed.
    const auto size = static_cast<std::size_t>(info.st_size);
    if (!ReadUpTo(fd.Get(), size + 1, bytes)) {
        error = "The file cannot be read: " + ErrnoText(errno) + ".";
        return false;
    }
    if (bytes.size() != size) {
        error = "The file changed while it was read.";
        return false;
    }
    return true;
}

}  // namespace tabrel
