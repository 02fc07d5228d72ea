#include "palm/desktop/PmApp.h"

namespace tabrel {

PmDatabaseLocation GetDatabaseLocation(int app, bool is6x) {
    switch (app) {
        case AppContacts:
            return {"address", is6x ? "Address.mdb" : "address.dat"};
        case AppCalendar:
            return {"datebook", is6x ? "DateBook.mdb" : "datebook.dat"};
        case AppTasks:
            return {"todo", is6x ? "Todolist.mdb" : "todo.dat"};
        case AppMemos:
            return {is6x ? "MemoPad" : "memopad", is6x ? "MemoPad.mdb" : "memopad.dat"};
        default:
            return {};
    }
}

}  // namespace tabrel
