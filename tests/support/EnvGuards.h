#pragma once
// Test guards for process-wide state: environment variables, the debug log's folder, and
// running a piece of work without root's privileges.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "misc/CxDebugUtil.h"
#include "support/TestSupport.h"

namespace tabrel::test {

// Sets an environment variable (or removes it, for nullopt) and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Apply(value);
    }
    ~ScopedEnv() { Restore(); }
    void Restore() { Apply(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            setenv(m_name, value->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

// Sets the time zone (TZ) for the C library's local time and restores it afterwards.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) : m_env("TZ", std::string(zone)) { tzset(); }
    ~ScopedTimeZone() {
        m_env.Restore();
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    ScopedEnv m_env;
};

// Sends the debug log to a temporary folder while it lives (failures are always logged), so
// tests of failure paths leave no log file behind.
class ScopedLogFolder {
  public:
    ScopedLogFolder() : m_old(DebugLog().GetFolder()) { DebugLog().SetFolder(m_dir.Folder()); }
    ~ScopedLogFolder() { DebugLog().SetFolder(m_old); }
    ScopedLogFolder(const ScopedLogFolder&) = delete;
    ScopedLogFolder& operator=(const ScopedLogFolder&) = delete;

  private:
    TempDir m_dir;
    std::string m_old;
};

// Runs work as an unprivileged user, so that file permissions apply even when the tests run
// as root (in a child process that gives up root first). The answer is work's result.
inline bool RunUnprivileged(const std::function<bool()>& work) {
    if (geteuid() != 0) {
        return work();
    }
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(2);
        }
        _exit(work() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

}  // namespace tabrel::test
