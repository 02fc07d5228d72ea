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

template <class CommRec, class ClassicRecord, class ExRecord, class Ex2Record>
struct PmRecItem final : CommSourceData {
    // The loaded generation's record; monostate only in an item that was never filled.
    using Record = std::variant<std::monostate, ClassicRecord, ExRecord, Ex2Record>;

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
                m_record.template emplace<ClassicRecord>();
                break;
            case PM_DATA_EX:
                m_record.template emplace<ExRecord>();
                break;
            case PM_DATA_EX2:
                m_record.template emplace<Ex2Record>();
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

    ClassicRecord* Classic() { return std::get_if<ClassicRecord>(&m_record); }
    const ClassicRecord* Classic() const { return std::get_if<ClassicRecord>(&m_record); }
    ExRecord* Ex() { return std::get_if<ExRecord>(&m_record); }
    const ExRecord* Ex() const { return std::get_if<ExRecord>(&m_record); }
    Ex2Record* Ex2() { return std::get_if<Ex2Record>(&m_record); }
    const Ex2Record* Ex2() const { return std::get_if<Ex2Record>(&m_record); }
};

}  // namespace tabrel
