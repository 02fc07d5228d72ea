// The wizard frame: start-up, the page flow and the buttons, settings saved at close.

#include <gtest/gtest.h>

#include <QPushButton>

#include "GuiTestSupport.h"
#include "gui/TfmMain.h"

namespace tabrel {

using namespace test;

TEST(TfmMain, StartsOnTheModePageWithItsBands) {
    IsolatedDesktop desktop;
    GuiApp();
    std::vector<ShownMessage> shown;
    std::unique_ptr<TfmMain> window;
    shown = AnswerMessages([&] { window = std::make_unique<TfmMain>(60000); });
    // No Palm Desktop here: the user list's message comes first.
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "Can not find any Palm users in your desktop environment.");
    EXPECT_EQ(window->windowTitle().toStdString(), "Palm Desktop - Tabrel Converter");
    EXPECT_EQ(window->width(), 690);
    EXPECT_EQ(window->height(), 474);
    EXPECT_EQ(window->GetPageIndex(), 0);
    EXPECT_EQ(window->GetShownPage(), window->GetPage(0));
    EXPECT_FALSE(Find<QPushButton>(window.get(), "btnPrev")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(window.get(), "btnNext")->isEnabled());
    for (const char* name : {"btnHelp", "btnOption", "btnClose"}) {
        Find<QPushButton>(window.get(), name);
    }
}

}  // namespace tabrel
