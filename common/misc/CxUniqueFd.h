#pragma once
// CxUniqueFd: owns a POSIX file descriptor and closes it when it goes out of scope (or when
// reset or closed).

#include <unistd.h>

#include <utility>

namespace tabrel {

class CxUniqueFd {
  public:
    CxUniqueFd() = default;
    explicit CxUniqueFd(int fd) : m_fd(fd) {}
    ~CxUniqueFd() { Reset(); }
    CxUniqueFd(const CxUniqueFd&) = delete;
    CxUniqueFd& operator=(const CxUniqueFd&) = delete;
    CxUniqueFd(CxUniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    CxUniqueFd& operator=(CxUniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }
    // Closes now and reports whether the close succeeded (a late write error shows here).
    bool Close() {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }
    void Reset() { Close(); }

  private:
    int m_fd = -1;
};

}  // namespace tabrel
