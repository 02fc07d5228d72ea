#include "misc/WinUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "misc/CxUniqueFd.h"

extern char** environ;

namespace tabrel {

namespace {

constexpr std::size_t kMaxHexDumpBytes = 1024;

// The full path of an executable found through PATH, or empty.
std::string FindInPath(std::string_view program) {
    const char* pathVariable = std::getenv("PATH");
    const std::string_view searchPath = pathVariable != nullptr ? pathVariable : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) {
            end = searchPath.size();
        }
        // An empty PATH entry means the current folder.
        const std::string_view folder =
            end > start ? searchPath.substr(start, end - start) : std::string_view(".");
        std::string candidate;
        candidate.append(folder).append("/").append(program);
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

pid_t WaitFor(pid_t pid, int& status) {
    pid_t result;
    do {
        result = waitpid(pid, &status, 0);
    } while (result < 0 && errno == EINTR);
    return result;
}

}  // namespace

std::string GetAppFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || exe.empty()) {
        return {};
    }
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

bool RunProgram(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    std::string program = FindInPath("xdg-open");
    if (program.empty()) {
        return false;
    }
    // A path beginning with '-' would be taken for an option.
    const std::string_view prefix = path.front() == '-' ? "./" : "";
    std::string argument;
    argument.reserve(prefix.size() + path.size());
    argument.append(prefix).append(path);
    // Everything the children use is prepared here: after fork only async-signal-safe calls
    // are made (fork, execve, write, _exit).
    std::vector<char*> argv = {program.data(), argument.data(), nullptr};

    // The grandchild reports a failed execve through this pipe; a successful one closes
    // it (close-on-exec), so the parent reads end-of-file.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    CxUniqueFd readEnd(fds[0]);
    CxUniqueFd writeEnd(fds[1]);

    // The child starts xdg-open in a grandchild and exits at once; the parent reaps the
    // child, and the grandchild, now an orphan, is reaped by init. No zombie is left and
    // the caller never waits for the program.
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            execve(program.c_str(), argv.data(), environ);
            const int failure = errno;
            [[maybe_unused]] const auto written = write(fds[1], &failure, sizeof failure);
            _exit(127);
        }
        if (grandchild < 0) {
            const int failure = errno;
            [[maybe_unused]] const auto written = write(fds[1], &failure, sizeof failure);
        }
        _exit(0);
    }
    writeEnd.Reset();

    int status = 0;
    const bool reaped = WaitFor(child, status) == child;
    int failure = 0;
    ssize_t got;
    do {
        got = read(readEnd.Get(), &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    return reaped && WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

std::string HexDump(const void* bytes, std::size_t length) {
    if (bytes == nullptr) {
        return {};
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    const auto* data = static_cast<const unsigned char*>(bytes);
    const std::size_t count = length < kMaxHexDumpBytes ? length : kMaxHexDumpBytes;
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0) {
            text += ' ';
        }
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

}  // namespace tabrel
