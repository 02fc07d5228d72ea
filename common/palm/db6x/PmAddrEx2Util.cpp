#include "palm/db6x/PmAddrEx2Util.h"

#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

using R = PmAddrEx2Record;
using Column = PmEx2Column<R>;
constexpr PmEx2ColumnKind kInteger = PmEx2ColumnKind::Integer;
constexpr PmEx2ColumnKind kBoolean = PmEx2ColumnKind::Boolean;
constexpr PmEx2ColumnKind kText = PmEx2ColumnKind::Text;
constexpr PmEx2ColumnKind kNumberText = PmEx2ColumnKind::NumberText;
using Cols = PmAddrEx2Util;

constexpr std::array<Column, PmAddrEx2Util::kColumnCount> kTable = {{
    {Cols::kColumns[0], kInteger, &R::m_nRecordId},
    {Cols::kColumns[1], kInteger, &R::m_nStatus},
    {Cols::kColumns[2], kInteger, &R::m_nPlacement},
    {Cols::kColumns[3], kBoolean, &R::m_byPrivate},
    {Cols::kColumns[4], kNumberText, &R::m_nCategoryId},
    {Cols::kColumns[5], kText, &R::m_szNote, kWholeText},
    {Cols::kColumns[6], kText, &R::m_szPrefix, 32},
    {Cols::kColumns[7], kText, &R::m_szFirstName, 64},
    {Cols::kColumns[8], kText, &R::m_szMiddleName, 64},
    {Cols::kColumns[9], kText, &R::m_szLastName, 64},
    {Cols::kColumns[10], kText, &R::m_szSuffix, 32},
    {Cols::kColumns[11], kText, &R::m_szNickName, 64},
    {Cols::kColumns[12], kInteger, &R::m_nAnniversary},
    {Cols::kColumns[13], kInteger, &R::m_nBirthday},
    {Cols::kColumns[14], kText, &R::m_szProfession, 128},
    {Cols::kColumns[15], kText, &R::m_szCompany, 128},
    {Cols::kColumns[16], kText, &R::m_szJobTitle, 128},
    {Cols::kColumns[17], kText, &R::m_szAssistantName, 64},
    {Cols::kColumns[18], kText, &R::m_szAssistantPhone, 64},
    {Cols::kColumns[19], kText, &R::m_szWorkStreet, 256},
    {Cols::kColumns[20], kText, &R::m_szWorkCity, 32},
    {Cols::kColumns[21], kText, &R::m_szWorkState, 32},
    {Cols::kColumns[22], kText, &R::m_szWorkZip, 32},
    {Cols::kColumns[23], kText, &R::m_szWorkCountry, 32},
    {Cols::kColumns[24], kText, &R::m_szHomeStreet, 256},
    {Cols::kColumns[25], kText, &R::m_szHomeCity, 32},
    {Cols::kColumns[26], kText, &R::m_szHomeState, 32},
    {Cols::kColumns[27], kText, &R::m_szHomeZip, 32},
    {Cols::kColumns[28], kText, &R::m_szHomeCountry, 32},
    {Cols::kColumns[29], kText, &R::m_szOtherStreet, 256},
    {Cols::kColumns[30], kText, &R::m_szOtherCity, 32},
    {Cols::kColumns[31], kText, &R::m_szOtherState, 32},
    {Cols::kColumns[32], kText, &R::m_szOtherZip, 32},
    {Cols::kColumns[33], kText, &R::m_szOtherCountry, 32},
    {Cols::kColumns[34], kText, &R::m_szPhone1, 128},
    {Cols::kColumns[35], kText, &R::m_szPhone2, 128},
    {Cols::kColumns[36], kText, &R::m_szPhone3, 128},
    {Cols::kColumns[37], kText, &R::m_szPhone4, 128},
    {Cols::kColumns[38], kText, &R::m_szPhone5, 128},
    {Cols::kColumns[39], kText, &R::m_szPhone6, 128},
    {Cols::kColumns[40], kText, &R::m_szPhone7, 128},
    {Cols::kColumns[41], kText, &R::m_szOtherFax, kWholeText},
    {Cols::kColumns[42], kText, &R::m_szOtherMobile, kWholeText},
    {Cols::kColumns[43], kText, &R::m_szWorkEmail, kWholeText},
    {Cols::kColumns[44], kText, &R::m_szEmail1, kWholeText},
    {Cols::kColumns[45], kText, &R::m_szEmail2, kWholeText},
    {Cols::kColumns[46], kText, &R::m_szEmail3, kWholeText},
    {Cols::kColumns[47], kText, &R::m_szPager, kWholeText},
    {Cols::kColumns[48], kText, &R::m_szCustom1, 256},
    {Cols::kColumns[49], kText, &R::m_szCustom2, 256},
    {Cols::kColumns[50], kText, &R::m_szCustom3, 256},
    {Cols::kColumns[51], kText, &R::m_szCustom4, 256},
    {Cols::kColumns[52], kInteger, &R::m_nPrimaryContact},
    {Cols::kColumns[53], kInteger, &R::m_nPhoneLabel1},
    {Cols::kColumns[54], kInteger, &R::m_nPhoneLabel2},
    {Cols::kColumns[55], kInteger, &R::m_nPhoneLabel3},
    {Cols::kColumns[56], kInteger, &R::m_nPhoneLabel4},
    {Cols::kColumns[57], kInteger, &R::m_nPhoneLabel5},
    {Cols::kColumns[58], kInteger, &R::m_nPhoneLabel6},
    {Cols::kColumns[59], kInteger, &R::m_nPhoneLabel7},
    {Cols::kColumns[60], kText, &R::m_szFirstYomi, 64},
    {Cols::kColumns[61], kText, &R::m_szLastYomi, 64},
    {Cols::kColumns[62], kText, &R::m_szCompanyYomi, 64},
    {Cols::kColumns[63], kText, &R::m_szChat1, 128},
    {Cols::kColumns[64], kText, &R::m_szChat2, 128},
    {Cols::kColumns[65], kInteger, &R::m_nChat1LabelId},
    {Cols::kColumns[66], kInteger, &R::m_nChat2LabelId},
    {Cols::kColumns[67], kText, &R::m_szWebsite, 256},
    {Cols::kColumns[68], kText, &R::m_szCustom5, 256},
    {Cols::kColumns[69], kText, &R::m_szCustom6, 256},
    {Cols::kColumns[70], kText, &R::m_szCustom7, 256},
    {Cols::kColumns[71], kText, &R::m_szCustom8, 256},
    {Cols::kColumns[72], kText, &R::m_szCustom9, 256},
    {Cols::kColumns[73], kText, &R::m_szCustom10, 256},
    {Cols::kColumns[74], kText, &R::m_szCustom11, 256},
    {Cols::kColumns[75], kText, &R::m_szCustom12, 256},
    {Cols::kColumns[76], kText, &R::m_szCustom13, 256},
    {Cols::kColumns[77], kText, &R::m_szCustom14, 256},
    {Cols::kColumns[78], kBoolean, &R::m_byBirthdayAlarmSet},
    {Cols::kColumns[79], kInteger, &R::m_nBirthdayAlarmAdv},
    {Cols::kColumns[80], kInteger, &R::m_nAvatar},
    {Cols::kColumns[81], kInteger, &R::m_nAddrLabel1},
    {Cols::kColumns[82], kInteger, &R::m_nAddrLabel2},
    {Cols::kColumns[83], kInteger, &R::m_nAddrLabel3},
    {Cols::kColumns[84], kBoolean, &R::m_byAnniversaryAlarmSet},
    {Cols::kColumns[85], kInteger, &R::m_nAnniversaryAlarmAdv},
    {Cols::kColumns[86], kText, &R::m_szEnglishName, 128},
    {Cols::kColumns[87], kText, &R::m_szPictureUrl, 256},
    {Cols::kColumns[88], kText, &R::m_szPictureFilename, 256},
    {Cols::kColumns[89], kText, &R::m_szPictureMimeType, 32},
    {Cols::kColumns[90], kText, &R::m_szPictureSyncCounter, 32},
    {Cols::kColumns[91], kText, &R::m_szRingtoneUrl, 256},
    {Cols::kColumns[92], kText, &R::m_szRingtoneFilename, 256},
    {Cols::kColumns[93], kText, &R::m_szRingtoneMimeType, 32},
    {Cols::kColumns[94], kText, &R::m_szRingtoneSyncCounter, 32},
}};
static_assert(ColumnTableMatches<R>(kTable, Cols::kColumns));

// Not compared: Placement, Assistant Name and Phone, the kept columns, the Yomi texts and
// Avatar.
constexpr auto kCompared = ColumnsExcept<PmAddrEx2Util::kColumnCount>(
    std::array<std::size_t, 14>{2, 17, 18, 41, 42, 43, 44, 45, 46, 47, 60, 61, 62, 80});

// The change list's order: Record ID and columns 1 to 40, Custom 1 to 4, Custom 5 to 14,
// Primary Contact, Website, the birthday alarm, Avatar, the anniversary alarm, English Name
// to Ringtone Sync counter; then the phone labels, the chat texts with their label IDs and
// the address labels, which are compared and so must be written too, or a changed label or
// chat address would be reported as written and lost.
constexpr auto kChangeOrder = [] {
    std::array<std::size_t, 85> order{};
    std::size_t n = 0;
    const auto range = [&order, &n](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i <= last; ++i) {
            order.at(n++) = i;
        }
    };
    range(0, 40);
    range(48, 51);
    range(68, 77);
    range(52, 52);
    range(67, 67);
    range(78, 80);
    range(84, 94);
    range(53, 59);
    range(63, 66);
    range(81, 83);
    return order;
}();

const PmEx2AppInfo& AddrInfo() {
    static const PmEx2AppInfo info = {
        .app = AppContacts,
        .columns = PmAddrEx2Util::kColumns,
        .keyColumns = PmAddrEx2Util::kKeyColumns,
        .byUserLine = "Start loading Palm Desktop Contacts by user ID: %d",
        .emptyPathLine = nullptr,
        .loadingLine = "Loading Palm Desktop Contacts:%s",
        .openFailedLine = "Open Palm Desktop Contacts database failed: %s",
        .startMainLine = "Start loading Palm Desktop Contacts main records.",
        .firstRowLine = "Query first record in the Contacts database table successfully.",
        .noFirstRowLine =
            "Failed to query the first record of the Contacts main table. Check if "
            "there is any records in the database table.",
        .noNextRowLine =
            "Failed to query the next record of the Contacts main table. Check if it "
            "is the end of the table.",
        .endMainLine = "Loading Palm Desktop Contacts main records completed successfully.",
    };
    return info;
}

}  // namespace

PmAddrEx2Util::PmAddrEx2Util()
    : PmEx2ColumnUtil(AddrInfo(), Mapping{kTable, kCompared, kChangeOrder}) {}

PmAddrEx2Util::PmAddrEx2Util(const std::string& path) : PmAddrEx2Util() {
    SetLoaded(LoadFile(path));
}

}  // namespace tabrel
