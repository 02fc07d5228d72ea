#pragma once
// RecordLockHolder: another process that holds a POSIX record lock (fcntl, as a Palm
// Desktop under Wine takes one) on a whole file while the object lives.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <string>

namespace tabrel::test {

class RecordLockHolder {
  public:
    // type: F_RDLCK or F_WRLCK. IsHolding() tells whether the child took the lock.
    RecordLockHolder(const std::string& path, short type) {
        std::array<int, 2> ready{};
        if (::pipe(ready.data()) != 0) {
            return;
        }
        m_child = ::fork();
        if (m_child == 0) {
            const int fd = ::open(path.c_str(), type == F_RDLCK ? O_RDONLY : O_RDWR);
            struct flock lock {};
            lock.l_type = type;
            lock.l_whence = SEEK_SET;
            const char done = ::fcntl(fd, F_SETLK, &lock) == 0 ? 'y' : 'n';
            [[maybe_unused]] const ssize_t sent = ::write(ready[1], &done, 1);
            ::pause();
            ::_exit(0);
        }
        char done = 0;
        m_bHolding = m_child > 0 && ::read(ready[0], &done, 1) == 1 && done == 'y';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~RecordLockHolder() {
        if (m_child > 0) {
            ::kill(m_child, SIGKILL);
            ::waitpid(m_child, nullptr, 0);
        }
    }
    RecordLockHolder(const RecordLockHolder&) = delete;
    RecordLockHolder& operator=(const RecordLockHolder&) = delete;

    bool IsHolding() const { return m_bHolding; }

  private:
    pid_t m_child = -1;
    bool m_bHolding = false;
};

}  // namespace tabrel::test
