#pragma once
// DebugOptions: what the debug options and crash dialogs decide apart from their widgets:
// the list of log levels, where the debug log lives, applying the user's choice, and the
// product's home page and support address.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/AppSettings.h"
#include "misc/UserMessage.h"

namespace tabrel {

// One entry of the dialog's level list: its text and the level it stores.
struct DebugLevelChoice {
    std::string_view text;
    int level = 0;
};

// The level list, in list order.
inline constexpr std::array<DebugLevelChoice, 3> kDebugLevelChoices = {{
    {"Critical - Only log critical error information.", 0},
    {"High - Log high level debug information.", 1},
    {"Low - Log very detail debug information.", 3},
}};

// The list position shown for a LogLevel: 0 for level 0, 1 for level 1, 2 for any other.
int DebugLevelItemOf(int logLevel);
// The level a list position stores: 0, 1 or 3; 3 also for no position (-1) or an unknown one.
int DebugLevelOfItem(int item);

// Stores the choice in the settings (written at shut-down) and applies it to the running
// debug log at once.
void ApplyDebugOptions(AppSettings& settings, bool enable, int item);

inline constexpr std::string_view kDebugLogFileName = "appdebug.log";

// Where the dialogs show the debug log: the data folder (ending with '/') and the log file
// in it.
struct DebugLogLocation {
    std::string folder;
    std::string file;
};

// The location when the data folder exists or could be created; nullopt otherwise.
std::optional<DebugLogLocation> FindDebugLogLocation();

// The message for a log file that is not there yet; nullopt when the file exists.
std::optional<UserMessage> CheckDebugLogFile(const std::string& path);

// The support address (a placeholder of this build) and the mail the crash dialog starts.
inline constexpr std::string_view kSupportAddress = "support@tabrel.invalid";
inline constexpr std::string_view kBugReportSubject = "Tabrel Converter Bug Report";
// "mailto:<address>?subject=<subject, percent-encoded>".
std::string SupportMailTarget();

// The product's home page: the help page beside the program ("tabrel.html").
std::string HomePageTarget();

}  // namespace tabrel
