#pragma once
// LockHolder: another process that holds a lock on a whole file while the object lives: a
// POSIX record lock (fcntl, as a Palm Desktop under Wine takes one) or a flock.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <string>

namespace tabrel::test {

enum class LockKind { RecordRead, RecordWrite, FlockShared, FlockExclusive };

class LockHolder {
  public:
    // IsHolding() tells whether the child took the lock.
    LockHolder(const std::string& path, LockKind kind) {
        std::array<int, 2> ready{};
        if (::pipe(ready.data()) != 0) {
            return;
        }
        m_child = ::fork();
        if (m_child == 0) {
            const int fd = ::open(path.c_str(), kind == LockKind::RecordWrite ? O_RDWR : O_RDONLY);
            struct flock lock {};
            lock.l_type = kind == LockKind::RecordWrite ? F_WRLCK : F_RDLCK;
            lock.l_whence = SEEK_SET;
            const bool record = kind == LockKind::RecordRead || kind == LockKind::RecordWrite;
            const int taken = record
                                  ? ::fcntl(fd, F_SETLK, &lock)
                                  : ::flock(fd, kind == LockKind::FlockShared ? LOCK_SH : LOCK_EX);
            const char done = taken == 0 ? 'y' : 'n';
            [[maybe_unused]] const ssize_t sent = ::write(ready[1], &done, 1);
            ::pause();
            ::_exit(0);
        }
        char done = 0;
        m_bHolding = m_child > 0 && ::read(ready[0], &done, 1) == 1 && done == 'y';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockHolder() {
        if (m_child > 0) {
            ::kill(m_child, SIGKILL);
            ::waitpid(m_child, nullptr, 0);
        }
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool IsHolding() const { return m_bHolding; }

  private:
    pid_t m_child = -1;
    bool m_bHolding = false;
};

}  // namespace tabrel::test
