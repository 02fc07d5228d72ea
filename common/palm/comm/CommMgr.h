#pragma once
// CommMgr: what the four common record stores (CommAddrMgr, CommDateMgr, CommTaskMgr,
// CommNoteMgr) share: the owned records in insertion order, the key and compare field
// lists, matching, merging and the catalogue lookups.
//
// Matching answers, for a record r, as a walk over the stored records in order would:
// the first stored record that is r itself, or that agrees with r on the key fields and
// on the compare fields, makes r "equal" (at that position); otherwise the last stored
// record that agrees on the key fields makes r "matching" (at that position); otherwise
// there is no match. Instead of walking, the store keeps an index of its records by the
// comparison form of their key fields (CommFieldKey), and inside each key by a hash of the
// comparison form of their compare fields, so a match costs about one lookup however many
// records are stored. Stored records are reachable for reading only, so the index cannot
// go stale; a change goes through Merge.
//
// Each store derives from CommMgr<Store, Record> and provides, for the template:
//   Catalogue()                           its constant catalogue
//   TextSize(row)                         the byte size of a text field's row
//   TextMember(rec, id)                   the text member of an identifier, or nullptr
//   AppendFieldKey(rec, id, key)          a field's comparison form (false: equals nothing)
//   MergeFields(to, from, carried)        the field-by-field merge
//   FieldText(rec, row, text, size)       the field's text form

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "misc/CxAssert.h"
#include "misc/CxDateTime.h"
#include "misc/CxList.h"
#include "misc/CxText.h"
#include "palm/comm/CommSource.h"

namespace tabrel {

// One row of a common catalogue.
struct CommFieldRow {
    std::int32_t m_nId = 0;
    std::string_view m_szName;    // at most 31 characters
    std::int32_t m_nNumber1 = 0;  // contacts: the type (kCommType...); others: the size in bytes
    std::int32_t m_nNumber2 = 0;  // contacts: the size in bytes; others: 0
};

// Types of the contact catalogue's rows.
inline constexpr std::int32_t kCommTypeText = 1;
inline constexpr std::int32_t kCommTypeGender = 4;
inline constexpr std::int32_t kCommTypeInteger = 5;
inline constexpr std::int32_t kCommTypeDate = 6;

// Common field identifiers, e.g. the fields an imported record carries.
using CommFieldSet = std::set<std::int32_t>;

enum CommMatchResult : std::int32_t {
    kCommMatchEqual = 1,  // an equal record is present
    kCommMatchNone = 2,   // no record matches; the position is the record count
    kCommMatchKey = 3,    // a record agrees on the key fields but differs
};

struct CommMatch {
    CommMatchResult m_nResult = kCommMatchNone;
    std::size_t m_nPosition = 0;
};

// The comparison form of a list of fields: two records agree on the fields exactly when
// their forms are equal. Each field's form ends with its length, so the boundaries between
// fields cannot shift and the whole stays unambiguous.
class CommFieldKey {
  public:
    // ASCII letters folded to lower case; CR and LF left out when skipLineBreaks; only the
    // first maxChars characters looked at.
    void AddText(std::string_view text, bool skipLineBreaks,
                 std::size_t maxChars = std::string_view::npos);
    void AddNumber(std::int64_t value);
    // By value (0 and -0 alike); false for a value that equals nothing (not a number).
    bool AddReal(double value);
    // Year, month and day only.
    void AddDay(const DateTimeFields& date);
    // A field the store has no comparison for: every record agrees on it.
    void AddNothing();

    std::string Take() { return std::move(m_text); }

  private:
    void EndField(std::size_t start);

    std::string m_text;
};

// A text into an output of size bytes: at most size - 1 characters.
void CommPutText(std::string& out, std::string_view text, std::size_t size);
// "Yes" for a set flag, "No" for 0.
std::string_view CommYesNo(std::int64_t flag);
// Copies from into to, cut to size - 1 characters, unless from is empty.
void CommMergeText(std::string& to, const std::string& from, std::size_t size);

template <class Derived, class Rec>
class CommMgr {
  public:
    using Record = Rec;

    CommMgr(const CommMgr&) = delete;
    CommMgr& operator=(const CommMgr&) = delete;

    // Appends rec (a copy, with its own clone of the source data, unless it is moved in)
    // and answers it. When memory runs out nothing is kept and std::bad_alloc goes on to
    // the caller.
    const Rec* Add(Rec rec) {
        auto copy = std::make_unique<Rec>(std::move(rec));
        if (m_pRecAt.size() == m_pRecAt.capacity()) {  // grow ahead, so push_back cannot fail
            m_pRecAt.reserve(m_pRecAt.empty() ? 16 : 2 * m_pRecAt.size());
        }
        Rec* held = copy.get();
        const std::size_t position = m_pRecAt.size();
        if (m_bIndexed) {
            const IndexEntry entry = MakeEntry(*copy);
            try {
                IndexInsert(entry, position);
                m_positions.emplace(held, position);
                m_pRecs.Add(std::move(copy));
            } catch (const std::bad_alloc&) {
                m_positions.erase(held);
                IndexErase(entry, position);
                throw;
            }
        } else {
            m_pRecs.Add(std::move(copy));
        }
        m_pRecAt.push_back(held);
        return held;
    }

    // Destroys every record with its source data; the store is empty.
    void Clear() {
        m_index.clear();
        m_positions.clear();
        m_bIndexed = false;
        m_pRecAt.clear();
        m_pRecs.Clear();
    }

    // The walk over the records in insertion order: GetFirst, then GetNext until nullptr.
    const Rec* GetFirst() { return m_pRecs.First(); }
    const Rec* GetNext() { return m_pRecs.Next(); }
    // The record at a 0-based position (the walk is left alone); nullptr past the end.
    const Rec* GetAt(std::size_t position) const {
        return position < m_pRecAt.size() ? m_pRecAt[position] : nullptr;
    }
    std::size_t GetCount() const { return m_pRecAt.size(); }

    // kCommMatchEqual with the first stored record that is rec or equals it;
    // kCommMatchKey with the last one that agrees with rec on the key fields only;
    // kCommMatchNone with the record count.
    CommMatch Match(const Rec& rec) const {
        CX_ASSERT(m_pRecAt.size() == m_pRecs.GetCount(), "m_pRecAt.size()==m_pRecs.GetCount()");
        BuildIndex();
        const std::size_t count = m_pRecAt.size();
        // Where rec itself is stored: the walk would stop there at the latest.
        std::size_t self = count;
        if (const auto it = m_positions.find(&rec); it != m_positions.end()) {
            self = it->second;
        }
        const Bucket* bucket = nullptr;
        if (const std::optional<std::string> key = MakeKey(rec, m_nKeyFields)) {
            if (const auto it = m_index.find(*key); it != m_index.end()) {
                bucket = &it->second;
            }
        }
        if (bucket != nullptr) {
            if (const std::optional<std::string> compare = MakeKey(rec, m_nCompareFields)) {
                const auto same = bucket->byCompare.find(std::hash<std::string>{}(*compare));
                if (same != bucket->byCompare.end()) {
                    for (const std::size_t position : same->second) {
                        if (position >= self) {
                            break;
                        }
                        if (MakeKey(*m_pRecAt[position], m_nCompareFields) == compare) {
                            return {kCommMatchEqual, position};
                        }
                    }
                }
            }
        }
        if (self < count) {
            return {kCommMatchEqual, self};
        }
        if (bucket != nullptr) {
            return {kCommMatchKey, *bucket->positions.rbegin()};
        }
        return {kCommMatchNone, count};
    }

    // The record at position takes rec's content field by field: of the fields in
    // fieldsCarried (common identifiers), or of every field the store merges when none is
    // given. A text is copied only when rec's text is not empty, cut to the field's size
    // less one. False, changing nothing, past the end; running out of memory changes nothing
    // and throws std::bad_alloc.
    bool Merge(const Rec& rec, std::size_t position,
               const std::optional<CommFieldSet>& fieldsCarried = std::nullopt) {
        if (position >= m_pRecAt.size()) {
            return false;
        }
        Rec& held = *m_pRecAt[position];
        // The merged copy is built aside so that a failure changes nothing; the source data
        // is set aside meanwhile instead of being cloned for nothing.
        std::unique_ptr<CommSourceData> data = std::move(held.m_source.m_pSourceData);
        try {
            Rec merged(held);
            Derived::MergeFields(merged, rec, fieldsCarried);
            if (m_bIndexed) {
                IndexUpdate(MakeEntry(held), MakeEntry(merged), position);
            }
            merged.m_source.m_pSourceData = std::move(data);
            held = std::move(merged);
            return true;
        } catch (const std::bad_alloc&) {
            held.m_source.m_pSourceData = std::move(data);
            throw;
        }
    }

    // Gives the record at position new source data (the fields and the index are left as
    // they are); false past the end.
    bool SetSourceData(std::size_t position, std::unique_ptr<CommSourceData> data) {
        if (position >= m_pRecAt.size()) {
            return false;
        }
        m_pRecAt[position]->m_source.m_pSourceData = std::move(data);
        return true;
    }

    // The text of row's field of rec, at most size - 1 characters; false (with the empty
    // text) when the field has no text form.
    bool GetFieldText(const Rec& rec, const CommFieldRow& row, std::string& text,
                      std::size_t size) const {
        text.clear();
        return Derived::FieldText(rec, row, text, size);
    }
    // The same for the catalogue row of an identifier; false for an unknown one.
    bool GetFieldText(const Rec& rec, std::int32_t id, std::string& text, std::size_t size) const {
        CommFieldRow row;
        if (!GetFieldRow(id, row)) {
            text.clear();
            return false;
        }
        return GetFieldText(rec, row, text, size);
    }

    // The store's constant catalogue, one row per common field.
    static std::span<const CommFieldRow> GetCatalogue() { return Derived::Catalogue(); }

    // A copy of the catalogue row of an identifier; false when there is none.
    static bool GetFieldRow(std::int32_t id, CommFieldRow& row) {
        for (const CommFieldRow& candidate : Derived::Catalogue()) {
            if (candidate.m_nId == id) {
                row = candidate;
                return true;
            }
        }
        return false;
    }

    // Sets the text field of an identifier, cut to the field's size less one; false when
    // the identifier names no text field.
    static bool SetText(Rec& rec, std::int32_t id, std::string_view text) {
        CommFieldRow row;
        std::string* member = Derived::TextMember(rec, id);
        if (member == nullptr || !GetFieldRow(id, row)) {
            return false;
        }
        *member = CutText(text, Derived::TextSize(row) - 1);
        return true;
    }

    std::span<const std::int32_t> GetKeyFields() const { return m_nKeyFields; }
    std::span<const std::int32_t> GetCompareFields() const { return m_nCompareFields; }

  protected:
    CommMgr(std::vector<std::int32_t> keyFields, std::vector<std::int32_t> compareFields)
        : m_nKeyFields(std::move(keyFields)), m_nCompareFields(std::move(compareFields)) {}
    ~CommMgr() = default;

    static bool IsCarried(const std::optional<CommFieldSet>& carried, std::int32_t id) {
        return !carried || carried->contains(id);
    }

    // Merges the text field of an identifier when it is carried.
    static void MergeText(Rec& to, const Rec& from, std::int32_t id,
                          const std::optional<CommFieldSet>& carried) {
        CommFieldRow row;
        std::string* member = Derived::TextMember(to, id);
        if (IsCarried(carried, id) && member != nullptr && GetFieldRow(id, row)) {
            CommMergeText(*member, *Derived::TextMember(from, id), Derived::TextSize(row));
        }
    }

    // Copies a number, flag, date or repeat rule when its identifier is carried.
    template <class T>
    static void MergeValue(T& to, const T& from, std::int32_t id,
                           const std::optional<CommFieldSet>& carried) {
        if (IsCarried(carried, id)) {
            to = from;
        }
    }

  private:
    // Records that agree on the key fields, by position, and among them by a hash of the
    // comparison form of the compare fields.
    struct Bucket {
        std::set<std::size_t> positions;
        std::unordered_map<std::size_t, std::set<std::size_t>> byCompare;
    };

    // Where a record sits in the index; no key: it agrees with no other record on the key
    // fields; no hash: it agrees with none on the compare fields.
    struct IndexEntry {
        std::optional<std::string> key;
        std::optional<std::size_t> compareHash;
        bool operator==(const IndexEntry&) const = default;
    };

    static std::optional<std::string> MakeKey(const Rec& rec,
                                              const std::vector<std::int32_t>& fields) {
        CommFieldKey key;
        for (const std::int32_t id : fields) {
            if (!Derived::AppendFieldKey(rec, id, key)) {
                return std::nullopt;
            }
        }
        return key.Take();
    }

    IndexEntry MakeEntry(const Rec& rec) const {
        IndexEntry entry;
        entry.key = MakeKey(rec, m_nKeyFields);
        if (const std::optional<std::string> compare = MakeKey(rec, m_nCompareFields)) {
            entry.compareHash = std::hash<std::string>{}(*compare);
        }
        return entry;
    }

    // The index of the stored records, built when the first Match needs it (an export never
    // matches) and kept up to date from then on; on failure there is none, as before.
    void BuildIndex() const {
        if (m_bIndexed) {
            return;
        }
        try {
            m_positions.reserve(m_pRecAt.size());
            for (std::size_t position = 0; position < m_pRecAt.size(); ++position) {
                IndexInsert(MakeEntry(*m_pRecAt[position]), position);
                m_positions.emplace(m_pRecAt[position], position);
            }
        } catch (const std::bad_alloc&) {
            m_index.clear();
            m_positions.clear();
            throw;
        }
        m_bIndexed = true;
    }

    // Enters a position that is not in the index yet; on failure the index is as before.
    void IndexInsert(const IndexEntry& entry, std::size_t position) const {
        if (!entry.key) {
            return;
        }
        try {
            Bucket& bucket = m_index[*entry.key];
            bucket.positions.insert(position);
            if (entry.compareHash) {
                bucket.byCompare[*entry.compareHash].insert(position);
            }
        } catch (const std::bad_alloc&) {
            IndexErase(entry, position);
            throw;
        }
    }

    void IndexErase(const IndexEntry& entry, std::size_t position) const noexcept {
        if (!entry.key) {
            return;
        }
        const auto it = m_index.find(*entry.key);
        if (it == m_index.end()) {
            return;
        }
        Bucket& bucket = it->second;
        bucket.positions.erase(position);
        if (entry.compareHash) {
            EraseCompare(bucket, *entry.compareHash, position);
        }
        if (bucket.positions.empty()) {
            m_index.erase(it);
        }
    }

    static void EraseCompare(Bucket& bucket, std::size_t hash, std::size_t position) noexcept {
        const auto same = bucket.byCompare.find(hash);
        if (same != bucket.byCompare.end()) {
            same->second.erase(position);
            if (same->second.empty()) {
                bucket.byCompare.erase(same);
            }
        }
    }

    // Moves a stored position from where before put it to where after puts it; on failure
    // the index is as before.
    void IndexUpdate(const IndexEntry& before, const IndexEntry& after, std::size_t position) {
        if (before == after) {
            return;
        }
        if (before.key != after.key) {
            IndexInsert(after, position);
            IndexErase(before, position);
            return;
        }
        if (!after.key) {
            return;  // in no bucket before and after
        }
        // Same key, so the same bucket; only the compare hash moves.
        const auto it = m_index.find(*after.key);
        CX_ASSERT(it != m_index.end(), "m_index.find(key)!=m_index.end()");
        Bucket& bucket = it->second;
        if (after.compareHash) {
            try {
                bucket.byCompare[*after.compareHash].insert(position);
            } catch (const std::bad_alloc&) {
                EraseCompare(bucket, *after.compareHash, position);
                throw;
            }
        }
        if (before.compareHash) {
            EraseCompare(bucket, *before.compareHash, position);
        }
    }

    CxList<Rec> m_pRecs;
    // The records by position, and the position of each record, for the index's lookups.
    std::vector<Rec*> m_pRecAt;
    // Both are built by the first Match (BuildIndex).
    mutable std::unordered_map<const Rec*, std::size_t> m_positions;
    mutable std::unordered_map<std::string, Bucket> m_index;
    mutable bool m_bIndexed = false;
    std::vector<std::int32_t> m_nKeyFields;
    std::vector<std::int32_t> m_nCompareFields;
};

}  // namespace tabrel
