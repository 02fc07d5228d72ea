#pragma once
// CxFile: a thin owner of one C standard-library file, used for the CSV files.
// Every operation on a closed file fails quietly.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tabrel {

class CxFile {
  public:
    CxFile() = default;
    virtual ~CxFile() = default;  // the handle closes itself

    CxFile(const CxFile&) = delete;
    CxFile& operator=(const CxFile&) = delete;
    CxFile(CxFile&&) noexcept = default;
    CxFile& operator=(CxFile&&) noexcept = default;

    // Opens with a C library mode ("rb", "wb", "ab", "a+b", ...), closing any file held
    // before. False for an empty path or mode or when the open fails.
    bool Open(const std::string& path, const std::string& mode);
    // Closes the file if one is open; always true.
    bool Close();
    bool IsOpen() const { return m_pFile != nullptr; }

    // Writes the text followed by CR LF; false when no file is open or the write fails.
    bool WriteLine(std::string_view text);

    // Reads one line the way the C library's fgets does: at most size - 1 characters,
    // stopping after the line end, which is kept. False at the end of the file, without a
    // file, or when size is below 2 (no character could be read, and a caller reading
    // until false would never stop).
    bool ReadLine(std::string& buffer, std::size_t size);

    // The size in bytes of the file at path; -1 for an empty path, a file that cannot be
    // opened for reading, or a folder.
    static std::int64_t GetFileSize(const std::string& path);

  private:
    enum class LastAccess { None, Read, Write };
    // An update stream ("a+b", "r+b") needs a positioning call between a read and a write.
    void SwitchTo(LastAccess access);

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_pFile;
    LastAccess m_lastAccess = LastAccess::None;
};

}  // namespace tabrel
