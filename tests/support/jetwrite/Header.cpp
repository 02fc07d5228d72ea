#include "support/jetwrite/Header.h"

#include <array>
#include <utility>

#include "support/jetwrite/Text.h"

namespace tabrel::test::jetwrite {

namespace {

// RC4 with the given key, applied in place.
void Rc4(const std::array<std::uint8_t, 4>& key, std::uint8_t* data, std::size_t size) {
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < 256; ++i) {
        state[i] = static_cast<std::uint8_t>(i);
    }
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    for (std::size_t n = 0; n < size; ++n) {
        x = static_cast<std::uint8_t>(x + 1);
        y = static_cast<std::uint8_t>(y + state[x]);
        std::swap(state[x], state[y]);
        data[n] ^= state[static_cast<std::uint8_t>(state[x] + state[y])];
    }
}

}  // namespace

Bytes HeaderPage(const JetOptions& options) {
    Bytes page(kPageSize, 0);
    page[1] = 0x01;
    std::memcpy(page.data() + 4, "Standard Jet DB", 15);
    Put32(page, 0x14, 1);
    Put16(page, 0x3C, 1252);
    Put32(page, 0x3E, 0);
    Bytes password = Utf16Le(Utf16(options.password));
    if (password.size() > 40) {
        Refuse("a database password has at most 20 characters");
    }
    password.resize(40, 0);
    Bytes mask(4, 0);
    Put32(mask, 0, static_cast<std::uint32_t>(static_cast<std::int32_t>(kCreationDate)));
    for (std::size_t i = 0; i < password.size(); ++i) {
        page[0x42 + i] = password[i] ^ mask[i % 4];
    }
    Put32(page, 0x6E, 0x0409);
    Put64(page, 0x72, DoubleBits(kCreationDate));
    Rc4({0xC7, 0xDA, 0x39, 0x6B}, page.data() + 0x18, 128);
    return page;
}

}  // namespace tabrel::test::jetwrite
