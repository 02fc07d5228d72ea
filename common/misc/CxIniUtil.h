#pragma once
// CxIniUtil: the program's settings file, an INI file (see IniFile.h for the format). Nothing
// is cached: every read and every write goes to the file, and every write replaces the file
// atomically. A missing file or key reads as the default.
//
// The data folder is the user's configuration folder ($XDG_CONFIG_HOME, else $HOME/.config)
// followed by "norvane/Tabrel/"; the settings file is "norvane.ini" in it, or beside the
// program when there is no data folder.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tabrel {

class CxIniUtil {
  public:
    // path = folder + fileName; an empty folder means the program's own folder.
    CxIniUtil(std::string_view folder, std::string_view fileName);
    virtual ~CxIniUtil() = default;

    // Replaces the path; an empty path is ignored.
    void SetFile(std::string_view path);
    const std::string& GetFile() const { return m_szFileName; }

    // Places the value (or defaultText when the file or the key is missing) in buffer, cut to
    // size - 1 characters, and answers the number of characters placed. An empty section or
    // key, or size 0, answers 0 and leaves buffer alone.
    int ReadString(std::string_view section, std::string_view key, std::string& buffer,
                   std::size_t size, std::string_view defaultText) const;
    // The value's decimal number (leading blanks, optional sign, digits; anything else ends
    // the number; no digits give 0; beyond the 32-bit range the nearest limit); the default
    // when the key is missing or its value is empty.
    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
    // ReadInt with default 1 or 0; true when the number is not 0.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // False when nothing was written: an empty section or key, a text holding CR or LF (it
    // would break the file), or a file that cannot be written (the old file stays as it was).
    bool WriteString(std::string_view section, std::string_view key, std::string_view text);
    bool WriteInt(std::string_view section, std::string_view key, int value);
    bool WriteBool(std::string_view section, std::string_view key, bool flag);

  private:
    std::string m_szFileName;
};

// The decimal number at the start of text, as ReadInt reads it.
int ParseIniInt(std::string_view text);

// Where the data folder is ("<configuration folder>/norvane/Tabrel/"), without creating
// anything; nullopt when neither $XDG_CONFIG_HOME nor the home folder is known.
std::optional<std::string> DataFolderLocation();

// The data folder, each missing level created (the configuration folder too); false when a
// level can neither be found nor created. The text ends with '/'.
bool GetDataFolder(std::string& folder);

// Points settings at "norvane.ini" in the data folder when there is one (folder then holds
// the data folder, and true is answered); otherwise settings keeps its file and folder is
// emptied.
bool UseDataFolderSettings(CxIniUtil& settings, std::string& folder);

}  // namespace tabrel
