#pragma once
// Ends a sleeping reader's wait from another thread: an eventfd on POSIX, an event object on
// Windows.
#include <cstdint>

namespace transport {

class Waker {
  public:
    Waker();
    ~Waker();
    Waker(const Waker&) = delete;
    Waker& operator=(const Waker&) = delete;

    void Wake();
    // Takes back what Wake gave (after a wait ended on it).
    void Drain();
    // Sleeps until Wake is called or `timeoutMs` pass, and drains.
    void Wait(int timeoutMs);
    // The handle a backend waits on beside its own: a file descriptor on POSIX, a HANDLE on
    // Windows.
    std::intptr_t Handle() const { return handle_; }

  private:
    std::intptr_t handle_;
};

}  // namespace transport
