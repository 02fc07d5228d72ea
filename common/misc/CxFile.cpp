#include "misc/CxFile.h"

#include <sys/stat.h>

namespace tabrel {

bool CxFile::Open(const std::string& path, const std::string& mode) {
    Close();
    if (path.empty() || mode.empty()) {
        return false;
    }
    m_pFile.reset(std::fopen(path.c_str(), mode.c_str()));
    return IsOpen();
}

bool CxFile::Close() {
    m_pFile.reset();
    m_lastAccess = LastAccess::None;
    return true;
}

void CxFile::SwitchTo(LastAccess access) {
    if (m_lastAccess != LastAccess::None && m_lastAccess != access) {
        std::fseek(m_pFile.get(), 0, SEEK_CUR);
    }
    m_lastAccess = access;
}

bool CxFile::WriteLine(std::string_view text) {
    if (!IsOpen()) {
        return false;
    }
    SwitchTo(LastAccess::Write);
    std::string line(text);
    line += "\r\n";
    return std::fwrite(line.data(), 1, line.size(), m_pFile.get()) == line.size();
}

bool CxFile::ReadLine(std::string& buffer, std::size_t size) {
    buffer.clear();
    if (!IsOpen() || size < 2) {
        return false;
    }
    SwitchTo(LastAccess::Read);
    std::FILE* file = m_pFile.get();
    while (buffer.size() < size - 1) {
        const int c = std::getc(file);
        if (c == EOF) {
            break;
        }
        buffer.push_back(static_cast<char>(c));
        if (c == '\n') {
            break;
        }
    }
    return !buffer.empty();
}

std::int64_t CxFile::GetFileSize(const std::string& path) {
    if (path.empty()) {
        return -1;
    }
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return -1;
    }
    // A folder opens for reading on this platform but has no size of its own.
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode)) {
        return -1;
    }
    if (fseeko(file.get(), 0, SEEK_END) != 0) {
        return -1;
    }
    const off_t end = ftello(file.get());
    return end < 0 ? -1 : static_cast<std::int64_t>(end);
}

}  // namespace tabrel
