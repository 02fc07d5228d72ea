#pragma once
// LogCapture: sends the debug log, at its most detailed level, to a temporary folder while
// it lives and gives back what was written, so a test can check the lines of a load, a
// save or the statements sent to a database.
//
// Messages() gives each message's text; Tagged() the same texts marked "E " for a failure
// (level 0) and "P " for any other level; Statements() the SQL statements run.

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "support/TestSupport.h"

namespace tabrel::test {

class LogCapture {
  public:
    LogCapture()
        : m_oldFolder(DebugLog().GetFolder()),
          m_oldLevel(DebugLog().GetLevel()),
          m_oldEnabled(DebugLog().IsEnabled()) {
        DebugLog().SetFolder(m_dir.Folder());
        DebugLog().SetLevel(kLogDetail);
        DebugLog().Enable(true);
    }
    ~LogCapture() {
        DebugLog().SetFolder(m_oldFolder);
        DebugLog().SetLevel(m_oldLevel);
        DebugLog().Enable(m_oldEnabled);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The texts logged so far, oldest first.
    std::vector<std::string> Messages() const { return Read(false); }
    // The texts logged so far, each behind "E " (failure) or "P " (any other level).
    std::vector<std::string> Tagged() const { return Read(true); }

    // The statements run so far ("Execute SQL Query: " lines).
    std::vector<std::string> Statements() const {
        static const std::string kPrefix = "Execute SQL Query: ";
        std::vector<std::string> statements;
        for (const std::string& message : Messages()) {
            if (message.starts_with(kPrefix)) {
                statements.push_back(message.substr(kPrefix.size()));
            }
        }
        return statements;
    }

    bool Has(std::string_view message) const { return Contains(Messages(), message); }
    bool HasTagged(std::string_view tagged) const { return Contains(Tagged(), tagged); }

    // Whether the tagged messages hold these ones in this order (others may come between).
    bool HasInOrder(const std::vector<std::string>& expected) const {
        const std::vector<std::string> all = Tagged();
        auto at = all.begin();
        for (const std::string& message : expected) {
            at = std::find(at, all.end(), message);
            if (at == all.end()) {
                return false;
            }
            ++at;
        }
        return true;
    }

    // Forgets what was logged so far.
    void Clear() const {
        std::error_code error;
        std::filesystem::remove(m_dir.File("appdebug.log"), error);
    }

  private:
    static bool Contains(const std::vector<std::string>& all, std::string_view message) {
        return std::find(all.begin(), all.end(), message) != all.end();
    }

    std::vector<std::string> Read(bool tagged) const {
        // [time][file(line)][thread]["!!!" for a failure, else blanks] - message
        static constexpr std::string_view kDash = "] - ";
        std::vector<std::string> messages;
        const std::string text = ReadTextFile(m_dir.File("appdebug.log"));
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            end = end == std::string::npos ? text.size() : end;
            const std::string_view line = std::string_view(text).substr(start, end - start);
            const std::size_t dash = line.find(kDash);
            if (dash == std::string_view::npos || dash < 3) {
                messages.push_back("? " + std::string(line));
            } else {
                const std::string message(line.substr(dash + kDash.size()));
                const bool failure = line.substr(dash - 3, 3) == "!!!";
                messages.push_back(tagged ? (failure ? "E " : "P ") + message : message);
            }
            start = end + 2;
        }
        return messages;
    }

    TempDir m_dir;
    std::string m_oldFolder;
    int m_oldLevel;
    bool m_oldEnabled;
};

}  // namespace tabrel::test
