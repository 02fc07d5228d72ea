#pragma once
// PmRawRecord: the bytes a .dat record was loaded from, and what a save needs to know to
// write them back.
//
// A repeat-event field may name its class by a running number that refers to a class
// declared by an earlier field of the file (PmRepeatEvent.h). Such a reference reads right
// only while every field before it is written back exactly as it was read. Once a save has
// written one record from its fields (where the class is always declared in full), the
// numbering of every later record is off, so a later record's bytes go out with their
// class reference expanded to the full class form, or, when the kind it names has no
// class name, the record goes out from its fields.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "palm/dat/PmDBUtil.h"

namespace tabrel {

struct PmRawRecord {
    static constexpr std::size_t kNoClassReference = std::numeric_limits<std::size_t>::max();

    std::vector<std::uint8_t> bytes;
    // Offset inside bytes of the 2-byte class entry of the record's repeat field when that
    // entry refers to an earlier class; kNoClassReference otherwise.
    std::size_t classRefOffset = kNoClassReference;

    bool HasClassReference() const { return classRefOffset != kNoClassReference; }
};

// The bytes of raw with its class reference replaced by u16 0xFFFF, u16 1, u16 name
// length and the class name of the kind that follows the reference. False, leaving
// expanded alone, when raw holds no class reference, its bytes end too early or the kind
// has no class name (0, or above 6).
bool ExpandClassReference(const PmRawRecord& raw, std::vector<std::uint8_t>& expanded);

// Writes one record of a save that goes through the records in file order. fieldsWritten
// tells whether a record before this one went out from its fields; it starts false for
// each save. The record goes out as raw's bytes when it has any, with the class reference
// expanded once fieldsWritten is set; otherwise (no bytes, or a reference that cannot be
// expanded) writeFields() writes it from its fields and fieldsWritten is set.
template <class WriteFields>
bool SaveRecordInFileOrder(PmDBUtil& db, const PmRawRecord& raw, bool& fieldsWritten,
                           WriteFields&& writeFields) {
    if (!raw.bytes.empty()) {
        if (!fieldsWritten || !raw.HasClassReference()) {
            return db.WriteBytes(raw.bytes);
        }
        std::vector<std::uint8_t> expanded;
        if (ExpandClassReference(raw, expanded)) {
            return db.WriteBytes(expanded);
        }
    }
    fieldsWritten = true;
    return std::forward<WriteFields>(writeFields)();
}

}  // namespace tabrel
