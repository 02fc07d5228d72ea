#pragma once
// The wizard as the page tests start it: an isolated desktop with an optional settings file,
// a private Palm Desktop folder with the given Palm users, and the main window of an
// installed Palm Desktop 6.x. Messages shown at start-up are kept in startup.

#include <QPushButton>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "gui/TfmMain.h"
#include "support/PalmTestSupport.h"

namespace tabrel::test {

class WizardRun {
  public:
    // settingsText: the settings file's content ("" writes none); users: the Palm user
    // folders to make, each with an empty Contacts folder.
    explicit WizardRun(const std::string& settingsText = "",
                       const std::vector<std::string>& users = {}) {
        if (!settingsText.empty()) {
            const std::string folder = m_desktop.home.File("config") + "/norvane/Tabrel";
            std::filesystem::create_directories(folder);
            WriteTextFile(folder + "/norvane.ini", settingsText);
        }
        if (!users.empty()) {
            for (const std::string& user : users) {
                std::filesystem::create_directories(PalmFolder() + "/" + user + "/address");
            }
            SetPalmDesktopFolder(PalmFolder());
        }
        Restart();
    }
    ~WizardRun() { m_pWindow.reset(); }
    WizardRun(const WizardRun&) = delete;
    WizardRun& operator=(const WizardRun&) = delete;

    // Closes the window (which saves the settings) and starts a new one, assuming the
    // installed Palm Desktop version palmVersion (none: the window reads it from the Palm
    // Desktop folder, as the program does).
    void Restart(std::optional<std::uint32_t> palmVersion = 60000) {
        m_pWindow.reset();
        GuiApp();
        startup = AnswerMessages([&] { m_pWindow = std::make_unique<TfmMain>(palmVersion); });
    }

    TfmMain& Window() { return *m_pWindow; }
    WizardState& State() { return m_pWindow->State(); }
    AppSettings& Settings() { return State().m_settings; }

    template <class T>
    T* Get(const char* name) {
        return Find<T>(m_pWindow.get(), name);
    }

    // Clicks a button, answering the messages it shows.
    std::vector<ShownMessage> Click(const char* name) {
        QAbstractButton* button = Get<QAbstractButton>(name);
        if (button == nullptr) {
            return {};
        }
        return AnswerMessages([&] { button->click(); });
    }
    std::vector<ShownMessage> Next() { return Click("btnNext"); }

    // The folder for the test's own files, and the Palm Desktop folder inside it.
    const TempDir& Files() const { return m_files; }
    std::string File(const std::string& name) const { return m_files.File(name); }
    std::string PalmFolder() const { return m_files.File("Palm"); }

    std::vector<ShownMessage> startup;

  private:
    IsolatedDesktop m_desktop;
    ScopedPalmSetup m_palm;
    TempDir m_files;
    std::unique_ptr<TfmMain> m_pWindow;
};

// The texts of shown messages, in order.
inline std::vector<std::string> Texts(const std::vector<ShownMessage>& shown) {
    std::vector<std::string> texts;
    for (const ShownMessage& message : shown) {
        texts.push_back(message.text);
    }
    return texts;
}

}  // namespace tabrel::test
