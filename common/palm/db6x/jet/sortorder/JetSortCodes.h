#pragma once
// The code of every UTF-16 unit in Jet 4's General text sort order (0x409, version 0): what
// the unit leaves in a Text column's index key. The table is made at build time by
// MakeJetSortCodes from the two code lists beside this header (see NOTICE).
//
// A line of a code list is a letter, then comma-separated hex fields (an odd number of
// digits has its leading 0 dropped):
//   X            ignored: the unit leaves nothing
//   S<in>        inline bytes only
//   G<in>        inline bytes only (a "significant" unit; none in General, read all the same)
//   I<in>,<ex>   inline bytes, and extra bytes for the accent or case part
//   U<un>        no inline bytes; unprintable bytes kept with the unit's place
//   P<m>         no inline bytes; one byte added to the last extra byte (or, with none yet,
//                written as the first)
//   Z<in>,<ex>,<1 or empty>  inline bytes, extra bytes if any, and a two-bit mark: 2 when the
//                third field is 1, else 3
// The surrogates U+D800 to U+DFFF are in no list; the key computes theirs.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tabrel::jet_sort {

enum class CodeKind : std::uint8_t {
    Ignored,
    Simple,
    Significant,
    International,
    Unprintable,
    ExtraModifier,
    MarkedInternational,
    HighSurrogate,
    LowSurrogate,
};

inline constexpr std::size_t kMaxCodeBytes = 4;

struct SortCode {
    CodeKind kind = CodeKind::Ignored;
    std::uint8_t mark = 0;        // MarkedInternational: 2 or 3
    std::uint8_t inlineSize = 0;  // bytes[0, inlineSize)
    std::uint8_t extraSize = 0;   // bytes[inlineSize, inlineSize + extraSize): the extra,
                                  // unprintable or modifier bytes
    std::array<std::uint8_t, kMaxCodeBytes> bytes{};
};

inline constexpr std::size_t kSortCodeCount = 0x10000;

// Indexed by the UTF-16 unit.
extern const std::array<SortCode, kSortCodeCount> kGeneralSortCodes;

}  // namespace tabrel::jet_sort
