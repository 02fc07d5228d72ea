#include "palm/db6x/jet/JetHeader.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "misc/CxByteView.h"

namespace tabrel {

namespace {

// The database header page (page 0) of a Jet file:
//   offset  size  meaning
//   0x00    1     page type, 0x00
//   0x01    3     0x01 0x00 0x00
//   0x04    15    "Standard Jet DB" (Access 2007 and later: "Standard ACE DB")
//   0x14    1     version: 0 Jet 3 (Access 97), 1 Jet 4 (Access 2000 to 2003), 2 and up ACE
//   0x18    128   masked with RC4 (key 0x6B39DAC7) in Jet 4; the fields below lie inside
//   0x3C    2     code page
//   0x3E    4     database key: not zero when every other page is encrypted
//   0x42    40    database password, UTF-16, XORed with the creation-date mask
//   0x72    8     creation date (double, days since 1899-12-30); the mask is its whole
//                 part as a 32-bit little-endian integer, repeated
// The system catalogue's table definition is page 2, so a database has three pages or more.
constexpr std::string_view kMagic = "Standard Jet DB";
constexpr std::size_t kMagicOffset = 0x04;
constexpr std::size_t kVersionOffset = 0x14;
constexpr std::size_t kMaskedOffset = 0x18;
constexpr std::size_t kMaskedSize = 128;
constexpr std::size_t kKeyOffset = 0x3E;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kPasswordSize = 40;
constexpr std::size_t kDateOffset = 0x72;
constexpr std::size_t kMinimumPages = 3;
constexpr std::uint8_t kJet3 = 0;
constexpr std::uint8_t kJet4 = 1;
constexpr std::array<std::uint8_t, 4> kHeaderKey = {0xC7, 0xDA, 0x39, 0x6B};

// The first bytes of the RC4 key stream of key.
std::array<std::uint8_t, kMaskedSize> Rc4Stream(std::span<const std::uint8_t> key) {
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i) {
        state[i] = static_cast<std::uint8_t>(i);
    }
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::array<std::uint8_t, kMaskedSize> stream{};
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (std::uint8_t& out : stream) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + state[a]);
        std::swap(state[a], state[b]);
        out = state[static_cast<std::uint8_t>(state[a] + state[b])];
    }
    return stream;
}

// The whole part of a date as a 32-bit integer, saturated at the ends; 0 for NaN.
std::int32_t WholeDays(double date) {
    if (std::isnan(date)) {
        return 0;
    }
    if (date <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (date >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(date);
}

// The masked part of a header page (which must hold it) in plain.
std::array<std::uint8_t, kMaskedSize> Unmasked(std::span<const std::uint8_t> headerPage) {
    std::array<std::uint8_t, kMaskedSize> plain = Rc4Stream(kHeaderKey);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        plain[i] ^= headerPage[kMaskedOffset + i];
    }
    return plain;
}

}  // namespace

std::string JetPasswordField(std::span<const std::uint8_t> headerPage) {
    if (headerPage.size() < kMaskedOffset + kMaskedSize) {
        return {};
    }
    const std::array<std::uint8_t, kMaskedSize> plain = Unmasked(headerPage);
    const CxByteView view(plain);
    const std::uint64_t dateBits = view.U64(kDateOffset - kMaskedOffset).value_or(0);
    double date = 0;
    std::memcpy(&date, &dateBits, sizeof(date));
    const auto mask = static_cast<std::uint32_t>(WholeDays(date));
    std::string password(kPasswordSize, '\0');
    for (std::size_t i = 0; i < kPasswordSize; ++i) {
        const auto maskByte = static_cast<std::uint8_t>(mask >> (8 * (i % 4)));
        password[i] = static_cast<char>(plain[kPasswordOffset - kMaskedOffset + i] ^ maskByte);
    }
    return password;
}

bool CheckJetFile(std::span<const std::uint8_t> file, std::string& error) {
    const CxByteView view(file);
    const bool isJet =
        view.U8(0) == 0 &&
        view.Matches(kMagicOffset,
                     {reinterpret_cast<const std::uint8_t*>(kMagic.data()), kMagic.size()});
    if (!isJet) {
        error = "The file is not a Jet database.";
        return false;
    }
    const std::uint8_t version = view.U8(kVersionOffset).value_or(0xFF);
    if (version == kJet3) {
        error = "The file is a Jet 3 (Access 97) database, not a Palm Desktop 6.x database.";
        return false;
    }
    if (version != kJet4) {
        error = "The file is a Jet database of an unknown version (" + std::to_string(version) +
                "), not a Palm Desktop 6.x database.";
        return false;
    }
    if (file.size() % kJetPageSize != 0) {
        error = "The file is damaged or truncated: its size is not a whole number of pages.";
        return false;
    }
    if (file.size() < kMinimumPages * kJetPageSize) {
        error = "The file is truncated: it ends before the system catalogue.";
        return false;
    }
    const std::span<const std::uint8_t> header = file.first(kJetPageSize);
    const std::string password = JetPasswordField(header);
    if (password.find_first_not_of('\0') != std::string::npos) {
        error = "The database is password-protected.";
        return false;
    }
    if (CxByteView(Unmasked(header)).U32(kKeyOffset - kMaskedOffset).value_or(0) != 0) {
        error = "The database is encrypted, which is not supported.";
        return false;
    }
    return true;
}

}  // namespace tabrel
