#pragma once
// Runs a program of the build with arguments and collects its exit code and output.

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace tabrel::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Starts program with args (no shell), its standard output and error going to files in a
// temporary folder, and waits for it.
inline ProgramResult RunProgramAndWait(const std::string& program,
                                       const std::vector<std::string>& args) {
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
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) {
            _exit(127);
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
