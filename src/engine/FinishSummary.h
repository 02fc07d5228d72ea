#pragma once
// The finish page's texts: the direction, the application, where the data came from and
// where it went, and the outcome of the pass. Texts are UTF-8 (file and user names as the
// file system gives them).

#include <optional>
#include <string>
#include <string_view>

#include "engine/AppSettings.h"
#include "engine/ConversionDriver.h"
#include "misc/UserMessage.h"
#include "palm/desktop/PalmUsers.h"

namespace tabrel {

struct FinishSummary {
    std::string m_szMode;
    std::string m_szApp;
    std::string m_szSource;
    std::string m_szDest;
    std::string m_szResult;
};

// "Palm Desktop >> CSV File" or "CSV File >> Palm Desktop".
std::string ModeText(int mode);
// "Contacts ( Address Book )" ... "Memos ( Memo Pad )"; Contacts for an unknown code.
std::string AppText(int app);

// The Palm Desktop side: by user "Palm User:<name> (ID:<id>)" with the name the user list
// holds for PmUserID (empty when it lists no such user), by file the application's
// Palm Desktop file.
std::string PalmSideText(const AppSettings& settings, const PalmUserList& users);

// The page's texts after a pass. csvPath is the CSV file of the pass (the settings key may
// hold a cut name); empty takes the key. A failed pass shows its failure message as the
// result, never the success text.
FinishSummary MakeFinishSummary(const AppSettings& settings, const PalmUserList& users,
                                std::string_view csvPath, const ConversionResult& result);

// The Palm Desktop program to start, found in the Palm Desktop folder; the message to show
// when there is none.
std::optional<UserMessage> FindPalmProgramToOpen(std::string& path);

// The message when the desktop could not open a file (or it is missing).
UserMessage OpenFileFailedMessage(std::string_view path);

}  // namespace tabrel
