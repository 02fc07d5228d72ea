#pragma once
// Runs a piece of work in a child process and collects the bytes it writes. The Jet
// library runs there: whatever a damaged file makes it do (print, loop, crash) stays in the
// child, which is ended when it runs too long or writes too much.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace tabrel {

struct ChildLimits {
    std::size_t maxOutput = 0;  // bytes the child may write
    std::chrono::milliseconds timeout{0};
};

// Runs work(fd) in a child process whose standard output and error go to /dev/null; what
// it writes to fd is collected in output, and its exit status (the value work answered) in
// exitCode. False, with the reason in error, when the child cannot be started, is ended
// for exceeding a limit, or ends by a signal. Work that runs out of memory in the child
// throws std::bad_alloc here, as running out of memory here does.
bool RunInChildProcess(const std::function<int(int fd)>& work, const ChildLimits& limits,
                       std::string& output, int& exitCode, std::string& error);

}  // namespace tabrel
