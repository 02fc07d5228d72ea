#pragma once
// The source part every common record ends with: where the record came from, the Palm
// record's attribute and identifier words, and a private copy of the facade's item the
// record was made from.
//
// The item copy is held through CommSourceData, which the facade's item type derives
// from; copying a source part clones it, so every copy of a common record owns its own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

namespace tabrel {

// Source types (contact field 78): where a common record came from.
inline constexpr std::int32_t kCommSourcePalm = 1;
inline constexpr std::int32_t kCommSourceCsv = 11;

// The text of a source type; the empty text for a value outside 1 to 15.
inline std::string_view CommSourceTypeText(std::int32_t sourceType) {
    static constexpr std::array<std::string_view, 15> kTexts = {
        "Palm",    "Palm(4.1.2 and aboves)",
        "Outlook", "Windows Address Book",
        "MSN",     "ICQ",
        "Yahoo",   "Google",
        "Domino",  "Endora",
        "CSV",     "XML",
        "VCard",   "Database",
        "Sorvik",
    };
    if (sourceType < 1 || sourceType > static_cast<std::int32_t>(kTexts.size())) {
        return {};
    }
    return kTexts[static_cast<std::size_t>(sourceType - 1)];
}

// A private copy of the data a common record was made from.
class CommSourceData {
  public:
    virtual ~CommSourceData() = default;
    virtual std::unique_ptr<CommSourceData> Clone() const = 0;

  protected:
    CommSourceData() = default;
    CommSourceData(const CommSourceData&) = default;
    CommSourceData& operator=(const CommSourceData&) = default;
};

struct CommSource {
    std::int32_t m_nSourceType = 0;  // kCommSourcePalm for records made from Palm records
    std::int32_t m_nStatus = 0;      // the Palm record's attribute word
    std::int32_t m_nSourceId = 0;    // the Palm record's identifier (not used by contacts)
    std::unique_ptr<CommSourceData> m_pSourceData;  // none for a record built from CSV text

    CommSource() = default;
    ~CommSource() = default;
    CommSource(const CommSource& other)
        : m_nSourceType(other.m_nSourceType),
          m_nStatus(other.m_nStatus),
          m_nSourceId(other.m_nSourceId),
          m_pSourceData(other.m_pSourceData ? other.m_pSourceData->Clone() : nullptr) {}
    CommSource& operator=(const CommSource& other) {
        CommSource copy(other);
        *this = std::move(copy);
        return *this;
    }
    CommSource(CommSource&&) noexcept = default;
    CommSource& operator=(CommSource&&) noexcept = default;
};

}  // namespace tabrel
