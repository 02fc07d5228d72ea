#pragma once
// Helpers of the wizard tests: a headless application, controls found by object name,
// modal message boxes answered and read, and an isolated settings folder.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "support/EnvGuards.h"
#include "support/TestSupport.h"

namespace tabrel::test {

// The one QApplication of the test program, on the offscreen platform.
inline QApplication& GuiApp() {
    static int argc = 1;
    static char name[] = "tabrel_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// The descendant of root called name, of type T; fails the test when there is none.
template <class T>
T* Find(const QObject* root, const char* name) {
    T* found = root->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

// A message box that a modal call showed: its caption and text.
struct ShownMessage {
    std::string caption;
    std::string text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs action; every modal message box it shows is read and closed with its default
// button. Answers what was shown, in order.
inline std::vector<ShownMessage> AnswerMessages(const std::function<void()>& action) {
    std::vector<ShownMessage> shown;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            shown.push_back(
                {box->windowTitle().toStdString(), box->text().toStdString(), box->icon()});
            box->done(QMessageBox::Ok);
        }
    });
    timer.start();
    action();
    timer.stop();
    return shown;
}

// The settings, log and Palm Desktop folders of one test, apart from the user's own.
struct IsolatedDesktop {
    TempDir home;
    ScopedEnv config{"XDG_CONFIG_HOME", home.File("config")};
    ScopedEnv wine{"WINEPREFIX", home.File("wine")};
    ScopedEnv qpa{"QT_QPA_PLATFORM", "offscreen"};
};

}  // namespace tabrel::test
