#pragma once
// The tables read from a Jet file as a byte stream: the reading process writes them, the
// engine reads them back. Every record begins with a tag byte; numbers are little-endian:
//   'T'  a table: u32 name length, name (UTF-8), u16 column count, and per column: u8 Jet
//        type code, u8 autonumber (0 or 1), u32 name length, name (UTF-8)
//   'R'  a row of the latest table: one cell per column, each a tag byte and its value:
//        0 NULL; 1 integer (i64); 2 number (f64); 3 text (u32 UTF-16 units, the units);
//        4 bytes (u32 length, the bytes)
//   'E'  the end of the tables
//   'X'  a failure: u32 length, the reason (UTF-8)

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tabrel {

// One cell: NULL, an integer, a number, a text or bytes.
using JetCell =
    std::variant<std::monostate, std::int64_t, double, std::u16string, std::vector<std::uint8_t>>;

struct JetColumnInfo {
    std::string name;
    std::uint8_t type = 0;  // the Jet type code
    bool autoNumber = false;
};

struct JetTableInfo {
    std::string name;
    std::vector<JetColumnInfo> columns;
};

// Writes the stream into a file descriptor, a buffer at a time.
class JetStreamWriter {
  public:
    explicit JetStreamWriter(int fd) : m_fd(fd) {}

    void BeginTable(const JetTableInfo& table);
    // A row is its cells between BeginRow and EndRow.
    void BeginRow();
    void EndRow() { m_rowStart = std::string::npos; }
    void Null() { m_buffer += '\0'; }
    void Integer(std::int64_t value);
    void Number(double value);
    void Text(std::u16string_view text);
    void Bytes(std::span<const std::uint8_t> bytes);
    // A failure record; the cells of a row not ended are dropped first.
    void Failure(std::string_view reason);
    void End() { m_buffer += 'E'; }

    // Writes what is buffered once there is enough of it (always with force), up to the row
    // not yet ended. False when the descriptor refuses it.
    bool Flush(bool force = false);

  private:
    void U32(std::uint32_t value);
    void Le(std::uint64_t value, int count);

    int m_fd;
    std::string m_buffer;
    std::size_t m_rowStart = std::string::npos;  // where the row not yet ended begins
};

enum class JetRecord { Table, Row, End, Failure };

// Reads a stream held in memory, record by record; every read is bounds-checked.
class JetStreamReader {
  public:
    explicit JetStreamReader(std::string_view data) : m_data(data) {}

    // Reads the next record. False when the stream is malformed or ends without 'E'.
    bool Next(JetRecord& record);

    // The latest table; the cells of the latest row (one per column of that table); the
    // reason of a failure.
    const JetTableInfo& Table() const { return m_table; }
    const std::vector<JetCell>& Row() const { return m_row; }
    const std::string& Reason() const { return m_reason; }

  private:
    bool ReadTable();
    bool ReadRow();
    bool Take(std::size_t count, std::string_view& bytes);
    bool TakeLe(int count, std::uint64_t& value);
    bool TakeString(std::string& text);

    std::string_view m_data;
    std::size_t m_pos = 0;
    bool m_bHasTable = false;
    JetTableInfo m_table;
    std::vector<JetCell> m_row;
    std::string m_reason;
};

}  // namespace tabrel
