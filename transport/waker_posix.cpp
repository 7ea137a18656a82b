#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "waker.h"

namespace transport {

Waker::Waker() : handle_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

Waker::~Waker() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

void Waker::Wake() {
    const std::uint64_t one = 1;
    if (handle_ >= 0) [[maybe_unused]]
        auto n = ::write(static_cast<int>(handle_), &one, sizeof one);
}

void Waker::Drain() {
    std::uint64_t drained;
    if (handle_ >= 0) [[maybe_unused]]
        auto n = ::read(static_cast<int>(handle_), &drained, sizeof drained);
}

void Waker::Wait(int timeoutMs) {
    pollfd p{static_cast<int>(handle_), POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) > 0) Drain();
}

}  // namespace transport
