// Build-time tool: turns the General sort order's two code lists into the C++ table that
// JetSortCodes.h declares.
//
//   MakeJetSortCodes <codes of U+0000..U+00FF> <codes of U+0100..U+FFFF> <output .cpp>
//
// The first list has 256 lines, the second one per unit from U+0100 to U+FFFF without the
// surrogates (63232 lines). Any line the tool cannot read stops it with the file and the
// line number, and no output is left behind.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "palm/db6x/jet/sortorder/JetSortCodes.h"

namespace {

using tabrel::jet_sort::CodeKind;
using tabrel::jet_sort::kMaxCodeBytes;
using tabrel::jet_sort::kSortCodeCount;
using tabrel::jet_sort::SortCode;

constexpr std::uint32_t kFirstSurrogate = 0xD800;
constexpr std::uint32_t kLastSurrogate = 0xDFFF;

bool IsSurrogate(std::uint32_t unit) {
    return unit >= kFirstSurrogate && unit <= kLastSurrogate;
}

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = text.find(',');
        fields.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) {
            return fields;
        }
        text.remove_prefix(comma + 1);
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The bytes of a hex field whose leading 0 may be missing; nullopt when it is not hex.
std::optional<std::vector<std::uint8_t>> HexBytes(std::string_view field) {
    std::string digits(field);
    if (digits.size() % 2 != 0) {
        digits.insert(digits.begin(), '0');
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = HexDigit(digits[i]);
        const int low = HexDigit(digits[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

// Puts the inline bytes, then the other bytes, into code; false when they do not fit or a
// field is not hex, or one that must have bytes has none.
bool SetBytes(SortCode& code, std::string_view inlineField, bool inlineRequired,
              std::string_view otherField, bool otherRequired) {
    const auto inlineBytes = HexBytes(inlineField);
    const auto otherBytes = HexBytes(otherField);
    if (!inlineBytes || !otherBytes || (inlineRequired && inlineBytes->empty()) ||
        (otherRequired && otherBytes->empty()) ||
        inlineBytes->size() + otherBytes->size() > kMaxCodeBytes) {
        return false;
    }
    code.inlineSize = static_cast<std::uint8_t>(inlineBytes->size());
    code.extraSize = static_cast<std::uint8_t>(otherBytes->size());
    std::size_t at = 0;
    for (const std::uint8_t byte : *inlineBytes) {
        code.bytes.at(at++) = byte;
    }
    for (const std::uint8_t byte : *otherBytes) {
        code.bytes.at(at++) = byte;
    }
    return true;
}

std::optional<SortCode> ParseLine(std::string_view line) {
    if (line.empty()) {
        return std::nullopt;
    }
    const char letter = line.front();
    const std::vector<std::string_view> fields = SplitFields(line.substr(1));
    SortCode code;
    bool ok = false;
    switch (letter) {
        case 'X':
            code.kind = CodeKind::Ignored;
            ok = fields.size() == 1 && fields[0].empty();
            break;
        case 'S':
        case 'G':
            code.kind = letter == 'S' ? CodeKind::Simple : CodeKind::Significant;
            ok = fields.size() == 1 && SetBytes(code, fields[0], true, "", false);
            break;
        case 'I':
            code.kind = CodeKind::International;
            ok = fields.size() == 2 && SetBytes(code, fields[0], true, fields[1], true);
            break;
        case 'U':
            code.kind = CodeKind::Unprintable;
            ok = fields.size() == 1 && SetBytes(code, "", false, fields[0], true);
            break;
        case 'P':
            code.kind = CodeKind::ExtraModifier;
            ok = fields.size() == 1 && SetBytes(code, "", false, fields[0], true) &&
                 code.extraSize == 1;
            break;
        case 'Z':
            code.kind = CodeKind::MarkedInternational;
            ok = fields.size() == 3 && SetBytes(code, fields[0], true, fields[1], false) &&
                 (fields[2].empty() || fields[2] == "1");
            code.mark = fields.size() == 3 && fields[2] == "1" ? 2 : 3;
            break;
        default:
            break;
    }
    if (!ok) {
        return std::nullopt;
    }
    return code;
}

// Reads the codes of the units first..last (surrogates skipped) from path into codes.
bool ReadList(const std::string& path, std::uint32_t first, std::uint32_t last,
              std::vector<SortCode>& codes) {
    std::ifstream in(path);
    if (!in) {
        std::cerr << path << ": cannot be opened\n";
        return false;
    }
    std::string line;
    std::size_t lineNumber = 0;
    for (std::uint32_t unit = first; unit <= last; ++unit) {
        if (IsSurrogate(unit)) {
            continue;
        }
        ++lineNumber;
        if (!std::getline(in, line)) {
            std::cerr << path << ": ends at line " << lineNumber << ", before U+" << std::hex
                      << unit << '\n';
            return false;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::optional<SortCode> code = ParseLine(line);
        if (!code) {
            std::cerr << path << ':' << lineNumber << ": cannot read \"" << line << "\"\n";
            return false;
        }
        codes.at(unit) = *code;
    }
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line != "\r") {
            std::cerr << path << ':' << lineNumber << ": more lines than units\n";
            return false;
        }
    }
    return true;
}

std::string Hex(unsigned value) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%02X", value);
    return text.data();
}

struct KindName {
    CodeKind kind;
    char letter;
    const char* name;
};
// Each kind by its value, with its letter in the code lists.
constexpr std::array<KindName, 9> kKinds = {{
    {CodeKind::Ignored, 'X', "Ignored"},
    {CodeKind::Simple, 'S', "Simple"},
    {CodeKind::Significant, 'G', "Significant"},
    {CodeKind::International, 'I', "International"},
    {CodeKind::Unprintable, 'U', "Unprintable"},
    {CodeKind::ExtraModifier, 'P', "ExtraModifier"},
    {CodeKind::MarkedInternational, 'Z', "MarkedInternational"},
    {CodeKind::HighSurrogate, 'H', "HighSurrogate"},
    {CodeKind::LowSurrogate, 'L', "LowSurrogate"},
}};
static_assert(
    [] {
        for (std::size_t k = 0; k < kKinds.size(); ++k) {
            if (static_cast<std::size_t>(kKinds[k].kind) != k) {
                return false;
            }
        }
        return true;
    }(),
    "kKinds follows CodeKind");

std::string Source(const std::vector<SortCode>& codes) {
    std::array<bool, kKinds.size()> used{};
    for (const SortCode& code : codes) {
        used.at(static_cast<std::size_t>(code.kind)) = true;
    }

    std::ostringstream out;
    out << "// Made by MakeJetSortCodes from the General sort order's code lists; do not edit.\n"
           "#include \"palm/db6x/jet/sortorder/JetSortCodes.h\"\n\n"
           "namespace tabrel::jet_sort {\n"
           "namespace {\n";
    // A one-letter name for each kind the table uses (an unused one would be warned about).
    for (std::size_t k = 0; k < kKinds.size(); ++k) {
        if (used[k]) {
            out << "constexpr CodeKind " << kKinds[k].letter << " = CodeKind::" << kKinds[k].name
                << ";\n";
        }
    }
    out << "}  // namespace\n\n"
           "constexpr std::array<SortCode, kSortCodeCount> kGeneralSortCodes = {{\n";
    for (const SortCode& code : codes) {
        out << "    {" << kKinds.at(static_cast<std::size_t>(code.kind)).letter << ", "
            << unsigned{code.mark} << ", " << unsigned{code.inlineSize} << ", "
            << unsigned{code.extraSize} << ", {";
        for (std::size_t i = 0; i < code.bytes.size(); ++i) {
            out << (i == 0 ? "" : ", ") << Hex(code.bytes[i]);
        }
        out << "}},\n";
    }
    out << "}};\n\n}  // namespace tabrel::jet_sort\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    if (args.size() != 4) {
        std::cerr << "usage: MakeJetSortCodes <base codes> <extended codes> <output .cpp>\n";
        return 2;
    }
    std::vector<SortCode> codes(kSortCodeCount);
    for (std::uint32_t unit = kFirstSurrogate; unit <= kLastSurrogate; ++unit) {
        codes.at(unit).kind = unit < 0xDC00 ? CodeKind::HighSurrogate : CodeKind::LowSurrogate;
    }
    if (!ReadList(args[1], 0x0000, 0x00FF, codes) || !ReadList(args[2], 0x0100, 0xFFFF, codes)) {
        return 1;
    }

    // Written beside the output and renamed into place, so a failed run leaves no output
    // that a later build would take as up to date.
    const std::filesystem::path output = args[3];
    std::filesystem::path partial = output;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << Source(codes);
        out.close();
        if (!out) {
            std::cerr << partial.string() << ": cannot be written\n";
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return 1;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, output, error);
    if (error) {
        std::cerr << output.string() << ": " << error.message() << '\n';
        return 1;
    }
    return 0;
}
