#pragma once
// The database header page.

#include "support/JetWriter.h"
#include "support/jetwrite/Bytes.h"

namespace tabrel::test::jetwrite {

// The database creation date (a Jet day number) written into every header.
inline constexpr double kCreationDate = 38808.5;  // 2006-04-01 12:00

// Page 0 (offsets in the file; 0x18-0x97 as the reader sees it after decoding):
//   offset  size  meaning
//   0x00    4     00 01 00 00
//   0x04    16    "Standard Jet DB" and a 0 byte
//   0x14    4     Jet version: 1 = Jet 4
//   0x18    128   encoded region: XOR with the RC4 key stream of key C7 DA 39 6B
//                 (0x6B39DAC7 little-endian); decoded it holds:
//   0x3C    2     code page 1252
//   0x3E    4     page encryption key, 0 = pages are not encrypted
//   0x42    40    database password, UTF-16LE, zero-padded (at most 20 characters), each
//                 byte i XOR mask[i % 4], mask being the 4 little-endian bytes of the
//                 creation date's whole days as a 32-bit integer; so a file without a
//                 password holds the bare mask here
//   0x6E    4     sort order 0x0409 (General)
//   0x72    8     creation date (double, days since 1899-12-30)
Bytes HeaderPage(const JetOptions& options);

}  // namespace tabrel::test::jetwrite
