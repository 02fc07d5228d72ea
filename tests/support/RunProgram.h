#pragma once
// Runs a program of the build with arguments and collects its exit code and output.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace tabrel::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The full path of a program found on PATH, or "".
inline std::string FindTool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return "";
}

// Starts program with args (no shell), its standard output and error going to files in a
// temporary folder, and waits for it. inChild, when given, runs in the child just before
// the program starts (to set a limit, say). A program ended by a signal has exit code -1.
inline ProgramResult RunProgramAndWait(const std::string& program,
                                       const std::vector<std::string>& args,
                                       const std::function<void()>& inChild = nullptr) {
    TempDir dir;
    const std::string outPath = dir.File("out");
    const std::string errPath = dir.File("err");
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    ProgramResult result;
    // The child would write out what the parent has buffered when it reopens them.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) {
            _exit(127);
        }
        if (inChild) {
            inChild();
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadTextFile(outPath);
    result.err = ReadTextFile(errPath);
    return result;
}

}  // namespace tabrel::test
