#include "support/jetwrite/Pages.h"

namespace tabrel::test::jetwrite {

Bytes LongValueField(const Bytes& data, bool allowInline, RowPages& lval) {
    Bytes field(12, 0);
    const auto length = static_cast<std::uint32_t>(data.size());
    if (length >= 0x00FFFFFF) {
        Refuse("long value over 16 MiB");
    }
    if (allowInline && data.size() <= kInlineLongValue) {
        Put32(field, 0, length | 0x80000000u);
        field.insert(field.end(), data.begin(), data.end());
    } else if (data.size() <= kMaxRow) {
        Put32(field, 0, length | 0x40000000u);
        Put32(field, 4, lval.Add(data));
    } else {
        // Parts are written last to first, so each knows the pointer of the next.
        constexpr std::size_t kPart = kMaxRow - 4;
        std::vector<std::size_t> starts;
        for (std::size_t at = 0; at < data.size(); at += kPart) {
            starts.push_back(at);
        }
        std::uint32_t next = 0;
        for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
            Bytes part;
            Append32(part, next);
            const std::size_t end = std::min(data.size(), *it + kPart);
            part.insert(part.end(), data.begin() + static_cast<std::ptrdiff_t>(*it),
                        data.begin() + static_cast<std::ptrdiff_t>(end));
            next = lval.AddAlone(part);
        }
        Put32(field, 0, length);
        Put32(field, 4, next);
    }
    return field;
}

Bytes UsageMap(const std::vector<std::uint32_t>& pages) {
    Bytes map{0x00};
    if (pages.empty()) {
        Append32(map, 0);
        map.push_back(0);
        return map;
    }
    const std::uint32_t first = pages.front();
    const std::uint32_t last = pages.back();
    Append32(map, first);
    Bytes bits((last - first) / 8 + 1, 0);
    for (const std::uint32_t page : pages) {
        const std::uint32_t i = page - first;
        bits[i / 8] = static_cast<std::uint8_t>(bits[i / 8] | (1u << (i % 8)));
    }
    map.insert(map.end(), bits.begin(), bits.end());
    return map;
}

}  // namespace tabrel::test::jetwrite
