#pragma once
// WizardState: what the main window owns and its pages share: the settings and where they
// live, the Palm user list, the conversion job, the result of the last pass, and the
// frame's page change for the pages that drive it (the progress and finish pages).

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/AppSettings.h"
#include "engine/ConversionDriver.h"
#include "engine/ConversionJob.h"
#include "misc/CxIniUtil.h"
#include "palm/desktop/PalmUsers.h"

namespace tabrel {

// Page indexes of the frame; the finish page is shown as target 5.
enum WizardPage : int {
    PageMode = 0,
    PageSource = 1,
    PageFields = 2,
    PageRecords = 3,
    PageProgress = 4,
    PageFinish = 5,
};

struct WizardState {
    WizardState() : m_ini("", "norvane.ini") {}

    CxIniUtil m_ini;             // the settings file
    std::string m_szDataFolder;  // with its '/', empty when there is none
    AppSettings m_settings;
    PalmUserList m_users;
    std::unique_ptr<ConversionJob> m_pJob;
    // The last conversion pass's outcome, for the finish page.
    ConversionResult m_lastResult;

    // The frame's "go to page" (target, check); set by the main window.
    std::function<bool(int, bool)> m_fnGoToPage;
    // Asks the main window to close (the program ends through its normal shut-down).
    std::function<void()> m_fnCloseMain;

    ConversionJob& Job() { return *m_pJob; }
};

}  // namespace tabrel
