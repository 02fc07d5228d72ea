#include "engine/CsvFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "engine/CsvFormat.h"

namespace tabrel {

namespace {

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
    if (!m_replacement.Begin(path)) {
        return false;
    }
    // The stream writes through its own descriptor; the replacement keeps its own to sync.
    const int fd = ::fcntl(m_replacement.GetTempFd(), F_DUPFD_CLOEXEC, 0);
    m_pFile.reset(fd < 0 ? nullptr : ::fdopen(fd, "wb"));
    if (!m_pFile) {
        if (fd >= 0) {
            ::close(fd);
        }
        Abandon();
        return false;
    }
    if (append && !CopyInto(m_replacement.GetTargetPath(), m_pFile.get())) {
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
    const bool written = std::fclose(m_pFile.release()) == 0;
    if (!written || !m_replacement.Commit()) {
        Abandon();
        return false;
    }
    return true;
}

void CsvOutput::Abandon() {
    m_pFile.reset();
    m_replacement.Abandon();
}

bool CsvInput::Open(const std::string& path) {
    m_pFile.reset(std::fopen(path.c_str(), "rb"));
    m_bBom = false;
    if (!m_pFile) {
        return false;
    }
    std::array<unsigned char, 3> head{};
    const std::size_t read = std::fread(head.data(), 1, head.size(), m_pFile.get());
    m_bBom = read == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF;
    if (!m_bBom) {
        std::rewind(m_pFile.get());
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
        if (c == '\r') {
            // CR LF, or a CR alone as old Macintosh programs end their lines.
            const int next = std::fgetc(m_pFile.get());
            if (next == '\n') {
                ending = "\r\n";
            } else {
                if (next != EOF) {
                    std::ungetc(next, m_pFile.get());
                }
                ending = "\r";
            }
            break;
        }
        line += static_cast<char>(c);
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
