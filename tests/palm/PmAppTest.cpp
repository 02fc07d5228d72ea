#include <gtest/gtest.h>

#include "palm/desktop/PmApp.h"

namespace tabrel {

TEST(PmApp, DatabaseLocationsOfBothGenerations) {
    EXPECT_EQ(GetDatabaseLocation(AppContacts, false).fileName, "address.dat");
    EXPECT_EQ(GetDatabaseLocation(AppCalendar, true).fileName, "DateBook.mdb");
    EXPECT_EQ(GetDatabaseLocation(AppTasks, true).fileName, "Todolist.mdb");
    EXPECT_EQ(GetDatabaseLocation(AppMemos, false).folder, "memopad");
    EXPECT_EQ(GetDatabaseLocation(AppMemos, true).folder, "MemoPad");
    EXPECT_TRUE(GetDatabaseLocation(9, false).folder.empty());
}

}  // namespace tabrel
