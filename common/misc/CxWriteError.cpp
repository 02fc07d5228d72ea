#include "misc/CxWriteError.h"

#include <cstring>

namespace tabrel {

namespace {
thread_local std::string tLastWriteError;
}  // namespace

void NoteWriteError(int errnum) {
    if (errnum != 0) {
        tLastWriteError = std::strerror(errnum);
    }
}

std::string TakeWriteError() {
    std::string reason;
    reason.swap(tLastWriteError);
    return reason;
}

}  // namespace tabrel
