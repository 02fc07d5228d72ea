#pragma once
// Sends the debug log, at level 2, to a temporary folder while it lives, and reads back
// the messages written, so tests can check the exact lines and statements.

#include <string>
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
        DebugLog().SetLevel(2);
        DebugLog().Enable(true);
    }
    ~LogCapture() {
        DebugLog().SetFolder(m_oldFolder);
        DebugLog().SetLevel(m_oldLevel);
        DebugLog().Enable(m_oldEnabled);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The messages logged so far (the text after " - " of each line), oldest first.
    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        const std::string text = ReadTextFile(m_dir.File("appdebug.log"));
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            end = end == std::string::npos ? text.size() : end;
            const std::string line = text.substr(start, end - start);
            const std::size_t dash = line.find("] - ");
            messages.push_back(dash == std::string::npos ? line : line.substr(dash + 4));
            start = end + 2;
        }
        return messages;
    }
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
    bool Has(const std::string& message) const {
        for (const std::string& logged : Messages()) {
            if (logged == message) {
                return true;
            }
        }
        return false;
    }
    // Forgets what was logged so far.
    void Clear() const { WriteTextFile(m_dir.File("appdebug.log"), ""); }

  private:
    TempDir m_dir;
    std::string m_oldFolder;
    int m_oldLevel;
    bool m_oldEnabled;
};

}  // namespace tabrel::test
