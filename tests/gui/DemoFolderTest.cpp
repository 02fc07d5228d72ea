// The demo Palm Desktop folder of the repository (demo/palm): its one Palm user, the
// installed version its palm.exe gives, and the four databases loading by user through the
// facades with the records the generator put there.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DialogTestSupport.h"
#include "GuiTestSupport.h"
#include "palm/desktop/PalmDesktop.h"
#include "palm/desktop/PalmUsers.h"
#include "palm/unified/PmAddrInfo.h"
#include "palm/unified/PmDateInfo.h"
#include "palm/unified/PmMemoInfo.h"
#include "palm/unified/PmTodoInfo.h"

namespace tabrel {

using namespace test;

namespace {

// demo/palm of the source tree this test was built from.
std::string DemoPalmFolder() {
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "demo" /
            "palm")
        .string();
}

struct DemoFolderTest : ::testing::Test {
    IsolatedDesktop desktop;
    ScopedLogState log;
    ScopedLogFolder logFolder;  // loads log some lines at the always-written level
    PalmUserList users;

    DemoFolderTest() {
        SetPalmDesktopFolder(DemoPalmFolder());
        LoadUserLibrary();
    }
    ~DemoFolderTest() override {
        FreePalmUsers(users);
        FreeUserLibrary();
        SetPalmDesktopFolder("");
    }

    std::int32_t DemoUserId() {
        EXPECT_FALSE(LoadPalmUsers(users).has_value());
        EXPECT_EQ(users.GetCount(), 1u);
        const PalmUser* user = users.GetAt(0);
        return user != nullptr ? user->id : -1;
    }

    // The text of the catalogue row called name of the common record at position.
    template <class Info>
    static std::string Text(const Info& info, std::size_t position, std::string_view name) {
        const auto* record = info.GetCommMgr().GetAt(position);
        if (record == nullptr) {
            return "<no record>";
        }
        for (std::uint32_t i = 0; i < info.GetFieldCount(); ++i) {
            const auto row = info.GetFieldAt(i);
            if (row && row->m_szName == name) {
                std::string text;
                info.GetFieldText(*record, *row, text, 1024);
                return text;
            }
        }
        return "<no field>";
    }
};

}  // namespace

TEST_F(DemoFolderTest, HasOneUserAndGivesPalmDesktop414) {
    EXPECT_EQ(GetPalmDesktopVersion(), 40104u);
    DemoUserId();
    ASSERT_EQ(users.GetCount(), 1u);
    EXPECT_EQ(users.GetAt(0)->name, "Demo User");
    EXPECT_EQ(users.GetAt(0)->directory, "Demo User");
}

TEST_F(DemoFolderTest, EveryApplicationLoadsByUserWithItsTwelveRecords) {
    const std::int32_t user = DemoUserId();

    PmAddrInfo contacts;
    ASSERT_TRUE(contacts.LoadByUser(user));
    EXPECT_EQ(contacts.GetLoadedVersion(), PM_DATA_EX);
    EXPECT_EQ(contacts.GetCommMgr().GetCount(), 12u);
    EXPECT_EQ(Text(contacts, 0, "First Name"), "Margaret");
    EXPECT_EQ(Text(contacts, 0, "Work Phone"), "(206) 555-0142");
    EXPECT_EQ(Text(contacts, 0, "Category"), "Business");
    EXPECT_EQ(Text(contacts, 3, "Last Name"), "M\xFCller");  // ANSI, as Palm Desktop keeps it

    PmDateInfo calendar;
    ASSERT_TRUE(calendar.LoadByUser(user));
    EXPECT_EQ(calendar.GetLoadedVersion(), PM_DATA_EX);
    EXPECT_EQ(calendar.GetCommMgr().GetCount(), 12u);
    EXPECT_EQ(Text(calendar, 0, "Description"), "Sales meeting");
    EXPECT_EQ(Text(calendar, 0, "Start Time"), "03/07/2005 09:00:00");  // TZ=UTC, as written
    EXPECT_EQ(Text(calendar, 7, "Repeat Info"), "Weekly (every 2 weeks)");
    EXPECT_EQ(Text(calendar, 5, "All Day Event"), "Yes");

    PmTodoInfo tasks;
    ASSERT_TRUE(tasks.LoadByUser(user));
    EXPECT_EQ(tasks.GetLoadedVersion(), PM_DATA_EX);
    EXPECT_EQ(tasks.GetCommMgr().GetCount(), 12u);
    EXPECT_EQ(Text(tasks, 0, "Description"), "Send the price list to Fabrikam");
    EXPECT_EQ(Text(tasks, 1, "Completed"), "Yes");
    EXPECT_EQ(Text(tasks, 5, "Due Date"), "N/A");

    PmMemoInfo memos;
    ASSERT_TRUE(memos.LoadByUser(user));
    EXPECT_EQ(memos.GetLoadedVersion(), PM_DATA_EX);
    EXPECT_EQ(memos.GetCommMgr().GetCount(), 12u);
    EXPECT_EQ(memos.GetCommMgr().GetAt(0)->m_szSubject, "Shopping list");
    EXPECT_EQ(Text(memos, 0, "Memo"),
              "Shopping list\r\nMilk\r\nBread\r\nCoffee beans\r\nBatteries (AA)");
}

}  // namespace tabrel
