#include "engine/CSV.h"

namespace tabrel {

namespace {

// An item as read: without its enclosing quotation characters and with doubled ones
// halved when it is enclosed, else as it stands.
std::string ItemText(std::string_view raw, char quote, bool quoted) {
    if (!quoted || raw.size() < 2 || raw.front() != quote || raw.back() != quote) {
        return std::string(raw);
    }
    const std::string_view inner = raw.substr(1, raw.size() - 2);
    std::string text;
    text.reserve(inner.size());
    for (std::size_t i = 0; i < inner.size(); ++i) {
        text += inner[i];
        if (inner[i] == quote && i + 1 < inner.size() && inner[i + 1] == quote) {
            ++i;
        }
    }
    return text;
}

}  // namespace

bool CSV::parse(std::string_view line) {
    if (line.empty()) {
        return false;
    }
    std::vector<std::string> items;
    bool inside = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (m_bQuoted && line[i] == m_cQuote) {
            inside = !inside;
        } else if (line[i] == ',' && !inside) {
            items.push_back(ItemText(line.substr(start, i - start), m_cQuote, m_bQuoted));
            start = i + 1;
        }
    }
    items.push_back(ItemText(line.substr(start), m_cQuote, m_bQuoted));
    m_items = std::move(items);
    return true;
}

const std::string& CSV::item(std::size_t index) const {
    static const std::string kEmpty;
    return index < m_items.size() ? m_items[index] : kEmpty;
}

}  // namespace tabrel
