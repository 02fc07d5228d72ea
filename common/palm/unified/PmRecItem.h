#pragma once
// PmRecItem: a facade's copy of one live Palm Desktop record, of whichever generation is
// loaded, with the links to the reader's record it stands for and to the common record
// made from it.
//
// The item is also the source data of its common record (CommSource): the store keeps a
// clone of the item beside every common record, so that a common record leads back to the
// Palm Desktop record's own fields.

#include <cstddef>
#include <memory>
#include <optional>
#include <variant>

#include "palm/comm/CommSource.h"
#include "palm/unified/PmDataVersion.h"

namespace tabrel {

// A record on the heap that copies with its holder: an item then takes the room of its own
// generation's record, not of the largest (a 6.x contact is three times a classic one).
template <class Record>
class PmBoxedRecord {
  public:
    explicit PmBoxedRecord(Record record = Record{})
        : m_pRecord(std::make_unique<Record>(std::move(record))) {}
    PmBoxedRecord(const PmBoxedRecord& other)
        : m_pRecord(other.m_pRecord ? std::make_unique<Record>(*other.m_pRecord) : nullptr) {}
    PmBoxedRecord& operator=(const PmBoxedRecord& other) {
        if (m_pRecord && other.m_pRecord) {
            *m_pRecord = *other.m_pRecord;
        } else {
            *this = PmBoxedRecord(other);
        }
        return *this;
    }
    PmBoxedRecord(PmBoxedRecord&&) noexcept = default;
    PmBoxedRecord& operator=(PmBoxedRecord&&) noexcept = default;
    ~PmBoxedRecord() = default;

    Record* Get() const { return m_pRecord.get(); }
    bool operator==(const PmBoxedRecord& other) const {
        return m_pRecord && other.m_pRecord ? *m_pRecord == *other.m_pRecord
                                            : m_pRecord == other.m_pRecord;
    }

  private:
    std::unique_ptr<Record> m_pRecord;  // never null but in a moved-from box
};

template <class CommRec, class ClassicRecord, class ExRecord, class Ex2Record>
struct PmRecItem final : CommSourceData {
    // The loaded generation's record; monostate only in an item that was never filled.
    using Record = std::variant<std::monostate, PmBoxedRecord<ClassicRecord>,
                                PmBoxedRecord<ExRecord>, PmBoxedRecord<Ex2Record>>;

    PmDataVersion m_nVersion = PM_DATA_NONE;
    Record m_record;
    // The position of the record in the reader's record list that this item stands for,
    // counting every record of the list (the skipped ones too); also set for records an
    // import appended.
    std::optional<std::size_t> m_nSource;
    // The common record in the facade's store made from this item; null in the clone a
    // common record carries as its source data.
    const CommRec* m_pCommon = nullptr;

    PmRecItem() = default;
    explicit PmRecItem(PmDataVersion version) : m_nVersion(version) {
        switch (version) {
            case PM_DATA_CLASSIC:
                Set(ClassicRecord{});
                break;
            case PM_DATA_EX:
                Set(ExRecord{});
                break;
            case PM_DATA_EX2:
                Set(Ex2Record{});
                break;
            default:
                break;
        }
    }
    PmRecItem(const PmRecItem&) = default;
    PmRecItem& operator=(const PmRecItem&) = default;

    std::unique_ptr<CommSourceData> Clone() const override {
        auto copy = std::make_unique<PmRecItem>(*this);
        copy->m_pCommon = nullptr;
        return copy;
    }

    // The record of one generation; nullptr when the item holds another.
    template <class R>
    R* Get() const {
        const auto* box = std::get_if<PmBoxedRecord<R>>(&m_record);
        return box != nullptr ? box->Get() : nullptr;
    }
    // Makes the item hold record, of whichever generation.
    template <class R>
    void Set(R record) {
        if (R* held = Get<R>()) {
            *held = std::move(record);
        } else {
            m_record = PmBoxedRecord<R>(std::move(record));
        }
    }

    ClassicRecord* Classic() { return Get<ClassicRecord>(); }
    const ClassicRecord* Classic() const { return Get<ClassicRecord>(); }
    ExRecord* Ex() { return Get<ExRecord>(); }
    const ExRecord* Ex() const { return Get<ExRecord>(); }
    Ex2Record* Ex2() { return Get<Ex2Record>(); }
    const Ex2Record* Ex2() const { return Get<Ex2Record>(); }
};

}  // namespace tabrel
