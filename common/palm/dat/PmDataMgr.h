#pragma once
// PmDataMgr<Record>: the record list of a Palm Desktop .dat reader, one deep copy of each
// record in file order.
//
// Stored records are reachable for reading only; a change goes through ReplaceRecord, which
// puts a whole new record in place. Beside each record the list can keep the bytes the
// record was read from (PmRawRecord), so that a record nobody changed is written back
// exactly as it came; ReplaceRecord drops them, and a record added with AddRecord has none.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "misc/CxAssert.h"
#include "misc/CxList.h"
#include "palm/dat/PmRawRecord.h"

namespace tabrel {

template <class Record>
class PmDataMgr {
  public:
    PmDataMgr() = default;
    virtual ~PmDataMgr() = default;
    PmDataMgr(const PmDataMgr&) = delete;
    PmDataMgr& operator=(const PmDataMgr&) = delete;

    // Destroys every record.
    void Clear() {
        m_pRecs.Clear();
        m_raw.clear();
    }

    // Appends a copy of record, with no stored bytes.
    bool AddRecord(Record record) { return AddLoadedRecord(std::move(record), PmRawRecord{}); }

    // Appends record (a copy unless it is moved in) together with the bytes it was read
    // from.
    bool AddLoadedRecord(Record record, PmRawRecord raw) {
        if (!m_pRecs.Add(std::make_unique<Record>(std::move(record)))) {
            return false;
        }
        m_raw.push_back(std::move(raw));
        return true;
    }
    bool AddLoadedRecord(Record record, std::vector<std::uint8_t> bytes) {
        return AddLoadedRecord(std::move(record), PmRawRecord{std::move(bytes)});
    }

    // Takes back the last record appended; false for an empty list.
    bool RemoveLastRecord() {
        if (!m_pRecs.RemoveLast()) {
            return false;
        }
        m_raw.pop_back();
        return true;
    }

    std::size_t GetRecordCount() const { return m_pRecs.GetCount(); }

    // The list walk: GetFirstRecord, then GetNextRecord until nullptr.
    const Record* GetFirstRecord() { return m_pRecs.First(); }
    const Record* GetNextRecord() { return m_pRecs.Next(); }
    // The record at a 0-based position; nullptr past the end.
    const Record* GetRecordAt(std::size_t position) { return m_pRecs.At(position); }

    // Puts a copy of record in place of the one at position (which keeps its place in the
    // list and its address) and forgets the bytes that one was read from. False past the
    // end.
    bool ReplaceRecord(std::size_t position, const Record& record) {
        Record* held = m_pRecs.At(position);
        if (held == nullptr) {
            return false;
        }
        *held = record;
        m_raw[position] = PmRawRecord{};
        return true;
    }

    // The bytes the record at position was read from; empty for a record added or replaced
    // since, or past the end.
    std::span<const std::uint8_t> GetRawBytes(std::size_t position) const {
        return GetRawRecord(position).bytes;
    }
    // The same with where its class reference lies (PmRawRecord).
    const PmRawRecord& GetRawRecord(std::size_t position) const {
        CX_ASSERT(m_raw.size() == m_pRecs.GetCount(), "m_pRecs");
        static const PmRawRecord kNone;
        return position < m_raw.size() ? m_raw[position] : kNone;
    }

    // Plain iteration over the records in list order; leaves the walk's cursor alone.
    struct ConstIterator {
        decltype(std::declval<const CxList<Record>&>().begin()) it;
        const Record& operator*() const { return *it; }
        const Record* operator->() const { return &*it; }
        ConstIterator& operator++() {
            ++it;
            return *this;
        }
        bool operator==(const ConstIterator&) const = default;
    };
    ConstIterator begin() const { return ConstIterator{m_pRecs.begin()}; }
    ConstIterator end() const { return ConstIterator{m_pRecs.end()}; }

  private:
    CxList<Record> m_pRecs;
    std::vector<PmRawRecord> m_raw;  // one entry per record, same position
};

}  // namespace tabrel
