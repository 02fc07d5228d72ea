#include "misc/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>

#include "misc/CxDebugUtil.h"
#include "misc/CxSafeReplace.h"
#include "misc/CxText.h"

namespace tabrel {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

IniFile::IniFile(std::string_view text) {
    if (text.substr(0, kBom.size()) == kBom) {
        m_szBom = kBom;
        text.remove_prefix(kBom.size());
    }
    bool styleFound = false;
    while (!text.empty()) {
        const auto lf = text.find('\n');
        std::string_view body = text.substr(0, lf);
        std::string ending;
        if (lf != text.npos) {
            ending = "\n";
            if (!body.empty() && body.back() == '\r') {
                body.remove_suffix(1);
                ending = "\r\n";
            }
            if (!styleFound) {
                m_szNewLine = ending;
                styleFound = true;
            }
        }
        m_lines.push_back(ParseLine(std::string(body), std::move(ending)));
        text.remove_prefix(lf == text.npos ? text.size() : lf + 1);
    }
}

IniFile::Line IniFile::ParseLine(std::string text, std::string ending) {
    Line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    const std::string_view body = Trim(line.text);
    if (body.empty()) {
        line.kind = LineKind::Blank;
    } else if (body.front() == ';' || body.front() == '#') {
        line.kind = LineKind::Other;
    } else if (body.front() == '[') {
        const auto close = body.find(']');
        if (close != body.npos) {
            line.kind = LineKind::Section;
            line.name = Trim(body.substr(1, close - 1));
        }
    } else if (const auto equals = line.text.find('='); equals != std::string::npos) {
        const std::string_view key = Trim(std::string_view(line.text).substr(0, equals));
        if (!key.empty()) {
            line.kind = LineKind::Key;
            line.name = key;
            const std::string_view rest = std::string_view(line.text).substr(equals + 1);
            const std::string_view value = Trim(rest);
            line.valueStart = line.text.size() - TrimLeft(rest).size();
            line.valueEnd = line.valueStart + value.size();
        }
    }
    return line;
}

IniFile::LoadResult IniFile::Load(const std::string& path, IniFile& doc) {
    doc = IniFile();
    // Non-blocking, so that a FIFO in the file's place cannot hang the program; a regular
    // file reads the same either way.
    CxUniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.IsOpen()) {
        return errno == ENOENT ? LoadResult::Missing : LoadResult::Failed;
    }
    struct stat info {};
    if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<std::size_t>(info.st_size) > kMaxFileSize) {
        CX_LOG(kLogFailure, "Can not read the INI file %s", path);
        return LoadResult::Failed;
    }
    std::string text;
    char chunk[8192];
    for (;;) {
        const ssize_t got = read(fd.Get(), chunk, sizeof(chunk));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LoadResult::Failed;
        }
        if (got == 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(got));
        if (text.size() > kMaxFileSize) {  // the file grew while it was read
            return LoadResult::Failed;
        }
    }
    doc = IniFile(text);
    return LoadResult::Loaded;
}

bool IniFile::Save(const std::string& path) const {
    return ReplaceFileAtomically(path, GetText());
}

bool IniFile::FindSection(std::string_view section, std::size_t& first, std::size_t& last) const {
    const std::string_view wanted = Trim(section);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == LineKind::Section && EqualsNoCase(m_lines[i].name, wanted)) {
            first = i;
            last = i + 1;
            while (last < m_lines.size() && m_lines[last].kind != LineKind::Section) {
                ++last;
            }
            return true;
        }
    }
    return false;
}

std::optional<std::string> IniFile::GetValue(std::string_view section, std::string_view key) const {
    std::size_t first = 0;
    std::size_t last = 0;
    if (!FindSection(section, first, last)) {
        return std::nullopt;
    }
    const std::string_view wanted = Trim(key);
    for (std::size_t i = first + 1; i < last; ++i) {
        const Line& line = m_lines[i];
        if (line.kind == LineKind::Key && EqualsNoCase(line.name, wanted)) {
            return line.text.substr(line.valueStart, line.valueEnd - line.valueStart);
        }
    }
    return std::nullopt;
}

void IniFile::InsertLine(std::size_t position, std::string text) {
    // The line before gets a line end if it is the last line of a file without one.
    if (position > 0 && m_lines[position - 1].ending.empty()) {
        m_lines[position - 1].ending = m_szNewLine;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(position),
                   ParseLine(std::move(text), m_szNewLine));
}

bool IniFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = Trim(key);
    if (sectionName.empty() || keyName.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || sectionName.find(']') != sectionName.npos ||
        keyName.find('=') != keyName.npos || keyName.front() == '[' || keyName.front() == ';' ||
        keyName.front() == '#') {
        return false;
    }
    std::string keyLine = std::string(keyName) + "=" + std::string(value);

    std::size_t first = 0;
    std::size_t last = 0;
    if (!FindSection(sectionName, first, last)) {
        std::size_t end = m_lines.size();
        if (end > 0 && m_lines[end - 1].kind != LineKind::Blank) {
            InsertLine(end++, std::string());
        }
        InsertLine(end++, "[" + std::string(sectionName) + "]");
        InsertLine(end, std::move(keyLine));
        return true;
    }
    std::size_t lastFilled = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        Line& line = m_lines[i];
        if (line.kind == LineKind::Key && EqualsNoCase(line.name, keyName)) {
            std::string text = line.text.substr(0, line.valueStart);
            text += value;
            text += line.text.substr(line.valueEnd);
            line = ParseLine(std::move(text), std::move(line.ending));
            return true;
        }
        if (line.kind != LineKind::Blank) {
            lastFilled = i;
        }
    }
    InsertLine(lastFilled + 1, std::move(keyLine));
    return true;
}

std::string IniFile::GetText() const {
    std::string text = m_szBom;
    for (const Line& line : m_lines) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty()) {
        return false;
    }
    if (!CxSafeReplace::CanReplace(path)) {
        CX_LOG(kLogFailure, "The file %s is not writable", path);
        return false;
    }
    CxSafeReplace replacement;
    if (!replacement.Begin(path)) {
        return false;
    }
    if (!WriteAll(replacement.GetTempFd(), content)) {
        CX_LOG(kLogFailure, "Can not write the file %s", replacement.GetTargetPath());
        return false;
    }
    return replacement.Commit();
}

}  // namespace tabrel
