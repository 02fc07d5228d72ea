#include "palm/unified/PmMemoInfo.h"

#include <array>

namespace tabrel {

namespace {

constexpr PmInfoTexts kTexts = {
    "Check Palm Desktop Memos file version, file: %s",
    "Check Palm Desktop Memos file type: (%s) - Palm Desktop 6.x",
    "Check Palm Desktop Memos file type: (%s) - Palm Desktop 4.1.x",
    "Check Palm Desktop Memos file type: (%s) - Palm Desktop 4.1 or earlier",
    "Failed to check Palm Desktop Memos data file type (%s)",
    "Load Palm Desktop Memos by user: %d",
    "Unknown Palm Desktop version.",
    "Failed to load Palm Desktop Memo database by User: %d",
    "Load Palm Desktop Memos by file: %s",
    "Failed to load Palm Desktop Memos data file (%s)",
    false,
    false,
    false,
    PM_DATA_NONE,
};

// The memo's identifier in each generation.
constexpr std::int32_t kClassicMemoId = 3;
constexpr std::int32_t kExMemoId = 13;
constexpr std::int32_t kEx2MemoId = 5;

constexpr std::array<PmCatalogueRow, 1> kClassicCatalogue = {{{kClassicMemoId, 0, "Memo", 5, 0}}};
constexpr std::array<PmCatalogueRow, 1> kExCatalogue = {{{kExMemoId, 0, "Memo", 5, 0}}};
constexpr std::array<PmCatalogueRow, 1> kEx2Catalogue = {{{kEx2MemoId, 0, "Memo", 5, 0}}};

// The memo text fills the note and, from its first line, the subject.
constexpr PmTextRule MemoRule(std::int32_t id) {
    return {
        id, 0, CommNoteId::kNote, PmMemoInfo::kNoteMax, PmTextRule::kSpecial, CommNoteId::kSubject};
}
constexpr std::array<PmTextRule, 1> kClassicRules = {MemoRule(kClassicMemoId)};
constexpr std::array<PmTextRule, 1> kExRules = {MemoRule(kExMemoId)};
constexpr std::array<PmTextRule, 1> kEx2Rules = {MemoRule(kEx2MemoId)};

// Copies a text unless it is empty, cut to maxChars characters.
void PutText(std::string& to, const std::string& from, std::size_t maxChars) {
    if (!from.empty()) {
        to = CutText(from, maxChars);
    }
}

}  // namespace

PmMemoInfo::PmMemoInfo() : PmMemoInfo(GetPalmDesktopVersion()) {}

PmMemoInfo::PmMemoInfo(std::uint32_t palmVersion) : PmInfo(kTexts, palmVersion) {}

const PmGenerationTables<PmCatalogueRow> PmMemoInfo::kCatalogues{kClassicCatalogue, kExCatalogue,
                                                                 kEx2Catalogue};
const PmGenerationTables<PmTextRule> PmMemoInfo::kTextRules{kClassicRules, kExRules, kEx2Rules};

void PmMemoInfo::FillCommon(const Item& item, CommNoteRec& note) const {
    const std::string* text = nullptr;
    std::uint32_t privateFlag = 0;
    if (const PmMemoRecord* classic = item.Classic()) {
        text = &classic->m_szMemo;
        privateFlag = classic->m_bPrivate;
    } else if (const PmMemoExRecord* ex = item.Ex()) {
        text = &ex->m_szMemo;
        privateFlag = ex->m_dwPrivate;
    } else if (const PmMemoEx2Record* ex2 = item.Ex2()) {
        text = &ex2->m_szNote;
        privateFlag = ex2->m_byPrivate;
    } else {
        return;
    }
    note.m_szSubject = PmMemoSubject(*text, kSubjectMax);
    note.m_szNote = CutText(*text, kNoteMax);
    note.m_bPrivate = privateFlag != 0 ? 1 : 0;
}

void PmMemoInfo::FillRecord(const CommNoteRec& note, Item& item, const Carried& carried) {
    const bool setPrivate = IsCarried(carried, CommNoteId::kPrivate);
    const bool setCategory = !note.m_szCategory.empty();
    if (PmMemoRecord* classic = item.Classic()) {
        PutText(classic->m_szMemo, note.m_szNote, kDatMemoMax);
        if (setPrivate) {
            classic->m_bPrivate = note.m_bPrivate != 0 ? 1 : 0;
        }
        if (setCategory) {
            classic->m_dwCategoryId =
                static_cast<std::uint32_t>(ResolveCategory(note.m_szCategory));
            ClassicReader().GetCategoryText(static_cast<std::int32_t>(classic->m_dwCategoryId),
                                            classic->m_szCategory);
        }
    } else if (PmMemoExRecord* ex = item.Ex()) {
        PutText(ex->m_szMemo, note.m_szNote, kDatMemoMax);
        if (setPrivate) {
            ex->m_dwPrivate = note.m_bPrivate != 0 ? 1 : 0;
        }
        if (setCategory) {
            ex->m_dwCategoryId = static_cast<std::uint32_t>(ResolveCategory(note.m_szCategory));
            ExReader().GetCategoryText(static_cast<std::int32_t>(ex->m_dwCategoryId),
                                       ex->m_szCategory);
        }
    } else if (PmMemoEx2Record* ex2 = item.Ex2()) {
        PutText(ex2->m_szNote, note.m_szNote, kEx2MemoMax);
        if (setPrivate) {
            ex2->m_byPrivate = note.m_bPrivate != 0 ? 1 : 0;
        }
        if (setCategory) {
            ex2->m_nCategoryId = ResolveCategory(note.m_szCategory);
            Ex2Reader().FillCategoryName(*ex2);
        }
    }
}

bool PmMemoInfo::ItemFieldText(const Item& item, const FieldDescriptor& row, std::string& text,
                               std::size_t /*size*/) const {
    if (const PmMemoRecord* classic = item.Classic(); classic && row.m_nId == kClassicMemoId) {
        text = classic->m_szMemo;
        return true;
    }
    if (const PmMemoExRecord* ex = item.Ex(); ex && row.m_nId == kExMemoId) {
        text = ex->m_szMemo;
        return true;
    }
    if (const PmMemoEx2Record* ex2 = item.Ex2(); ex2 && row.m_nId == kEx2MemoId) {
        text = ex2->m_szNote;
        return true;
    }
    return false;
}

void PmMemoInfo::ApplyTextRule(const PmTextRule& rule, std::string_view text,
                               CommNoteRec& note) const {
    if (rule.commonId == CommNoteId::kNote) {
        note.m_szNote = CutText(text, kNoteMax);
        note.m_szSubject = PmMemoSubject(text, kSubjectMax);
    }
}

template class PmInfo<PmMemoInfo, PmMemoInfoTypes>;

}  // namespace tabrel
