#include "serial_link.h"

#include <chrono>
#include <thread>

namespace transport {

SerialLink::SerialLink() : reader_(port_, raw_, frames_) {}

SerialLink::~SerialLink() = default;

int SerialLink::Reopen(const std::string& path, std::uint32_t baud) {
    port_.Close();
    port_.SetParams(path, 8, 0, 0, baud);
    return port_.Open();
}

std::size_t SerialLink::TakeFrame(std::uint8_t* buffer, std::size_t maximum) {
    const std::size_t n = std::min<std::size_t>(frames_.Count(), maximum);
    for (std::size_t i = 0; i < n; ++i) buffer[i] = frames_.Pop();
    return n;
}

std::size_t SerialLink::Exchange(const std::uint8_t* request, std::size_t length,
                                 std::uint8_t* reply, std::size_t maximum, const WaitPolicy& wait) {
    std::uint8_t stale[kReplySize];
    while (TakeFrame(stale, sizeof stale) == sizeof stale) {
    }
    port_.Write(request, length);
    for (int i = 0; i < wait.polls; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait.intervalMs));
        const std::size_t n = TakeFrame(reply, maximum);
        if (n != 0 && n >= wait.minLength) return n;
    }
    return 0;
}

}  // namespace transport
