#pragma once
// FieldSelection: the model behind the field page, where the user picks and orders the CSV
// columns. Two lists of entries (a descriptor, a caption and a tick, with one current entry
// per list): the Available list holds the catalogue fields not chosen, the Selected list the
// chosen fields in column order, catalogue fields and custom fields mixed. Commit turns the
// Selected list into the job's selected-field list.
//
// Also here: the properties of a descriptor as the field properties dialog shows and edits
// them, the names of the field type codes, and the field list of the command-line tool
// ("--fields").

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "misc/UserMessage.h"
#include "palm/unified/FieldDescriptor.h"

namespace tabrel {

// --- Field type names --------------------------------------------------------------------

// The names of the type box, in code order (codes 0 to 8).
inline constexpr std::array<std::string_view, 9> kFieldTypeNames = {
    "None",   "Integer", "Float",   "DateTime",    "Alpha",
    "String", "Boolean", "BitFlag", "Repeat Event"};

// The name of a field type code; the empty text for a code the type box does not offer.
std::string_view FieldTypeName(std::int32_t code);

// --- The catalogue -----------------------------------------------------------------------

// The catalogue of a facade's loaded generation (GetFieldCount, GetFieldAt), in its order.
template <class Facade>
std::vector<FieldDescriptor> CatalogueOf(const Facade& facade) {
    std::vector<FieldDescriptor> rows;
    const std::size_t count = facade.GetFieldCount();
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (std::optional<FieldDescriptor> row = facade.GetFieldAt(i)) {
            rows.push_back(std::move(*row));
        }
    }
    return rows;
}

// The position of the catalogue row with the identifier and kind of id/kind; none when the
// catalogue has no such row.
std::optional<std::size_t> FindCatalogueRow(std::span<const FieldDescriptor> catalogue,
                                            std::int32_t id, std::int32_t kind);

// --- Custom fields and their properties --------------------------------------------------

// The type and length a new custom field starts with: a text of up to the fixed text's width.
inline constexpr std::int32_t kNewCustomType = FieldTypeString;
inline constexpr std::int32_t kNewCustomLength =
    static_cast<std::int32_t>(FieldDescriptor::kFixedTextMax);

// A new custom field as the Insert command makes it: identifier CustomFieldId, name "Custom
// Field", a fixed text "Custom Text", type kNewCustomType and length kNewCustomLength.
FieldDescriptor NewCustomField();

// The content of the field properties dialog: what it shows for a descriptor
// (GetFieldProperties) and what OK stores into a custom one (SetFieldProperties).
struct FieldProperties {
    bool m_bEditable = false;             // a custom field: name, type, length, value
    std::string m_szName;                 // the name box
    std::optional<std::int32_t> m_nType;  // the code chosen in the type box; none chosen
    std::string m_szLength;               // the length box
    std::int32_t m_nValueSource = ValueSourceRecordField;  // the value option ticked (1 to 3)
    std::optional<std::size_t> m_nSourceRow;  // the catalogue row chosen in the field box
    std::string m_szNumber;                   // the start number box
    std::string m_szString;                   // the fixed string box
};

// The dialog's content for a descriptor. A custom field shows its own value source (a record
// field with its source row, a sequence with its start, a fixed text); a catalogue field
// shows the record-field option with its own row chosen, not editable. The type box has no
// choice for a code outside 0 to 8.
FieldProperties GetFieldProperties(const FieldDescriptor& field,
                                   std::span<const FieldDescriptor> catalogue);

// Stores the dialog's content into a custom field: the name (at most 63 characters), the
// chosen type (kept when none is chosen), the length (the decimal value of its text), and by
// the value option: 1 the identifier and kind of the chosen catalogue row, 2 the decimal
// value of the start text (0 for an empty one), 3 the fixed text (at most 63 characters).
// A value option that names no valid source (option 1 without a chosen row, or an unknown
// option) leaves the value source and its values as they were. A catalogue field is never
// changed: false.
bool SetFieldProperties(FieldDescriptor& field, const FieldProperties& properties,
                        std::span<const FieldDescriptor> catalogue);

// --- The two lists -----------------------------------------------------------------------

struct FieldEntry {
    FieldDescriptor m_field;
    std::string m_szCaption;
    bool m_bTicked = false;
};

// One list of the field page: its entries in order and its current entry.
class FieldList {
  public:
    std::size_t GetCount() const { return m_entries.size(); }
    bool IsEmpty() const { return m_entries.empty(); }
    // The entry at position i; nullptr past the end.
    const FieldEntry* GetAt(std::size_t i) const;
    std::span<const FieldEntry> GetEntries() const { return m_entries; }
    // Copies of the entries' descriptors, in list order.
    std::vector<FieldDescriptor> GetFields() const;

    // The current entry; none for an empty list or when no entry is chosen.
    std::optional<std::size_t> GetCurrent() const { return m_nCurrent; }
    const FieldEntry* GetCurrentEntry() const;
    // Makes the entry at position i current; false (nothing changed) past the end.
    bool SetCurrent(std::size_t i);
    void ClearCurrent() { m_nCurrent.reset(); }

    // Ticks or unticks one entry; false past the end.
    bool SetTicked(std::size_t i, bool ticked);
    // Ticks or unticks every entry (Select All, Clear All).
    void TickAll(bool ticked);

  private:
    friend class FieldSelection;

    void Clear();
    // Appends a descriptor, unticked, with its name as caption.
    void Append(const FieldDescriptor& field);
    // Removes and answers the entries for which take answers true, in list order; the
    // current entry stays current when it is kept and is no longer chosen when it is taken.
    template <class Predicate>
    std::vector<FieldEntry> TakeIf(Predicate take);
    bool RemoveAt(std::size_t i);
    // Swaps the entries at i and j (both below the count); the current entry follows its
    // entry.
    void Swap(std::size_t i, std::size_t j);

    std::vector<FieldEntry> m_entries;
    std::optional<std::size_t> m_nCurrent;
};

// What the buttons of the field page that act on the current Selected entry may do.
struct FieldButtonStates {
    bool m_bDelete = false;      // a custom field is current
    bool m_bMoveUp = false;      // the current entry is not the first
    bool m_bMoveDown = false;    // the current entry is not the last
    bool m_bProperties = false;  // an entry is current
};

class FieldSelection {
  public:
    // Rebuilds both lists: the Available list from the catalogue (caption: the name), the
    // Selected list from the job's selected fields in their order, and for every selected
    // catalogue field the first Available entry of the same identifier and kind is removed.
    // A selected catalogue field that the catalogue has no row for (same identifier, kind and
    // name: a list left from another application or generation) is left out. The first entry
    // of each list becomes current; nothing is ticked. The catalogue is kept for the
    // properties dialog.
    void Fill(std::span<const FieldDescriptor> catalogue,
              std::span<const FieldDescriptor> selected);

    const FieldList& GetAvailable() const { return m_available; }
    FieldList& GetAvailable() { return m_available; }
    const FieldList& GetSelected() const { return m_selected; }
    FieldList& GetSelected() { return m_selected; }
    std::span<const FieldDescriptor> GetCatalogue() const { return m_catalogue; }

    // Moves every ticked Available entry, in list order, to the end of the Selected list.
    void Select();
    // Moves every ticked Selected catalogue field to the end of the Available list with its
    // name as caption; ticked custom fields stay where they are, still ticked.
    void Unselect();

    // Swaps the current Selected entry with its neighbour, keeping its tick; it stays
    // current. False with no current entry or none to swap with.
    bool MoveUp();
    bool MoveDown();

    // Appends a custom field (as the properties dialog left it) to the Selected list,
    // unticked, with its name as caption; false for a catalogue field.
    bool InsertCustom(const FieldDescriptor& field);
    // Removes the current Selected entry when it is a custom field; afterwards no entry is
    // current. False (nothing changed) otherwise.
    bool Delete();

    FieldButtonStates GetButtonStates() const;

    // The dialog's content for the Selected entry at position i; none past the end.
    std::optional<FieldProperties> GetProperties(std::size_t i) const;
    // Stores the dialog's content into the Selected entry at position i (a custom field
    // only) and takes its new name as the caption; false for a catalogue field or past the
    // end.
    bool SetProperties(std::size_t i, const FieldProperties& properties);

    // Leaving the page: with an empty Selected list the refusal to show, fields untouched;
    // otherwise fields becomes the copies of the Selected descriptors, in order.
    std::optional<UserMessage> Commit(std::vector<FieldDescriptor>& fields) const;

  private:
    std::vector<FieldDescriptor> m_catalogue;
    FieldList m_available;
    FieldList m_selected;
};

// The refusal of Commit.
inline constexpr std::string_view kNoFieldSelectedCaption = "Tabrel Error";
inline constexpr std::string_view kNoFieldSelectedText =
    "No record field is selected, you must select one or more fields for the conversion.";

// --- The command-line field list ---------------------------------------------------------

// Every catalogue field, in catalogue order.
std::vector<FieldDescriptor> DefaultFieldList(std::span<const FieldDescriptor> catalogue);

// The columns of a "--fields" text: entries separated by ",", each either a catalogue field
// name (in any letter case) or a custom field:
//   text:NAME=VALUE    a fixed text (VALUE may be empty; at most 63 characters kept)
//   seq:NAME=START     a sequence number starting at START (a decimal 32-bit integer)
//   field:NAME=SOURCE  the value of the catalogue field named SOURCE
// Blanks around an entry, a NAME, a START and a SOURCE are ignored; a VALUE is kept as
// written. A NAME keeps at most 63 characters and must not be empty. False, with error
// naming the bad entry and fields untouched, for an unknown field, a malformed custom field,
// an empty entry or an empty list.
bool ParseFieldList(std::string_view text, std::span<const FieldDescriptor> catalogue,
                    std::vector<FieldDescriptor>& fields, std::string& error);

}  // namespace tabrel
