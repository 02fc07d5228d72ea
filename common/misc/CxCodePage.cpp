#include "misc/CxCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include "misc/CxDebugUtil.h"

namespace tabrel {

namespace {

constexpr const char* kDefaultCodePage = "CP1252";

std::string& CodePageName() {
    static std::string name = kDefaultCodePage;
    return name;
}

// A Windows code page number becomes "CP<number>"; other names go to iconv as they are.
std::string IconvName(std::string_view name) {
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos) {
        return "CP" + std::string(name);
    }
    return std::string(name);
}

bool IconvKnows(const std::string& name) {
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    iconv_close(cd);
    return true;
}

enum class Encoding { Ansi, Utf16, Utf8 };

const char* NameOf(Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf16:
            return "UTF-16LE";
        case Encoding::Utf8:
            return "UTF-8";
        case Encoding::Ansi:
            break;
    }
    return CodePageName().c_str();
}

// Length in bytes of the source character that starts at text, for skipping one that the
// target cannot represent.
std::size_t CharLength(Encoding encoding, const char* text, std::size_t left) {
    if (encoding == Encoding::Utf16) {
        if (left >= 4) {
            const auto high = static_cast<unsigned char>(text[1]);
            if (high >= 0xD8 && high <= 0xDB) {
                return 4;
            }
        }
        return left >= 2 ? 2 : left;
    }
    if (encoding == Encoding::Utf8) {
        const auto lead = static_cast<unsigned char>(text[0]);
        std::size_t length = 1;
        if (lead >= 0xF0) {
            length = 4;
        } else if (lead >= 0xE0) {
            length = 3;
        } else if (lead >= 0xC0) {
            length = 2;
        }
        // Never skip past a byte that cannot continue the sequence.
        for (std::size_t i = 1; i < length; ++i) {
            if (i >= left || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                return i;
            }
        }
        return length;
    }
    return 1;
}

// Windows-1252 leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D undefined, and Windows maps each to
// the control character of the same number (U+0081 ...); iconv refuses them. They are
// mapped the same way here, so such bytes survive a trip through wide text.
bool IsWindows1252Gap(unsigned value) {
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

bool AnsiIsWindows1252() {
    return CodePageName() == kDefaultCodePage;
}

// The character at text in the source encoding when it is one of the Windows-1252 gaps
// (and the code page is Windows-1252); 0 otherwise. length is its size in bytes.
unsigned GapCharacter(Encoding from, const char* text, std::size_t left, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (!AnsiIsWindows1252()) {
        return 0;
    }
    if (from == Encoding::Ansi && left >= 1 && IsWindows1252Gap(byte(0))) {
        length = 1;
        return byte(0);
    }
    if (from == Encoding::Utf16 && left >= 2 && byte(1) == 0 && IsWindows1252Gap(byte(0))) {
        length = 2;
        return byte(0);
    }
    if (from == Encoding::Utf8 && left >= 2 && byte(0) == 0xC2 && IsWindows1252Gap(byte(1))) {
        length = 2;
        return byte(1);
    }
    return 0;
}

std::string EncodeGap(Encoding to, unsigned value) {
    switch (to) {
        case Encoding::Utf16:
            return std::string{static_cast<char>(value), '\0'};
        case Encoding::Utf8:
            return std::string{static_cast<char>(0xC2), static_cast<char>(value)};
        case Encoding::Ansi:
            break;
    }
    return std::string(1, static_cast<char>(value));
}

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// The converters of this thread, opened once for the code page in use and reset before
// each text (opening one costs far more than converting a field).
class ConverterCache {
  public:
    ConverterCache() { m_handles.fill(kNoConverter); }
    ~ConverterCache() { CloseAll(); }
    ConverterCache(const ConverterCache&) = delete;
    ConverterCache& operator=(const ConverterCache&) = delete;

    iconv_t Get(Encoding from, Encoding to) {
        if (m_codePage != CodePageName()) {
            CloseAll();
            m_codePage = CodePageName();
        }
        iconv_t& cd =
            m_handles[static_cast<std::size_t>(from) * kEncodings + static_cast<std::size_t>(to)];
        if (cd == kNoConverter) {
            cd = iconv_open(NameOf(to), NameOf(from));
        } else {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        }
        return cd;
    }

  private:
    static constexpr std::size_t kEncodings = 3;

    void CloseAll() {
        for (iconv_t& cd : m_handles) {
            if (cd != kNoConverter) {
                iconv_close(cd);
                cd = kNoConverter;
            }
        }
    }

    std::string m_codePage;
    std::array<iconv_t, kEncodings * kEncodings> m_handles{};
};

iconv_t Converter(Encoding from, Encoding to) {
    thread_local ConverterCache cache;
    return cache.Get(from, to);
}

// Whether every byte of the text is ASCII.
bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether every unit of the UTF-16 (little-endian) bytes is ASCII.
bool IsAsciiUtf16(std::string_view bytes) {
    if (bytes.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80 || bytes[i + 1] != '\0') {
            return false;
        }
    }
    return true;
}

// Whether the code page in use keeps ASCII as it is (the Windows code pages do; a name
// such as "UTF-7" or an EBCDIC page does not), asked of iconv once per code page.
bool AsciiPassesThrough() {
    thread_local std::string askedFor;
    thread_local bool passes = false;
    if (askedFor != CodePageName()) {
        askedFor = CodePageName();
        std::string ascii(0x80, '\0');
        for (std::size_t i = 0; i < ascii.size(); ++i) {
            ascii[i] = static_cast<char>(i);
        }
        const iconv_t cd = Converter(Encoding::Ansi, Encoding::Utf8);
        std::string out(ascii.size() * 4, '\0');
        char* in = ascii.data();
        char* to = out.data();
        std::size_t inLeft = ascii.size();
        std::size_t outLeft = out.size();
        passes = cd != kNoConverter &&
                 iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
                 inLeft == 0 && std::string_view(out.data(), to - out.data()) == ascii;
    }
    return passes;
}

// ASCII text in the target encoding, as iconv gives it for a code page that keeps ASCII.
std::string AsciiTo(Encoding from, Encoding to, std::string_view input) {
    if (from == to) {
        return std::string(input);
    }
    if (from == Encoding::Utf16) {
        std::string narrow(input.size() / 2, '\0');
        for (std::size_t i = 0; i < narrow.size(); ++i) {
            narrow[i] = input[2 * i];
        }
        return narrow;
    }
    if (to == Encoding::Utf16) {
        std::string wide(input.size() * 2, '\0');
        for (std::size_t i = 0; i < input.size(); ++i) {
            wide[2 * i] = input[i];
        }
        return wide;
    }
    return std::string(input);
}

// Converts bytes between two encodings; each source character the target cannot hold, or
// that is malformed, becomes a question mark.
std::string Convert(Encoding from, Encoding to, std::string_view input) {
    if (input.empty()) {
        return {};
    }
    const bool ascii = from == Encoding::Utf16 ? IsAsciiUtf16(input) : IsAscii(input);
    if (ascii && ((from != Encoding::Ansi && to != Encoding::Ansi) || AsciiPassesThrough())) {
        return AsciiTo(from, to, input);
    }
    const iconv_t cd = Converter(from, to);
    if (cd == kNoConverter) {
        CX_LOG(kLogFailure, "Can not convert text from %s to %s.", NameOf(from), NameOf(to));
        return {};
    }
    const std::string question = to == Encoding::Utf16 ? std::string("?\0", 2) : "?";
    std::string output;
    output.reserve(input.size() * 2 + 8);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        output.append(buffer, out);
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (error == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL: replace the character that cannot be converted and go on.
        std::size_t skip = 0;
        if (const unsigned gap = GapCharacter(from, in, inLeft, skip); gap != 0) {
            output += EncodeGap(to, gap);
            in += skip;
            inLeft -= skip;
            continue;
        }
        output += question;
        skip = CharLength(from, in, inLeft);
        in += skip;
        inLeft -= skip;
    }
    return output;
}

std::u16string FromUtf16Bytes(const std::string& bytes) {
    std::u16string wide(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return wide;
}

std::string ToUtf16Bytes(std::u16string_view wide) {
    std::string bytes(wide.size() * 2, '\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        bytes[2 * i] = static_cast<char>(wide[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(wide[i] >> 8);
    }
    return bytes;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace

void SetAnsiCodePage(std::string_view name) {
    const std::string iconvName = IconvName(name);
    CodePageName() = (!iconvName.empty() && IconvKnows(iconvName)) ? iconvName : kDefaultCodePage;
}

const std::string& GetAnsiCodePage() {
    return CodePageName();
}

std::string ToNarrow(std::u16string_view wide, std::size_t size) {
    if (size == 0) {
        return {};
    }
    const std::size_t room = size - 1;
    if (std::all_of(wide.begin(), wide.end(), [](char16_t c) { return c < 0x80; }) &&
        AsciiPassesThrough()) {
        const std::u16string_view kept = wide.substr(0, room);
        return std::string(kept.begin(), kept.end());
    }
    std::string narrow = Convert(Encoding::Utf16, Encoding::Ansi, ToUtf16Bytes(wide));
    if (narrow.size() <= room) {
        return narrow;
    }
    // Too long: add whole characters while they fit, so no character is cut in half.
    narrow.clear();
    for (std::size_t i = 0; i < wide.size();) {
        const std::size_t units = (IsHighSurrogate(wide[i]) && i + 1 < wide.size()) ? 2 : 1;
        const std::string one =
            Convert(Encoding::Utf16, Encoding::Ansi, ToUtf16Bytes(wide.substr(i, units)));
        if (narrow.size() + one.size() > room) {
            break;
        }
        narrow += one;
        i += units;
    }
    return narrow;
}

std::u16string ToWide(std::string_view text, std::size_t count) {
    if (count == 0) {
        return {};
    }
    if (IsAscii(text) && AsciiPassesThrough()) {
        const std::string_view kept = text.substr(0, count - 1);
        return std::u16string(kept.begin(), kept.end());
    }
    std::u16string wide = FromUtf16Bytes(Convert(Encoding::Ansi, Encoding::Utf16, text));
    if (wide.size() > count - 1) {
        wide.resize(count - 1);
        if (!wide.empty() && IsHighSurrogate(wide.back())) {
            wide.pop_back();
        }
    }
    return wide;
}

std::string AnsiToUtf8(std::string_view text) {
    return Convert(Encoding::Ansi, Encoding::Utf8, text);
}

std::string Utf8ToAnsi(std::string_view text) {
    return Convert(Encoding::Utf8, Encoding::Ansi, text);
}

}  // namespace tabrel
