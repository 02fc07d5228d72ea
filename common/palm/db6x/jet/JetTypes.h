#pragma once
// The type codes of Jet 4 columns, as a table definition stores them.

#include <cstdint>

namespace tabrel {

enum JetTypeCode : std::uint8_t {
    kJetBool = 0x01,      // Yes/No, kept in the row's null mask
    kJetByte = 0x02,      // 1 byte
    kJetInt = 0x03,       // Integer, 2 bytes
    kJetLong = 0x04,      // Long Integer, 4 bytes
    kJetMoney = 0x05,     // Currency, 8 bytes, ten-thousandths
    kJetFloat = 0x06,     // Single, 4 bytes
    kJetDouble = 0x07,    // Double, 8 bytes
    kJetDateTime = 0x08,  // Date/Time, 8 bytes, days since 1899-12-30
    kJetBinary = 0x09,    // Binary, up to 255 bytes
    kJetText = 0x0A,      // Text, up to 255 characters
    kJetOle = 0x0B,       // OLE Object, a long value
    kJetMemo = 0x0C,      // Memo, a long value
    kJetGuid = 0x0F,      // Replication ID, 16 bytes
    kJetNumeric = 0x10,   // Decimal, 17 bytes
};

}  // namespace tabrel
