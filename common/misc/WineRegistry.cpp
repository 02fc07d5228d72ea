#include "misc/WineRegistry.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "misc/CxDebugUtil.h"
#include "misc/CxPath.h"
#include "misc/CxText.h"

namespace tabrel {

namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

// Collects decoded text as UTF-8: plain bytes as they are, UTF-16 code units (from escapes)
// encoded, with surrogate pairs joined and a lone surrogate turned into U+FFFD.
class Utf8Builder {
  public:
    explicit Utf8Builder(std::string& out) : m_out(out) {}
    ~Utf8Builder() { FlushPending(); }
    Utf8Builder(const Utf8Builder&) = delete;
    Utf8Builder& operator=(const Utf8Builder&) = delete;

    void Byte(char c) {
        FlushPending();
        m_out += c;
    }

    void Unit(std::uint32_t unit) {
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            FlushPending();
            m_nPending = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (m_nPending != 0) {
                Put(0x10000 + ((m_nPending - 0xD800) << 10) + (unit - 0xDC00));
                m_nPending = 0;
            } else {
                Put(0xFFFD);
            }
        } else {
            FlushPending();
            Put(unit);
        }
    }

    void FlushPending() {
        if (m_nPending != 0) {
            m_nPending = 0;
            Put(0xFFFD);
        }
    }

  private:
    void Put(std::uint32_t code) {
        if (code < 0x80) {
            m_out += static_cast<char>(code);
        } else if (code < 0x800) {
            m_out += static_cast<char>(0xC0 | (code >> 6));
            m_out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            m_out += static_cast<char>(0xE0 | (code >> 12));
            m_out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            m_out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            m_out += static_cast<char>(0xF0 | (code >> 18));
            m_out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            m_out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            m_out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string& m_out;
    std::uint32_t m_nPending = 0;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
}

bool StartsWith(std::string_view text, std::size_t pos, std::string_view prefix) {
    return text.substr(pos, prefix.size()) == prefix;
}

// Reads a hexadecimal number of 1 to maxDigits digits at text[pos].
bool ReadHex(std::string_view text, std::size_t& pos, int maxDigits, std::uint32_t& number) {
    number = 0;
    int digits = 0;
    while (digits < maxDigits && pos < text.size() && HexDigit(text[pos]) >= 0) {
        number = number * 16 + static_cast<std::uint32_t>(HexDigit(text[pos]));
        ++pos;
        ++digits;
    }
    return digits > 0;
}

// Comma-separated two-digit hexadecimal bytes up to the end of text; false for anything else.
bool ReadHexBytes(std::string_view text, std::size_t pos, std::vector<std::uint8_t>& bytes) {
    for (;;) {
        while (pos < text.size() && (IsBlank(text[pos]) || text[pos] == ',')) {
            ++pos;
        }
        if (pos >= text.size()) {
            return true;
        }
        std::uint32_t byte = 0;
        if (!ReadHex(text, pos, 2, byte)) {
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(byte));
    }
}

// UTF-16LE bytes up to the first NUL unit, as UTF-8.
std::string Utf16ToUtf8(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    {
        Utf8Builder builder(text);
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const std::uint32_t unit = bytes[i] | (static_cast<std::uint32_t>(bytes[i + 1]) << 8);
            if (unit == 0) {
                break;
            }
            builder.Unit(unit);
        }
    }
    return text;
}

bool IsStringType(std::uint32_t type) {
    return type == RegSz || type == RegExpandSz || type == RegMultiSz;
}

// Parses a value line (name, '=', data); false for a line that is no value this reader knows.
bool ParseValueLine(std::string_view line, std::string& name, WineRegValue& value) {
    std::size_t pos = 0;
    if (StartsWith(line, 0, "@")) {
        pos = 1;
    } else {
        pos = 1;
        if (!UnescapeWineText(line, pos, '"', name)) {
            return false;
        }
        ++pos;
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') {
        return false;
    }
    ++pos;
    SkipBlanks(line, pos);

    value = WineRegValue();
    if (StartsWith(line, pos, "\"")) {
        value.type = RegSz;
    } else if (StartsWith(line, pos, "str(")) {
        pos += 4;
        if (!ReadHex(line, pos, 8, value.type) || !StartsWith(line, pos, "):\"")) {
            return false;
        }
        pos += 2;
    } else if (StartsWith(line, pos, "dword:")) {
        pos += 6;
        std::uint32_t number = 0;
        if (!ReadHex(line, pos, 8, number)) {
            return false;
        }
        value.type = RegDword;
        for (int i = 0; i < 4; ++i) {
            value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
        }
        return true;
    } else if (StartsWith(line, pos, "hex:") || StartsWith(line, pos, "hex(")) {
        value.type = RegBinary;
        pos += 3;
        if (line[pos] == '(') {
            ++pos;
            if (!ReadHex(line, pos, 8, value.type) || !StartsWith(line, pos, ")")) {
                return false;
            }
            ++pos;
        }
        if (!StartsWith(line, pos, ":") || !ReadHexBytes(line, pos + 1, value.data)) {
            return false;
        }
        if (IsStringType(value.type)) {
            value.text = Utf16ToUtf8(value.data);
        }
        return true;
    } else {
        return false;
    }
    // A quoted string at line[pos].
    ++pos;
    if (!UnescapeWineText(line, pos, '"', value.text)) {
        return false;
    }
    if (const auto nul = value.text.find('\0'); nul != std::string::npos) {
        value.text.resize(nul);
    }
    return true;
}

std::string_view TrimSeparators(std::string_view path) {
    while (!path.empty() && path.front() == '\\') {
        path.remove_prefix(1);
    }
    while (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return path;
}

}  // namespace

void WineRegKey::AddValue(std::string name, WineRegValue value) {
    m_values.emplace_back(std::move(name), std::move(value));
}

const WineRegValue* WineRegKey::FindValue(std::string_view name) const {
    for (const auto& [valueName, value] : m_values) {
        if (EqualsNoCase(valueName, name)) {
            return &value;
        }
    }
    return nullptr;
}

std::optional<std::string> WineRegKey::GetString(std::string_view name) const {
    const WineRegValue* value = FindValue(name);
    if (value == nullptr || (value->type != RegSz && value->type != RegExpandSz)) {
        return std::nullopt;
    }
    return value->text;
}

bool UnescapeWineText(std::string_view text, std::size_t& pos, char delimiter, std::string& out) {
    out.clear();
    Utf8Builder builder(out);
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == delimiter) {
            return true;
        }
        ++pos;
        if (c != '\\') {
            builder.Byte(c);
            continue;
        }
        if (pos >= text.size()) {
            break;
        }
        const char escaped = text[pos++];
        switch (escaped) {
            case 'a':
                builder.Byte('\a');
                break;
            case 'b':
                builder.Byte('\b');
                break;
            case 't':
                builder.Byte('\t');
                break;
            case 'n':
                builder.Byte('\n');
                break;
            case 'v':
                builder.Byte('\v');
                break;
            case 'f':
                builder.Byte('\f');
                break;
            case 'r':
                builder.Byte('\r');
                break;
            case 'e':
                builder.Byte('\x1b');
                break;
            case 'x': {
                std::uint32_t unit = 0;
                if (ReadHex(text, pos, 4, unit)) {
                    builder.Unit(unit);
                } else {
                    builder.Byte('x');
                }
                break;
            }
            default:
                if (escaped >= '0' && escaped <= '7') {
                    std::uint32_t unit = static_cast<std::uint32_t>(escaped - '0');
                    for (int i = 1;
                         i < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7'; ++i) {
                        unit = unit * 8 + static_cast<std::uint32_t>(text[pos++] - '0');
                    }
                    builder.Unit(unit);
                } else {
                    builder.Byte(escaped);  // \\ \" \[ \] and any other character as itself
                }
                break;
        }
    }
    return false;
}

std::optional<WineRegKey> ReadWineRegistryKey(const std::string& file, std::string_view keyPath) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string line;
    if (!std::getline(in, line)) {
        return std::nullopt;
    }
    while (!line.empty() && (line.back() == '\r' || IsBlank(line.back()))) {
        line.pop_back();
    }
    if (line != kHeader) {
        CX_LOG(kLogProgress, "%s is not a Wine registry file", file);
        return std::nullopt;
    }
    const std::string_view wanted = TrimSeparators(keyPath);
    std::optional<WineRegKey> key;
    std::string physical;
    while (std::getline(in, physical)) {
        if (!physical.empty() && physical.back() == '\r') {
            physical.pop_back();
        }
        line = physical;
        // A trailing backslash continues the line; the next line's leading blanks are dropped.
        while (!line.empty() && line.back() == '\\') {
            line.pop_back();
            if (!std::getline(in, physical)) {
                break;  // a file cut after the backslash
            }
            if (!physical.empty() && physical.back() == '\r') {
                physical.pop_back();
            }
            std::size_t start = 0;
            SkipBlanks(physical, start);
            line.append(physical, start);
        }
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            if (key) {
                break;  // the wanted key has ended
            }
            std::size_t pos = 1;
            std::string name;
            if (UnescapeWineText(line, pos, ']', name) &&
                EqualsNoCase(TrimSeparators(name), wanted)) {
                key.emplace();
            }
            continue;
        }
        if (!key || (line.front() != '"' && line.front() != '@')) {
            continue;
        }
        std::string name;
        WineRegValue value;
        if (ParseValueLine(line, name, value)) {
            key->AddValue(std::move(name), std::move(value));
        }
    }
    return key;
}

std::string DefaultWinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        std::string path(prefix);
        while (path.size() > 1 && path.back() == '/') {
            path.pop_back();
        }
        return path;
    }
    const std::string home = GetHomeFolder();
    if (home.empty()) {
        return {};
    }
    return (home == "/" ? std::string() : home) + "/.wine";
}

std::optional<std::string> MapWindowsPath(std::string_view prefix, std::string_view windowsPath) {
    if (prefix.empty() || windowsPath.size() < 2 || windowsPath[1] != ':' ||
        FoldCase(windowsPath[0]) < 'a' || FoldCase(windowsPath[0]) > 'z') {
        return std::nullopt;
    }
    const char drive = FoldCase(windowsPath[0]);
    std::string base = JoinPath(prefix, "dosdevices/") + drive + ":";
    struct stat info {};
    if (stat(base.c_str(), &info) != 0) {
        if (drive != 'c') {
            return std::nullopt;
        }
        base = JoinPath(prefix, "drive_c");
    }
    return ResolvePathNoCase(base, windowsPath.substr(2));
}

}  // namespace tabrel
