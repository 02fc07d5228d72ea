#include "engine/FieldSelection.h"

#include <charconv>
#include <system_error>
#include <utility>

#include "misc/CxAssert.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxText.h"
#include "palm/unified/PmInfoConvert.h"

namespace tabrel {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// The first catalogue row whose name equals name in any letter case.
const FieldDescriptor* FindRowByName(std::span<const FieldDescriptor> catalogue,
                                     std::string_view name) {
    for (const FieldDescriptor& row : catalogue) {
        if (EqualsNoCase(row.m_szName, name)) {
            return &row;
        }
    }
    return nullptr;
}

// Whether the catalogue holds this very catalogue field (identifier, kind and name).
bool CatalogueHolds(std::span<const FieldDescriptor> catalogue, const FieldDescriptor& field) {
    for (const FieldDescriptor& row : catalogue) {
        if (row.m_nId == field.m_nId && row.m_nKind == field.m_nKind &&
            row.m_szName == field.m_szName) {
            return true;
        }
    }
    return false;
}

// A decimal 32-bit integer that is the whole text: an optional sign and at least one digit.
std::optional<std::int32_t> StrictInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

FieldDescriptor CustomField(std::string_view name) {
    FieldDescriptor field;
    field.m_nId = CustomFieldId;
    field.m_szName = CutText(name, FieldDescriptor::kNameMax);
    return field;
}

constexpr std::string_view kTextPrefix = "text:";
constexpr std::string_view kSeqPrefix = "seq:";
constexpr std::string_view kFieldPrefix = "field:";

// A sequence number column is described as a 32-bit integer of up to 11 characters.
constexpr std::int32_t kSequenceLength = 11;

// One custom entry of a field list (entry starts with one of the prefixes); false with
// error set when it is malformed.
bool ParseCustomEntry(std::string_view entry, std::span<const FieldDescriptor> catalogue,
                      FieldDescriptor& field, std::string& error) {
    const std::string bad = "Bad custom field: " + std::string(Trim(entry));
    std::string_view prefix;
    for (std::string_view candidate : {kTextPrefix, kSeqPrefix, kFieldPrefix}) {
        if (StartsWithNoCase(entry, candidate)) {
            prefix = candidate;
        }
    }
    const std::string_view rest = entry.substr(prefix.size());
    const std::size_t equals = rest.find('=');
    if (equals == std::string_view::npos) {
        error = bad;
        return false;
    }
    const std::string_view name = Trim(rest.substr(0, equals));
    const std::string_view value = rest.substr(equals + 1);
    if (name.empty()) {
        error = bad;
        return false;
    }
    field = CustomField(name);
    if (prefix == kTextPrefix) {
        field.m_nType = FieldTypeString;
        field.m_nLength = static_cast<std::int32_t>(FieldDescriptor::kFixedTextMax);
        field.m_nValueSource = ValueSourceFixedText;
        field.m_szFixedText = CutText(value, FieldDescriptor::kFixedTextMax);
        return true;
    }
    if (prefix == kSeqPrefix) {
        const std::optional<std::int32_t> start = StrictInteger(Trim(value));
        if (!start) {
            error = bad;
            return false;
        }
        field.m_nType = FieldTypeInteger;
        field.m_nLength = kSequenceLength;
        field.m_nValueSource = ValueSourceSequence;
        field.m_nSourceIdOrStart = *start;
        return true;
    }
    const std::string_view sourceName = Trim(value);
    const FieldDescriptor* source = FindRowByName(catalogue, sourceName);
    if (source == nullptr) {
        error =
            sourceName.empty() ? bad : bad + " (unknown field: " + std::string(sourceName) + ")";
        return false;
    }
    field.m_nType = source->m_nType;
    field.m_nLength = source->m_nLength;
    field.m_nValueSource = ValueSourceRecordField;
    field.m_nSourceIdOrStart = source->m_nId;
    field.m_nSourceKind = source->m_nKind;
    return true;
}

}  // namespace

// --- Field type names --------------------------------------------------------------------

std::string_view FieldTypeName(std::int32_t code) {
    if (code < 0 || static_cast<std::size_t>(code) >= kFieldTypeNames.size()) {
        return {};
    }
    return kFieldTypeNames[static_cast<std::size_t>(code)];
}

// --- The catalogue -----------------------------------------------------------------------

std::optional<std::size_t> FindCatalogueRow(std::span<const FieldDescriptor> catalogue,
                                            std::int32_t id, std::int32_t kind) {
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].m_nId == id && catalogue[i].m_nKind == kind) {
            return i;
        }
    }
    return std::nullopt;
}

// --- Custom fields and their properties --------------------------------------------------

FieldDescriptor NewCustomField() {
    FieldDescriptor field = CustomField("Custom Field");
    field.m_nType = kNewCustomType;
    field.m_nLength = kNewCustomLength;
    field.m_nValueSource = ValueSourceFixedText;
    field.m_szFixedText = "Custom Text";
    return field;
}

FieldProperties GetFieldProperties(const FieldDescriptor& field,
                                   std::span<const FieldDescriptor> catalogue) {
    FieldProperties properties;
    properties.m_bEditable = field.IsCustom();
    properties.m_szName = field.m_szName;
    if (!FieldTypeName(field.m_nType).empty()) {
        properties.m_nType = field.m_nType;
    }
    properties.m_szLength = std::to_string(field.m_nLength);
    if (!field.IsCustom()) {
        properties.m_nValueSource = ValueSourceRecordField;
        properties.m_nSourceRow = FindCatalogueRow(catalogue, field.m_nId, field.m_nKind);
        return properties;
    }
    properties.m_nValueSource = field.m_nValueSource;
    switch (field.m_nValueSource) {
        case ValueSourceRecordField:
            properties.m_nSourceRow =
                FindCatalogueRow(catalogue, field.m_nSourceIdOrStart, field.m_nSourceKind);
            break;
        case ValueSourceSequence:
            properties.m_szNumber = std::to_string(field.m_nSourceIdOrStart);
            break;
        case ValueSourceFixedText:
            properties.m_szString = field.m_szFixedText;
            break;
        default:
            break;
    }
    return properties;
}

bool SetFieldProperties(FieldDescriptor& field, const FieldProperties& properties,
                        std::span<const FieldDescriptor> catalogue) {
    if (!field.IsCustom()) {
        return false;
    }
    field.m_szName = CutText(properties.m_szName, FieldDescriptor::kNameMax);
    if (properties.m_nType) {
        field.m_nType = *properties.m_nType;
    }
    field.m_nLength = PmTextInteger(properties.m_szLength);
    switch (properties.m_nValueSource) {
        case ValueSourceRecordField:
            // Without a chosen row there is no field to take the value from: the earlier
            // source stays rather than pointing at whatever the stale numbers name.
            if (properties.m_nSourceRow && *properties.m_nSourceRow < catalogue.size()) {
                const FieldDescriptor& row = catalogue[*properties.m_nSourceRow];
                field.m_nValueSource = ValueSourceRecordField;
                field.m_nSourceIdOrStart = row.m_nId;
                field.m_nSourceKind = row.m_nKind;
            }
            break;
        case ValueSourceSequence:
            field.m_nValueSource = ValueSourceSequence;
            field.m_nSourceIdOrStart = PmTextInteger(properties.m_szNumber);
            break;
        case ValueSourceFixedText:
            field.m_nValueSource = ValueSourceFixedText;
            field.m_szFixedText = CutText(properties.m_szString, FieldDescriptor::kFixedTextMax);
            break;
        default:
            break;
    }
    return true;
}

// --- FieldList ---------------------------------------------------------------------------

const FieldEntry* FieldList::GetAt(std::size_t i) const {
    return i < m_entries.size() ? &m_entries[i] : nullptr;
}

std::vector<FieldDescriptor> FieldList::GetFields() const {
    std::vector<FieldDescriptor> fields;
    fields.reserve(m_entries.size());
    for (const FieldEntry& entry : m_entries) {
        fields.push_back(entry.m_field);
    }
    return fields;
}

const FieldEntry* FieldList::GetCurrentEntry() const {
    return m_nCurrent ? GetAt(*m_nCurrent) : nullptr;
}

bool FieldList::SetCurrent(std::size_t i) {
    if (i >= m_entries.size()) {
        return false;
    }
    m_nCurrent = i;
    return true;
}

bool FieldList::SetTicked(std::size_t i, bool ticked) {
    if (i >= m_entries.size()) {
        return false;
    }
    m_entries[i].m_bTicked = ticked;
    return true;
}

void FieldList::TickAll(bool ticked) {
    for (FieldEntry& entry : m_entries) {
        entry.m_bTicked = ticked;
    }
}

void FieldList::Clear() {
    m_entries.clear();
    m_nCurrent.reset();
}

void FieldList::Append(const FieldDescriptor& field) {
    m_entries.push_back(FieldEntry{field, field.m_szName, false});
}

template <class Predicate>
std::vector<FieldEntry> FieldList::TakeIf(Predicate take) {
    std::vector<FieldEntry> taken;
    std::vector<FieldEntry> kept;
    std::optional<std::size_t> current;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (take(m_entries[i])) {
            taken.push_back(std::move(m_entries[i]));
        } else {
            if (m_nCurrent == i) {
                current = kept.size();
            }
            kept.push_back(std::move(m_entries[i]));
        }
    }
    m_entries = std::move(kept);
    m_nCurrent = current;
    return taken;
}

bool FieldList::RemoveAt(std::size_t i) {
    if (i >= m_entries.size()) {
        return false;
    }
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
    if (m_nCurrent == i) {
        m_nCurrent.reset();
    } else if (m_nCurrent && *m_nCurrent > i) {
        --*m_nCurrent;
    }
    return true;
}

void FieldList::Swap(std::size_t i, std::size_t j) {
    CX_ASSERT(i < m_entries.size() && j < m_entries.size(), "i<nCount && j<nCount");
    std::swap(m_entries[i], m_entries[j]);
    if (m_nCurrent == i) {
        m_nCurrent = j;
    } else if (m_nCurrent == j) {
        m_nCurrent = i;
    }
}

// --- FieldSelection ----------------------------------------------------------------------

void FieldSelection::Fill(std::span<const FieldDescriptor> catalogue,
                          std::span<const FieldDescriptor> selected) {
    m_catalogue.assign(catalogue.begin(), catalogue.end());
    m_available.Clear();
    m_selected.Clear();
    for (const FieldDescriptor& row : m_catalogue) {
        m_available.Append(row);
    }
    for (const FieldDescriptor& field : selected) {
        if (!field.IsCustom() && !CatalogueHolds(m_catalogue, field)) {
            CX_LOG(kLogProgress,
                   "Selected field \"%s\" (%d/%d) is not in the field catalogue, left out.",
                   field.m_szName.c_str(), field.m_nId, field.m_nKind);
            continue;
        }
        m_selected.Append(field);
    }
    for (const FieldEntry& chosen : m_selected.GetEntries()) {
        if (chosen.m_field.IsCustom()) {
            continue;
        }
        const std::span<const FieldEntry> entries = m_available.GetEntries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].m_field.m_nId == chosen.m_field.m_nId &&
                entries[i].m_field.m_nKind == chosen.m_field.m_nKind) {
                m_available.RemoveAt(i);
                break;
            }
        }
    }
    if (!m_available.IsEmpty()) {
        m_available.SetCurrent(0);
    }
    if (!m_selected.IsEmpty()) {
        m_selected.SetCurrent(0);
    }
}

void FieldSelection::Select() {
    for (FieldEntry& entry :
         m_available.TakeIf([](const FieldEntry& candidate) { return candidate.m_bTicked; })) {
        m_selected.Append(entry.m_field);
    }
}

void FieldSelection::Unselect() {
    for (FieldEntry& entry : m_selected.TakeIf([](const FieldEntry& candidate) {
             return candidate.m_bTicked && !candidate.m_field.IsCustom();
         })) {
        m_available.Append(entry.m_field);
    }
}

bool FieldSelection::MoveUp() {
    const std::optional<std::size_t> current = m_selected.GetCurrent();
    if (!current || *current == 0 || *current >= m_selected.GetCount()) {
        return false;
    }
    m_selected.Swap(*current, *current - 1);
    return true;
}

bool FieldSelection::MoveDown() {
    const std::optional<std::size_t> current = m_selected.GetCurrent();
    if (!current || *current + 1 >= m_selected.GetCount()) {
        return false;
    }
    m_selected.Swap(*current, *current + 1);
    return true;
}

bool FieldSelection::InsertCustom(const FieldDescriptor& field) {
    if (!field.IsCustom()) {
        return false;
    }
    m_selected.Append(field);
    return true;
}

bool FieldSelection::Delete() {
    const FieldEntry* current = m_selected.GetCurrentEntry();
    if (current == nullptr || !current->m_field.IsCustom()) {
        return false;
    }
    return m_selected.RemoveAt(*m_selected.GetCurrent());
}

FieldButtonStates FieldSelection::GetButtonStates() const {
    FieldButtonStates states;
    const FieldEntry* current = m_selected.GetCurrentEntry();
    if (current == nullptr) {
        return states;
    }
    const std::size_t position = *m_selected.GetCurrent();
    states.m_bProperties = true;
    states.m_bDelete = current->m_field.IsCustom();
    states.m_bMoveUp = position > 0;
    states.m_bMoveDown = position + 1 < m_selected.GetCount();
    return states;
}

std::optional<FieldProperties> FieldSelection::GetProperties(std::size_t i) const {
    const FieldEntry* entry = m_selected.GetAt(i);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return GetFieldProperties(entry->m_field, m_catalogue);
}

bool FieldSelection::SetProperties(std::size_t i, const FieldProperties& properties) {
    if (i >= m_selected.GetCount()) {
        return false;
    }
    FieldEntry& entry = m_selected.m_entries[i];
    if (!SetFieldProperties(entry.m_field, properties, m_catalogue)) {
        return false;
    }
    entry.m_szCaption = entry.m_field.m_szName;
    return true;
}

std::optional<UserMessage> FieldSelection::Commit(std::vector<FieldDescriptor>& fields) const {
    if (m_selected.IsEmpty()) {
        return UserMessage{std::string(kNoFieldSelectedCaption), std::string(kNoFieldSelectedText)};
    }
    // The copies are complete before the earlier list is given up.
    std::vector<FieldDescriptor> copies = m_selected.GetFields();
    fields = std::move(copies);
    return std::nullopt;
}

// --- The command-line field list ---------------------------------------------------------

std::vector<FieldDescriptor> DefaultFieldList(std::span<const FieldDescriptor> catalogue) {
    return std::vector<FieldDescriptor>(catalogue.begin(), catalogue.end());
}

bool ParseFieldList(std::string_view text, std::span<const FieldDescriptor> catalogue,
                    std::vector<FieldDescriptor>& fields, std::string& error) {
    if (Trim(text).empty()) {
        error = "The field list is empty.";
        return false;
    }
    std::vector<FieldDescriptor> parsed;
    std::size_t position = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        ++position;

        const std::string_view entry = Trim(raw);
        if (entry.empty()) {
            error = "Empty entry " + std::to_string(position) + " in the field list.";
            return false;
        }
        if (const FieldDescriptor* row = FindRowByName(catalogue, entry)) {
            parsed.push_back(*row);
            continue;
        }
        const std::string_view lead = TrimLeft(raw);
        if (StartsWithNoCase(lead, kTextPrefix) || StartsWithNoCase(lead, kSeqPrefix) ||
            StartsWithNoCase(lead, kFieldPrefix)) {
            FieldDescriptor custom;
            if (!ParseCustomEntry(lead, catalogue, custom, error)) {
                return false;
            }
            parsed.push_back(std::move(custom));
            continue;
        }
        error = "Unknown field: " + std::string(entry);
        return false;
    }
    fields = std::move(parsed);
    return true;
}

}  // namespace tabrel
