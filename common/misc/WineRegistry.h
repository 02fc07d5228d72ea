#pragma once
// Read-only access to the registry of a Wine prefix, which Wine keeps in text files:
// "user.reg" (the current user's keys) and "system.reg" (the local machine's keys).
//
//   WINE REGISTRY Version 2                       first line; anything else is not read
//   ;; All keys relative to \\User\\S-1-5-21-...   comment lines (';') and '#' lines skipped
//   [Software\\PalmSource\\Desktop\\Core] 1234567890
//   #time=1d6e1c1e2f3a4b5
//   "DesktopPath"="C:\\Program Files\\Palm"      a string
//   @="default value"                             the key's unnamed value
//   "Expand"=str(2):"%ProgramFiles%\\Palm"        a string of the given type (hexadecimal)
//   "Flags"=dword:00000001
//   "Blob"=hex:01,02,03,\                         bytes, continued on the next line after a
//     04,05                                       trailing backslash
//   "Wide"=hex(2):43,00,3a,00,00,00               bytes of the given type (UTF-16LE text for
//                                                 the string types 1, 2 and 7)
//
// Names and strings are escaped: \\ \" \[ \] \a \b \t \n \v \f \r \e, \x followed by 1 to 4
// hexadecimal digits (one UTF-16 code unit) and \ followed by 1 to 3 octal digits; texts are
// given back as UTF-8. Key paths and value names compare without regard to letter case.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabrel {

enum WineRegType : std::uint32_t {
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegMultiSz = 7,
};

struct WineRegValue {
    std::uint32_t type = 0;
    std::string text;                // string types: the text as UTF-8, up to its first NUL
    std::vector<std::uint8_t> data;  // the other types: the bytes (a dword little-endian)
};

// One key with its values, in file order.
class WineRegKey {
  public:
    void AddValue(std::string name, WineRegValue value);
    // The value named name ("" for the unnamed value); nullptr when there is none.
    const WineRegValue* FindValue(std::string_view name) const;
    // The text of a string value (RegSz or RegExpandSz); nullopt for a missing value or one
    // of another type.
    std::optional<std::string> GetString(std::string_view name) const;
    std::size_t GetCount() const { return m_values.size(); }

  private:
    std::vector<std::pair<std::string, WineRegValue>> m_values;
};

// Reads the key at keyPath ('\'-separated, relative to the file's root, e.g.
// "Software\PalmSource\Desktop\Core") from a Wine registry file; nullopt when the file
// cannot be read, is not a Wine registry file or has no such key.
std::optional<WineRegKey> ReadWineRegistryKey(const std::string& file, std::string_view keyPath);

// Decodes one escaped text starting at text[pos], up to the unescaped delimiter (or the end of
// text); pos is left on the delimiter. Answers false when the delimiter is missing.
bool UnescapeWineText(std::string_view text, std::size_t& pos, char delimiter, std::string& out);

// The Wine prefix: $WINEPREFIX, else $HOME/.wine; without a trailing '/'; empty when neither
// is known.
std::string DefaultWinePrefix();

// A Windows path ("C:\Program Files\Palm\") as a path in the Wine prefix: drive X is
// <prefix>/dosdevices/x: when that exists, else <prefix>/drive_c for C:; the rest follows
// with '/' separators, each component found without regard to letter case when the exact one
// does not exist (see ResolvePathNoCase). A trailing separator is kept. nullopt for a path
// without a drive letter or on a drive without a location.
std::optional<std::string> MapWindowsPath(std::string_view prefix, std::string_view windowsPath);

}  // namespace tabrel
