// GetFileVersion: the version of a Windows program file, read from the file itself.
//
// The reader follows the file's own pointers: DOS header -> PE headers -> resource data
// directory -> resource tree (version type, first name, first language) -> data entry ->
// VS_VERSIONINFO -> VS_FIXEDFILEINFO. Only the parts it needs are read from the file, each
// read is capped, and every field is read through CxByteView, so a truncated or hostile
// file gives nullopt and never a read out of bounds. The resource tree is walked to a fixed
// depth of three, so a loop in it cannot keep the walk going.
//
// DOS header (file offset 0):
//   0x00  2  "MZ"
//   0x3C  4  e_lfanew: file offset of the PE signature
//
// PE headers (offsets from e_lfanew):
//   0     4  "PE\0\0"
//   4     20 COFF header:
//              +2   2  NumberOfSections
//              +16  2  SizeOfOptionalHeader
//   24    .. optional header, SizeOfOptionalHeader bytes:
//              +0   2  Magic: 0x10B PE32, 0x20B PE32+
//              +92  4  NumberOfRvaAndSizes (PE32; PE32+: +108)
//              +96  .. data directories, 8 bytes each (PE32; PE32+: +112):
//                      +0 4 RVA, +4 4 Size; index 2 is the resource directory
//   24 + SizeOfOptionalHeader: section table, 40 bytes per section:
//              +8   4  VirtualSize
//              +12  4  VirtualAddress (RVA of the section)
//              +16  4  SizeOfRawData
//              +20  4  PointerToRawData (file offset of the section)
//
// Resource directory (offsets from the resource directory's start):
//   +12  2  NumberOfNamedEntries
//   +14  2  NumberOfIdEntries
//   +16  .. entries, 8 bytes each, the named ones first:
//              +0  4  Name: an ID when the high bit is clear
//              +4  4  OffsetToData: high bit set: offset of a subdirectory; clear: offset
//                     of a data entry
// Data entry:
//   +0  4  RVA of the data
//   +4  4  Size of the data
//
// VS_VERSIONINFO (offsets from the block's start):
//   0   2   wLength: the block's size
//   2   2   wValueLength: size of the VS_FIXEDFILEINFO value (52)
//   4   2   wType
//   6   32  szKey: "VS_VERSION_INFO" in UTF-16LE with its terminator
//   38  2   padding to a 4-byte boundary
//   40  52  VS_FIXEDFILEINFO:
//              +0   4  dwSignature 0xFEEF04BD
//              +4   4  dwStrucVersion
//              +8   4  dwFileVersionMS: major (high half), minor (low half)
//              +12  4  dwFileVersionLS: third (high half), fourth (low half)

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "misc/CxByteView.h"
#include "misc/WinUtil.h"

namespace tabrel {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t kMaxRead = 64ull * 1024 * 1024;  // no single read is larger
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BDu;
constexpr std::uint64_t kFixedInfoOffset = 40;
constexpr std::uint64_t kFixedInfoSize = 52;
constexpr std::uint64_t kMaxVersionBlock = 0xFFFF;  // wLength is 16-bit

// A regular file read in capped pieces by offset.
class PeFile {
  public:
    bool Open(const std::string& path) {
        m_file.reset(std::fopen(path.c_str(), "rb"));
        if (!m_file) {
            return false;
        }
        struct stat info {};
        if (fstat(fileno(m_file.get()), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
            return false;
        }
        m_size = static_cast<std::uint64_t>(info.st_size);
        return true;
    }

    // Up to length bytes from offset (fewer at the end of the file, none beyond it).
    Bytes Read(std::uint64_t offset, std::uint64_t length) const {
        if (offset >= m_size) {
            return {};
        }
        length = std::min({length, m_size - offset, kMaxRead});
        Bytes bytes(static_cast<std::size_t>(length));
        if (fseeko(m_file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
            return {};
        }
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), m_file.get()));
        return bytes;
    }

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
    std::uint64_t m_size = 0;
};

struct Section {
    std::uint32_t virtualSize;
    std::uint32_t rva;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

// Where the bytes of an RVA lie in the file: the offset and how many of the section's raw
// bytes follow it.
struct FileRange {
    std::uint64_t offset;
    std::uint64_t available;
};

std::optional<FileRange> MapRva(const std::vector<Section>& sections, std::uint32_t rva) {
    for (const Section& s : sections) {
        const std::uint64_t span = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
        if (rva < s.rva || rva - std::uint64_t{s.rva} >= span) {
            continue;
        }
        const std::uint64_t inSection = rva - std::uint64_t{s.rva};
        if (inSection >= s.rawSize) {
            return std::nullopt;  // uninitialised data: nothing of it is in the file
        }
        return FileRange{std::uint64_t{s.rawOffset} + inSection, s.rawSize - inSection};
    }
    return std::nullopt;
}

struct PeHeaders {
    std::vector<Section> sections;
    std::uint32_t resourceRva = 0;
};

std::optional<PeHeaders> ReadHeaders(const PeFile& file) {
    const Bytes dos = file.Read(0, 64);
    const CxByteView dosView(dos);
    static constexpr std::array<std::uint8_t, 2> kMz = {'M', 'Z'};
    const auto peOffset = dosView.U32(0x3C);
    if (!dosView.Matches(0, kMz) || !peOffset) {
        return std::nullopt;
    }

    const Bytes coff = file.Read(*peOffset, 24);
    const CxByteView coffView(coff);
    static constexpr std::array<std::uint8_t, 4> kPe = {'P', 'E', 0, 0};
    const auto sectionCount = coffView.U16(4 + 2);
    const auto optionalSize = coffView.U16(4 + 16);
    if (!coffView.Matches(0, kPe) || !sectionCount || !optionalSize) {
        return std::nullopt;
    }

    const std::uint64_t optionalStart = std::uint64_t{*peOffset} + 24;
    const Bytes optional = file.Read(optionalStart, *optionalSize);
    const CxByteView optionalView(optional);
    const auto magic = optionalView.U16(0);
    if (!magic || (*magic != 0x10B && *magic != 0x20B)) {
        return std::nullopt;
    }
    const bool plus = *magic == 0x20B;
    const auto directoryCount = optionalView.U32(plus ? 108 : 92);
    if (!directoryCount) {
        return std::nullopt;
    }
    PeHeaders headers;
    if (*directoryCount > kResourceDirectoryIndex) {
        // A directory beyond the optional header's stated size is not there.
        const auto rva = optionalView.U32((plus ? 112 : 96) + 8 * kResourceDirectoryIndex);
        if (!rva) {
            return std::nullopt;
        }
        headers.resourceRva = *rva;
    }
    if (headers.resourceRva == 0) {
        return std::nullopt;  // no resources at all
    }

    const Bytes table = file.Read(optionalStart + *optionalSize, 40ull * *sectionCount);
    const CxByteView tableView(table);
    for (std::uint64_t i = 0; i < *sectionCount; ++i) {
        const auto entry = tableView.Sub(40 * i, 40);
        if (!entry) {
            return std::nullopt;
        }
        headers.sections.push_back(
            {*entry->U32(8), *entry->U32(12), *entry->U32(16), *entry->U32(20)});
    }
    return headers;
}

// The OffsetToData of an entry of the directory at dirOffset: the one with the given ID,
// or the first entry when id is nullopt.
std::optional<std::uint32_t> FindEntry(const CxByteView& tree, std::uint32_t dirOffset,
                                       std::optional<std::uint32_t> id) {
    const auto named = tree.U16(std::uint64_t{dirOffset} + 12);
    const auto ids = tree.U16(std::uint64_t{dirOffset} + 14);
    if (!named || !ids) {
        return std::nullopt;
    }
    const std::uint32_t count = std::uint32_t{*named} + *ids;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t entry = std::uint64_t{dirOffset} + 16 + 8ull * i;
        const auto name = tree.U32(entry);
        const auto target = tree.U32(entry + 4);
        if (!name || !target) {
            return std::nullopt;  // the directory runs past the end of the data
        }
        if (!id || *name == *id) {
            return target;
        }
    }
    return std::nullopt;
}

// Follows version type -> first name -> first language to the data entry's offset. The walk
// has a fixed depth, so a directory that points back at itself or at an ancestor cannot
// keep it going: it ends on a subdirectory where a data entry was expected.
std::optional<std::uint32_t> FindVersionDataEntry(const CxByteView& tree) {
    std::uint32_t dir = 0;  // the root
    for (const std::optional<std::uint32_t> wanted :
         {std::optional<std::uint32_t>(kVersionType), std::optional<std::uint32_t>()}) {
        const auto target = FindEntry(tree, dir, wanted);
        if (!target || (*target & kSubdirectoryBit) == 0) {
            return std::nullopt;
        }
        dir = *target & ~kSubdirectoryBit;
    }
    const auto leaf = FindEntry(tree, dir, std::nullopt);
    if (!leaf || (*leaf & kSubdirectoryBit) != 0) {
        return std::nullopt;
    }
    return leaf;
}

std::optional<FileVersion> ParseVersionInfo(const CxByteView& data) {
    const auto length = data.U16(0);
    const auto valueLength = data.U16(2);
    if (!length || !valueLength || *valueLength < kFixedInfoSize) {
        return std::nullopt;
    }
    const auto block = data.Sub(0, *length);
    if (!block) {
        return std::nullopt;
    }
    static constexpr std::array<std::uint8_t, 32> kKey = {
        'V', 0, 'S', 0, '_', 0, 'V', 0, 'E', 0, 'R', 0, 'S', 0, 'I', 0,
        'O', 0, 'N', 0, '_', 0, 'I', 0, 'N', 0, 'F', 0, 'O', 0, 0,   0};
    const auto fixed = block->Sub(kFixedInfoOffset, kFixedInfoSize);
    if (!block->Matches(6, kKey) || !fixed || fixed->U32(0) != kFixedInfoSignature) {
        return std::nullopt;
    }
    const std::uint32_t ms = *fixed->U32(8);
    const std::uint32_t ls = *fixed->U32(12);
    return FileVersion{static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms),
                       static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls)};
}

}  // namespace

std::optional<FileVersion> GetFileVersion(const std::string& path) {
    PeFile file;
    if (path.empty() || !file.Open(path)) {
        return std::nullopt;
    }
    const auto headers = ReadHeaders(file);
    if (!headers) {
        return std::nullopt;
    }

    const auto treeRange = MapRva(headers->sections, headers->resourceRva);
    if (!treeRange) {
        return std::nullopt;
    }
    const Bytes treeBytes = file.Read(treeRange->offset, treeRange->available);
    const CxByteView tree(treeBytes);
    const auto dataEntry = FindVersionDataEntry(tree);
    if (!dataEntry) {
        return std::nullopt;
    }
    const auto dataRva = tree.U32(*dataEntry);
    const auto dataSize = tree.U32(std::uint64_t{*dataEntry} + 4);
    if (!dataRva || !dataSize) {
        return std::nullopt;
    }

    const auto dataRange = MapRva(headers->sections, *dataRva);
    if (!dataRange) {
        return std::nullopt;
    }
    const std::uint64_t length =
        std::min({std::uint64_t{*dataSize}, dataRange->available, kMaxVersionBlock});
    const Bytes data = file.Read(dataRange->offset, length);
    return ParseVersionInfo(CxByteView(data));
}

}  // namespace tabrel
