#pragma once
// The reason the last failed write into a file on this thread failed, kept as errno is for
// one call: the file writers note it where a write fails, and a conversion whose save
// failed names it to the user ("No space left on device", "Permission denied").

#include <string>

namespace tabrel {

// Notes errnum (an errno value) as the reason of the write that just failed.
void NoteWriteError(int errnum);

// The reason noted last, or "" when none was noted since the last call; clears it.
std::string TakeWriteError();

}  // namespace tabrel
