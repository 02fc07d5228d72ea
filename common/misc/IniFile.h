#pragma once
// IniFile: an INI document held line by line, with the behaviour of the Windows private-profile
// functions. A line "[name]" opens a section; a line "key=value" inside a section holds one
// value. Section and key names compare without regard to ASCII letter case; blanks around
// names and around the value are not part of them; the value runs to the end of the line.
// Lines beginning with ';' or '#' are comments. When a name occurs twice, the first wins.
//
// Every line the document does not change stays as it was, byte for byte, with its own line
// end: comments, blank lines, unknown sections and keys, and lines it cannot read. New lines
// take the line end of the file (the first line end found, CR LF or LF; LF for a new file).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabrel {

class IniFile {
  public:
    // Files above this size are not read (a settings file is a few hundred bytes).
    static constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;

    enum class LoadResult { Loaded, Missing, Failed };

    IniFile() = default;
    explicit IniFile(std::string_view text);

    // Reads the file at path into doc. Missing: no such file (doc is empty). Failed: the file
    // exists but cannot be read, is not a regular file or is too large (doc is empty).
    static LoadResult Load(const std::string& path, IniFile& doc);

    // Writes the document over the file at path atomically (see ReplaceFileAtomically).
    bool Save(const std::string& path) const;

    // The value of key in section; nullopt when either is missing.
    std::optional<std::string> GetValue(std::string_view section, std::string_view key) const;

    // Sets the value of key in section: replaces the value of an existing key in place, adds a
    // missing key after the last non-blank line of its section, or adds a missing section at
    // the end. Refuses (false, document unchanged) what would not read back as written: an
    // empty section or key name, CR or LF in any text, ']' in a section name, '=' in a key
    // name, or a key name beginning with '[', ';' or '#'.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    // The whole document as file text.
    std::string GetText() const;

  private:
    enum class LineKind { Blank, Other, Section, Key };

    struct Line {
        std::string text;    // without its line end
        std::string ending;  // "\r\n", "\n", or "" for a last line without one
        LineKind kind = LineKind::Other;
        std::string name;            // the trimmed section or key name
        std::size_t valueStart = 0;  // key lines: the value is text[valueStart, valueEnd)
        std::size_t valueEnd = 0;
    };

    static Line ParseLine(std::string text, std::string ending);
    // The lines [first, last) of the first section named section: first is its header.
    bool FindSection(std::string_view section, std::size_t& first, std::size_t& last) const;
    void InsertLine(std::size_t position, std::string text);

    std::string m_szBom;  // a UTF-8 byte order mark in front of the first line, kept as it was
    std::string m_szNewLine = "\n";
    std::vector<Line> m_lines;
};

// Replaces the file at path with content atomically: writes a temporary file in the same
// folder, flushes it to disk, gives it the permissions of the file it replaces and renames it
// over that file (a symbolic link is followed: its target is replaced). False, with the old
// file untouched, when any step fails or when the old file is not writable.
bool ReplaceFileAtomically(const std::string& path, std::string_view content);

}  // namespace tabrel
