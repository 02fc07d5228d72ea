// Reading a program file's version from its version resource (GetFileVersion).

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "misc/WinUtil.h"
#include "support/PeWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using test::Bytes;
using test::MakePe;
using test::PatchU32;
using test::PeLayout;
using test::PeOptions;
using test::TempDir;

std::optional<FileVersion> VersionOf(const TempDir& dir, const Bytes& bytes) {
    const std::string path = dir.File("program.exe");
    // A new file each time: rewriting a file in place makes some file systems flush it.
    std::filesystem::remove(path);
    test::WriteFile(path, bytes);
    return GetFileVersion(path);
}

void ExpectVersion(const std::optional<FileVersion>& version, std::uint16_t major,
                   std::uint16_t minor, std::uint16_t third, std::uint16_t fourth) {
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->major, major);
    EXPECT_EQ(version->minor, minor);
    EXPECT_EQ(version->third, third);
    EXPECT_EQ(version->fourth, fourth);
}

void PatchU16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

TEST(GetFileVersion, ReadsPe32AndPe32Plus) {
    TempDir dir;
    ExpectVersion(VersionOf(dir, test::MakePeWithVersion(6, 2, 1, 0)), 6, 2, 1, 0);
    ExpectVersion(VersionOf(dir, test::MakePeWithVersion(4, 1, 2, 7, true)), 4, 1, 2, 7);
    // The halves are unsigned 16-bit parts.
    ExpectVersion(VersionOf(dir, test::MakePeWithVersion(0xFFFF, 0x8000, 0x0001, 0xFFFE)), 0xFFFF,
                  0x8000, 0x0001, 0xFFFE);
}

TEST(GetFileVersion, NoVersionWithoutResources) {
    TempDir dir;
    EXPECT_FALSE(VersionOf(dir, test::MakePeWithoutResources()).has_value());
    EXPECT_FALSE(VersionOf(dir, test::MakePeWithoutResources(true)).has_value());

    // Resources, but none of the version type.
    PeLayout layout;
    Bytes bytes = MakePe({}, &layout);
    PatchU32(bytes, layout.rootDirectory + 16 + 8, 17);
    EXPECT_FALSE(VersionOf(dir, bytes).has_value());
}

TEST(GetFileVersion, NoVersionFromFilesThatAreNotProgramFiles) {
    TempDir dir;
    EXPECT_FALSE(GetFileVersion("").has_value());
    EXPECT_FALSE(GetFileVersion(dir.File("missing.exe")).has_value());
    EXPECT_FALSE(GetFileVersion(dir.Folder()).has_value());
    EXPECT_FALSE(VersionOf(dir, {}).has_value());
    EXPECT_FALSE(VersionOf(dir, {'M', 'Z'}).has_value());
    EXPECT_FALSE(VersionOf(dir, Bytes(4096, 'x')).has_value());

    Bytes notPe = test::MakePeWithVersion(1, 2, 3, 4);
    notPe[0x41] = 'X';  // "PX\0\0"
    EXPECT_FALSE(VersionOf(dir, notPe).has_value());
}

TEST(GetFileVersion, EveryTruncationGivesNothingOrTheRightVersion) {
    TempDir dir;
    for (const bool plus : {false, true}) {
        PeOptions options;
        options.major = 5;
        options.minor = 4;
        options.third = 3;
        options.fourth = 2;
        options.pe32plus = plus;
        PeLayout layout;
        const Bytes whole = MakePe(options, &layout);
        const std::size_t blockEnd = layout.fixedFileInfo + 52;
        for (std::size_t length = 0; length <= whole.size(); ++length) {
            const auto version =
                VersionOf(dir, Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
            if (length < blockEnd) {
                EXPECT_FALSE(version.has_value()) << "length " << length;
            } else {
                ExpectVersion(version, 5, 4, 3, 2);
            }
        }
    }
}

TEST(GetFileVersion, ResourceDirectoryLoopsEndTheWalk) {
    TempDir dir;
    PeOptions options;
    options.resourceLoop = true;  // the version type entry points at the root itself
    EXPECT_FALSE(VersionOf(dir, MakePe(options)).has_value());

    PeLayout layout;
    const Bytes good = MakePe({}, &layout);
    const auto relative = [&](std::size_t offset) {
        return static_cast<std::uint32_t>(offset - layout.resourceSection);
    };
    // The name directory's entry points at itself.
    Bytes selfLoop = good;
    PatchU32(selfLoop, layout.nameDirectory + 16 + 4, 0x80000000u | relative(layout.nameDirectory));
    EXPECT_FALSE(VersionOf(dir, selfLoop).has_value());
    // The language directory's entry points back at the name directory.
    Bytes backLoop = good;
    PatchU32(backLoop, layout.languageDirectory + 16 + 4,
             0x80000000u | relative(layout.nameDirectory));
    EXPECT_FALSE(VersionOf(dir, backLoop).has_value());
}

TEST(GetFileVersion, HostileOffsetsAndCounts) {
    TempDir dir;
    PeLayout layout;
    const Bytes good = MakePe({}, &layout);
    const std::size_t section = layout.sectionTable + 40;  // the .rsrc section header

    const auto patched = [&](std::size_t offset, std::uint32_t value) {
        Bytes bytes = good;
        PatchU32(bytes, offset, value);
        return VersionOf(dir, bytes);
    };
    EXPECT_FALSE(patched(0x3C, 0xFFFFFFFF).has_value());                         // e_lfanew
    EXPECT_FALSE(patched(0x3C, 0x7FFFFFF0).has_value());                         // e_lfanew
    EXPECT_FALSE(patched(layout.dataDirectories + 16, 0xFFFFFFF0).has_value());  // resource RVA
    EXPECT_FALSE(patched(section + 20, 0xFFFFFF00).has_value());                 // raw data offset
    EXPECT_FALSE(patched(section + 16, 0).has_value());                          // no raw data
    EXPECT_FALSE(patched(layout.dataEntry, 0xFFFFFFF0).has_value());             // data RVA
    EXPECT_FALSE(patched(layout.dataEntry, 0x1000).has_value());  // data RVA in .text
    EXPECT_FALSE(patched(layout.rootDirectory + 16 + 12, 0x80007FF0).has_value());
    EXPECT_FALSE(patched(layout.languageDirectory + 16 + 4, 0x0FFFFFF0).has_value());
    // A data size beyond the section is held to what the section has.
    ExpectVersion(patched(layout.dataEntry + 4, 0xFFFFFFFF), 1, 0, 0, 0);

    // Directory counts far beyond the data: the walk stops at the end of the data.
    Bytes counts = good;
    PatchU32(counts, layout.rootDirectory + 16 + 8, 17);  // no version type any more
    PatchU16(counts, layout.rootDirectory + 12, 0xFFFF);
    PatchU16(counts, layout.rootDirectory + 14, 0xFFFF);
    EXPECT_FALSE(VersionOf(dir, counts).has_value());

    // Section and directory counts beyond the headers.
    Bytes sections = good;
    PatchU16(sections, 0x40 + 4 + 2, 0xFFFF);
    EXPECT_FALSE(VersionOf(dir, sections).has_value());
    Bytes directories = good;
    PatchU32(directories, layout.optionalHeader + 92, 2);  // the resource directory is gone
    EXPECT_FALSE(VersionOf(dir, directories).has_value());
    Bytes shortOptional = good;
    PatchU16(shortOptional, 0x40 + 4 + 16, 96);  // ends before the data directories
    EXPECT_FALSE(VersionOf(dir, shortOptional).has_value());
}

TEST(GetFileVersion, DamagedVersionBlock) {
    TempDir dir;
    PeLayout layout;
    const Bytes good = MakePe({}, &layout);

    Bytes signature = good;
    PatchU32(signature, layout.fixedFileInfo, 0xFEEF04BE);
    EXPECT_FALSE(VersionOf(dir, signature).has_value());

    Bytes key = good;
    key[layout.versionInfo + 6] = 'W';
    EXPECT_FALSE(VersionOf(dir, key).has_value());

    Bytes noValue = good;
    PatchU16(noValue, layout.versionInfo + 2, 0);
    EXPECT_FALSE(VersionOf(dir, noValue).has_value());

    Bytes shortBlock = good;  // wLength ends before the fixed file info
    PatchU16(shortBlock, layout.versionInfo, 60);
    EXPECT_FALSE(VersionOf(dir, shortBlock).has_value());

    Bytes longBlock = good;  // wLength beyond the data entry's size
    PatchU16(longBlock, layout.versionInfo, 0xFFFF);
    EXPECT_FALSE(VersionOf(dir, longBlock).has_value());
}

TEST(GetFileVersion, RandomDamageNeverBreaksTheReader) {
    TempDir dir;
    std::mt19937 random(20240607);
    for (const bool plus : {false, true}) {
        PeOptions options;
        options.pe32plus = plus;
        const Bytes good = MakePe(options);
        std::uniform_int_distribution<std::size_t> where(0, good.size() - 1);
        std::uniform_int_distribution<int> value(0, 255);
        for (int round = 0; round < 1000; ++round) {
            Bytes bytes = good;
            for (int i = 0; i < 4; ++i) {
                bytes[where(random)] = static_cast<std::uint8_t>(value(random));
            }
            // Any answer will do; the sanitizers report any read out of bounds.
            static_cast<void>(VersionOf(dir, bytes));
        }
    }
}

}  // namespace tabrel
