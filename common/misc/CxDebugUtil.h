#pragma once
// CxDebugUtil: the leveled debug log, one line per message, appended to
// <folder>appdebug.log. Every message opens, writes and closes the file.
//
// Line format (ended by CR LF):
//   [YYYY/MM/DD hh:mm:ss][<source file, >= 20 wide>(<line, >= 4 wide>)][<thread id, >= 5
//   hex digits>][<"!!!" for level 0, else three blanks>] - <message>
//
// Level 0 (failures) is written whenever the log is asked; levels 1 to 3 only when logging
// is enabled and the level is not above the configured one. A log file above 10 MiB is
// copied to "<path>.old.log" and started afresh.

#include <fmt/printf.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tabrel {

// The levels of a message: failures are written whenever the log is asked, the others only
// up to the configured level.
enum CxLogLevel : int {
    kLogFailure = 0,   // a step failed: why, and what was refused
    kLogNotice = 1,    // something missing that the program works around
    kLogProgress = 2,  // the steps of a load, save or pass, and the statements sent
    kLogDetail = 3,    // the most the log can be asked for
};

class CxDebugUtil {
  public:
    static constexpr std::size_t kMaxFolder = 259;
    static constexpr std::size_t kMaxMessage = 40959;
    static constexpr std::int64_t kRotateAbove = 10485760;  // bytes

    CxDebugUtil() = default;
    virtual ~CxDebugUtil() = default;

    // Folder written directly in front of the file name, so it ends with a separator.
    void SetFolder(std::string_view folder);
    void SetLevel(int level);  // clamped to 0..3
    void Enable(bool on) { m_bEnabled = on; }

    const std::string& GetFolder() const { return m_szFolder; }
    const std::string& GetFileName() const { return m_szFileName; }
    std::string GetPath() const { return m_szFolder + m_szFileName; }
    int GetLevel() const { return m_nLevel; }
    bool IsEnabled() const { return m_bEnabled; }

    // Whether a message of this level would be written.
    bool Accepts(int level) const {
        return level == kLogFailure || (m_bEnabled && level <= m_nLevel);
    }

    // printf-style formatting (type-checked by fmt); filtered before anything is formatted.
    template <class... Args>
    void Print(int level, const char* sourceFile, int line, const char* format,
               const Args&... args) {
        if (!Accepts(level)) {
            return;
        }
        std::string message;
        try {
            message = fmt::sprintf(format, args...);
        } catch (const fmt::format_error&) {
            message = format;  // a broken format still leaves a trace of the message
        }
        WriteLine(level, sourceFile, line, message);
    }

    // Builds the line (without CR LF) as it would be written now by this thread.
    static std::string FormatLine(int level, const char* sourceFile, int line,
                                  std::string_view message);

  private:
    void WriteLine(int level, const char* sourceFile, int line, std::string_view message);

    std::string m_szFileName = "appdebug.log";
    std::string m_szFolder = "./";
    int m_nLevel = 0;
    bool m_bEnabled = false;
};

// The one logger of the process.
CxDebugUtil& DebugLog();

}  // namespace tabrel

// CX_LOG(level, "format", args...): logs with this source file's name and line.
#define CX_LOG(level, ...) ::tabrel::DebugLog().Print((level), __FILE__, __LINE__, __VA_ARGS__)
