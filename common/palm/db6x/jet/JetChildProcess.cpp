#include "palm/db6x/jet/JetChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <system_error>

#include "misc/CxUniqueFd.h"

namespace tabrel {

namespace {

using Clock = std::chrono::steady_clock;

// The exit status of a child whose work called exit().
constexpr int kExitCalled = 124;
// The exit status of a child that ran out of memory.
constexpr int kExitNoMemory = 123;

// The child's side: runs the work with standard output and error sent nowhere, and ends
// without running the parent's exit handlers or flushing its stream buffers.
[[noreturn]] void RunChild(const std::function<int(int fd)>& work, int fd) {
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0) {
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
    }
    ::signal(SIGPIPE, SIG_IGN);
    // Should the work end the process with exit(), the child ends here, before the
    // parent's exit handlers and static destructors would run in it.
    std::atexit([] { ::_exit(kExitCalled); });
    int status = 125;
    try {
        status = work(fd);
    } catch (const std::bad_alloc&) {
        status = kExitNoMemory;
    } catch (...) {
        status = 126;
    }
    ::_exit(status);
}

// Waits for the child to end; its wait status.
int Reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Waits for the child to end until the deadline, then ends it; its wait status, and
// whether it ended by itself in time.
int ReapBefore(pid_t pid, Clock::time_point deadline, bool& inTime) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) {
            inTime = true;
            return status;
        }
        if (Clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            inTime = false;
            return Reap(pid);
        }
        ::usleep(1000);
    }
}

}  // namespace

bool RunInChildProcess(const std::function<int(int fd)>& work, const ChildLimits& limits,
                       std::string& output, int& exitCode, std::string& error) {
    output.clear();
    exitCode = -1;
    std::array<int, 2> fds{-1, -1};
    if (::pipe2(fds.data(), O_CLOEXEC) != 0) {
        error = "No pipe can be made: " + std::generic_category().message(errno) + ".";
        return false;
    }
    CxUniqueFd readEnd(fds[0]);
    CxUniqueFd writeEnd(fds[1]);
    const pid_t pid = ::fork();
    if (pid < 0) {
        error = "No process can be started: " + std::generic_category().message(errno) + ".";
        return false;
    }
    if (pid == 0) {
        readEnd.Reset();
        RunChild(work, writeEnd.Get());
    }
    writeEnd.Reset();

    const Clock::time_point deadline = Clock::now() + limits.timeout;
    std::array<char, 1 << 16> chunk{};
    const char* stopped = nullptr;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            stopped = "it did not finish in time";
            break;
        }
        pollfd ready{readEnd.Get(), POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled == 0) {
            continue;  // the deadline is checked at the top
        }
        const ssize_t n = polled < 0 ? -1 : ::read(readEnd.Get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;  // the child closed its end: it has ended, or is about to
        }
        try {
            output.append(chunk.data(), static_cast<std::size_t>(n));
        } catch (const std::bad_alloc&) {
            ::kill(pid, SIGKILL);
            Reap(pid);
            throw;
        }
        if (output.size() > limits.maxOutput) {
            stopped = "it gave more data than the file can hold";
            break;
        }
    }
    if (stopped != nullptr) {
        ::kill(pid, SIGKILL);
        Reap(pid);
        output.clear();
        error = std::string("Reading the file was stopped: ") + stopped + ".";
        return false;
    }
    bool inTime = true;
    const int status = ReapBefore(pid, deadline, inTime);
    if (!inTime) {
        output.clear();
        error = "Reading the file was stopped: it did not finish in time.";
        return false;
    }
    if (WIFSIGNALED(status)) {
        error = "Reading the file failed (signal " + std::to_string(WTERMSIG(status)) + ").";
        return false;
    }
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (exitCode == kExitNoMemory) {
        output.clear();
        throw std::bad_alloc();  // the work's failure, as if it had run here
    }
    return true;
}

}  // namespace tabrel
