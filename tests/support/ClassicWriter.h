#pragma once
// ClassicWriter: builds classic .dat files (Palm Desktop 4.1 and earlier) byte by byte for
// the tests, independent of the code under test. A ClassicFile holds every part of the
// layout with an application's defaults (ClassicTodoFile, ClassicMemoFile); Build() lays it
// out. Records are built field by field with ClassicFields (the typed-field writer the
// "PalmSG Database" tests use too: the field encoding is the same).
//
//   part                    bytes
//   version                 u32
//   database file name      counted string
//   label text              counted string
//   categories              u32 next feed ID, u32 count, entries
//   schema                  5 x u32, u16 field count, u16 codes
//   records                 u32 total field count, records, trailing bytes

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel::test {

using ClassicFields = PalmSgFields;

// A whole file. Optional counts default to what the parts hold.
struct ClassicFile {
    std::uint32_t version = 0;
    std::string databaseName;
    std::string labelText;
    std::uint32_t nextFeedId = 128;
    std::optional<std::uint32_t> categoryCount;
    std::vector<PalmSgCategoryEntry> categories;
    std::uint32_t resourceId = 0;
    std::uint32_t fieldsPerRow = 0;
    std::uint32_t recordIdPosition = 0;
    std::uint32_t statusPosition = 1;
    std::uint32_t placementPosition = 2;
    std::optional<std::uint16_t> fieldCount;
    std::vector<std::uint16_t> fieldCodes;
    std::optional<std::uint32_t> totalFields;
    std::vector<Bytes> records;
    Bytes trailing;

    // Everything before the total field count.
    Bytes Head() const {
        ByteWriter out;
        out.U32(version).Raw(CountedString(databaseName)).Raw(CountedString(labelText));
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

// Fields 0 to 2 of every record.
struct ClassicHeader {
    std::uint32_t id = 0;
    std::uint32_t status = 0;
    std::uint32_t placement = 0;
};

inline ClassicFields ClassicHeaderFields(const ClassicHeader& header) {
    ClassicFields fields;
    fields.Integer(header.id).Integer(header.status).Integer(header.placement);
    return fields;
}

// --- Tasks --------------------------------------------------------------------------------

inline const std::vector<std::uint16_t>& ClassicTodoCodes() {
    static const std::vector<std::uint16_t> codes{1, 1, 1, 5, 3, 6, 1, 6, 1, 5};
    return codes;
}

// A todo.dat without categories or records.
inline ClassicFile ClassicTodoFile() {
    ClassicFile file;
    file.version = 0x54440100;
    file.databaseName = "C:\\Palm\\SmithJ\\todo\\todo.dat";
    file.labelText = "todo labels";
    file.resourceId = 44;
    file.fieldsPerRow = 10;
    file.fieldCodes = ClassicTodoCodes();
    return file;
}

// Fields 3 to 9 of a task, written under the codes Palm Desktop uses.
struct ClassicTodo {
    std::string description{};
    std::uint32_t dueDate = 0;
    std::uint32_t completed = 0;
    std::uint32_t priority = 0;
    std::uint32_t isPrivate = 0;
    std::uint32_t category = 0;
    std::string note{};
};

inline Bytes ClassicTodoRecord(const ClassicHeader& header, const ClassicTodo& todo) {
    ClassicFields fields = ClassicHeaderFields(header);
    fields.Text(todo.description)
        .Date(todo.dueDate)
        .Boolean(todo.completed)
        .Integer(todo.priority)
        .Boolean(todo.isPrivate)
        .Integer(todo.category)
        .Text(todo.note);
    return fields.Get();
}

// --- Memos --------------------------------------------------------------------------------

inline const std::vector<std::uint16_t>& ClassicMemoCodes() {
    static const std::vector<std::uint16_t> codes{1, 1, 1, 5, 6, 1};
    return codes;
}

// A memopad.dat without categories or records.
inline ClassicFile ClassicMemoFile() {
    ClassicFile file;
    file.version = 0x4D500100;
    file.databaseName = "C:\\Palm\\SmithJ\\memopad\\memopad.dat";
    file.labelText = "memo labels";
    file.resourceId = 64;
    file.fieldsPerRow = 6;
    file.fieldCodes = ClassicMemoCodes();
    return file;
}

// A memo written under the codes Palm Desktop uses.
inline Bytes ClassicMemoRecord(const ClassicHeader& header, std::string_view memo,
                               std::uint32_t isPrivate = 0, std::uint32_t category = 0) {
    ClassicFields fields = ClassicHeaderFields(header);
    fields.Text(memo).Boolean(isPrivate).Integer(category);
    return fields.Get();
}

}  // namespace tabrel::test

namespace tabrel::test {

// --- Contacts -----------------------------------------------------------------------------

// Fields 0 to 29: header, names and company, five phone slots (label, text), address,
// note, private flag, category, four custom fields and a value.
inline const std::vector<std::uint16_t>& ClassicAddressCodes() {
    static const std::vector<std::uint16_t> codes{1, 1, 1, 5, 5, 5, 5, 1, 5, 1, 5, 1, 5, 1, 5,
                                                  1, 5, 5, 5, 5, 5, 5, 5, 6, 1, 5, 5, 5, 5, 1};
    return codes;
}

// An address.dat without custom labels, categories or records.
inline ClassicFile ClassicAddressFile() {
    ClassicFile file;
    file.version = 0x41420100;
    file.databaseName = "C:\\Palm\\SmithJ\\address\\address.dat";
    file.resourceId = 74;
    file.fieldsPerRow = 30;
    file.fieldCodes = ClassicAddressCodes();
    return file;
}

// A contact with fields 3 and up written under the codes codes lists for them (a value
// for 1, 3 and 6, a text for 5).
inline Bytes ClassicAddressRecord(const ClassicHeader& header, const PalmSgValues& values,
                                  const std::vector<std::uint16_t>& codes = ClassicAddressCodes()) {
    ClassicFields fields = ClassicHeaderFields(header);
    return AppendByCodes(fields, codes, 3, values).Get();
}

// --- Calendar -----------------------------------------------------------------------------

// Fields 0 to 14: header, start and end time (Palm Desktop lists code 1 for the end time),
// description, a value, note, untimed and private flags, category, alarm on, advance and
// unit, repeat event.
inline const std::vector<std::uint16_t>& ClassicDateBookCodes() {
    static const std::vector<std::uint16_t> codes{1, 1, 1, 3, 1, 5, 1, 5, 6, 6, 1, 6, 1, 1, 8};
    return codes;
}

// A datebook.dat without categories or records.
inline ClassicFile ClassicDateBookFile() {
    ClassicFile file;
    file.version = 0x44420100;
    file.databaseName = "C:\\Palm\\SmithJ\\datebook\\datebook.dat";
    file.labelText = "datebook labels";
    file.resourceId = 54;
    file.fieldsPerRow = 15;
    file.fieldCodes = ClassicDateBookCodes();
    return file;
}

// An appointment with fields 3 and up written under the codes codes lists for them, and
// repeat (a whole repeat-event field, see RepeatField) where codes lists 8.
inline Bytes ClassicDateBookRecord(
    const ClassicHeader& header, const PalmSgValues& values, const Bytes& repeat = RepeatField({}),
    const std::vector<std::uint16_t>& codes = ClassicDateBookCodes()) {
    ClassicFields fields = ClassicHeaderFields(header);
    return AppendWithRepeat(fields, codes, 3, values, repeat).Get();
}

}  // namespace tabrel::test
