// The stores' indexed Match against a plain walk over the records that compares the fields
// one by one, on random stores with many near-equal records, through adds, merges and
// clears.

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "palm/comm/CommAddrMgr.h"
#include "palm/comm/CommDateMgr.h"
#include "palm/comm/CommNoteMgr.h"
#include "palm/comm/CommTaskMgr.h"

namespace tabrel {

namespace {

// A text as a comparison sees it: letters in lower case, line breaks left out when they are
// skipped, no more than maxChars characters.
std::string Seen(std::string_view text, bool skipLineBreaks, std::size_t maxChars) {
    std::string seen;
    for (const char c : text.substr(0, maxChars)) {
        if (!skipLineBreaks || (c != '\r' && c != '\n')) {
            seen += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return seen;
}

bool SameText(std::string_view a, std::string_view b, bool skipLineBreaks,
              std::size_t maxChars = std::string_view::npos) {
    return Seen(a, skipLineBreaks, maxChars) == Seen(b, skipLineBreaks, maxChars);
}

// Every contact field in the lists is a text; the store's field text reads it.
bool SameField(const CommAddrRec& a, const CommAddrRec& b, std::int32_t id) {
    static const CommAddrMgr kReader;
    std::string x;
    std::string y;
    EXPECT_TRUE(kReader.GetFieldText(a, id, x, 9000) && kReader.GetFieldText(b, id, y, 9000));
    return SameText(x, y, true);
}

bool SameField(const CommDateRec& a, const CommDateRec& b, std::int32_t id) {
    return id == 1   ? SameText(a.m_szDescription, b.m_szDescription, false)
           : id == 2 ? CompareDate(&a.m_start, &b.m_start) == 0
           : id == 3 ? CompareDate(&a.m_end, &b.m_end) == 0
           : id == 9 ? SameText(a.m_szLocation, b.m_szLocation, false)
                     : a.m_bAllDay == b.m_bAllDay;  // 13
}

bool SameField(const CommTaskRec& a, const CommTaskRec& b, std::int32_t id) {
    return id == 0   ? SameText(a.m_szSubject, b.m_szSubject, false)
           : id == 2 ? a.m_nPriority == b.m_nPriority
                     : true;  // 4: the due date has no comparison
}

bool SameField(const CommNoteRec& a, const CommNoteRec& b, std::int32_t id) {
    return id == 2 ? SameText(a.m_szSubject, b.m_szSubject, false, 255)
                   : SameText(a.m_szNote, b.m_szNote, false, 20479);  // 3
}

// The walk: the record itself or an equal one stops it; the last record that agrees on the
// key fields is remembered.
template <class Mgr, class Rec>
CommMatch WalkMatch(const Mgr& store, const Rec& rec) {
    std::optional<std::size_t> remembered;
    for (std::size_t i = 0; i < store.GetCount(); ++i) {
        const Rec& stored = *store.GetAt(i);
        if (&stored == &rec) {
            return {kCommMatchEqual, i};
        }
        auto agrees = [&](std::span<const std::int32_t> ids) {
            for (const std::int32_t id : ids) {
                if (!SameField(stored, rec, id)) {
                    return false;
                }
            }
            return true;
        };
        if (agrees(store.GetKeyFields())) {
            if (agrees(store.GetCompareFields())) {
                return {kCommMatchEqual, i};
            }
            remembered = i;
        }
    }
    if (remembered) {
        return {kCommMatchKey, *remembered};
    }
    return {kCommMatchNone, store.GetCount()};
}

template <class T, std::size_t N>
const T& Pick(std::mt19937& rng, const std::array<T, N>& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

int Number(std::mt19937& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

CommAddrRec RandomContact(std::mt19937& rng) {
    static const std::array<std::string, 5> kNames = {"ann", "ANN", "a\r\nnn", "bob", ""};
    static const std::array<std::string, 3> kSmall = {"", "x", "X\n"};
    CommAddrRec rec;
    rec.m_szFirstName = Pick(rng, kNames);
    rec.m_szLastName = Pick(rng, kSmall);
    rec.m_szEmail = Pick(rng, kSmall);
    rec.m_szWorkPhone = Pick(rng, kSmall);
    rec.m_szCompany = Pick(rng, kSmall);
    rec.m_szOtherStreet = Pick(rng, kSmall);
    rec.m_szNote = Pick(rng, kNames);
    rec.m_szCustom[0] = Pick(rng, kSmall);  // compared by nothing
    return rec;
}

CommDateRec RandomEvent(std::mt19937& rng) {
    static const std::array<std::string, 4> kTexts = {"meet", "MEET", "meet\r\n", ""};
    CommDateRec rec;
    rec.m_szDescription = Pick(rng, kTexts);
    rec.m_szLocation = Pick(rng, kTexts);
    rec.m_start = {2004, 5, 0, Number(rng, 1, 2), Number(rng, 0, 23), Number(rng, 0, 59), 0, 0};
    rec.m_end = {2004, 5, 0, Number(rng, 1, 2), Number(rng, 0, 23), 0, 0, 0};
    rec.m_bAllDay = Number(rng, 0, 1);
    rec.m_bAlarm = Number(rng, 0, 1);
    return rec;
}

CommTaskRec RandomTask(std::mt19937& rng) {
    static const std::array<std::string, 4> kTexts = {"call", "CALL", "call\n", "mail"};
    CommTaskRec rec;
    rec.m_szSubject = Pick(rng, kTexts);
    rec.m_nPriority = Number(rng, 0, 2);
    rec.m_tDueDate = Number(rng, 0, 3);
    rec.m_bCompleted = static_cast<std::uint8_t>(Number(rng, 0, 1));
    return rec;
}

CommNoteRec RandomNote(std::mt19937& rng) {
    static const std::array<std::string, 4> kSubjects = {
        "list", "LIST", std::string(255, 'l') + "a", std::string(255, 'L') + "b"};
    static const std::array<std::string, 3> kNotes = {"milk", "MILK", "milk\r\n"};
    CommNoteRec rec;
    rec.m_szSubject = Pick(rng, kSubjects);
    rec.m_szNote = Pick(rng, kNotes);
    rec.m_nColor = Number(rng, 0, 1);
    return rec;
}

// Random adds, probes (new records and stored ones) and merges (of every field or of a
// random few), compared with the walk after every step that can change the answer.
template <class Mgr, class Make>
void CompareWithWalk(Make make, unsigned seed) {
    std::mt19937 rng(seed);
    Mgr store;
    std::map<CommMatchResult, int> seen;
    auto check = [&](const typename Mgr::Record& probe) {
        const CommMatch indexed = store.Match(probe);
        const CommMatch walked = WalkMatch(store, probe);
        ASSERT_EQ(indexed.m_nResult, walked.m_nResult);
        ASSERT_EQ(indexed.m_nPosition, walked.m_nPosition);
        ++seen[indexed.m_nResult];
    };
    const auto catalogue = Mgr::GetCatalogue();
    for (int round = 0; round < 3; ++round) {
        for (int step = 0; step < 400; ++step) {
            const int action = Number(rng, 0, 9);
            const std::size_t count = store.GetCount();
            if (action < 4 || count == 0) {
                ASSERT_NE(store.Add(make(rng)), nullptr);
            } else if (action < 7) {
                check(make(rng));
            } else if (action < 8) {
                check(*store.GetAt(static_cast<std::size_t>(Number(rng, 0, int(count) - 1))));
            } else {
                std::optional<CommFieldSet> carried;
                if (action == 9) {
                    carried.emplace();
                    for (const CommFieldRow& row : catalogue) {
                        if (Number(rng, 0, 1) == 1) {
                            carried->insert(row.m_nId);
                        }
                    }
                }
                const auto position = static_cast<std::size_t>(Number(rng, 0, int(count) - 1));
                ASSERT_TRUE(store.Merge(make(rng), position, carried));
                check(*store.GetAt(position));
            }
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
        for (std::size_t i = 0; i < store.GetCount(); ++i) {
            check(*store.GetAt(i));
            check(typename Mgr::Record(*store.GetAt(i)));
        }
        store.Clear();
        check(make(rng));
    }
    EXPECT_GT(seen[kCommMatchEqual], 0);
    EXPECT_GT(seen[kCommMatchNone], 0);
    EXPECT_GT(seen[kCommMatchKey], 0);
}

}  // namespace

TEST(CommMatchIndex, EveryStoreAnswersAsTheWalk) {
    CompareWithWalk<CommAddrMgr>(RandomContact, 11);
    CompareWithWalk<CommDateMgr>(RandomEvent, 12);
    CompareWithWalk<CommTaskMgr>(RandomTask, 13);
    CompareWithWalk<CommNoteMgr>(RandomNote, 14);
}

}  // namespace tabrel
