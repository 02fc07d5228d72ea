#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CommTestSupport.h"
#include "palm/comm/CommNoteMgr.h"

namespace tabrel {

namespace {

using Id = CommNoteId;
using test::Text;

CommNoteRec Note(const std::string& subject, const std::string& note) {
    CommNoteRec rec;
    rec.m_szSubject = subject;
    rec.m_szNote = note;
    return rec;
}

}  // namespace

TEST(CommNoteMgr, CatalogueAndLists) {
    test::ExpectRows<CommNoteMgr>({{0, "Color", 4, 0},
                                   {1, "Private", 4, 0},
                                   {2, "Subject", 256, 0},
                                   {3, "Note", 20480, 0},
                                   {4, "Category", 256, 0},
                                   {5, "Creation Time", 8, 0},
                                   {6, "Last Modification Time", 8, 0},
                                   {7, "Source", 4, 0},
                                   {8, "Status", 4, 0},
                                   {9, "ID(Integer)", 4, 0},
                                   {10, "ID(String)", 32, 0}},
                                  true);
    test::ExpectLists<CommNoteMgr>({2}, {3});
}

TEST(CommNoteMgr, FieldTexts) {
    const CommNoteMgr store;
    CommNoteRec rec = Note("Shopping", "Shopping\r\nmilk");
    rec.m_szCategory = "Home";
    rec.m_nColor = 0x12ab;
    rec.m_dCreationTime = 38128.5;  // 21 May 2004, noon
    rec.m_dLastModificationTime = std::nan("");
    rec.m_source.m_nSourceType = kCommSourcePalm;
    rec.m_szId = "7";
    test::ExpectTexts(store, rec,
                      {{Id::kColor, "#0012ab"},
                       {Id::kPrivate, "No"},
                       {Id::kSubject, "Shopping"},
                       {Id::kNote, "Shopping\r\nmilk"},
                       {Id::kCategory, "Home"},
                       {Id::kCreationTime, "05-21-2004 12:00:00"},
                       {Id::kLastModificationTime, ""}});
    test::ExpectNoTexts(store, rec, {Id::kSource, Id::kStatus, Id::kIdInteger, Id::kIdString, 11});
    rec.m_nColor = -1;
    EXPECT_EQ(Text(store, rec, Id::kColor), "#ffffffff");
}

TEST(CommNoteMgr, MatchLooksAtTheLimitedTextsOnly) {
    CommNoteMgr store;
    const std::string longNote(20479, 'x');
    store.Add(Note(std::string(255, 's') + "1", longNote + "a"));

    // Agreeing on the first 255 and 20479 characters, letter case aside, is enough.
    EXPECT_EQ(store.Match(Note(std::string(255, 'S') + "2", longNote + "b")).m_nResult,
              kCommMatchEqual);
    EXPECT_EQ(store.Match(Note(std::string(255, 's'), longNote.substr(1))).m_nResult,
              kCommMatchKey);
    EXPECT_EQ(store.Match(Note(std::string(254, 's'), longNote)).m_nResult, kCommMatchNone);
}

TEST(CommNoteMgr, MergeTakesTheCarriedFieldsAndClearsTheStatus) {
    CommNoteMgr store;
    CommNoteRec stored = Note("Shopping", "Shopping");
    stored.m_szCategory = "Home";
    stored.m_nColor = 3;
    stored.m_bPrivate = 1;
    stored.m_source.m_nStatus = 0x41;
    store.Add(stored);

    CommNoteRec import = Note(std::string(300, 's'), std::string(25000, 'n'));
    import.m_szCategory = "Work";
    ASSERT_TRUE(store.Merge(import, 0, CommFieldSet{Id::kNote}));
    const CommNoteRec& held = *store.GetAt(0);
    EXPECT_EQ(held.m_szNote.size(), 20479u);
    EXPECT_EQ(held.m_szSubject, "Shopping");
    EXPECT_EQ(held.m_nColor, 3);
    EXPECT_EQ(held.m_source.m_nStatus, 0);

    ASSERT_TRUE(store.Merge(import, 0));
    EXPECT_EQ(held.m_szSubject, std::string(255, 's'));
    EXPECT_EQ(held.m_nColor, 0);
    EXPECT_EQ(held.m_bPrivate, 0);
    EXPECT_EQ(held.m_szCategory, "Home");

    CommNoteRec rec;
    EXPECT_TRUE(CommNoteMgr::SetText(rec, Id::kIdString, std::string(40, '1')));
    EXPECT_EQ(rec.m_szId, std::string(31, '1'));
    EXPECT_FALSE(CommNoteMgr::SetText(rec, Id::kColor, "#ffffff"));
}

}  // namespace tabrel
