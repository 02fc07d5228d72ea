// The field page's model: the Available and Selected lists, custom fields and their
// properties, the commit to the job, and the command-line field list.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/FieldSelection.h"

namespace tabrel {

namespace {

using Fields = std::vector<FieldDescriptor>;

FieldDescriptor Row(std::int32_t id, std::int32_t kind, const char* name,
                    std::int32_t type = FieldTypeString, std::int32_t length = 32) {
    FieldDescriptor row;
    row.m_nId = id;
    row.m_nKind = kind;
    row.m_szName = name;
    row.m_nType = type;
    row.m_nLength = length;
    return row;
}

// The head of the classic Contacts catalogue, phone rows included.
std::vector<FieldDescriptor> ContactsCatalogue() {
    return {Row(3, 0, "Last Name"),
            Row(4, 0, "First Name"),
            Row(5, 0, "Title"),
            Row(0, 1, "Work Phone"),
            Row(0, 2, "Home Phone"),
            Row(0, 3, "Fax"),
            Row(23, 0, "Private", FieldTypeBoolean, 4)};
}

// The 6.x Calendar catalogue.
std::vector<FieldDescriptor> CalendarCatalogue() {
    return {Row(3, 0, "Private", FieldTypeBoolean, 4),
            Row(4, 0, "Category", FieldTypeString, 256),
            Row(6, 0, "Start Time", FieldTypeDateTime, 4),
            Row(7, 0, "End Time", FieldTypeDateTime, 4),
            Row(5, 0, "Note", FieldTypeString, 2048),
            Row(10, 0, "Location", FieldTypeString, 256),
            Row(11, 0, "Summary", FieldTypeString, 256),
            Row(8, 0, "Untimed", FieldTypeBoolean, 4),
            Row(15, 0, "Repeat Info", FieldTypeString, 256)};
}

std::vector<std::string> Captions(const FieldList& list) {
    std::vector<std::string> captions;
    for (const FieldEntry& entry : list.GetEntries()) {
        captions.push_back(entry.m_szCaption);
    }
    return captions;
}

std::vector<std::string> Names(const std::vector<FieldDescriptor>& fields) {
    std::vector<std::string> names;
    for (const FieldDescriptor& field : fields) {
        names.push_back(field.m_szName);
    }
    return names;
}

FieldDescriptor FixedText(const char* name, const char* text) {
    FieldDescriptor field = NewCustomField();
    field.m_szName = name;
    field.m_szFixedText = text;
    return field;
}

// A facade's catalogue operations, nothing else.
struct FakeFacade {
    std::vector<FieldDescriptor> rows;
    std::uint32_t GetFieldCount() const { return static_cast<std::uint32_t>(rows.size()); }
    std::optional<FieldDescriptor> GetFieldAt(std::size_t i) const {
        return i < rows.size() ? std::optional<FieldDescriptor>(rows[i]) : std::nullopt;
    }
};

}  // namespace

TEST(FieldSelection, TypeNamesInCodeOrder) {
    const std::vector<std::string> expected = {"None",     "Integer", "Float",
                                               "DateTime", "Alpha",   "String",
                                               "Boolean",  "BitFlag", "Repeat Event"};
    for (std::int32_t code = 0; code < 9; ++code) {
        EXPECT_EQ(FieldTypeName(code), expected[static_cast<std::size_t>(code)]);
    }
    EXPECT_EQ(FieldTypeName(-1), "");
    EXPECT_EQ(FieldTypeName(9), "");
}

TEST(FieldSelection, CatalogueOfFacadeKeepsOrder) {
    const FakeFacade facade{CalendarCatalogue()};
    EXPECT_EQ(CatalogueOf(facade), CalendarCatalogue());
    EXPECT_TRUE(CatalogueOf(FakeFacade{}).empty());
}

TEST(FieldSelection, FillListsCatalogueAndNothingTicked) {
    FieldSelection model;
    model.Fill(CalendarCatalogue(), {});
    EXPECT_EQ(model.GetAvailable().GetFields(), CalendarCatalogue());
    EXPECT_EQ(Captions(model.GetAvailable()).front(), "Private");
    EXPECT_EQ(model.GetAvailable().GetCurrent(), 0u);
    EXPECT_TRUE(model.GetSelected().IsEmpty());
    EXPECT_FALSE(model.GetSelected().GetCurrent());
    for (const FieldEntry& entry : model.GetAvailable().GetEntries()) {
        EXPECT_FALSE(entry.m_bTicked);
    }

    // An empty catalogue gives empty lists with no current entry.
    model.Fill({}, {});
    EXPECT_TRUE(model.GetAvailable().IsEmpty());
    EXPECT_FALSE(model.GetAvailable().GetCurrent());
}

TEST(FieldSelection, SelectAllKeepsCatalogueOrder) {
    FieldSelection model;
    model.Fill(CalendarCatalogue(), {});
    model.GetAvailable().TickAll(true);
    model.Select();
    EXPECT_TRUE(model.GetAvailable().IsEmpty());
    EXPECT_FALSE(model.GetAvailable().GetCurrent());
    for (const FieldEntry& entry : model.GetSelected().GetEntries()) {
        EXPECT_FALSE(entry.m_bTicked);
    }
    std::vector<FieldDescriptor> job;
    EXPECT_FALSE(model.Commit(job));
    EXPECT_EQ(job, CalendarCatalogue());
}

TEST(FieldSelection, SelectAppendsTickedInListOrder) {
    FieldSelection model;
    model.Fill(CalendarCatalogue(), {});
    model.GetAvailable().SetTicked(4, true);  // Note
    model.GetAvailable().SetTicked(1, true);  // Category
    model.GetAvailable().SetCurrent(2);       // Start Time, stays current
    model.Select();
    model.GetAvailable().SetTicked(0, true);  // Private
    model.Select();
    EXPECT_EQ(Captions(model.GetSelected()),
              (std::vector<std::string>{"Category", "Note", "Private"}));
    EXPECT_EQ(model.GetAvailable().GetCurrentEntry()->m_szCaption, "Start Time");
    EXPECT_FALSE(model.GetAvailable().SetTicked(99, true));
}

TEST(FieldSelection, MoveThirdUpTwiceMakesItFirst) {
    FieldSelection model;
    model.Fill(CalendarCatalogue(), DefaultFieldList(CalendarCatalogue()));
    ASSERT_TRUE(model.GetSelected().SetCurrent(2));
    model.GetSelected().SetTicked(2, true);
    EXPECT_TRUE(model.MoveUp());
    EXPECT_TRUE(model.MoveUp());
    EXPECT_FALSE(model.MoveUp());  // already first
    EXPECT_EQ(model.GetSelected().GetCurrent(), 0u);
    const FieldEntry* first = model.GetSelected().GetAt(0);
    EXPECT_EQ(first->m_szCaption, "Start Time");
    EXPECT_TRUE(first->m_bTicked);
    EXPECT_FALSE(model.GetSelected().GetAt(1)->m_bTicked);

    std::vector<FieldDescriptor> job;
    ASSERT_FALSE(model.Commit(job));
    EXPECT_EQ(Names(job).front(), "Start Time");
    EXPECT_EQ(Names(job)[1], "Private");
    EXPECT_EQ(Names(job)[2], "Category");

    // Down to the end, and no further.
    const std::size_t last = model.GetSelected().GetCount() - 1;
    for (std::size_t i = 0; i < last; ++i) {
        EXPECT_TRUE(model.MoveDown());
    }
    EXPECT_FALSE(model.MoveDown());
    EXPECT_EQ(model.GetSelected().GetCurrent(), last);
    EXPECT_EQ(model.GetSelected().GetAt(last)->m_szCaption, "Start Time");

    // Without a current entry neither move does anything.
    model.GetSelected().ClearCurrent();
    EXPECT_FALSE(model.MoveUp());
    EXPECT_FALSE(model.MoveDown());
}

TEST(FieldSelection, ContactsHomePhoneSelectedWorkPhoneStaysAvailable) {
    const std::vector<FieldDescriptor> catalogue = ContactsCatalogue();
    FieldSelection model;
    model.Fill(catalogue, Fields{});
    model.GetAvailable().SetTicked(4, true);  // Home Phone: identifier 0, kind 2
    model.Select();
    std::vector<FieldDescriptor> job;
    ASSERT_FALSE(model.Commit(job));

    // Leaving and coming back.
    model.Fill(catalogue, job);
    EXPECT_EQ(Captions(model.GetSelected()), std::vector<std::string>{"Home Phone"});
    const std::vector<std::string> available = Captions(model.GetAvailable());
    EXPECT_EQ(available, (std::vector<std::string>{"Last Name", "First Name", "Title", "Work Phone",
                                                   "Fax", "Private"}));
}

TEST(FieldSelection, FillLeavesOutFieldsOfAnotherCatalogue) {
    // A list left from the classic Contacts catalogue: identifier 3 is "Last Name" there
    // but "Private" in the 6.x Calendar catalogue.
    const std::vector<FieldDescriptor> stale = {Row(3, 0, "Last Name"), FixedText("Source", "Palm"),
                                                Row(0, 2, "Home Phone")};
    FieldSelection model;
    model.Fill(CalendarCatalogue(), stale);
    EXPECT_EQ(Captions(model.GetSelected()), std::vector<std::string>{"Source"});
    EXPECT_EQ(model.GetAvailable().GetCount(), CalendarCatalogue().size());
}

TEST(FieldSelection, UnselectKeepsTickedCustomFields) {
    FieldSelection model;
    const std::vector<FieldDescriptor> catalogue = CalendarCatalogue();
    model.Fill(catalogue, Fields{catalogue[2], FixedText("Source", "Palm"), catalogue[0]});
    EXPECT_EQ(Captions(model.GetAvailable()).size(), catalogue.size() - 2);
    model.GetSelected().TickAll(true);
    model.GetSelected().SetCurrent(1);  // the custom field, stays current
    model.Unselect();

    ASSERT_EQ(model.GetSelected().GetCount(), 1u);
    EXPECT_EQ(model.GetSelected().GetAt(0)->m_szCaption, "Source");
    EXPECT_TRUE(model.GetSelected().GetAt(0)->m_bTicked);
    EXPECT_EQ(model.GetSelected().GetCurrent(), 0u);

    // Back at the end of the Available list, in Selected order, unticked, never the custom.
    const std::vector<std::string> available = Captions(model.GetAvailable());
    ASSERT_EQ(available.size(), catalogue.size());
    EXPECT_EQ(available[available.size() - 2], "Start Time");
    EXPECT_EQ(available.back(), "Private");
    for (const FieldEntry& entry : model.GetAvailable().GetEntries()) {
        EXPECT_FALSE(entry.m_bTicked);
        EXPECT_FALSE(entry.m_field.IsCustom());
    }
}

TEST(FieldSelection, UnselectDropsCurrentWhenItLeaves) {
    FieldSelection model;
    const std::vector<FieldDescriptor> catalogue = CalendarCatalogue();
    model.Fill(catalogue, Fields{catalogue[0], catalogue[1], catalogue[2]});
    model.GetSelected().SetCurrent(2);
    model.GetSelected().SetTicked(0, true);
    model.Unselect();
    EXPECT_EQ(model.GetSelected().GetCurrentEntry()->m_szCaption, "Start Time");
    model.GetSelected().SetTicked(1, true);
    model.Unselect();
    EXPECT_FALSE(model.GetSelected().GetCurrent());
}

TEST(FieldSelection, DeleteOnlyRemovesCustomFields) {
    FieldSelection model;
    const std::vector<FieldDescriptor> catalogue = CalendarCatalogue();
    model.Fill(catalogue, Fields{catalogue[0], FixedText("Source", "Palm"), catalogue[1]});

    model.GetSelected().SetCurrent(0);
    EXPECT_FALSE(model.Delete());
    EXPECT_EQ(model.GetSelected().GetCount(), 3u);
    EXPECT_EQ(model.GetSelected().GetCurrent(), 0u);

    model.GetSelected().SetCurrent(1);
    EXPECT_TRUE(model.Delete());
    EXPECT_EQ(Captions(model.GetSelected()), (std::vector<std::string>{"Private", "Category"}));
    EXPECT_FALSE(model.GetSelected().GetCurrent());
    EXPECT_FALSE(model.Delete());
}

TEST(FieldSelection, ButtonStatesFollowCurrentEntry) {
    FieldSelection model;
    const std::vector<FieldDescriptor> catalogue = CalendarCatalogue();
    model.Fill(catalogue, Fields{catalogue[0], FixedText("Source", "Palm"), catalogue[1]});

    FieldButtonStates states = model.GetButtonStates();  // first entry, catalogue field
    EXPECT_TRUE(states.m_bProperties);
    EXPECT_FALSE(states.m_bDelete);
    EXPECT_FALSE(states.m_bMoveUp);
    EXPECT_TRUE(states.m_bMoveDown);

    model.GetSelected().SetCurrent(1);
    states = model.GetButtonStates();
    EXPECT_TRUE(states.m_bDelete);
    EXPECT_TRUE(states.m_bMoveUp);
    EXPECT_TRUE(states.m_bMoveDown);

    model.GetSelected().SetCurrent(2);
    states = model.GetButtonStates();
    EXPECT_TRUE(states.m_bMoveUp);
    EXPECT_FALSE(states.m_bMoveDown);

    model.GetSelected().ClearCurrent();
    states = model.GetButtonStates();
    EXPECT_FALSE(states.m_bProperties || states.m_bDelete || states.m_bMoveUp ||
                 states.m_bMoveDown);
}

TEST(FieldSelection, CommitRefusesEmptySelection) {
    FieldSelection model;
    model.Fill(CalendarCatalogue(), {});
    std::vector<FieldDescriptor> job = {FixedText("Earlier", "x")};
    const std::optional<UserMessage> refusal = model.Commit(job);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->caption, "Tabrel Error");
    EXPECT_EQ(refusal->text,
              "No record field is selected, you must select one or more fields for the "
              "conversion.");
    ASSERT_EQ(job.size(), 1u);
    EXPECT_EQ(job[0].m_szName, "Earlier");
}

TEST(FieldSelection, InsertCustomAppendsNewField) {
    const FieldDescriptor custom = NewCustomField();
    EXPECT_EQ(custom.m_nId, 256);
    EXPECT_TRUE(custom.IsCustom());
    EXPECT_EQ(custom.m_nKind, 0);
    EXPECT_EQ(custom.m_szName, "Custom Field");
    EXPECT_EQ(custom.m_nValueSource, ValueSourceFixedText);
    EXPECT_EQ(custom.m_szFixedText, "Custom Text");
    EXPECT_EQ(custom.m_nType, FieldTypeString);
    EXPECT_EQ(custom.m_nLength, 63);

    FieldSelection model;
    const std::vector<FieldDescriptor> catalogue = CalendarCatalogue();
    model.Fill(catalogue, Fields{catalogue[0]});
    EXPECT_TRUE(model.InsertCustom(custom));
    EXPECT_FALSE(model.InsertCustom(catalogue[1]));
    EXPECT_EQ(Captions(model.GetSelected()), (std::vector<std::string>{"Private", "Custom Field"}));
    EXPECT_FALSE(model.GetSelected().GetAt(1)->m_bTicked);
    EXPECT_EQ(model.GetSelected().GetCurrent(), 0u);

    // Custom fields survive a commit and a refill, and never reach the Available list.
    std::vector<FieldDescriptor> job;
    ASSERT_FALSE(model.Commit(job));
    EXPECT_EQ(job.back(), custom);
    model.Fill(catalogue, job);
    EXPECT_EQ(model.GetSelected().GetFields(), job);
    EXPECT_EQ(model.GetAvailable().GetCount(), catalogue.size() - 1);
}

TEST(FieldProperties, CatalogueFieldShownNotEditableNeverChanged) {
    const std::vector<FieldDescriptor> catalogue = ContactsCatalogue();
    const FieldDescriptor fax = catalogue[5];
    const FieldProperties shown = GetFieldProperties(fax, catalogue);
    EXPECT_FALSE(shown.m_bEditable);
    EXPECT_EQ(shown.m_szName, "Fax");
    EXPECT_EQ(shown.m_nType, FieldTypeString);
    EXPECT_EQ(shown.m_szLength, "32");
    EXPECT_EQ(shown.m_nValueSource, ValueSourceRecordField);
    EXPECT_EQ(shown.m_nSourceRow, 5u);  // its own row, found by identifier and kind

    FieldProperties edited = shown;
    edited.m_szName = "Changed";
    edited.m_szLength = "99";
    FieldDescriptor copy = fax;
    EXPECT_FALSE(SetFieldProperties(copy, edited, catalogue));
    EXPECT_EQ(copy, fax);

    FieldSelection model;
    model.Fill(catalogue, Fields{fax});
    EXPECT_FALSE(model.SetProperties(0, edited));
    EXPECT_EQ(model.GetSelected().GetAt(0)->m_field, fax);
    EXPECT_EQ(model.GetSelected().GetAt(0)->m_szCaption, "Fax");
    EXPECT_FALSE(model.GetProperties(1));
}

TEST(FieldProperties, CustomFieldValues) {
    const std::vector<FieldDescriptor> catalogue = ContactsCatalogue();
    FieldDescriptor custom = NewCustomField();
    FieldProperties shown = GetFieldProperties(custom, catalogue);
    EXPECT_TRUE(shown.m_bEditable);
    EXPECT_EQ(shown.m_nValueSource, ValueSourceFixedText);
    EXPECT_EQ(shown.m_szString, "Custom Text");
    EXPECT_EQ(shown.m_szLength, "63");

    FieldProperties edit = shown;
    edit.m_szName = std::string(70, 'N');
    edit.m_nType = FieldTypeDateTime;
    edit.m_szLength = "  12abc";
    edit.m_szString = std::string(80, 'S');
    ASSERT_TRUE(SetFieldProperties(custom, edit, catalogue));
    EXPECT_EQ(custom.m_szName, std::string(63, 'N'));
    EXPECT_EQ(custom.m_nType, FieldTypeDateTime);
    EXPECT_EQ(custom.m_nLength, 12);
    EXPECT_EQ(custom.m_nValueSource, ValueSourceFixedText);
    EXPECT_EQ(custom.m_szFixedText, std::string(63, 'S'));

    // A length that is no number is 0; a signed one keeps its sign; no type chosen keeps it.
    edit.m_szLength = "abc";
    edit.m_nType.reset();
    ASSERT_TRUE(SetFieldProperties(custom, edit, catalogue));
    EXPECT_EQ(custom.m_nLength, 0);
    EXPECT_EQ(custom.m_nType, FieldTypeDateTime);
    edit.m_szLength = " -3x";
    ASSERT_TRUE(SetFieldProperties(custom, edit, catalogue));
    EXPECT_EQ(custom.m_nLength, -3);

    // A type code the type box does not offer shows no choice.
    custom.m_nType = 42;
    EXPECT_FALSE(GetFieldProperties(custom, catalogue).m_nType);
}

TEST(FieldProperties, SequenceStartFromNumberText) {
    const std::vector<FieldDescriptor> catalogue = CalendarCatalogue();
    FieldDescriptor custom = NewCustomField();
    FieldProperties edit = GetFieldProperties(custom, catalogue);
    edit.m_nValueSource = ValueSourceSequence;
    edit.m_szNumber = "";
    ASSERT_TRUE(SetFieldProperties(custom, edit, catalogue));
    EXPECT_EQ(custom.m_nValueSource, ValueSourceSequence);
    EXPECT_EQ(custom.m_nSourceIdOrStart, 0);
    FieldProperties shown = GetFieldProperties(custom, catalogue);
    EXPECT_EQ(shown.m_nValueSource, ValueSourceSequence);
    EXPECT_EQ(shown.m_szNumber, "0");

    edit.m_szNumber = " 1000 items";
    ASSERT_TRUE(SetFieldProperties(custom, edit, catalogue));
    EXPECT_EQ(custom.m_nSourceIdOrStart, 1000);
    EXPECT_EQ(GetFieldProperties(custom, catalogue).m_szNumber, "1000");
    edit.m_szNumber = "-5";
    ASSERT_TRUE(SetFieldProperties(custom, edit, catalogue));
    EXPECT_EQ(custom.m_nSourceIdOrStart, -5);
}

TEST(FieldProperties, RecordFieldSourceTakesChosenRow) {
    const std::vector<FieldDescriptor> catalogue = ContactsCatalogue();
    FieldDescriptor custom = NewCustomField();
    FieldProperties edit = GetFieldProperties(custom, catalogue);
    edit.m_nValueSource = ValueSourceRecordField;
    edit.m_nSourceRow = 4;  // Home Phone
    ASSERT_TRUE(SetFieldProperties(custom, edit, catalogue));
    EXPECT_EQ(custom.m_nValueSource, ValueSourceRecordField);
    EXPECT_EQ(custom.m_nSourceIdOrStart, 0);
    EXPECT_EQ(custom.m_nSourceKind, 2);
    const FieldProperties shown = GetFieldProperties(custom, catalogue);
    EXPECT_EQ(shown.m_nValueSource, ValueSourceRecordField);
    EXPECT_EQ(shown.m_nSourceRow, 4u);

    // The option without a chosen row (or with one past the catalogue) names no field: the
    // earlier source stays.
    FieldDescriptor sequence = NewCustomField();
    sequence.m_nValueSource = ValueSourceSequence;
    sequence.m_nSourceIdOrStart = 3;  // would read as "Last Name"
    edit.m_nSourceRow.reset();
    ASSERT_TRUE(SetFieldProperties(sequence, edit, catalogue));
    EXPECT_EQ(sequence.m_nValueSource, ValueSourceSequence);
    EXPECT_EQ(sequence.m_nSourceIdOrStart, 3);
    edit.m_nSourceRow = catalogue.size();
    ASSERT_TRUE(SetFieldProperties(sequence, edit, catalogue));
    EXPECT_EQ(sequence.m_nValueSource, ValueSourceSequence);
}

TEST(FieldProperties, SetPropertiesRenamesSelectedEntry) {
    const std::vector<FieldDescriptor> catalogue = CalendarCatalogue();
    FieldSelection model;
    model.Fill(catalogue, Fields{catalogue[2], NewCustomField()});
    // The dialog's record-field box offers this application's catalogue.
    EXPECT_EQ(model.GetCatalogue().size(), catalogue.size());
    std::optional<FieldProperties> edit = model.GetProperties(1);
    ASSERT_TRUE(edit);
    edit->m_szName = "Origin";
    edit->m_nValueSource = ValueSourceRecordField;
    edit->m_nSourceRow = 6;  // Summary
    ASSERT_TRUE(model.SetProperties(1, *edit));
    const FieldEntry* entry = model.GetSelected().GetAt(1);
    EXPECT_EQ(entry->m_szCaption, "Origin");
    EXPECT_EQ(entry->m_field.m_szName, "Origin");
    EXPECT_EQ(entry->m_field.m_nSourceIdOrStart, 11);
    EXPECT_FALSE(model.SetProperties(2, *edit));
}

TEST(CommandLineFields, DefaultIsWholeCatalogue) {
    EXPECT_EQ(DefaultFieldList(ContactsCatalogue()), ContactsCatalogue());
    EXPECT_TRUE(DefaultFieldList({}).empty());
}

TEST(CommandLineFields, ParsesNamesInAnyLetterCase) {
    const std::vector<FieldDescriptor> catalogue = ContactsCatalogue();
    std::vector<FieldDescriptor> fields;
    std::string error;
    ASSERT_TRUE(ParseFieldList("last name, FIRST NAME ,Home Phone,fax", catalogue, fields, error))
        << error;
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0], catalogue[0]);
    EXPECT_EQ(fields[1], catalogue[1]);
    EXPECT_EQ(fields[2], catalogue[4]);
    EXPECT_EQ(fields[2].m_nKind, 2);
    EXPECT_EQ(fields[3], catalogue[5]);
    EXPECT_TRUE(error.empty());
}

TEST(CommandLineFields, ParsesCustomFields) {
    const std::vector<FieldDescriptor> catalogue = ContactsCatalogue();
    std::vector<FieldDescriptor> fields;
    std::string error;
    ASSERT_TRUE(ParseFieldList(
        "text:Source=Palm Desktop ,SEQ:No= -12,field:Phone = home phone,text:Empty=,Title",
        catalogue, fields, error))
        << error;
    ASSERT_EQ(fields.size(), 5u);

    EXPECT_TRUE(fields[0].IsCustom());
    EXPECT_EQ(fields[0].m_szName, "Source");
    EXPECT_EQ(fields[0].m_nValueSource, ValueSourceFixedText);
    EXPECT_EQ(fields[0].m_szFixedText, "Palm Desktop ");
    EXPECT_EQ(fields[0].m_nType, FieldTypeString);

    EXPECT_EQ(fields[1].m_nId, CustomFieldId);
    EXPECT_EQ(fields[1].m_szName, "No");
    EXPECT_EQ(fields[1].m_nValueSource, ValueSourceSequence);
    EXPECT_EQ(fields[1].m_nSourceIdOrStart, -12);
    EXPECT_EQ(fields[1].m_nType, FieldTypeInteger);

    EXPECT_EQ(fields[2].m_szName, "Phone");
    EXPECT_EQ(fields[2].m_nValueSource, ValueSourceRecordField);
    EXPECT_EQ(fields[2].m_nSourceIdOrStart, 0);
    EXPECT_EQ(fields[2].m_nSourceKind, 2);
    EXPECT_EQ(fields[2].m_nKind, 0);

    EXPECT_EQ(fields[3].m_szName, "Empty");
    EXPECT_EQ(fields[3].m_szFixedText, "");
    EXPECT_EQ(fields[4], catalogue[2]);
}

TEST(CommandLineFields, CustomNameAndTextAreCut) {
    std::vector<FieldDescriptor> fields;
    std::string error;
    const std::string entry = "text:" + std::string(70, 'n') + "=" + std::string(70, 't');
    ASSERT_TRUE(ParseFieldList(entry, ContactsCatalogue(), fields, error)) << error;
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].m_szName, std::string(63, 'n'));
    EXPECT_EQ(fields[0].m_szFixedText, std::string(63, 't'));
    ASSERT_TRUE(ParseFieldList("seq:N=+2147483647", ContactsCatalogue(), fields, error));
    EXPECT_EQ(fields[0].m_nSourceIdOrStart, 2147483647);
}

TEST(CommandLineFields, ErrorsNameTheBadEntry) {
    const std::vector<FieldDescriptor> catalogue = ContactsCatalogue();
    const std::vector<FieldDescriptor> before = {NewCustomField()};
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"Last Name,Nmae", "Unknown field: Nmae"},
        {"seq:X=abc", "Bad custom field: seq:X=abc"},
        {"seq:X=", "Bad custom field: seq:X="},
        {"seq:X=12a", "Bad custom field: seq:X=12a"},
        {"seq:X=+-5", "Bad custom field: seq:X=+-5"},
        {"seq:X=2147483648", "Bad custom field: seq:X=2147483648"},
        {"text:NoEquals", "Bad custom field: text:NoEquals"},
        {"text: =x", "Bad custom field: text: =x"},
        {"field:P=Nmae", "Bad custom field: field:P=Nmae (unknown field: Nmae)"},
        {"field:P=", "Bad custom field: field:P="},
        {"custom:X=1", "Unknown field: custom:X=1"},
        {"", "The field list is empty."},
        {"   ", "The field list is empty."},
        {"Title,,Fax", "Empty entry 2 in the field list."},
        {"Title,", "Empty entry 2 in the field list."},
    };
    for (const auto& c : cases) {
        std::vector<FieldDescriptor> fields = before;
        std::string error;
        EXPECT_FALSE(ParseFieldList(c.text, catalogue, fields, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(fields, before) << c.text;
    }
}

}  // namespace tabrel
