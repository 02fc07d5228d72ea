#pragma once
// PmAddrEx2Util: the Contacts database of Palm Desktop 6.x (Address.mdb in the "address"
// folder of a Palm user's data folder), application kind 1.
//
// A contact is found by its Record ID, First Name and Last Name. Its category ID is
// settled by the caller (GetCategoryId) before it is handed to WriteRecord; loading fills
// the category name from the list.
//
// The comparison leaves out Placement, Assistant Name, Assistant Phone, the three Yomi
// texts and Avatar (and the seven kept columns), so a contact that differs only there is
// not written. The change list holds the differing columns in this order: Record ID,
// columns 1 to 40, Custom 1 to 4, Custom 5 to 14, Primary Contact, Website, Birthday
// AlarmSet, Birthday AlarmAdv, Avatar, Anniversary AlarmSet, Anniversary AlarmAdv, then
// English Name to Ringtone Sync counter. The phone labels, the Yomi texts, the chat texts
// and their label IDs and the address labels never enter it: a contact whose differences
// lie only there is not written. A new contact is inserted with all 95 columns, which adds
// [Photo], [VoiceTag], [Ringtone] and [Blob] as 0x00000000.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "palm/db6x/PmAddrEx2Record.h"
#include "palm/db6x/PmEx2ColumnUtil.h"

namespace tabrel {

using PmAddrEx2DataMgr = PmEx2DataMgr<PmAddrEx2Record>;

class PmAddrEx2Util final : public PmEx2ColumnUtil<PmAddrEx2Record> {
  public:
    static constexpr std::size_t kColumnCount = 95;
    // Positions of the key columns and of the columns named elsewhere.
    enum Column : std::size_t {
        RecordId = 0,
        Placement = 2,
        Category = 4,
        Note = 5,
        FirstName = 7,
        LastName = 9,
        OtherFax = 41,
        Pager = 47,
    };
    // The columns of "Main", in the order they are selected and inserted.
    // clang-format off
    static constexpr std::array<std::string_view, kColumnCount> kColumns = {
        /*  0 */ "Record ID", "Status", "Placement", "Private", "Category",
        /*  5 */ "Note", "Prefix", "First Name", "Middle Name", "Last Name",
        /* 10 */ "Suffix", "NickName", "Anniversary", "Birthday", "Profession",
        /* 15 */ "Company", "Job Title", "Assistant Name", "Assistant Phone", "Work Street",
        /* 20 */ "Work City", "Work State", "Work Zip", "Work Country", "Home Street",
        /* 25 */ "Home City", "Home State", "Home Zip", "Home Country", "Other Street",
        /* 30 */ "Other City", "Other State", "Other Zip", "Other Country", "Work Phone",
        /* 35 */ "Work Fax", "Work Mobile", "Home Phone", "Home Fax", "Home Mobile",
        /* 40 */ "Other Phone", "Other Fax", "Other Mobile", "Work E-mail", "E-mail 1",
        /* 45 */ "E-mail 2", "E-mail 3", "Pager", "Custom 1", "Custom 2",
        /* 50 */ "Custom 3", "Custom 4", "Primary Contact", "Phone Label1", "Phone Label2",
        /* 55 */ "Phone Label3", "Phone Label4", "Phone Label5", "Phone Label6", "Phone Label7",
        /* 60 */ "First Yomi", "Last Yomi", "Company Yomi", "Chat1", "Chat2",
        /* 65 */ "Chat1 LabelID", "Chat2 LabelID", "Website", "Custom 5", "Custom 6",
        /* 70 */ "Custom 7", "Custom 8", "Custom 9", "Custom 10", "Custom 11",
        /* 75 */ "Custom 12", "Custom 13", "Custom 14", "Birthday AlarmSet", "Birthday AlarmAdv",
        /* 80 */ "Avatar", "Addr Label1", "Addr Label2", "Addr Label3", "Anniversary AlarmSet",
        /* 85 */ "Anniversary AlarmAdv", "English Name", "Picture URL", "Picture Filename",
        /* 89 */ "Picture MIME type", "Picture Sync counter", "Ringtone URL", "Ringtone Filename",
        /* 93 */ "Ringtone MIME type", "Ringtone Sync counter"};
    // clang-format on
    static constexpr std::array<std::size_t, 3> kKeyColumns = {RecordId, FirstName, LastName};

    PmAddrEx2Util();
    // Loads path at once; IsLoaded() tells the outcome.
    explicit PmAddrEx2Util(const std::string& path);
};

}  // namespace tabrel
