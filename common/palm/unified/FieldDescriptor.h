#pragma once
// FieldDescriptor: one CSV column, either a field of an application's catalogue (the
// facades' constant tables) or a custom field made on the field page.

#include <cstdint>
#include <string>

namespace tabrel {

// The identifier of every custom field.
inline constexpr std::int32_t CustomFieldId = 256;

// Field type codes, in the order of the field properties dialog's type box.
enum FieldType : std::int32_t {
    FieldTypeNone = 0,
    FieldTypeInteger = 1,
    FieldTypeFloat = 2,
    FieldTypeDateTime = 3,
    FieldTypeAlpha = 4,
    FieldTypeString = 5,
    FieldTypeBoolean = 6,
};

// Where a custom field's value comes from; 0 in catalogue rows.
enum ValueSource : std::int32_t {
    ValueSourceNone = 0,
    ValueSourceRecordField = 1,
    ValueSourceSequence = 2,
    ValueSourceFixedText = 3,
};

struct FieldDescriptor {
    static constexpr std::size_t kNameMax = 63;       // characters of the name
    static constexpr std::size_t kFixedTextMax = 63;  // characters of the fixed text

    std::int32_t m_nId = 0;      // catalogue identifier, or CustomFieldId
    std::int32_t m_nKind = 0;    // Contacts: 1 to 8 for a phone row, else 0
    std::string m_szName;        // the column title
    std::int32_t m_nType = 0;    // a FieldType
    std::int32_t m_nLength = 0;  // the most characters the field holds; 0 for no limit
    std::int32_t m_nValueSource = ValueSourceNone;
    std::int32_t m_nSourceKind = 0;       // record-field source: the source row's kind
    std::int32_t m_nSourceIdOrStart = 0;  // record-field source: its identifier; sequence: start
    std::string m_szFixedText;            // fixed-text source: the text written

    bool IsCustom() const { return m_nId == CustomFieldId; }
    bool operator==(const FieldDescriptor&) const = default;
};

}  // namespace tabrel
