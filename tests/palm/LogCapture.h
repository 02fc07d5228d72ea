#pragma once
// LogCapture: sends the debug log, at its most detailed level, to a temporary folder while
// it lives and gives back the messages written, so a test can check the log lines of a
// load or save.

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "CxDebugUtil.h"
#include "TestSupport.h"

namespace tabrel::test {

class LogCapture {
  public:
    LogCapture()
        : m_oldFolder(DebugLog().GetFolder()),
          m_oldLevel(DebugLog().GetLevel()),
          m_oldEnabled(DebugLog().IsEnabled()) {
        DebugLog().SetFolder(m_dir.Folder());
        DebugLog().SetLevel(3);
        DebugLog().Enable(true);
    }
    ~LogCapture() {
        DebugLog().SetFolder(m_oldFolder);
        DebugLog().SetLevel(m_oldLevel);
        DebugLog().Enable(m_oldEnabled);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The messages logged so far, each as "E " + message for a failure (level 0) and
    // "P " + message for any other level.
    std::vector<std::string> Messages() const {
        static const std::regex kLine(R"(^\[[^\]]*\]\[[^\]]*\]\[[^\]]*\]\[(...)\] - (.*)$)");
        std::vector<std::string> messages;
        const std::string text = ReadTextFile(m_dir.File("appdebug.log"));
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            end = end == std::string::npos ? text.size() : end;
            const std::string line = text.substr(start, end - start);
            std::smatch match;
            if (std::regex_match(line, match, kLine)) {
                messages.push_back((match[1] == "!!!" ? "E " : "P ") + match[2].str());
            } else {
                messages.push_back("? " + line);
            }
            start = end + 2;
        }
        return messages;
    }

    bool Has(std::string_view message) const {
        const std::vector<std::string> all = Messages();
        return std::find(all.begin(), all.end(), message) != all.end();
    }

    // Whether the messages hold these ones in this order (others may come between).
    bool HasInOrder(const std::vector<std::string>& expected) const {
        const std::vector<std::string> all = Messages();
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
    void Clear() {
        std::error_code error;
        std::filesystem::remove(m_dir.File("appdebug.log"), error);
    }

  private:
    TempDir m_dir;
    std::string m_oldFolder;
    int m_oldLevel;
    bool m_oldEnabled;
};

}  // namespace tabrel::test
