#include "palm/db6x/TdmMain.h"

namespace tabrel {

void TdmMain::CloseAll() {
    for (DbQuery* query : {&qryAddr, &qryDate, &qryTodo, &qryMemo}) {
        query->Close();
    }
    for (DbConnection* connection : {&connAddr, &connDate, &connTodo, &connMemo}) {
        connection->Close();
    }
}

TdmMain& dmMain() {
    static TdmMain module;
    return module;
}

}  // namespace tabrel
