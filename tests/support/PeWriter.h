#pragma once
// Builds small Windows program files (PE format) with a version resource, for tests of the
// version reader. The files are valid enough for the real loader's parsers: a DOS header,
// the PE signature, a COFF header, a PE32 or PE32+ optional header with 16 data
// directories, and two sections (".text" and ".rsrc").
//
// File layout of what MakePe builds (offsets in the file):
//   0x000  DOS header, 64 bytes: "MZ", e_lfanew (0x3C) = 0x40
//   0x040  "PE\0\0"
//   0x044  COFF header, 20 bytes (machine 0x14C or 0x8664, 2 sections)
//   0x058  optional header (PE32: 224 bytes, PE32+: 240 bytes)
//   then   section table, 2 x 40 bytes; zero padding up to 0x200
//   0x200  .text raw data, 0x200 bytes (RVA 0x1000)
//   0x400  .rsrc raw data, 0x200 bytes (RVA 0x2000), laid out as:
//          +0x00 root directory: ID 3 (icon) and ID 16 (version), both to +0x20
//          +0x20 name directory: ID 1 -> +0x38
//          +0x38 language directory: ID 0x409 -> data entry +0x50
//          +0x50 data entry: RVA 0x2060, size of the version block
//          +0x60 VS_VERSIONINFO: header, "VS_VERSION_INFO", VS_FIXEDFILEINFO
//
// The offsets are also reported in PeLayout so that tests can damage a file on purpose.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "support/TestSupport.h"

namespace tabrel::test {

// Where the interesting parts of a built file are (file offsets).
struct PeLayout {
    std::size_t optionalHeader = 0;   // start of the optional header
    std::size_t dataDirectories = 0;  // start of the data directory array
    std::size_t sectionTable = 0;
    std::size_t resourceSection = 0;  // start of .rsrc raw data = resource root directory
    std::size_t rootDirectory = 0;    // same as resourceSection
    std::size_t nameDirectory = 0;
    std::size_t languageDirectory = 0;
    std::size_t dataEntry = 0;
    std::size_t versionInfo = 0;    // start of VS_VERSIONINFO
    std::size_t fixedFileInfo = 0;  // start of VS_FIXEDFILEINFO
};

struct PeOptions {
    std::uint16_t major = 1;
    std::uint16_t minor = 0;
    std::uint16_t third = 0;
    std::uint16_t fourth = 0;
    bool pe32plus = false;
    // false: no resource section at all (resource data directory zero, one section only).
    bool withResources = true;
    // true: the version type entry of the root directory points back at the root itself.
    bool resourceLoop = false;
};

namespace pe_detail {

constexpr std::size_t kFileAlignment = 0x200;
constexpr std::uint32_t kTextRva = 0x1000;
constexpr std::uint32_t kResourceRva = 0x2000;
constexpr std::uint32_t kSubdirectory = 0x80000000u;

inline void Directory(ByteWriter& out, std::uint16_t idCount) {
    out.U32(0).U32(0).U16(0).U16(0);  // characteristics, time stamp, major and minor version
    out.U16(0).U16(idCount);          // named entries, ID entries
}

inline void Entry(ByteWriter& out, std::uint32_t id, std::uint32_t target) {
    out.U32(id).U32(target);
}

inline void SectionHeader(ByteWriter& out, std::string_view name, std::uint32_t virtualSize,
                          std::uint32_t rva, std::uint32_t rawSize, std::uint32_t rawOffset,
                          std::uint32_t characteristics) {
    out.Text(name).Fill(8 - name.size());
    out.U32(virtualSize).U32(rva).U32(rawSize).U32(rawOffset);
    out.U32(0).U32(0).U16(0).U16(0);  // relocations, line numbers
    out.U32(characteristics);
}

}  // namespace pe_detail

// Builds a PE file as the options say; layout (optional) receives the offsets of its parts.
inline Bytes MakePe(const PeOptions& options, PeLayout* layout = nullptr) {
    using namespace pe_detail;
    PeLayout where;
    const std::uint16_t sectionCount = options.withResources ? 2 : 1;
    const std::uint16_t optionalSize = options.pe32plus ? 240 : 224;
    const std::uint32_t imageSize = options.withResources ? 0x3000 : 0x2000;

    ByteWriter out;
    // DOS header: "MZ", the rest zero but e_lfanew.
    out.Text("MZ").Fill(0x3C - 2).U32(0x40);
    // PE signature and COFF header.
    out.Text(std::string_view("PE\0\0", 4));
    out.U16(options.pe32plus ? 0x8664 : 0x14C);  // machine
    out.U16(sectionCount);
    out.U32(0x3C000000);  // time stamp
    out.U32(0).U32(0);    // symbol table, symbol count
    out.U16(optionalSize);
    out.U16(options.pe32plus ? 0x0022 : 0x0102);  // executable image, large address / 32 bit

    // Optional header, standard fields.
    where.optionalHeader = out.Size();
    out.U16(options.pe32plus ? 0x20B : 0x10B);
    out.U8(14).U8(0);                                              // linker version
    out.U32(0x200).U32(options.withResources ? 0x200 : 0).U32(0);  // code, data, bss sizes
    out.U32(kTextRva).U32(kTextRva);                               // entry point, base of code
    if (!options.pe32plus) {
        out.U32(kResourceRva);  // base of data
        out.U32(0x400000);      // image base
    } else {
        out.U64(0x140000000ull);
    }
    out.U32(0x1000).U32(static_cast<std::uint32_t>(kFileAlignment));  // section, file align
    out.U16(6).U16(0).U16(0).U16(0).U16(6).U16(0);  // OS, image, subsystem versions
    out.U32(0);                                     // Win32 version value
    out.U32(imageSize).U32(static_cast<std::uint32_t>(kFileAlignment));  // image, headers
    out.U32(0);                                                          // checksum
    out.U16(2).U16(0x8140);  // Windows GUI subsystem; DLL characteristics
    if (!options.pe32plus) {
        out.U32(0x100000).U32(0x1000).U32(0x100000).U32(0x1000);
    } else {
        out.U64(0x100000).U64(0x1000).U64(0x100000).U64(0x1000);
    }
    out.U32(0).U32(16);  // loader flags, number of data directories
    where.dataDirectories = out.Size();
    for (int i = 0; i < 16; ++i) {
        if (i == 2 && options.withResources) {
            out.U32(kResourceRva).U32(0x100);
        } else {
            out.U32(0).U32(0);
        }
    }

    // Section table.
    where.sectionTable = out.Size();
    SectionHeader(out, ".text", 0x10, kTextRva, 0x200, 0x200, 0x60000020);
    if (options.withResources) {
        SectionHeader(out, ".rsrc", 0x100, kResourceRva, 0x200, 0x400, 0x40000040);
    }
    out.Fill(kFileAlignment - out.Size());

    // .text: a lone "ret" and padding.
    out.U8(0xC3).Fill(kFileAlignment - 1, 0xCC);
    if (!options.withResources) {
        if (layout != nullptr) {
            *layout = where;
        }
        return out.Get();
    }

    // .rsrc: the three directory levels, the data entry and the version block.
    const std::size_t base = out.Size();
    where.resourceSection = base;
    where.rootDirectory = base;
    Directory(out, 2);
    Entry(out, 3, kSubdirectory | 0x20);
    Entry(out, 16, kSubdirectory | (options.resourceLoop ? 0x00 : 0x20));
    where.nameDirectory = out.Size();
    Directory(out, 1);
    Entry(out, 1, kSubdirectory | 0x38);
    where.languageDirectory = out.Size();
    Directory(out, 1);
    Entry(out, 0x409, 0x50);

    constexpr std::uint32_t kVersionOffset = 0x60;
    constexpr std::uint16_t kFixedSize = 52;
    constexpr std::uint16_t kBlockSize = 40 + kFixedSize;  // header+key+padding, fixed info
    where.dataEntry = out.Size();
    out.U32(kResourceRva + kVersionOffset).U32(kBlockSize).U32(0).U32(0);
    out.Fill(base + kVersionOffset - out.Size());

    where.versionInfo = out.Size();
    out.U16(kBlockSize).U16(kFixedSize).U16(0);  // wLength, wValueLength, wType (binary)
    out.Utf16("VS_VERSION_INFO").U16(0);
    out.Align(4);
    where.fixedFileInfo = out.Size();
    out.U32(0xFEEF04BD).U32(0x00010000);                             // signature, structure version
    out.U32((std::uint32_t{options.major} << 16) | options.minor);   // file version MS
    out.U32((std::uint32_t{options.third} << 16) | options.fourth);  // file version LS
    out.U32((std::uint32_t{options.major} << 16) | options.minor);   // product version MS
    out.U32((std::uint32_t{options.third} << 16) | options.fourth);  // product version LS
    out.U32(0x3F).U32(0).U32(0x40004).U32(1).U32(0).U32(0).U32(0);   // flags, OS, type, date
    out.Fill(base + kFileAlignment - out.Size());

    if (layout != nullptr) {
        *layout = where;
    }
    return out.Get();
}

// A minimal valid PE file whose version resource holds major.minor.third.fourth.
inline Bytes MakePeWithVersion(std::uint16_t major, std::uint16_t minor, std::uint16_t third,
                               std::uint16_t fourth, bool pe32plus = false) {
    PeOptions options;
    options.major = major;
    options.minor = minor;
    options.third = third;
    options.fourth = fourth;
    options.pe32plus = pe32plus;
    return MakePe(options);
}

// A valid PE file without any resources.
inline Bytes MakePeWithoutResources(bool pe32plus = false) {
    PeOptions options;
    options.pe32plus = pe32plus;
    options.withResources = false;
    return MakePe(options);
}

// Overwrites a little-endian 32-bit value of a built file.
inline void PatchU32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace tabrel::test
