#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "AllocationProbe.h"
#include "misc/CxAssert.h"
#include "palm/dat/PmDBUtil.h"
#include "support/TestSupport.h"

namespace tabrel {

using test::Bytes;

namespace {

// Bytes from hex digits; blanks are only for reading ("01000000 ff").
Bytes Hex(std::string_view text) {
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
                 [](char c) { return c != ' '; });
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A counted string of length 'x' bytes.
Bytes Counted(std::size_t length) {
    const auto l = static_cast<std::uint8_t>(length), h = static_cast<std::uint8_t>(length >> 8);
    return (length < 255 ? Bytes{l} : Bytes{0xFF, l, h}) + Bytes(length, 'x');
}

// The bytes that write puts into a fresh file.
Bytes Written(const std::function<bool(PmDBUtil&)>& write) {
    test::TempDir dir;
    PmDBUtil db;
    EXPECT_TRUE(db.Open(dir.File("out.dat"), PmOpenCreate) && write(db) && db.Close());
    return test::ReadFile(dir.File("out.dat"));
}

// A database opened for reading on the given bytes.
struct Source {
    explicit Source(const Bytes& bytes) {
        test::WriteFile(dir.File("in.dat"), bytes);
        EXPECT_TRUE(db.Open(dir.File("in.dat"), PmOpenRead));
    }
    test::TempDir dir;
    PmDBUtil db;
};

}  // namespace

TEST(PmDBUtil, CountedStringsOfEveryLengthForm) {
    for (std::size_t length : {0, 1, 254, 255, 65535}) {
        const std::string text(length, 'x');
        EXPECT_EQ(Written([&](PmDBUtil& db) { return db.WriteCString(text); }), Counted(length));
        Source source(Counted(length));
        std::string read = "stale";
        std::uint32_t max = 65535;
        EXPECT_TRUE(source.db.ReadCString(read, max) && read == text) << length;
    }
    EXPECT_EQ(Written([](PmDBUtil& db) { return db.WriteCString({}); }), Bytes{0});
    EXPECT_EQ(Counted(255), Hex("ff ff00") + Bytes(255, 'x'));
    EXPECT_TRUE(Written([](PmDBUtil& db) {
                    return !db.WriteCString(std::string(65536, 'x')) &&
                           !db.WriteCStringField(std::string(65536, 'x'), 1);
                }).empty());

    // Longer than accepted: fails, reports the length and leaves the text unread.
    Source source(Counted(33) + Hex("ff 0200 6162"));
    std::string read;
    std::uint32_t max = 32;
    EXPECT_FALSE(source.db.ReadCString(read, max));
    EXPECT_EQ(max, 33u);
    EXPECT_EQ(source.db.GetPosition(), 1u);
    ASSERT_TRUE(source.db.Skip(33));
    EXPECT_TRUE(source.db.ReadCString(read, max));  // a short length in the long form
    EXPECT_EQ(read, "ab");
}

TEST(PmDBUtil, RawAndTypedFieldsByteForByte) {
    const PmQuad quad{1, 2, 3, 4, 5, 6, 7, 8};
    const Bytes expected =
        Hex("44332211 b2a1 c3 0102030405060708  01000000 01000080  03000000 00ca9a3b"
            "06000000 01000000  05000000 01000000 03 616263  44000000 0102030405060708");
    EXPECT_EQ(Written([&](PmDBUtil& db) {
                  return db.WriteLong(0x11223344) && db.WriteShort(0xA1B2) && db.WriteByte(0xC3) &&
                         db.WriteQuad(quad) && db.WriteIntegerField(0x80000001) &&
                         db.WriteDateField(1000000000) && db.WriteBooleanField(true) &&
                         db.WriteCStringField("abc", 1) && db.WriteQuadField(quad);
              }),
              expected);

    Source source(expected);
    std::uint32_t l = 0, integer = 0, date = 0, boolean = 0;
    std::uint16_t s = 0;
    std::uint8_t b = 0;
    PmQuad q1{}, q2{};
    std::string text;
    ASSERT_TRUE(source.db.ReadLong(l) && source.db.ReadShort(s) && source.db.ReadByte(b) &&
                source.db.ReadQuad(q1) && source.db.ReadValueField(integer) &&
                source.db.ReadValueField(date) && source.db.ReadValueField(boolean) &&
                source.db.ReadCStringField(text, 32) && source.db.ReadQuadField(q2));
    EXPECT_EQ(std::tie(l, s, b, integer, date, boolean, text, q1, q2),
              std::make_tuple(0x11223344u, std::uint16_t{0xA1B2}, std::uint8_t{0xC3}, 0x80000001u,
                              1000000000u, 1u, std::string("abc"), quad, quad));
    Bytes rest(4);
    std::size_t count = 99;
    EXPECT_TRUE(source.db.ReadBytesUpTo(rest, count));  // at the end: nothing arrives
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(source.db.ReadBytes({}) || source.db.ReadBytesUpTo({}, count));
    for (const char* code : {"00000000", "05000000", "44000000"}) {
        EXPECT_FALSE(Source(Hex(code) + Hex("2a000000")).db.ReadValueField(integer)) << code;
    }
}

TEST(PmDBUtil, StringFieldKeepsWhatItsFieldHoldsAndConsumesTheRest) {
    struct Case {
        std::size_t stored, capacity, kept;
    };
    // Long texts reach a field that has room for them whole.
    for (const Case& c :
         {Case{40, 32, 31}, Case{9000, 20000, 9000}, Case{65535, 65535, 65534},
          Case{9000, 8192, 8191}, Case{0, 32, 0}, Case{5, 1, 0}, Case{5, 0, 0}, Case{5, 6, 5}}) {
        Source source(Hex("05000000 00000000") + Counted(c.stored) + Hex("edfe0000"));
        std::string text = "stale";
        std::uint32_t after = 0;
        EXPECT_TRUE(source.db.ReadCStringField(text, c.capacity) && source.db.ReadLong(after));
        EXPECT_EQ(text, std::string(c.kept, 'x'));
        EXPECT_EQ(after, 0xFEEDu);
    }
    std::string text;
    EXPECT_FALSE(Source(Hex("01000000 01000000 00")).db.ReadCStringField(text, 32));
}

// A text stored longer than its field keeps is also kept whole, and written back whole as
// long as the field still holds exactly the cut text.
TEST(PmDBUtil, TextFieldsKeepTheWholeStoredTextForAnUnchangedField) {
    const std::string stored = std::string(31, 'x') + "TAIL";
    const Bytes field = Hex("05000000 01000000 23") + Bytes(stored.begin(), stored.end());
    Source source(Hex("05000000 00000000 23") + Bytes(stored.begin(), stored.end()) +
                  Hex("05000000 00000000 03") + Bytes{'a', 'b', 'c'} + Hex("edfe0000"));
    PmWholeTexts whole{{12, "stale entry for a text that now fits"}};
    std::string cut;
    std::string fits;
    std::uint32_t after = 0;
    ASSERT_TRUE(source.db.ReadTextField(11, cut, 32, whole) &&
                source.db.ReadTextField(12, fits, 32, whole) && source.db.ReadLong(after));
    EXPECT_EQ(cut, std::string(31, 'x'));
    EXPECT_EQ(fits, "abc");
    EXPECT_EQ(after, 0xFEEDu);
    EXPECT_EQ(whole, (PmWholeTexts{{11, stored}}));

    // Unchanged: the whole text. Changed in any way, or another field: the text as it is.
    const auto written = [&](std::size_t index, const std::string& text) {
        return Written([&](PmDBUtil& db) { return db.WriteTextField(index, text, 32, whole); });
    };
    const auto plain = [](const std::string& text) {
        return Written([&](PmDBUtil& db) { return db.WriteCStringField(text, 1); });
    };
    EXPECT_EQ(written(11, cut), field);
    for (const std::string& changed :
         {std::string(30, 'x'), std::string(30, 'x') + "y", std::string(), std::string("abc")}) {
        EXPECT_EQ(written(11, changed), plain(changed)) << changed;
    }
    EXPECT_EQ(written(12, cut), plain(cut));
    // Written with a capacity that would not have cut it so: the text as it is.
    EXPECT_EQ(Written([&](PmDBUtil& db) { return db.WriteTextField(11, cut, 33, whole); }),
              plain(cut));
}

TEST(PmDBUtil, BlocksOfEverySizeKindBothWays) {
    const std::vector<std::pair<PmBlock, Bytes>> cases{
        {{65, 0, 0, 0, 0, {}}, Hex("41000000 00000000")},
        {{66, 2, 9, 8, 0, {}}, Hex("42000000 02000000 09000000 08000000 00000000")},
        {{64, 1, 4, 5, 3, {7, 8, 9}}, Hex("40000000 01000000 04000000 05000000 03000000 070809")},
        {{67, 3, 0, 0, 1, {0xAB}}, Hex("43000000 03000000 00000000 00000000 01000000 ab")},
        {{65, 4, 0, 0, 4, {1, 2, 3, 4}}, Hex("41000000 04000000 01020304")},
        {{99, 6, 0, 0, 6, Bytes(6, 0x5A)}, Hex("63000000 06000000 5a5a5a5a5a5a")},
    };
    for (const auto& [block, bytes] : cases) {
        EXPECT_EQ(Written([&](PmDBUtil& db) { return db.WriteBlockField(block); }), bytes);
        PmBlock read;
        EXPECT_TRUE(Source(bytes).db.ReadBlockField(read));
        EXPECT_EQ(read, block) << block.m_dwSize;
    }
    // Blocks holding less data than they announce write nothing.
    EXPECT_TRUE(Written([](PmDBUtil& db) {
                    return !db.WriteBlockField({65, 2, 0, 0, 3, {}}) &&
                           !db.WriteBlockField({65, 5, 0, 0, 5, {1, 2, 3, 4}});
                }).empty());
}

// Every proper prefix of a field makes its read fail; the whole field reads.
TEST(PmDBUtil, TruncatedFieldsFailEveryRead) {
    std::string text;
    std::uint32_t value = 0, max = 1000;
    std::uint16_t half = 0;
    PmQuad quad{};
    PmBlock block;
    const std::vector<std::pair<Bytes, std::function<bool(PmDBUtil&)>>> fields{
        {Bytes(4, 1), [&](PmDBUtil& db) { return db.ReadLong(value); }},
        {Bytes(2, 1), [&](PmDBUtil& db) { return db.ReadShort(half); }},
        {Bytes(8, 1), [&](PmDBUtil& db) { return db.ReadQuad(quad); }},
        {Hex("03000000 09000000"), [&](PmDBUtil& db) { return db.ReadValueField(value); }},
        {Bytes(12, 1), [&](PmDBUtil& db) { return db.ReadQuadField(quad); }},
        {Counted(300), [&](PmDBUtil& db) { return db.ReadCString(text, max); }},
        {Hex("05000000 01000000") + Counted(300),
         [&](PmDBUtil& db) { return db.ReadCStringField(text, 100); }},
        {Hex("40000000 02000000 00000000 00000000 03000000 010203"),
         [&](PmDBUtil& db) { return db.ReadBlockField(block); }},
        {Hex("40000000 05000000 0102030405"),
         [&](PmDBUtil& db) { return db.ReadBlockField(block); }},
    };
    for (std::size_t f = 0; f < fields.size(); ++f) {
        const Bytes& bytes = fields[f].first;
        for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
            Source source(Bytes(bytes.begin(), bytes.begin() + cut));
            EXPECT_EQ(fields[f].second(source.db), cut == bytes.size()) << f << " at " << cut;
        }
    }
}

TEST(PmDBUtil, HostileSizesFailWithoutLargeAllocations) {
    for (const char* hostile : {"40000000 f0ffffff", "40000000 01000000 0000000000000000 ffffffff",
                                "05000000 01000000 ff ffff"}) {
        Source source(Hex(hostile) + Bytes(16, 0));
        const PmBlock before{65, 4, 0, 0, 4, {1, 2, 3, 4}};
        PmBlock block = before;
        std::string text;
        test::ResetLargestAllocation();
        EXPECT_FALSE(hostile[0] == '0' ? source.db.ReadCStringField(text, 100000)
                                       : source.db.ReadBlockField(block));
        EXPECT_LT(test::LargestAllocation(), 4096u) << hostile;
        EXPECT_EQ(block, before);  // a failed read leaves the block alone
    }
}

TEST(PmDBUtil, OpenKeepsTheFullNameAndFailsClosed) {
    test::TempDir dir;
    const std::string folder = dir.File(std::string(200, 'n'));
    const std::string path = folder + "/" + std::string(200, 'm');
    std::filesystem::create_directory(folder);
    test::WriteFile(path, {1, 2, 3, 4});

    PmDBUtil db;
    ASSERT_TRUE(db.Open(path, PmOpenReadWrite));
    EXPECT_EQ(db.GetFileName(), path);
    EXPECT_EQ(db.GetFileSize(), 4u);
    EXPECT_FALSE(db.Open(dir.File("missing.dat"), PmOpenReadWrite) || db.IsOpen());
    EXPECT_EQ(db.GetFileName(), path);
    EXPECT_FALSE(db.Open("", PmOpenCreate));
    db.SetFileName(std::string(300, 'r'));
    EXPECT_EQ(db.GetFileName(), std::string(255, 'r'));
}

TEST(PmDBUtil, CategoryTextAndIdLookups) {
    PmDBUtil db;
    std::string text = "untouched";
    std::int32_t id = 99;
    EXPECT_THROW(db.GetCategoryText(0, text), CxAssertionError);
    EXPECT_THROW(db.GetCategoryId("x", id, true), CxAssertionError);

    db.SetCatMgr(std::make_unique<PmCategoryMgr>());
    PmCategoryMgr& cats = *db.GetCatMgr();
    ASSERT_TRUE(cats.AddUnfiled());
    EXPECT_TRUE(db.GetCategoryId("Business", id, true) && id == 1);
    EXPECT_FALSE(db.GetCategoryText(7, text));
    EXPECT_EQ(text, "untouched");
    EXPECT_TRUE(db.GetCategoryText(1, text) && text == "Business");
    EXPECT_TRUE(db.GetCategoryId("", id, true) && id == 0);
    EXPECT_TRUE(db.GetCategoryId("BUSINESS", id, true) && id == 1);
    EXPECT_FALSE(db.GetCategoryId("Private", id, false));
    EXPECT_EQ(id, 0);
    EXPECT_EQ(cats.GetCount(), 2);
    for (int call = 0; call < 2; ++call) {  // cut to 15 characters, added once
        EXPECT_TRUE(db.GetCategoryId("A twenty char name!!", id, true) && id == 2);
        EXPECT_EQ(cats.GetCount(), 3);
    }
    EXPECT_EQ(cats.GetAt(2)->GetName(), "A twenty char n");

    for (int i = cats.GetCount(); i < PmCategoryMgr::kSlotCount; ++i) {
        EXPECT_TRUE(db.GetCategoryId("Cat" + std::to_string(i), id, true));
    }
    EXPECT_FALSE(db.GetCategoryId("Seventeenth", id, true));
    EXPECT_EQ(id, -1);
    EXPECT_EQ(cats.GetCount(), 16);
}

}  // namespace tabrel
