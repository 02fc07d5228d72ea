#pragma once
// PmFile: one .dat file, opened exclusively and read and written through a buffer.
//
// The file is held with an advisory lock (flock) for as long as it is open: shared while
// read, exclusive while written, so a file open for writing, by this process or another,
// is opened by nobody else. A file another program holds exclusively is still read, but
// neither is it written while another program holds a POSIX record lock on it.
// Reads and writes go through one 64 KiB buffer that serves either as read-ahead or as
// write-behind; the logical position is kept here, and the operating system is always
// addressed with positioned reads and writes, so mixed reads and writes stay exact.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tabrel {

// The four ways of opening a .dat file.
enum PmOpenMode : int {
    PmOpenRead = 0,       // read; the file must exist
    PmOpenWrite = 1,      // write; the file must exist
    PmOpenReadWrite = 2,  // read and write; the file must exist, its contents are kept
    PmOpenCreate = 3,     // read and write; created when missing, emptied when present
};

// What tells one version of a file from another: which file it is, its size and when it
// last changed.
struct PmFileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;

    bool operator==(const PmFileStamp&) const = default;
    // The stamp of the file at path (a symbolic link followed); nullopt when there is none.
    static std::optional<PmFileStamp> Of(const std::string& path);
};

class PmFile {
  public:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    PmFile() = default;
    ~PmFile();
    PmFile(const PmFile&) = delete;
    PmFile& operator=(const PmFile&) = delete;

    // Closes any open file, then opens path in one of the PmOpenMode modes. Fails on an
    // unknown mode, a path that is not a regular file, or a file locked elsewhere; a failed
    // open leaves the object closed (and a file that mode 3 found locked untouched).
    bool Open(const std::string& path, int mode);
    // Writes out what is buffered and closes. True when every written byte reached the
    // file; true as well when nothing is open.
    bool Close();
    bool IsOpen() const { return m_fd >= 0; }
    // The stamp of the open file; nullopt when nothing is open.
    std::optional<PmFileStamp> GetStamp() const;

    // The logical position; 0 when nothing is open.
    std::uint64_t GetPosition() const { return m_nPosition; }
    // Moves the position; past the end is allowed (reads there fail, writes extend).
    bool Seek(std::uint64_t position);
    bool Skip(std::uint64_t count);
    // The size of the open file including bytes still in the write buffer; 0 when closed.
    std::uint64_t GetSize() const { return m_nSize; }

    // Reads up to buffer.size() bytes at the position and sets count to what arrived
    // (fewer at the end of the file). Fails only on an operating-system error, a file not
    // opened for reading, or no file.
    bool Read(std::span<std::uint8_t> buffer, std::size_t& count);
    // Writes all bytes at the position (buffered). Fails on a file not opened for writing.
    bool Write(std::span<const std::uint8_t> bytes);

    // Writes out the write buffer. True only when every byte written since the file was
    // opened has reached the file; false when nothing is open.
    bool Flush();
    // Flush, then fsync: the contents are on the disk when this answers true.
    bool Sync();

  private:
    enum class BufferUse { None, Reading, Writing };

    bool WriteBack();
    bool WriteAt(std::span<const std::uint8_t> bytes, std::uint64_t offset);
    bool ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset, std::size_t& count);
    void Discard();

    int m_fd = -1;
    bool m_bReadable = false;
    bool m_bWritable = false;
    bool m_bWriteFailed = false;  // sticky until the next Open: some byte was lost
    std::uint64_t m_nPosition = 0;
    std::uint64_t m_nSize = 0;

    std::vector<std::uint8_t> m_buffer;
    BufferUse m_use = BufferUse::None;
    std::uint64_t m_nBufferStart = 0;  // file offset of m_buffer[0]
    std::size_t m_nBufferLength = 0;   // bytes read ahead, or bytes waiting to be written
};

}  // namespace tabrel
