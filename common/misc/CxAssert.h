#pragma once
// Guards for internal invariants. A broken invariant is a programming error, never a
// reaction to user input: it is logged at level 0 and thrown as CxAssertionError, whose
// text names the broken condition, so the front end can show it instead of dying.

#include <stdexcept>
#include <string>

namespace tabrel {

class CxAssertionError : public std::logic_error {
  public:
    explicit CxAssertionError(const std::string& condition) : std::logic_error(condition) {}
};

// Logs "Assertion failed: <condition>" at level 0 and throws CxAssertionError.
[[noreturn]] void CxAssertFailed(const char* condition, const char* file, int line);

}  // namespace tabrel

// CX_ASSERT(cond, "text"): text is the condition as the log and the crash dialog show it.
#define CX_ASSERT(cond, text)                                     \
    do {                                                          \
        if (!(cond)) {                                            \
            ::tabrel::CxAssertFailed((text), __FILE__, __LINE__); \
        }                                                         \
    } while (false)
