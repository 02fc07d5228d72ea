#include "palm/dat/PmRawRecord.h"

#include "palm/dat/PmRepeatEvent.h"

namespace tabrel {

namespace {

constexpr std::size_t kClassEntrySize = 2;
constexpr std::size_t kKindSize = 4;

}  // namespace

// A class reference inside a record's bytes:
//   offset              size  meaning
//   classRefOffset      2     class entry: the running number of an earlier class
//   classRefOffset + 2  4     nKind, followed by the rest of the repeat event
// The expanded bytes carry the class declaration of nKind in place of the 2-byte entry.
bool ExpandClassReference(const PmRawRecord& raw, std::vector<std::uint8_t>& expanded) {
    const std::size_t offset = raw.classRefOffset;
    if (!raw.HasClassReference() || offset > raw.bytes.size() ||
        raw.bytes.size() - offset < kClassEntrySize + kKindSize) {
        return false;
    }
    const std::uint8_t* kindBytes = raw.bytes.data() + offset + kClassEntrySize;
    const std::uint32_t kind = static_cast<std::uint32_t>(kindBytes[0]) |
                               static_cast<std::uint32_t>(kindBytes[1]) << 8 |
                               static_cast<std::uint32_t>(kindBytes[2]) << 16 |
                               static_cast<std::uint32_t>(kindBytes[3]) << 24;
    const std::vector<std::uint8_t> declaration = GetRepeatClassDeclaration(kind);
    if (declaration.empty()) {
        return false;
    }
    const auto entry = raw.bytes.begin() + static_cast<std::ptrdiff_t>(offset);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(raw.bytes.size() - kClassEntrySize + declaration.size());
    bytes.insert(bytes.end(), raw.bytes.begin(), entry);
    bytes.insert(bytes.end(), declaration.begin(), declaration.end());
    bytes.insert(bytes.end(), entry + kClassEntrySize, raw.bytes.end());
    expanded = std::move(bytes);
    return true;
}

}  // namespace tabrel
