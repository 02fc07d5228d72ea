#include "palm/comm/CommMgr.h"

#include <cmath>
#include <cstring>

namespace tabrel {

namespace {

template <class T>
void AppendBytes(std::string& text, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    text.append(bytes, sizeof(T));
}

}  // namespace

void CommFieldKey::AddText(std::string_view text, bool skipLineBreaks, std::size_t maxChars) {
    const std::size_t start = m_text.size();
    const std::string_view looked = text.substr(0, maxChars);
    m_text.reserve(start + looked.size() + sizeof(std::size_t));
    for (const char c : looked) {
        if (skipLineBreaks && (c == '\r' || c == '\n')) {
            continue;
        }
        m_text.push_back(FoldCase(c));
    }
    EndField(start);
}

void CommFieldKey::AddNumber(std::int64_t value) {
    const std::size_t start = m_text.size();
    AppendBytes(m_text, value);
    EndField(start);
}

bool CommFieldKey::AddReal(double value) {
    if (std::isnan(value)) {
        return false;
    }
    const std::size_t start = m_text.size();
    AppendBytes(m_text, value == 0.0 ? 0.0 : value);
    EndField(start);
    return true;
}

void CommFieldKey::AddDay(const DateTimeFields& date) {
    const std::size_t start = m_text.size();
    AppendBytes(m_text, static_cast<std::int32_t>(date.year));
    AppendBytes(m_text, static_cast<std::int32_t>(date.month));
    AppendBytes(m_text, static_cast<std::int32_t>(date.day));
    EndField(start);
}

void CommFieldKey::AddNothing() {
    EndField(m_text.size());
}

void CommFieldKey::EndField(std::size_t start) {
    AppendBytes(m_text, m_text.size() - start);
}

void CommPutText(std::string& out, std::string_view text, std::size_t size) {
    out = size == 0 ? std::string() : CutText(text, size - 1);
}

std::string_view CommYesNo(std::int64_t flag) {
    return flag != 0 ? "Yes" : "No";
}

void CommMergeText(std::string& to, const std::string& from, std::size_t size) {
    if (!from.empty()) {
        to = CutText(from, size - 1);
    }
}

}  // namespace tabrel
