#pragma once
// PmEx2DataMgr<Record>: the record list of a Palm Desktop 6.x reader (PmAddrEx2DataMgr,
// PmDateEx2DataMgr, PmTodoEx2DataMgr, PmMemoEx2DataMgr), one copy of each record in the
// order it was added.
//
// Beside each record the list keeps the row of the database that the record stands for,
// as the reader last read or wrote it: the row it was loaded from, or the row its INSERT
// made. A record added with AddRecord has none until it is first written. Writing a
// record (PmEx2RecordUtil::WriteRecord) finds its row by these values, so a record whose
// key fields changed still updates its own row, and a record created in this run is
// inserted once and then updated. Records are changed in place (through GetRecordAt or
// ReplaceRecord); either keeps the row.

#include <cstddef>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>

#include "misc/CxList.h"
#include "palm/db6x/engine/DbValue.h"

namespace tabrel {

template <class Record>
class PmEx2DataMgr {
  public:
    PmEx2DataMgr() = default;
    virtual ~PmEx2DataMgr() = default;
    PmEx2DataMgr(const PmEx2DataMgr&) = delete;
    PmEx2DataMgr& operator=(const PmEx2DataMgr&) = delete;

    // Destroys every record.
    void Clear() {
        m_pRecs.Clear();
        m_positions.clear();
    }
    // Appends a copy of a record that is not in the database yet.
    bool AddRecord(Record record) { return Append(std::move(record), std::nullopt); }
    // Appends a copy of a record read from row.
    bool AddLoadedRecord(Record record, DbRow row) {
        return Append(std::move(record), std::move(row));
    }

    // Takes back the last record appended (e.g. one whose INSERT failed); false for an
    // empty list.
    bool RemoveLastRecord() {
        if (const Entry* last = m_pRecs.GetAt(m_pRecs.GetCount() - 1)) {
            m_positions.erase(&last->record);
        }
        return m_pRecs.RemoveLast();
    }

    std::size_t GetRecordCount() const { return m_pRecs.GetCount(); }
    // The list walk: GetFirstRecord, then GetNextRecord until nullptr.
    Record* GetFirstRecord() { return RecordOf(m_pRecs.First()); }
    Record* GetNextRecord() { return RecordOf(m_pRecs.Next()); }
    // The record at a 0-based position; nullptr past the end.
    Record* GetRecordAt(std::size_t position) { return RecordOf(m_pRecs.At(position)); }
    // Puts a copy of record in place of the one at position, keeping its row. False past
    // the end.
    bool ReplaceRecord(std::size_t position, const Record& record) {
        Record* held = GetRecordAt(position);
        if (held == nullptr) {
            return false;
        }
        *held = record;
        return true;
    }

    // The position of a record of this list given by its address; nothing for a record
    // that is not one of the list's.
    std::optional<std::size_t> FindPosition(const Record* record) const {
        const auto found = m_positions.find(record);
        return found != m_positions.end() ? std::optional(found->second) : std::nullopt;
    }
    // The database row of the record at position; nullptr for a record not written yet or
    // past the end.
    const DbRow* GetStoredRow(std::size_t position) const {
        const Entry* entry = EntryAt(position);
        return entry != nullptr && entry->stored ? &*entry->stored : nullptr;
    }
    void SetStoredRow(std::size_t position, DbRow row) {
        if (Entry* entry = EntryAt(position)) {
            entry->stored = std::move(row);
        }
    }

    // Plain iteration over the records in list order; leaves the walk's cursor alone.
    template <class Inner>
    struct Iterator {
        Inner it;
        Record& operator*() const { return it->record; }
        Record* operator->() const { return &it->record; }
        Iterator& operator++() {
            ++it;
            return *this;
        }
        bool operator==(const Iterator&) const = default;
    };
    auto begin() const { return Iterator<decltype(m_pRecs.begin())>{m_pRecs.begin()}; }
    auto end() const { return Iterator<decltype(m_pRecs.end())>{m_pRecs.end()}; }

  private:
    struct Entry {
        Record record;
        std::optional<DbRow> stored;
    };

    bool Append(Record record, std::optional<DbRow> stored) {
        auto entry = std::make_unique<Entry>(Entry{std::move(record), std::move(stored)});
        const Record* address = &entry->record;
        // Position first: running out of memory in either step leaves the list as it was.
        m_positions.emplace(address, m_pRecs.GetCount());
        try {
            if (!m_pRecs.Add(std::move(entry))) {
                m_positions.erase(address);
                return false;
            }
        } catch (...) {
            m_positions.erase(address);
            throw;
        }
        return true;
    }
    static Record* RecordOf(Entry* entry) { return entry != nullptr ? &entry->record : nullptr; }
    const Entry* EntryAt(std::size_t position) const { return m_pRecs.GetAt(position); }
    Entry* EntryAt(std::size_t position) { return m_pRecs.GetAt(position); }

    CxList<Entry> m_pRecs;
    std::unordered_map<const Record*, std::size_t> m_positions;  // each record's position
};

}  // namespace tabrel
