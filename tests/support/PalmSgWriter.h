#pragma once
// PalmSgWriter: builds "PalmSG Database" .dat files byte by byte for the tests, independent
// of the code under test. A PalmSgFile holds every part of the layout with an
// application's defaults (MemoPadFile, AddressFile); Build() lays it out. Records are built
// field by field with PalmSgFields.
//
//   part                    bytes
//   magic                   5-byte prefix + 19-byte text
//   version                 u32
//   reserved block 1        24
//   database file name      counted string
//   reserved block 2        11 (Contacts) or 43
//   custom labels           Contacts only: 9 x (counted string, u32), reserved block 3 (42)
//   categories              u32 next feed ID, u32 count, entries
//   schema                  5 x u32, u16 field count, u16 codes
//   records                 u32 total field count, records, trailing bytes

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/TestSupport.h"

namespace tabrel::test {

// A counted string: one length byte below 255, else FF and a 16-bit length; then the text.
inline Bytes CountedString(std::string_view text) {
    ByteWriter out;
    if (text.size() < 255) {
        out.U8(static_cast<std::uint8_t>(text.size()));
    } else {
        out.U8(0xFF).U16(static_cast<std::uint16_t>(text.size()));
    }
    return out.Text(text).Get();
}

// The typed fields of one record, in order.
class PalmSgFields {
  public:
    // A 4-byte value under any code (1 integer, 3 date, 6 boolean).
    PalmSgFields& Value(std::uint32_t code, std::uint32_t value) {
        m_out.U32(code).U32(value);
        return Counted();
    }
    PalmSgFields& Integer(std::uint32_t value) { return Value(1, value); }
    PalmSgFields& Date(std::uint32_t value) { return Value(3, value); }
    PalmSgFields& Boolean(std::uint32_t value) { return Value(6, value); }
    // Code 5, the word, the counted string.
    PalmSgFields& Text(std::string_view text, std::uint32_t word = 1) {
        m_out.U32(5).U32(word).Raw(CountedString(text));
        return Counted();
    }
    // A block whose size word is its data length (0, or 4 and more).
    PalmSgFields& Block(std::uint32_t code, const Bytes& data = {}) {
        m_out.U32(code).U32(static_cast<std::uint32_t>(data.size())).Raw(data);
        return Counted();
    }
    // A block with a size word of 1 to 3: two words, the data length, the data.
    PalmSgFields& WordBlock(std::uint32_t code, std::uint32_t size, std::uint32_t word1,
                            std::uint32_t word2, const Bytes& data) {
        m_out.U32(code).U32(size).U32(word1).U32(word2);
        m_out.U32(static_cast<std::uint32_t>(data.size())).Raw(data);
        return Counted();
    }
    PalmSgFields& Quad(const std::array<std::uint8_t, 8>& bytes, std::uint32_t code = 68) {
        m_out.U32(code);
        for (std::uint8_t b : bytes) {
            m_out.U8(b);
        }
        return Counted();
    }
    // Bytes of a field kind the writer has no helper for (the repeat event).
    PalmSgFields& Raw(const Bytes& bytes) {
        m_out.Raw(bytes);
        return Counted();
    }

    const Bytes& Get() const { return m_out.Get(); }
    std::size_t Count() const { return m_nCount; }

  private:
    PalmSgFields& Counted() {
        ++m_nCount;
        return *this;
    }
    ByteWriter m_out;
    std::size_t m_nCount = 0;
};

// Fields 0 to 10 of a record.
struct PalmSgHeader {
    std::uint32_t id = 0;
    std::uint32_t number = 0;
    std::uint32_t status = 0;
    std::uint32_t field3 = 0;
    std::uint32_t placement = 0;
    std::uint32_t category = 0;
    std::uint32_t isPrivate = 0;
    // Palm Desktop writes the private flag with code 6, this system's writer with code 1.
    std::uint32_t privateCode = 6;
    // Fields 7 to 10 as whole fields; empty blocks of codes 64 to 67 when not set.
    std::array<Bytes, 4> blocks{};
};

inline PalmSgFields HeaderFields(const PalmSgHeader& header) {
    PalmSgFields fields;
    fields.Integer(header.id)
        .Integer(header.number)
        .Integer(header.status)
        .Integer(header.field3)
        .Integer(header.placement)
        .Integer(header.category)
        .Value(header.privateCode, header.isPrivate);
    for (std::uint32_t i = 0; i < 4; ++i) {
        if (header.blocks[i].empty()) {
            fields.Block(64 + i);
        } else {
            fields.Raw(header.blocks[i]);
        }
    }
    return fields;
}

// Values of the fields after the header, by field index.
struct PalmSgValues {
    std::function<std::uint32_t(std::size_t)> value = [](std::size_t) { return 0u; };
    std::function<std::string(std::size_t)> text = [](std::size_t) { return std::string(); };
    std::function<std::array<std::uint8_t, 8>(std::size_t)> quad = [](std::size_t) {
        return std::array<std::uint8_t, 8>{};
    };
};

// Appends fields first to codes.size() - 1, each written under the code codes lists for it:
// a value for 1, 3 and 6, a text for 5, eight bytes for 68, an empty block for 64 to 67.
inline PalmSgFields& AppendByCodes(PalmSgFields& fields, const std::vector<std::uint16_t>& codes,
                                   std::size_t first, const PalmSgValues& values) {
    for (std::size_t i = first; i < codes.size(); ++i) {
        switch (codes[i]) {
            case 5:
                fields.Text(values.text(i));
                break;
            case 68:
                fields.Quad(values.quad(i));
                break;
            case 64:
            case 65:
            case 66:
            case 67:
                fields.Block(codes[i]);
                break;
            default:
                fields.Value(codes[i], values.value(i));
                break;
        }
    }
    return fields;
}

struct PalmSgCategoryEntry {
    std::uint32_t slot = 0;
    std::uint32_t id = 0;
    std::uint32_t dirty = 0;
    std::string name;
    std::string fileName;
};

// A whole file. Optional counts default to what the parts hold.
struct PalmSgFile {
    Bytes magicPrefix{0xBE, 0xBA, 0xFE, 0xCA, 0x0F};
    std::string magicText = "PalmSG Database00RV";
    std::uint32_t version = 0;
    Bytes reserved1 = Bytes(24, 0);
    std::string databaseName;
    Bytes reserved2;
    // Contacts only: nine labels, each followed by its word, then reserved block 3.
    std::optional<std::vector<std::string>> customLabels;
    std::vector<std::uint32_t> labelWords = std::vector<std::uint32_t>(9, 0);
    Bytes reserved3;
    std::uint32_t nextFeedId = 128;
    std::optional<std::uint32_t> categoryCount;
    std::vector<PalmSgCategoryEntry> categories;
    std::uint32_t resourceId = 0;
    std::uint32_t fieldsPerRow = 0;
    std::uint32_t recordIdPosition = 0;
    std::uint32_t statusPosition = 2;
    std::uint32_t placementPosition = 4;
    std::optional<std::uint16_t> fieldCount;
    std::vector<std::uint16_t> fieldCodes;
    std::optional<std::uint32_t> totalFields;
    std::vector<Bytes> records;
    Bytes trailing;

    // Everything before the total field count.
    Bytes Head() const {
        ByteWriter out;
        out.Raw(magicPrefix).Text(magicText).U32(version).Raw(reserved1);
        out.Raw(CountedString(databaseName)).Raw(reserved2);
        if (customLabels) {
            for (std::size_t i = 0; i < customLabels->size(); ++i) {
                out.Raw(CountedString((*customLabels)[i])).U32(labelWords.at(i));
            }
            out.Raw(reserved3);
        }
        out.U32(nextFeedId)
            .U32(categoryCount.value_or(static_cast<std::uint32_t>(categories.size())));
        for (const PalmSgCategoryEntry& c : categories) {
            out.U32(c.slot)
                .U32(c.id)
                .U32(c.dirty)
                .Raw(CountedString(c.name))
                .Raw(CountedString(c.fileName));
        }
        out.U32(resourceId)
            .U32(fieldsPerRow)
            .U32(recordIdPosition)
            .U32(statusPosition)
            .U32(placementPosition);
        out.U16(fieldCount.value_or(static_cast<std::uint16_t>(fieldCodes.size())));
        for (std::uint16_t code : fieldCodes) {
            out.U16(code);
        }
        return out.Get();
    }

    Bytes Build() const {
        ByteWriter out;
        out.Raw(Head()).U32(
            totalFields.value_or(static_cast<std::uint32_t>(records.size()) * fieldsPerRow));
        for (const Bytes& record : records) {
            out.Raw(record);
        }
        return out.Raw(trailing).Get();
    }
};

// Reserved bytes that are not all zero, so that a test sees them carried through.
inline Bytes Pattern(std::size_t size, std::uint8_t first) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(first + i * 7);
    }
    return bytes;
}

// --- Memos --------------------------------------------------------------------------------

inline const std::vector<std::uint16_t>& MemoPadCodes() {
    static const std::vector<std::uint16_t> codes{1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67, 5, 5, 5};
    return codes;
}

// A memopad.dat without categories or records, as Palm Desktop writes one.
inline PalmSgFile MemoPadFile() {
    PalmSgFile file;
    file.version = 0x4D500200;
    file.reserved1 = Pattern(24, 0x11);
    file.reserved1[12] = 0x00;
    file.reserved1[13] = 0x10;
    file.databaseName = "C:\\Program Files\\Palm\\SmithJ\\memopad\\memopad.dat";
    file.reserved2 = Pattern(43, 0x21);
    file.resourceId = 64;
    file.fieldsPerRow = 14;
    file.fieldCodes = MemoPadCodes();
    return file;
}

inline Bytes MemoRecord(const PalmSgHeader& header, std::string_view memo,
                        std::string_view text11 = {}, std::string_view text12 = {}) {
    PalmSgFields fields = HeaderFields(header);
    return fields.Text(text11).Text(text12).Text(memo).Get();
}

// --- Contacts -----------------------------------------------------------------------------

inline const std::vector<std::uint16_t>& AddressCodes() {
    static const std::vector<std::uint16_t> codes = [] {
        std::vector<std::uint16_t> c{1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67};
        c.resize(73, 5);
        for (std::size_t i : {17, 42, 48, 54, 62, 63, 67, 68}) {
            c[i] = 1;
        }
        for (std::size_t i = 26; i <= 32; ++i) {
            c[i] = 1;
        }
        c[65] = 68;
        c[66] = 6;
        return c;
    }();
    return codes;
}

// An address.dat with empty custom labels and no categories or records.
inline PalmSgFile AddressFile() {
    PalmSgFile file;
    file.version = 0x41420200;
    file.reserved1 = Pattern(24, 0x31);
    file.reserved1[12] = 0x01;
    file.reserved1[13] = 0x10;
    file.databaseName = "C:\\Program Files\\Palm\\SmithJ\\address\\address.dat";
    file.reserved2 = Pattern(11, 0x41);
    file.customLabels = std::vector<std::string>(9);
    file.reserved3 = Pattern(42, 0x51);
    file.resourceId = 74;
    file.fieldsPerRow = 73;
    file.fieldCodes = AddressCodes();
    return file;
}

// A contact with every field after the header written under its schema code.
inline Bytes AddressRecord(const PalmSgHeader& header, const PalmSgValues& values,
                           const std::vector<std::uint16_t>& codes = AddressCodes()) {
    PalmSgFields fields = HeaderFields(header);
    return AppendByCodes(fields, codes, 11, values).Get();
}

}  // namespace tabrel::test

namespace tabrel::test {

// --- Repeat events (Calendar and Tasks) ---------------------------------------------------

// A repeat-event field: code 8, u16 exception count, the dates, u16 class entry; after
// 0xFFFF the u16 schema word and the u16-counted class name; unless the entry is 0, the
// four words (kind, interval, end date, first day of week) and the kind's value bytes.
struct PalmSgRepeat {
    std::vector<std::uint32_t> exceptions;
    std::uint16_t classEntry = 0;  // 0 no repeat, 0xFFFF class name, other: a reference
    std::uint16_t schema = 1;
    std::string className;
    std::array<std::uint32_t, 4> words{};
    Bytes values;
};

inline Bytes RepeatField(const PalmSgRepeat& repeat) {
    ByteWriter out;
    out.U32(8).U16(static_cast<std::uint16_t>(repeat.exceptions.size()));
    for (std::uint32_t date : repeat.exceptions) {
        out.U32(date);
    }
    out.U16(repeat.classEntry);
    if (repeat.classEntry == 0) {
        return out.Get();
    }
    if (repeat.classEntry == 0xFFFF) {
        out.U16(repeat.schema).U16(static_cast<std::uint16_t>(repeat.className.size()));
        out.Text(repeat.className);
    }
    for (std::uint32_t word : repeat.words) {
        out.U32(word);
    }
    return out.Raw(repeat.values).Get();
}

// A repeat under its class name.
inline PalmSgRepeat NamedRepeat(std::string_view className, std::array<std::uint32_t, 4> words,
                                const Bytes& values = {}) {
    PalmSgRepeat repeat;
    repeat.classEntry = 0xFFFF;
    repeat.className = className;
    repeat.words = words;
    repeat.values = values;
    return repeat;
}

// Appends fields first to codes.size() - 1 as AppendByCodes does, with the repeat-event
// field's bytes where codes lists 8.
inline PalmSgFields& AppendWithRepeat(PalmSgFields& fields, const std::vector<std::uint16_t>& codes,
                                      std::size_t first, const PalmSgValues& values,
                                      const Bytes& repeat) {
    for (std::size_t i = first; i < codes.size(); ++i) {
        if (codes[i] == 8) {
            fields.Raw(repeat);
        } else {
            const std::vector<std::uint16_t> one(i + 1, codes[i]);
            AppendByCodes(fields, one, i, values);
        }
    }
    return fields;
}

// --- Calendar -----------------------------------------------------------------------------

inline const std::vector<std::uint16_t>& DateBookCodes() {
    static const std::vector<std::uint16_t> codes{1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67, 5, 5, 3,
                                                  3, 5, 1, 5, 6, 6, 1, 1,  8,  5,  1,  5, 5};
    return codes;
}

// A datebook.dat without categories or records.
inline PalmSgFile DateBookFile() {
    PalmSgFile file;
    file.version = 0x44420200;
    file.reserved1 = Pattern(24, 0x13);
    file.reserved1[12] = 0x00;
    file.reserved1[13] = 0x10;
    file.databaseName = "C:\\Program Files\\Palm\\SmithJ\\datebook\\datebook.dat";
    file.reserved2 = Pattern(43, 0x23);
    file.resourceId = 54;
    file.fieldsPerRow = 27;
    file.fieldCodes = DateBookCodes();
    return file;
}

// An appointment with every field after the header written under its schema code.
inline Bytes DateBookRecord(const PalmSgHeader& header, const PalmSgValues& values,
                            const Bytes& repeat = RepeatField({}),
                            const std::vector<std::uint16_t>& codes = DateBookCodes()) {
    PalmSgFields fields = HeaderFields(header);
    return AppendWithRepeat(fields, codes, 11, values, repeat).Get();
}

// --- Tasks --------------------------------------------------------------------------------

inline const std::vector<std::uint16_t>& ToDoCodes() {
    static const std::vector<std::uint16_t> codes{1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67, 5, 5,
                                                  5, 3, 6, 1, 5, 6, 3, 6,  3,  1,  3,  8};
    return codes;
}

// A todo.dat without categories or records.
inline PalmSgFile ToDoFile() {
    PalmSgFile file;
    file.version = 0x54440200;
    file.reserved1 = Pattern(24, 0x15);
    file.reserved1[12] = 0x00;
    file.reserved1[13] = 0x10;
    file.databaseName = "C:\\Program Files\\Palm\\SmithJ\\todo\\todo.dat";
    file.reserved2 = Pattern(43, 0x25);
    file.resourceId = 44;
    file.fieldsPerRow = 25;
    file.fieldCodes = ToDoCodes();
    return file;
}

// A task with every field after the header written under its schema code.
inline Bytes ToDoRecord(const PalmSgHeader& header, const PalmSgValues& values,
                        const Bytes& repeat = RepeatField({}),
                        const std::vector<std::uint16_t>& codes = ToDoCodes()) {
    PalmSgFields fields = HeaderFields(header);
    return AppendWithRepeat(fields, codes, 11, values, repeat).Get();
}

}  // namespace tabrel::test
