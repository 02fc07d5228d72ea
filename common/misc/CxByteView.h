#pragma once
// CxByteView: bounds-checked little-endian reads over a byte buffer it does not own.
// Every read answers nullopt instead of reading past the end, and offsets are 64-bit so
// that offset + length never wraps.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tabrel {

class CxByteView {
  public:
    CxByteView() = default;
    explicit CxByteView(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Size() const { return m_bytes.size(); }

    // Whether length bytes exist at offset.
    bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
    }

    std::optional<std::uint8_t> U8(std::uint64_t offset) const {
        if (!Has(offset, 1)) {
            return std::nullopt;
        }
        return m_bytes[offset];
    }
    std::optional<std::uint16_t> U16(std::uint64_t offset) const {
        const auto v = Le(offset, 2);
        return v ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*v)) : std::nullopt;
    }
    std::optional<std::uint32_t> U32(std::uint64_t offset) const {
        const auto v = Le(offset, 4);
        return v ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*v)) : std::nullopt;
    }
    std::optional<std::uint64_t> U64(std::uint64_t offset) const { return Le(offset, 8); }

    // The length bytes at offset as a view of their own.
    std::optional<CxByteView> Sub(std::uint64_t offset, std::uint64_t length) const {
        if (!Has(offset, length)) {
            return std::nullopt;
        }
        return CxByteView(m_bytes.subspan(offset, length));
    }

    // Whether the bytes at offset equal expected.
    bool Matches(std::uint64_t offset, std::span<const std::uint8_t> expected) const {
        if (!Has(offset, expected.size())) {
            return false;
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (m_bytes[offset + i] != expected[i]) {
                return false;
            }
        }
        return true;
    }

  private:
    std::optional<std::uint64_t> Le(std::uint64_t offset, unsigned count) const {
        if (!Has(offset, count)) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (unsigned i = 0; i < count; ++i) {
            value |= std::uint64_t{m_bytes[offset + i]} << (8 * i);
        }
        return value;
    }

    std::span<const std::uint8_t> m_bytes;
};

}  // namespace tabrel
