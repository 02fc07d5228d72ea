#pragma once
// Helpers shared by the tests: a temporary folder and little writers of byte layouts.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tabrel::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tabrel-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(m_path, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The path of name inside the folder, as text.
    std::string File(std::string_view name) const { return (m_path / name).string(); }
    // The folder as text, ending with a separator.
    std::string Folder() const { return m_path.string() + "/"; }

  private:
    std::filesystem::path m_path;
};

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void WriteTextFile(const std::filesystem::path& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Builds a little-endian byte layout field by field.
class ByteWriter {
  public:
    ByteWriter& U8(std::uint8_t v) { return Append(&v, 1); }
    ByteWriter& U16(std::uint16_t v) { return Le(v, 2); }
    ByteWriter& U32(std::uint32_t v) { return Le(v, 4); }
    ByteWriter& U64(std::uint64_t v) { return Le(v, 8); }
    ByteWriter& Text(std::string_view text) { return Append(text.data(), text.size()); }
    // UTF-16LE of an ASCII text, without a terminator.
    ByteWriter& Utf16(std::string_view text) {
        for (char c : text) {
            U16(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    ByteWriter& Fill(std::size_t count, std::uint8_t value = 0) {
        m_bytes.insert(m_bytes.end(), count, value);
        return *this;
    }
    ByteWriter& Raw(const Bytes& bytes) { return Append(bytes.data(), bytes.size()); }
    // Zero bytes up to the next multiple of alignment.
    ByteWriter& Align(std::size_t alignment) {
        while (m_bytes.size() % alignment != 0) {
            m_bytes.push_back(0);
        }
        return *this;
    }
    // Overwrites a little-endian 32-bit value already written at offset.
    void PatchU32(std::size_t offset, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            m_bytes.at(offset + i) = static_cast<std::uint8_t>(v >> (8 * i));
        }
    }
    void PatchU16(std::size_t offset, std::uint16_t v) {
        m_bytes.at(offset) = static_cast<std::uint8_t>(v);
        m_bytes.at(offset + 1) = static_cast<std::uint8_t>(v >> 8);
    }
    std::size_t Size() const { return m_bytes.size(); }
    const Bytes& Get() const { return m_bytes; }

  private:
    ByteWriter& Le(std::uint64_t v, int count) {
        std::array<std::uint8_t, 8> bytes{};
        for (int i = 0; i < count; ++i) {
            bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
        }
        return Append(bytes.data(), static_cast<std::size_t>(count));
    }
    // Grows the buffer and copies into it: GCC 12 at -O3 takes vector inserts of a few
    // bytes for overflows (a known false positive).
    ByteWriter& Append(const void* data, std::size_t count) {
        if (count > 0) {
            const std::size_t at = m_bytes.size();
            m_bytes.resize(at + count);
            std::memcpy(m_bytes.data() + at, data, count);
        }
        return *this;
    }
    Bytes m_bytes;
};

}  // namespace tabrel::test
