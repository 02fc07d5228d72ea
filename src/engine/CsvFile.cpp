#include "engine/CsvFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "engine/CsvFormat.h"

namespace tabrel {

namespace {

// The folder part of a path, with its '/', or "" for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Appends the whole content of the file at path; true when there is no file.
bool CopyInto(const std::string& path, std::FILE* out) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!in) {
        return errno == ENOENT;
    }
    std::array<char, 65536> buffer{};
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0) {
        if (std::fwrite(buffer.data(), 1, count, out) != count) {
            return false;
        }
    }
    return std::ferror(in.get()) == 0;
}

}  // namespace

CsvOutput::~CsvOutput() {
    Abandon();
}

bool CsvOutput::Begin(const std::string& path, bool append) {
    Abandon();
    m_szPath = path;
    m_bFailed = false;
    if (path.empty()) {
        return false;
    }
    std::string pattern = FolderOf(path) + "." + NameOf(path) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    m_szTempPath = name.data();
    m_pFile.reset(::fdopen(fd, "wb"));
    if (!m_pFile) {
        ::close(fd);
        Abandon();
        return false;
    }
    // A new file gets the permissions a file created by the user would have; a replaced
    // one keeps its own.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        ::fchmod(fd, info.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (append && !CopyInto(path, m_pFile.get())) {
        Abandon();
        return false;
    }
    return true;
}

bool CsvOutput::WriteLine(std::string_view text) {
    if (!m_pFile || m_bFailed) {
        return false;
    }
    if (std::fwrite(text.data(), 1, text.size(), m_pFile.get()) != text.size() ||
        std::fwrite(kCsvLineEnd.data(), 1, kCsvLineEnd.size(), m_pFile.get()) !=
            kCsvLineEnd.size()) {
        m_bFailed = true;
    }
    return !m_bFailed;
}

bool CsvOutput::Commit() {
    if (!m_pFile || m_bFailed) {
        Abandon();
        return false;
    }
    bool written = std::fflush(m_pFile.get()) == 0 && ::fsync(::fileno(m_pFile.get())) == 0;
    written = (std::fclose(m_pFile.release()) == 0) && written;
    if (!written || std::rename(m_szTempPath.c_str(), m_szPath.c_str()) != 0) {
        Abandon();
        return false;
    }
    m_szTempPath.clear();
    return true;
}

void CsvOutput::Abandon() {
    m_pFile.reset();
    if (!m_szTempPath.empty()) {
        std::remove(m_szTempPath.c_str());
        m_szTempPath.clear();
    }
}

bool CsvInput::Open(const std::string& path, bool skipBom) {
    m_pFile.reset(std::fopen(path.c_str(), "rb"));
    if (!m_pFile) {
        return false;
    }
    if (skipBom) {
        std::array<unsigned char, 3> head{};
        const std::size_t read = std::fread(head.data(), 1, head.size(), m_pFile.get());
        if (read != 3 || head[0] != 0xEF || head[1] != 0xBB || head[2] != 0xBF) {
            std::rewind(m_pFile.get());
        }
    }
    return true;
}

bool CsvInput::ReadLine(std::string& line, std::string& ending) {
    line.clear();
    ending.clear();
    if (!m_pFile) {
        return false;
    }
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(m_pFile.get())) != EOF) {
        any = true;
        if (c == '\n') {
            ending = "\n";
            break;
        }
        line += static_cast<char>(c);
    }
    if (!ending.empty() && !line.empty() && line.back() == '\r') {
        line.pop_back();
        ending = "\r\n";
    }
    return any;
}

bool CsvInput::Next(std::string& record, char quote) {
    std::string ending;
    if (!ReadLine(record, ending)) {
        return false;
    }
    // Whether the text so far ends inside a quoted item; each line is looked at once.
    const auto flips = [quote](std::string_view text) {
        bool odd = false;
        for (const char c : text) {
            odd = odd != (quote != '\0' && c == quote);
        }
        return odd;
    };
    bool inside = flips(record);
    std::string line;
    while (inside && !ending.empty()) {
        std::string nextEnding;
        if (!ReadLine(line, nextEnding)) {
            break;
        }
        record += ending;
        record += line;
        inside = inside != flips(line);
        ending = std::move(nextEnding);
    }
    return true;
}

}  // namespace tabrel
