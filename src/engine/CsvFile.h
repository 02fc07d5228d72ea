#pragma once
// The CSV file of one conversion pass.
//
// CsvOutput writes the lines of a Palm-to-CSV pass into a temporary file beside the CSV
// file and puts it in the CSV file's place only when the pass commits (CxSafeReplace), so
// the user's file is never emptied or half-written by a pass that does not finish, and a
// CSV file reached through a symbolic link stays a link. In append mode the temporary file
// starts as a copy of the existing file.
//
// CsvInput reads the records of a CSV file: physical lines without their line end, joined
// (with the line break they had) while a quoted item is still open.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "engine/CSV.h"
#include "misc/CxSafeReplace.h"

namespace tabrel {

class CsvOutput {
  public:
    CsvOutput() = default;
    ~CsvOutput();
    CsvOutput(const CsvOutput&) = delete;
    CsvOutput& operator=(const CsvOutput&) = delete;

    // Starts a pass that will replace (or, with append, extend) the file at path. False
    // when the temporary file cannot be made or the existing file cannot be copied.
    bool Begin(const std::string& path, bool append);
    // Writes text followed by CR LF; false once any write failed.
    bool WriteLine(std::string_view text);
    // Puts the written file in the CSV file's place; false (the CSV file unchanged) when
    // anything failed.
    bool Commit();
    // Drops the temporary file; the CSV file stays as it was.
    void Abandon();

    bool IsOpen() const { return m_pFile != nullptr; }
    const std::string& GetPath() const { return m_szPath; }

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_pFile;
    std::string m_szPath;
    CxSafeReplace m_replacement;
    bool m_bFailed = false;
};

class CsvInput {
  public:
    // Opens the file for reading. A UTF-8 byte-order mark at its start is skipped and
    // remembered: the text is UTF-8 whatever encoding the user chose.
    bool Open(const std::string& path);
    bool HasUtf8Bom() const { return m_bBom; }
    // The next record text; false at the end of the file. quote is the quotation character
    // that may hold line breaks inside an item (0: every line is a record).
    bool Next(std::string& record, char quote);
    void Close() { m_pFile.reset(); }

  private:
    // One physical line without its line end (LF, CR LF, or CR alone); ending says which
    // line end it had.
    bool ReadLine(std::string& line, std::string& ending);

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_pFile;
    bool m_bBom = false;
};

}  // namespace tabrel
