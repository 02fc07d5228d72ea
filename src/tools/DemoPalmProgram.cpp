// The stand-in program file, laid out as follows (little-endian; RVA = address in memory
// relative to the image base):
//
//   file offset  size  meaning
//   0x000        64    DOS header: "MZ", zeros, e_lfanew (at 0x3C) = 0x40
//   0x040        4     "PE\0\0"
//   0x044        20    COFF header: machine 0x14C (i386), 2 sections, time stamp 0, no
//                      symbols, optional header size 224, characteristics 0x0102
//   0x058        224   PE32 optional header: entry point RVA 0x1000, image base 0x400000,
//                      section alignment 0x1000, file alignment 0x200, image size 0x3000,
//                      headers size 0x200, GUI subsystem, 16 data directories (only the
//                      resource directory, index 2, is set)
//   0x138        80    section table: ".text" (RVA 0x1000, raw 0x200 at 0x200) and ".rsrc"
//                      (RVA 0x2000, raw 0x200 at 0x400)
//   0x188        ..    zeros up to 0x200
//   0x200        512   .text: 31 C0 C3 (xor eax, eax; ret), then zeros
//   0x400        512   .rsrc, offsets from its start:
//                        0x00 root directory: one ID entry, 16 (version) -> 0x18
//                        0x18 name directory: one ID entry, 1 -> 0x30
//                        0x30 language directory: one ID entry, 0x409 -> data entry 0x48
//                        0x48 data entry: RVA 0x2058, size 92, code page 0, reserved 0
//                        0x58 VS_VERSIONINFO, 92 bytes: wLength 92, wValueLength 52, wType 0,
//                             "VS_VERSION_INFO" UTF-16 with its terminator, 2 bytes padding,
//                             VS_FIXEDFILEINFO (signature 0xFEEF04BD, structure version
//                             0x10000, file version MS/LS, product version MS/LS, flags mask
//                             0x3F, flags 0, OS 0x40004, type 1 (application), subtype 0,
//                             date 0)
//                      then zeros.

#include "tools/DemoPalmProgram.h"

#include <string_view>

namespace tabrel::demo {

namespace {

constexpr std::uint32_t kTextRva = 0x1000;
constexpr std::uint32_t kResourceRva = 0x2000;
constexpr std::size_t kFileAlignment = 0x200;
constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kVersionOffset = 0x58;  // in .rsrc
constexpr std::uint16_t kFixedInfoSize = 52;
constexpr std::uint16_t kVersionBlockSize = 40 + kFixedInfoSize;

class Bytes {
  public:
    Bytes& U8(std::uint8_t value) {
        m_bytes.push_back(value);
        return *this;
    }
    Bytes& U16(std::uint16_t value) { return Le(value, 2); }
    Bytes& U32(std::uint32_t value) { return Le(value, 4); }
    Bytes& Text(std::string_view text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    Bytes& Utf16(std::string_view ascii) {
        for (const char c : ascii) {
            U16(static_cast<std::uint8_t>(c));
        }
        return *this;
    }
    // Zeros up to the offset (nothing when already there).
    Bytes& PadTo(std::size_t offset) {
        if (m_bytes.size() < offset) {
            m_bytes.resize(offset, 0);
        }
        return *this;
    }
    std::size_t Size() const { return m_bytes.size(); }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

  private:
    Bytes& Le(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
        return *this;
    }
    std::vector<std::uint8_t> m_bytes;
};

// A resource directory with one ID entry.
void Directory(Bytes& out, std::uint32_t id, std::uint32_t target) {
    out.U32(0).U32(0).U16(0).U16(0);  // characteristics, time stamp, version
    out.U16(0).U16(1);                // named entries, ID entries
    out.U32(id).U32(target);
}

void Section(Bytes& out, std::string_view name, std::uint32_t virtualSize, std::uint32_t rva,
             std::uint32_t rawOffset, std::uint32_t characteristics) {
    out.Text(name).PadTo(out.Size() + 8 - name.size());
    out.U32(virtualSize).U32(rva).U32(kFileAlignment).U32(rawOffset);
    out.U32(0).U32(0).U16(0).U16(0);  // relocations, line numbers
    out.U32(characteristics);
}

}  // namespace

std::vector<std::uint8_t> MakeVersionStub(std::uint16_t major, std::uint16_t minor,
                                          std::uint16_t third) {
    const std::uint32_t versionMs = (std::uint32_t{major} << 16) | minor;
    const std::uint32_t versionLs = std::uint32_t{third} << 16;
    const std::uint32_t resourceSize = kVersionOffset + kVersionBlockSize;

    Bytes out;
    out.Text("MZ").PadTo(0x3C).U32(0x40);
    out.Text(std::string_view("PE\0\0", 4));
    out.U16(0x14C).U16(2).U32(0).U32(0).U32(0).U16(224).U16(0x0102);

    out.U16(0x10B).U8(1).U8(0);                               // PE32, linker version
    out.U32(kFileAlignment).U32(kFileAlignment).U32(0);       // code, data, bss sizes
    out.U32(kTextRva).U32(kTextRva).U32(kResourceRva);        // entry, base of code and data
    out.U32(0x400000).U32(0x1000).U32(kFileAlignment);        // image base, alignments
    out.U16(4).U16(0).U16(0).U16(0).U16(4).U16(0);            // OS, image, subsystem versions
    out.U32(0).U32(0x3000).U32(kFileAlignment).U32(0);        // Win32 version, sizes, checksum
    out.U16(2).U16(0);                                        // GUI subsystem, DLL flags
    out.U32(0x100000).U32(0x1000).U32(0x100000).U32(0x1000);  // stack and heap
    out.U32(0).U32(16);                                       // loader flags, directories
    for (int i = 0; i < 16; ++i) {
        out.U32(i == 2 ? kResourceRva : 0).U32(i == 2 ? resourceSize : 0);
    }
    Section(out, ".text", 3, kTextRva, 0x200, 0x60000020);
    Section(out, ".rsrc", resourceSize, kResourceRva, 0x400, 0x40000040);
    out.PadTo(0x200);

    out.U8(0x31).U8(0xC0).U8(0xC3).PadTo(0x400);

    Directory(out, 16, kSubdirectory | 0x18);
    Directory(out, 1, kSubdirectory | 0x30);
    Directory(out, 0x409, 0x48);
    out.U32(kResourceRva + kVersionOffset).U32(kVersionBlockSize).U32(0).U32(0);
    out.U16(kVersionBlockSize).U16(kFixedInfoSize).U16(0).Utf16("VS_VERSION_INFO").U16(0);
    out.U16(0);  // padding to a 4-byte boundary
    out.U32(0xFEEF04BD).U32(0x00010000);
    out.U32(versionMs).U32(versionLs).U32(versionMs).U32(versionLs);
    out.U32(0x3F).U32(0).U32(0x40004).U32(1).U32(0).U32(0).U32(0);
    out.PadTo(0x600);
    return out.Take();
}

}  // namespace tabrel::demo
