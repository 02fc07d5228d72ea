// The key of a Text or Memo value in Jet 4's General sort order.
//
// The value is first cut to its first 255 UTF-16 units, then its trailing spaces (U+0020)
// are dropped. Each unit then has a code (sortorder/JetSortCodes.h): inline bytes, which
// sort first, and maybe extra bytes (accents and the like), a two-bit mark or unprintable bytes,
// which only break ties. An ascending key, after the entry's flag byte 0x7F:
//
//   part                  bytes                                        present
//   inline codes          each unit's inline bytes, in order           always (may be none)
//   end of inline         01                                           always
//   extra codes           one slot per unit with inline bytes, up to   when any byte is left
//                         the last that has extra bytes: 02 for a      after the trim
//                         unit without, else its extra bytes; a
//                         modifier unit (no inline bytes) adds its
//                         byte to the last byte so far (or is the
//                         first byte when there is none yet); then
//                         trailing bytes 00..02 are trimmed off
//   start of the tail     01 01                                        marks or unprintables
//   marks                 the marks of the marked units, trailing      marked units
//                         3s dropped, three to a byte:
//                         80 | m0 << 4 | m1 << 2 | m2 (a last byte
//                         with fewer leaves the low bits 0); then
//                         FF 02 80 FF 80 (even when every mark went)
//   between               FF                                           marks and unprintables
//   unprintables          01, then per unprintable unit:               unprintables
//                           2  big-endian 0x8000 | (7 + 4 * place)
//                           1  06
//                           n  its unprintable bytes
//   end                   00                                           always
//
// The place of an unprintable unit counts the extra-code slots before it as if the extra
// codes were written out up to it: the bytes in them so far, plus one for each unit with
// inline bytes since the last slot, less a leading modifier byte.
//
// The surrogates are computed, with the extra byte 3F each: a high surrogate's inline bytes
// are the big-endian unit - 10238; a low surrogate's the unit less 9992, 9990, 9988, 9986 or
// 9984 as its place in its block of 1024 (unit - 0xDC00) is below 8, 262, 516, 770 or not.
//
// A descending column stores these bytes inverted, then one more 00 (its value ends FF 00;
// the flag byte is 80).

#include "palm/db6x/jet/JetTextKey.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "palm/db6x/jet/sortorder/JetSortCodes.h"

namespace tabrel {
namespace {

using jet_sort::CodeKind;
using jet_sort::kGeneralSortCodes;
using jet_sort::SortCode;

static_assert(kGeneralSortCodes.size() == 0x10000, "one code per UTF-16 unit");

constexpr std::uint8_t kEndInline = 0x01;
constexpr std::uint8_t kStartTail = 0x01;
constexpr std::uint8_t kStartUnprintables = 0x01;
constexpr std::uint8_t kEndKey = 0x00;
constexpr std::uint8_t kNoExtraSlot = 0x02;
constexpr std::uint8_t kLastTrimmedExtra = 0x02;
constexpr std::uint8_t kDroppedMark = 3;
constexpr std::uint8_t kMarksByte = 0x80;
constexpr std::array<std::uint8_t, 5> kEndMarks = {0xFF, 0x02, 0x80, 0xFF, 0x80};
constexpr std::uint8_t kBetweenMarksAndUnprintables = 0xFF;
constexpr std::uint16_t kUnprintablePlaceFlag = 0x8000;
constexpr std::uint16_t kUnprintableFirstPlace = 7;
constexpr std::uint16_t kUnprintablePlaceStep = 4;
constexpr std::uint8_t kUnprintableSeparator = 0x06;
constexpr std::uint8_t kSurrogateExtra = 0x3F;

// The code of a surrogate unit: its two inline bytes and the extra byte.
SortCode SurrogateCode(char16_t unit, bool high) {
    unsigned value = unit;
    if (high) {
        value -= 10238;
    } else {
        const unsigned inBlock = (value - 0xDC00) % 1024;
        if (inBlock < 8) {
            value -= 9992;
        } else if (inBlock < 8 + 254) {
            value -= 9990;
        } else if (inBlock < 8 + 2 * 254) {
            value -= 9988;
        } else if (inBlock < 8 + 3 * 254) {
            value -= 9986;
        } else {
            value -= 9984;
        }
    }
    SortCode code;
    code.kind = CodeKind::International;
    code.inlineSize = 2;
    code.extraSize = 1;
    code.bytes = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF),
                  kSurrogateExtra, 0};
    return code;
}

SortCode CodeOf(char16_t unit) {
    const SortCode& code = kGeneralSortCodes.at(unit);
    if (code.kind == CodeKind::HighSurrogate || code.kind == CodeKind::LowSurrogate) {
        return SurrogateCode(unit, code.kind == CodeKind::HighSurrogate);
    }
    return code;
}

// The sizes of a code never pass its bytes (the table's maker checks them); the reads are
// kept inside the bytes all the same.
std::span<const std::uint8_t> InlineBytes(const SortCode& code) {
    const std::span<const std::uint8_t> bytes(code.bytes);
    return bytes.first(std::min<std::size_t>(code.inlineSize, bytes.size()));
}

std::span<const std::uint8_t> OtherBytes(const SortCode& code) {
    const std::span<const std::uint8_t> rest =
        std::span(code.bytes).subspan(InlineBytes(code).size());
    return rest.first(std::min<std::size_t>(code.extraSize, rest.size()));
}

// The extra codes as they grow: their bytes, the units with inline bytes they have a slot
// for, and whether they begin with a modifier byte that belongs to no slot.
class ExtraCodes {
  public:
    // The extra bytes of the unit in slot place.
    void Add(std::size_t place, std::span<const std::uint8_t> extra) {
        FillTo(place);
        bytes_.insert(bytes_.end(), extra.begin(), extra.end());
        ++slots_;
    }

    // A modifier met after place units with inline bytes.
    void Modify(std::size_t place, std::uint8_t modifier) {
        FillTo(place);
        if (bytes_.empty()) {
            bytes_.push_back(modifier);
            leadingModifier_ = 1;
        } else {
            bytes_.back() = static_cast<std::uint8_t>(bytes_.back() + modifier);
        }
    }

    // The place of an unprintable unit met after place units with inline bytes.
    std::size_t UnprintablePlace(std::size_t place) const {
        return bytes_.size() + (place - slots_) - leadingModifier_;
    }

    // The bytes to write, the trailing 00..02 left out.
    std::span<const std::uint8_t> Trimmed() const {
        const auto kept = std::find_if(bytes_.rbegin(), bytes_.rend(),
                                       [](std::uint8_t byte) { return byte > kLastTrimmedExtra; });
        return std::span(bytes_).first(static_cast<std::size_t>(bytes_.rend() - kept));
    }

  private:
    void FillTo(std::size_t place) {
        while (slots_ < place) {
            bytes_.push_back(kNoExtraSlot);
            ++slots_;
        }
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t slots_ = 0;
    std::size_t leadingModifier_ = 0;
};

void Append(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void AppendMarks(std::vector<std::uint8_t>& out, std::vector<std::uint8_t> marks) {
    while (!marks.empty() && marks.back() == kDroppedMark) {
        marks.pop_back();
    }
    for (std::size_t first = 0; first < marks.size(); first += 3) {
        std::uint8_t byte = kMarksByte;
        for (std::size_t i = 0; i < 3 && first + i < marks.size(); ++i) {
            byte = static_cast<std::uint8_t>(byte | marks[first + i] << (4 - 2 * i));
        }
        out.push_back(byte);
    }
    Append(out, kEndMarks);
}

}  // namespace

std::vector<std::uint8_t> EncodeJetTextKey(std::u16string_view text) {
    text = text.substr(0, std::min(text.size(), kJetTextKeyMaxUnits));
    while (!text.empty() && text.back() == u' ') {
        text.remove_suffix(1);
    }

    std::vector<std::uint8_t> key;
    key.reserve(text.size() * 2 + 2);
    ExtraCodes extra;
    std::vector<std::uint8_t> marks;
    bool anyMarked = false;
    std::vector<std::uint8_t> unprintables;
    std::size_t placed = 0;  // units with inline bytes so far
    for (const char16_t unit : text) {
        const SortCode code = CodeOf(unit);
        const std::size_t place = placed;
        Append(key, InlineBytes(code));
        if (!InlineBytes(code).empty()) {
            ++placed;
        }
        switch (code.kind) {
            case CodeKind::International:
                extra.Add(place, OtherBytes(code));
                break;
            case CodeKind::MarkedInternational:
                if (!OtherBytes(code).empty()) {
                    extra.Add(place, OtherBytes(code));
                }
                marks.push_back(code.mark);
                anyMarked = true;
                break;
            case CodeKind::ExtraModifier:
                if (!OtherBytes(code).empty()) {
                    extra.Modify(place, OtherBytes(code).front());
                }
                break;
            case CodeKind::Unprintable: {
                const std::size_t where =
                    kUnprintableFirstPlace + kUnprintablePlaceStep * extra.UnprintablePlace(place);
                const auto tag = static_cast<std::uint16_t>(kUnprintablePlaceFlag | where);
                unprintables.push_back(static_cast<std::uint8_t>(tag >> 8));
                unprintables.push_back(static_cast<std::uint8_t>(tag & 0xFF));
                unprintables.push_back(kUnprintableSeparator);
                Append(unprintables, OtherBytes(code));
                break;
            }
            case CodeKind::Ignored:
            case CodeKind::Simple:
            case CodeKind::Significant:
            case CodeKind::HighSurrogate:
            case CodeKind::LowSurrogate:
                break;
        }
    }
    key.push_back(kEndInline);

    Append(key, extra.Trimmed());
    if (anyMarked || !unprintables.empty()) {
        key.push_back(kStartTail);
        key.push_back(kStartTail);
        if (anyMarked) {
            AppendMarks(key, std::move(marks));
            if (!unprintables.empty()) {
                key.push_back(kBetweenMarksAndUnprintables);
            }
        }
        if (!unprintables.empty()) {
            key.push_back(kStartUnprintables);
            Append(key, unprintables);
        }
    }
    key.push_back(kEndKey);
    return key;
}

}  // namespace tabrel
