#include "palm/db6x/jet/JetTableStream.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace tabrel {

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

enum CellTag : std::uint8_t { kNull = 0, kInteger = 1, kNumber = 2, kText = 3, kBytes = 4 };

}  // namespace

void JetStreamWriter::Le(std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i) {
        m_buffer += static_cast<char>(value >> (8 * i));
    }
}

void JetStreamWriter::U32(std::uint32_t value) {
    Le(value, 4);
}

void JetStreamWriter::BeginTable(const JetTableInfo& table) {
    m_buffer += 'T';
    U32(static_cast<std::uint32_t>(table.name.size()));
    m_buffer += table.name;
    Le(table.columns.size(), 2);
    for (const JetColumnInfo& column : table.columns) {
        m_buffer += static_cast<char>(column.type);
        m_buffer += static_cast<char>(column.autoNumber ? 1 : 0);
        U32(static_cast<std::uint32_t>(column.name.size()));
        m_buffer += column.name;
    }
}

void JetStreamWriter::BeginRow() {
    m_rowStart = m_buffer.size();
    m_buffer += 'R';
}

void JetStreamWriter::Integer(std::int64_t value) {
    m_buffer += static_cast<char>(kInteger);
    Le(static_cast<std::uint64_t>(value), 8);
}

void JetStreamWriter::Number(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    m_buffer += static_cast<char>(kNumber);
    Le(bits, 8);
}

void JetStreamWriter::Text(std::u16string_view text) {
    m_buffer += static_cast<char>(kText);
    U32(static_cast<std::uint32_t>(text.size()));
    for (const char16_t unit : text) {
        Le(unit, 2);
    }
}

void JetStreamWriter::Bytes(std::span<const std::uint8_t> bytes) {
    m_buffer += static_cast<char>(kBytes);
    U32(static_cast<std::uint32_t>(bytes.size()));
    m_buffer.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void JetStreamWriter::Failure(std::string_view reason) {
    if (m_rowStart != std::string::npos) {
        m_buffer.resize(m_rowStart);
        m_rowStart = std::string::npos;
    }
    m_buffer += 'X';
    U32(static_cast<std::uint32_t>(reason.size()));
    m_buffer += reason;
}

bool JetStreamWriter::Flush(bool force) {
    const std::size_t ready = m_rowStart != std::string::npos ? m_rowStart : m_buffer.size();
    if (!force && ready < kFlushSize) {
        return true;
    }
    std::size_t written = 0;
    while (written < ready) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + written, ready - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    m_buffer.erase(0, ready);
    if (m_rowStart != std::string::npos) {
        m_rowStart -= ready;
    }
    return true;
}

bool JetStreamReader::Take(std::size_t count, std::string_view& bytes) {
    if (count > m_data.size() - m_pos) {
        return false;
    }
    bytes = m_data.substr(m_pos, count);
    m_pos += count;
    return true;
}

bool JetStreamReader::TakeLe(int count, std::uint64_t& value) {
    std::string_view bytes;
    if (!Take(static_cast<std::size_t>(count), bytes)) {
        return false;
    }
    value = 0;
    for (int i = 0; i < count; ++i) {
        value |= std::uint64_t{static_cast<std::uint8_t>(bytes[i])} << (8 * i);
    }
    return true;
}

bool JetStreamReader::TakeString(std::string& text) {
    std::uint64_t length = 0;
    std::string_view bytes;
    if (!TakeLe(4, length) || !Take(length, bytes)) {
        return false;
    }
    text.assign(bytes);
    return true;
}

bool JetStreamReader::ReadTable() {
    JetTableInfo table;
    std::uint64_t count = 0;
    if (!TakeString(table.name) || !TakeLe(2, count)) {
        return false;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        JetColumnInfo column;
        std::uint64_t type = 0;
        std::uint64_t autoNumber = 0;
        if (!TakeLe(1, type) || !TakeLe(1, autoNumber) || !TakeString(column.name)) {
            return false;
        }
        column.type = static_cast<std::uint8_t>(type);
        column.autoNumber = autoNumber != 0;
        table.columns.push_back(std::move(column));
    }
    m_table = std::move(table);
    m_bHasTable = true;
    return true;
}

bool JetStreamReader::ReadRow() {
    if (!m_bHasTable) {
        return false;
    }
    m_row.assign(m_table.columns.size(), JetCell{});
    for (JetCell& cell : m_row) {
        std::uint64_t tag = 0;
        std::uint64_t value = 0;
        std::string_view bytes;
        if (!TakeLe(1, tag)) {
            return false;
        }
        switch (tag) {
            case kNull:
                break;
            case kInteger:
                if (!TakeLe(8, value)) {
                    return false;
                }
                cell = static_cast<std::int64_t>(value);
                break;
            case kNumber: {
                if (!TakeLe(8, value)) {
                    return false;
                }
                double number = 0;
                std::memcpy(&number, &value, sizeof(number));
                cell = number;
                break;
            }
            case kText: {
                if (!TakeLe(4, value) || !Take(value * 2, bytes)) {
                    return false;
                }
                std::u16string text(value, u'\0');
                for (std::size_t i = 0; i < text.size(); ++i) {
                    text[i] =
                        static_cast<char16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                              static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
                }
                cell = std::move(text);
                break;
            }
            case kBytes:
                if (!TakeLe(4, value) || !Take(value, bytes)) {
                    return false;
                }
                cell = std::vector<std::uint8_t>(bytes.begin(), bytes.end());
                break;
            default:
                return false;
        }
    }
    return true;
}

bool JetStreamReader::Next(JetRecord& record) {
    std::string_view tag;
    if (!Take(1, tag)) {
        return false;
    }
    switch (tag[0]) {
        case 'T':
            record = JetRecord::Table;
            return ReadTable();
        case 'R':
            record = JetRecord::Row;
            return ReadRow();
        case 'E':
            record = JetRecord::End;
            return true;
        case 'X':
            record = JetRecord::Failure;
            return TakeString(m_reason);
        default:
            return false;
    }
}

}  // namespace tabrel
