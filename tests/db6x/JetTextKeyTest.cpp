// The General sort order's text index keys. The expected bytes of the first cases are the
// keys Microsoft Access stored in the leaf pages of the reference files (../shared/jet/files),
// after the entry's flag byte 7F; the last cases take the parts no reference key shows
// (empty text, truncation, surrogates, modifiers, two-bit marks) from the key layout at the
// top of JetTextKey.cpp.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "palm/db6x/jet/JetTextKey.h"

namespace tabrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Hex(std::string_view text) {
    Bytes bytes;
    unsigned value = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == ' ') {
            continue;
        }
        value = value * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10);
        if (++digits == 2) {
            bytes.push_back(static_cast<std::uint8_t>(value));
            value = 0;
            digits = 0;
        }
    }
    return bytes;
}

Bytes Key(std::u16string_view text) {
    return EncodeJetTextKey(text);
}

TEST(JetTextKeyTest, PlainTextAsAccessStoresIt) {
    // fixedTextTestV2003.mdb, table users: the index on c_user_login holds "admin" and
    // "CORE USER", the one on c_user_name "Core User"; case leaves no trace.
    EXPECT_EQ(Key(u"admin"), Hex("4A 4F 60 59 62 01 00"));
    EXPECT_EQ(Key(u"CORE USER"), Hex("4D 64 69 51 07 6F 6B 51 69 01 00"));
    EXPECT_EQ(Key(u"Core User"), Hex("4D 64 69 51 07 6F 6B 51 69 01 00"));
    // testIndexPropertiesV2003.mdb, table TableIgnoreNulls2, index on row.
    EXPECT_EQ(Key(u"row10"), Hex("69 64 73 38 36 01 00"));
    // testUnicodeCompV2003.mdb, table f_B2444F72C17C49C3B2E92EED7C2E6EF3_Data, index on
    // _Data and FileName (the text after the number's key).
    EXPECT_EQ(Key(u"Office Theme.thmx"),
              Hex("64 53 53 59 4D 51 07 6D 57 51 60 51 1C 6D 57 60 75 01 00"));
    // testV2003.mdb, table MSysAccessStorage, index on ParentId and Name: "_" has two inline
    // bytes.
    EXPECT_EQ(Key(u"MSysAccessStorage_ROOT"),
              Hex("60 6B 76 6B 4A 4D 4D 51 6B 6B 6B 6D 64 69 4A 55 51 2B 03 69 64 64 6D 01 00"));
}

TEST(JetTextKeyTest, ExtraAndUnprintableBytesAsAccessStoresThem) {
    // testUnicodeCompV2003.mdb, table Table, index on Unicode.
    EXPECT_EQ(Key(u"\u00FCmlaut"), Hex("6F 60 5E 4A 6F 6D 01 13 00"));
    EXPECT_EQ(Key(u"\u00E4\u00E4kk\u00F6si\u00E4"),
              Hex("4A 4A 5C 5C 64 6B 59 4A 01 13 13 02 02 13 02 02 13 00"));
    EXPECT_EQ(Key(u"3L9\x1D"
                  u"52\x02_AB(\u00A5\x05!!V"),
              Hex("3C 5E 48 40 3A 2B 03 4A 4C 14 34 A9 09 09 71 01 01 01 01 80 13 06 1A 80 1B 06 "
                  "04 80 2F 06 07 00"));
    EXPECT_EQ(Key(u"\u041C\u0438\u0440"), Hex("79 43 79 3B 79 48 01 00"));
    // Greek: extra bytes, then the apostrophe's place counted over them.
    EXPECT_EQ(Key(u"\u03F0\u03B1\u1F76 \u03C4\u1F79\u03C4' \u1F10\u03B3\u1F7C "
                  u"\u039A\u1F7B\u03F0\u03BB\u03C9\u03C0\u03B1"),
              Hex("79 15 79 0C 07 79 1E 79 1E 07 79 0E 07 79 15 79 15 79 16 79 23 79 1B 79 0C 01 "
                  "03 02 02 02 02 02 02 02 02 03 01 01 01 80 1B 06 80 00"));
    // Kanji and kana: the marks all drop, their end stays.
    EXPECT_EQ(Key(u"\u6F22\u5B57\u4EEE\u540D\u4EA4\u3058\u308A\u6587"),
              Hex("C0 B6 AC AC A0 0D A5 47 9F BE 7F 13 7F 43 B6 F6 01 02 02 02 02 02 03 01 01 FF "
                  "02 80 FF 80 00"));
    // fixedTextTestV2003.mdb, table users, index on c_user_session: "-" is unprintable.
    EXPECT_EQ(Key(u"-1"), Hex("38 01 01 01 01 80 07 06 82 00"));
    // testV2003.mdb, table MSysAccessStorage, index on ParentId and Name.
    EXPECT_EQ(Key(u"\x03"
                  u"DirData"),
              Hex("4F 59 69 4F 4A 6D 4A 01 01 01 01 80 07 06 05 00"));
}

TEST(JetTextKeyTest, EveryLatin1CharacterAsAccessStoresIt) {
    // testUnicodeCompV2003.mdb, table Table, index on Unicode: U+0001 to U+00FF in order.
    std::u16string text;
    for (char16_t c = 0x01; c <= 0xFF; ++c) {
        text += c;
    }
    const Bytes expected = Hex(
        "08 03 08 04 08 05 08 06 08 07 07 09 0A 0C 0E 10 12 14 16 18 2C 1A 1C 1E 36 38 3A 3C 3E 40"
        "42 44 46 48 20 22 2E 30 32 24 26 4A 4C 4D 4F 51 53 55 57 59 5B 5C 5E 60 62 64 66 68 69 6B"
        "6D 6F 71 73 75 76 78 27 29 2A 2B 02 2B 03 2B 07 4A 4C 4D 4F 51 53 55 57 59 5B 5C 5E 60 62"
        "64 66 68 69 6B 6D 6F 71 73 75 76 78 2B 09 2B 0B 2B 0D 2B 0F 08 02 2B 10 34 A6 34 A7 34 A8"
        "34 A9 2B 11 34 AA 2B 12 34 AB 4A 33 05 34 AC 34 AD 2B 13 34 AE 33 04 3A 3C 2B 14 34 AF 34"
        "B0 34 B1 2B 15 38 64 33 07 37 12 37 16 37 1A 2B 16 4A 4A 4A 4A 4A 4A 4A 51 4D 51 51 51 51"
        "59 59 59 59 4F 62 64 64 64 64 64 33 09 64 6F 6F 6F 6F 76 6D 57 6B 6B 4A 4A 4A 4A 4A 4A 4A"
        "51 4D 51 51 51 51 59 59 59 59 4F 62 64 64 64 64 64 33 0A 64 6F 6F 6F 6F 76 6D 57 76 01 02"
        "02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02"
        "02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02"
        "02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02"
        "02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 03 02 02 02 02 02 02 02 02 02 02 02 02"
        "02 02 03 02 02 02 02 02 0F 0E 12 19 13 1A 02 1C 0F 0E 12 13 0F 0E 12 13 68 19 0F 0E 12 19"
        "13 02 21 0F 0E 12 13 0E 02 02 0F 0E 12 19 13 1A 02 1C 0F 0E 12 13 0F 0E 12 13 68 19 0F 0E"
        "12 19 13 02 21 0F 0E 12 13 0E 02 13 01 01 01 80 07 06 03 80 07 06 04 80 07 06 05 80 07 06"
        "06 80 07 06 07 80 07 06 08 80 07 06 09 80 07 06 0A 80 1B 06 0B 80 1B 06 0C 80 1B 06 0D 80"
        "1B 06 0E 80 1B 06 0F 80 1B 06 10 80 1B 06 11 80 1B 06 12 80 1B 06 13 80 1B 06 14 80 1B 06"
        "15 80 1B 06 16 80 1B 06 17 80 1B 06 18 80 1B 06 19 80 1B 06 1A 80 1B 06 1B 80 1B 06 1C 80"
        "37 06 80 80 4B 06 82 81 8F 06 1D 81 8F 06 1E 81 8F 06 1F 81 8F 06 20 81 8F 06 21 81 8F 06"
        "22 81 8F 06 23 81 8F 06 24 81 8F 06 25 81 8F 06 26 81 8F 06 27 81 8F 06 28 81 8F 06 29 81"
        "8F 06 2A 81 8F 06 2B 81 8F 06 2C 81 8F 06 2D 81 8F 06 2E 81 8F 06 2F 81 8F 06 30 81 8F 06"
        "31 81 8F 06 32 81 8F 06 33 81 8F 06 34 81 8F 06 35 81 8F 06 36 81 8F 06 37 81 8F 06 38 81"
        "8F 06 39 81 8F 06 3A 81 8F 06 3B 81 8F 06 3C 81 8F 06 3D 81 C3 06 83 00");
    EXPECT_EQ(Key(text), expected);
}

TEST(JetTextKeyTest, EmptyTrailingSpacesAndLength) {
    EXPECT_EQ(Key(u""), Hex("01 00"));
    EXPECT_EQ(Key(u"   "), Hex("01 00"));
    EXPECT_EQ(Key(u"row1  "), Key(u"row1"));
    EXPECT_EQ(Key(u" row1"), Hex("07 69 64 73 38 01 00"));
    EXPECT_EQ(Key(u"row1\t"), Hex("69 64 73 38 08 03 01 00"));
    // U+0000 and U+FFFE leave nothing.
    EXPECT_EQ(Key(std::u16string(u"ro\0w1\uFFFE", 6)), Key(u"row1"));

    // Only the first 255 units count, and the spaces the cut leaves last are dropped.
    const std::u16string full(kJetTextKeyMaxUnits, u'a');
    Bytes expected(kJetTextKeyMaxUnits, 0x4A);
    expected.insert(expected.end(), {0x01, 0x00});
    EXPECT_EQ(Key(full), expected);
    EXPECT_EQ(Key(full + u"\u00E9-"), expected);
    EXPECT_EQ(Key(std::u16string(300, u'a')), expected);
    std::u16string cutAtSpace(kJetTextKeyMaxUnits - 1, u'a');
    cutAtSpace += u"  b";
    expected.erase(expected.begin());
    EXPECT_EQ(Key(cutAtSpace), expected);
}

TEST(JetTextKeyTest, ComputedCodesModifiersAndMarks) {
    // U+1F600: the high surrogate D83D less 10238, the low DE00 (512 in its block) less 9988.
    EXPECT_EQ(Key(u"\U0001F600"), Hex("B0 3F B6 FC 01 3F 3F 00"));
    // The low surrogates' offsets change after 8, 262, 516 and 770 units of a block.
    EXPECT_EQ(Key(u"\xDC07\xDC08\xDD06\xDE04\xDF02"),
              Hex("B4 FF B5 02 B6 02 B7 02 B8 02 01 3F 3F 3F 3F 3F 00"));

    // A combining acute adds 0C to the last extra byte: e + U+0301 sorts as U+00E9.
    EXPECT_EQ(Key(u"\u00E9"), Hex("51 01 0E 00"));
    EXPECT_EQ(Key(u"e\u0301"), Hex("51 01 0E 00"));
    // With no extra bytes yet it is the first one, and no unprintable place counts it.
    EXPECT_EQ(Key(u"\u0301e-"), Hex("51 01 0C 01 01 01 80 0B 06 82 00"));
    EXPECT_EQ(Key(u"\u00E9e-"), Hex("51 51 01 0E 01 01 01 80 0F 06 82 00"));

    // U+3041 has the mark 2, U+3042 the mark 3 (dropped at the end), three to a byte.
    EXPECT_EQ(Key(u"\u3041"), Hex("7F 02 01 01 01 A0 FF 02 80 FF 80 00"));
    EXPECT_EQ(Key(u"\u3042"), Hex("7F 02 01 01 01 FF 02 80 FF 80 00"));
    EXPECT_EQ(Key(u"\u3042\u3041\u3042"), Hex("7F 02 7F 02 7F 02 01 01 01 B8 FF 02 80 FF 80 00"));
    EXPECT_EQ(Key(u"\u3041\u3041\u3041\u3041"),
              Hex("7F 02 7F 02 7F 02 7F 02 01 01 01 AA A0 FF 02 80 FF 80 00"));
    // Marks and unprintables: FF between them.
    EXPECT_EQ(Key(u"\u3041-"), Hex("7F 02 01 01 01 A0 FF 02 80 FF 80 FF 01 80 0B 06 82 00"));
}

}  // namespace
}  // namespace tabrel
