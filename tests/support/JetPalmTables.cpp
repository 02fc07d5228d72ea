// The Palm Desktop 6.x tables as Jet tables, from the column lists the SQLite test databases
// use, so both kinds of test database have the same columns in the same order.

#include "support/Db6xWriter.h"
#include "support/JetWriter.h"

namespace tabrel::test {

std::vector<JetColumn> JetInformationColumns() {
    return JetColumnsFrom(kInformationColumns);
}

std::vector<JetColumn> JetCategoryColumns() {
    return JetColumnsFrom(kCategoryColumns);
}

std::vector<JetColumn> JetMainColumns(JetPalmApp app) {
    switch (app) {
        case JetPalmApp::Contacts:
            return JetColumnsFrom(kAddrColumns);
        case JetPalmApp::Calendar:
            return JetColumnsFrom(kDateColumns);
        case JetPalmApp::Tasks:
            return JetColumnsFrom(kTodoColumns);
        case JetPalmApp::Memos:
            break;
    }
    return JetColumnsFrom(kMemoColumns);
}

std::vector<JetTable> JetPalmTables(JetPalmApp app) {
    return {JetTable{"Information", JetInformationColumns(), {}},
            JetTable{"Category", JetCategoryColumns(), {}},
            JetTable{"Main", JetMainColumns(app), {}}};
}

}  // namespace tabrel::test
