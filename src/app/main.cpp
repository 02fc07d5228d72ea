// tabrel: the Palm Desktop to CSV conversion wizard.
//
// Command line: tabrel [--palm-folder PATH]. --palm-folder names the Palm Desktop folder
// for this run only (the demo folder, another user's copy, ...); the settings file stays
// the user's own and is not changed by it.

#include <QCommandLineParser>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/TabrelApplication.h"
#include "engine/AppSettings.h"
#include "gui/TfmDump.h"
#include "gui/TfmMain.h"
#include "gui/WizardState.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxIniUtil.h"
#include "palm/desktop/PalmDesktop.h"

namespace {

using namespace tabrel;

// Reads the command line; --help, --version and a wrong option end the program here.
std::optional<std::string> ParseCommandLine(const QApplication& application) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Converts Palm Desktop Contacts, Calendar, Tasks and Memos to CSV files and back.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption palmFolder(
        "palm-folder",
        "The Palm Desktop folder for this run, in place of the configured or detected one.",
        "PATH");
    parser.addOption(palmFolder);
    parser.process(application);
    if (!parser.isSet(palmFolder)) {
        return std::nullopt;
    }
    const std::string folder = parser.value(palmFolder).toStdString();
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    return error || folder.empty() ? folder : absolute.string();
}

// The main window could not be made: the standard exception message, then the crash dialog
// over the settings as they are on disk. The debug options chosen there are kept for the
// next start.
void ReportStartupFailure(const char* text) {
    CX_LOG(kLogFailure, "Unhandled exception at start-up: %s", text);
    ShowExceptionMessage(text);
    WizardState state;
    UseDataFolderSettings(state.m_ini, state.m_szDataFolder);
    LoadSettings(state.m_ini, state.m_settings);
    ShowCrashDialog(state, nullptr);
    SaveSettings(state.m_ini, state.m_settings);
}

}  // namespace

int main(int argc, char** argv) {
    TabrelApplication application(argc, argv);
    QApplication::setApplicationName("Palm Desktop Tabrel Converter");
    QApplication::setApplicationVersion(TABREL_VERSION);
    if (const auto palmFolder = ParseCommandLine(application)) {
        SetPalmDesktopFolder(*palmFolder);
    }

    std::unique_ptr<TfmMain> window;
    try {
        window = std::make_unique<TfmMain>();
    } catch (const std::exception& error) {
        ReportStartupFailure(error.what());
        return 1;
    } catch (...) {
        ReportStartupFailure("Unknown exception.");
        return 1;
    }
    window->show();
    return QApplication::exec();
}
