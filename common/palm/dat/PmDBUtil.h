#pragma once
// PmDBUtil: the base of every reader and writer of Palm Desktop 4.x .dat files. It owns the
// open file, the current file name and the database's category list, and provides the
// primitives the formats are made of: little-endian integers, the counted string and typed
// field values (a 4-byte type code followed by the value).
//
// Every operation reports success with its result and none logs or throws. After a failed
// read or write the position is undefined; callers give up on the whole load or save.
//
// Counted string (the one string encoding of the files):
//   stored length L   bytes
//   0                 00
//   1 to 254          L, then the L text bytes
//   255 to 65535      FF, L as 2-byte little-endian, then the L text bytes

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "palm/dat/PmBlock.h"
#include "palm/dat/PmCategoryMgr.h"
#include "palm/dat/PmFile.h"
#include "palm/dat/PmWholeTexts.h"

namespace tabrel {

// The type codes in front of every field value. Codes 64 to 67 hold a PmBlock.
enum PmFieldType : std::uint32_t {
    ftInteger = 1,
    ftDate = 3,
    ftCString = 5,
    ftBoolean = 6,
    ftRepeatEvent = 8,
    ftQuad = 68,
};

// Eight raw bytes, stored as they are.
using PmQuad = std::array<std::uint8_t, 8>;

class PmDBUtil {
  public:
    static constexpr std::size_t kMaxFileNameLength = 255;
    static constexpr std::size_t kMaxCountedLength = 65535;

    PmDBUtil() = default;
    virtual ~PmDBUtil() = default;  // closes the file
    PmDBUtil(const PmDBUtil&) = delete;
    PmDBUtil& operator=(const PmDBUtil&) = delete;

    // --- File -----------------------------------------------------------------------------
    // Closes any open file, then opens name exclusively in a PmOpenMode (0 read, 1 write,
    // 2 read and write, 3 read and write, created or emptied). On success the file name
    // becomes name; on failure (empty name, unknown mode, missing file, file locked
    // elsewhere) the object is closed.
    bool Open(std::string_view name, int mode);
    // Writes out what is buffered and closes; harmless when nothing is open.
    bool Close() { return m_hFile.Close(); }
    bool IsOpen() const { return m_hFile.IsOpen(); }
    std::uint64_t GetPosition() const { return m_hFile.GetPosition(); }
    bool Skip(std::uint64_t count) { return m_hFile.Skip(count); }
    bool Seek(std::uint64_t position) { return m_hFile.Seek(position); }
    std::uint64_t GetFileSize() const { return m_hFile.GetSize(); }
    // True only when every byte written since Open reached the file.
    bool Flush() { return m_hFile.Flush(); }
    // The stamp of the open file (PmFile.h); nullopt when nothing is open.
    std::optional<PmFileStamp> GetOpenStamp() const { return m_hFile.GetStamp(); }
    // Whether target, opened at path to be replaced, is still the file loaded from
    // loadedPath with the stamp loaded: a save over it would lose what another program wrote
    // since (logged). Another path, or no stamp, counts as unchanged.
    static bool UnchangedSinceLoad(const PmFile& target, const std::string& path,
                                   const std::string& loadedPath,
                                   const std::optional<PmFileStamp>& loaded);
    // Flush and fsync, for saves that write a temporary file and rename it.
    bool Sync() { return m_hFile.Sync(); }

    // The full path given to Open, or the name a loader recorded with SetFileName.
    const std::string& GetFileName() const { return m_szFileName; }
    // Keeps the first 255 characters (the name recorded inside a file).
    void SetFileName(std::string_view name);

    // --- Raw reads and writes (Long 4, Short 2, Quad 8 bytes, little-endian) -------------
    // Fails on an empty buffer or unless exactly buffer.size() bytes arrive.
    bool ReadBytes(std::span<std::uint8_t> buffer);
    // Fails on an empty buffer or an operating-system error; otherwise sets count to the
    // bytes that arrived (fewer than buffer.size() at the end of the file).
    bool ReadBytesUpTo(std::span<std::uint8_t> buffer, std::size_t& count);
    bool ReadLong(std::uint32_t& value);
    bool ReadShort(std::uint16_t& value);
    bool ReadByte(std::uint8_t& value);
    bool ReadQuad(PmQuad& value);
    // Fails on an empty buffer or unless all bytes are written.
    bool WriteBytes(std::span<const std::uint8_t> bytes);
    bool WriteLong(std::uint32_t value);
    bool WriteShort(std::uint16_t value);
    bool WriteByte(std::uint8_t value);
    bool WriteQuad(const PmQuad& value);

    // --- Counted strings ------------------------------------------------------------------
    // Reads a counted string of at most max bytes into text. A longer one fails, sets max
    // to its length and leaves its text bytes unread.
    bool ReadCString(std::string& text, std::uint32_t& max);
    // Writes the counted string of text; fails, writing nothing, above 65535 bytes.
    bool WriteCString(std::string_view text);

    // --- Typed fields ---------------------------------------------------------------------
    // A 4-byte value under code 1, 3 or 6 (any of them); other codes fail.
    bool ReadValueField(std::uint32_t& value);
    // A string under code 5. All stored bytes are consumed; text keeps the first
    // min(length, capacity - 1), as a field of capacity bytes would. When whole is given,
    // it receives the whole stored text if text could not keep all of it, and is emptied
    // otherwise.
    bool ReadCStringField(std::string& text, std::size_t capacity, std::string* whole = nullptr);
    // A block under any code.
    bool ReadBlockField(PmBlock& block);
    // Eight bytes under any code.
    bool ReadQuadField(PmQuad& value);

    bool WriteIntegerField(std::uint32_t value);
    bool WriteDateField(std::uint32_t value);
    bool WriteBooleanField(std::uint32_t value);
    // Code 5, word, then the counted string of text; fails, writing nothing, above 65535
    // bytes.
    bool WriteCStringField(std::string_view text, std::uint32_t word);
    bool WriteQuadField(const PmQuad& value);
    // The block as held; fails, writing nothing, when it holds fewer data bytes than its
    // size word or data length announce.
    bool WriteBlockField(const PmBlock& block);

    // --- String fields of a record ---------------------------------------------------------
    // The string field of field index into text of capacity bytes (ReadCStringField). A
    // stored text longer than text keeps is also kept whole in wholeTexts[index]; a shorter
    // one leaves no entry for index.
    bool ReadTextField(std::size_t index, std::string& text, std::size_t capacity,
                       PmWholeTexts& wholeTexts);
    // The string field of field index (code 5, word 1): the whole text kept for index while
    // text is still exactly what a field of capacity bytes kept of it, else text as it is.
    bool WriteTextField(std::size_t index, const std::string& text, std::size_t capacity,
                        const PmWholeTexts& wholeTexts);

    // --- Repeat-event class references -----------------------------------------------------
    // ReadRepeatEvent notes the file position of a class entry that refers to an earlier
    // class; a record loader takes the note before and after reading a record, to learn
    // where inside the record's bytes such an entry lies (PmRawRecord).
    void NoteClassReference(std::uint64_t position) { m_classReference = position; }
    std::optional<std::uint64_t> TakeClassReference() {
        return std::exchange(m_classReference, std::nullopt);
    }

    // --- Categories -----------------------------------------------------------------------
    PmCategoryMgr* GetCatMgr() { return m_pCatMgr.get(); }
    const PmCategoryMgr* GetCatMgr() const { return m_pCatMgr.get(); }
    // Replaces the category list (the old one is destroyed first).
    void SetCatMgr(std::unique_ptr<PmCategoryMgr> catMgr);

    // The name of the category with that ID; fails, leaving text alone, when none has it.
    // The category list must exist.
    bool GetCategoryText(std::int32_t id, std::string& text) const;
    // The ID of the category named name (cut to 15 characters, letter case ignored):
    // 0 for an empty name; when none is named so, 0 and failure unless add is set, in
    // which case the category is added and its ID given, or -1 and failure when the list
    // is full. The category list must exist.
    bool GetCategoryId(std::string_view name, std::int32_t& id, bool add);

  private:
    bool HasBytesLeft(std::uint64_t count) const;
    bool ReadCountedLength(std::uint32_t& length);
    bool WriteCountedString(std::string_view text);

    PmFile m_hFile;
    std::string m_szFileName;
    std::unique_ptr<PmCategoryMgr> m_pCatMgr;
    std::optional<std::uint64_t> m_classReference;
};

}  // namespace tabrel
