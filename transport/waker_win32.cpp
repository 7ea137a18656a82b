#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "waker.h"

namespace transport {
namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

// An auto-reset event: the wait that ends on it takes the wake-up with it, and a Wake that
// comes after that wait ended is kept for the next one.
Waker::Waker()
    : handle_(reinterpret_cast<std::intptr_t>(::CreateEventW(nullptr, FALSE, FALSE, nullptr))) {}

Waker::~Waker() {
    if (handle_) ::CloseHandle(AsHandle(handle_));
}

void Waker::Wake() {
    if (handle_) ::SetEvent(AsHandle(handle_));
}

// The wait that ended on the event has already taken the wake-up; resetting it here could
// only lose a Wake that came since.
void Waker::Drain() {}

void Waker::Wait(int timeoutMs) {
    if (!handle_) return;
    ::WaitForSingleObject(AsHandle(handle_),
                          timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
}

}  // namespace transport
