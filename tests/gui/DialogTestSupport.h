#pragma once
// Helpers of the dialog tests: acting on a modal dialog while it is shown, and the
// process-wide debug log put back after a test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <string>

#include "misc/CxDebugUtil.h"

namespace tabrel::test {

// Runs open, which shows a modal dialog of type Dialog; act is called once on that dialog
// while it is shown (act closes it). Fails the test when no such dialog showed.
template <class Dialog>
void WithModal(const std::function<void()>& open, const std::function<void(Dialog&)>& act) {
    bool acted = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!acted && dialog != nullptr && dialog->isVisible()) {
            acted = true;
            timer.stop();
            act(*dialog);
        }
    });
    timer.start();
    open();
    timer.stop();
    EXPECT_TRUE(acted) << "the dialog was not shown";
}

// Puts the debug log's switch, level and folder back as they were.
class ScopedLogState {
  public:
    ScopedLogState()
        : m_bEnabled(DebugLog().IsEnabled()),
          m_nLevel(DebugLog().GetLevel()),
          m_szFolder(DebugLog().GetFolder()) {}
    ~ScopedLogState() {
        DebugLog().Enable(m_bEnabled);
        DebugLog().SetLevel(m_nLevel);
        DebugLog().SetFolder(m_szFolder);
    }
    ScopedLogState(const ScopedLogState&) = delete;
    ScopedLogState& operator=(const ScopedLogState&) = delete;

  private:
    bool m_bEnabled;
    int m_nLevel;
    std::string m_szFolder;
};

}  // namespace tabrel::test
