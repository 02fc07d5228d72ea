#pragma once
// TdmMain: the data module of the Palm Desktop 6.x readers, one per process (dmMain()).
//
// It holds, for each application, one connection and one query object bound to it:
//   application    connection  query
//   1 Contacts     connAddr    qryAddr
//   2 Calendar     connDate    qryDate
//   3 Tasks        connTodo    qryTodo
//   4 Memos        connMemo    qryMemo
// Every accessor of one application shares that application's pair, so connecting one
// accessor re-points the others of its kind, and any statement ends the result another
// accessor of the kind was reading.

#include "palm/db6x/DbConnection.h"

namespace tabrel {

class TdmMain {
  public:
    TdmMain() = default;
    TdmMain(const TdmMain&) = delete;
    TdmMain& operator=(const TdmMain&) = delete;

    // Ends every result and closes every connection.
    void CloseAll();

    DbConnection connAddr;
    DbConnection connDate;
    DbConnection connTodo;
    DbConnection connMemo;
    DbQuery qryAddr{connAddr};
    DbQuery qryDate{connDate};
    DbQuery qryTodo{connTodo};
    DbQuery qryMemo{connMemo};
};

// The process's data module, created at its first use and living until the program ends.
TdmMain& dmMain();

}  // namespace tabrel
