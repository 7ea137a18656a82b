#include "posix_baud.h"

namespace transport {
namespace {

struct Rate {
    std::uint32_t baud;
    speed_t speed;
};

constexpr Rate kRates[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                           {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};

}  // namespace

bool SpeedFor(std::uint32_t baud, speed_t* out) {
    for (const Rate& r : kRates)
        if (r.baud == baud) {
            *out = r.speed;
            return true;
        }
    return false;
}

std::uint32_t BaudOf(speed_t speed) {
    for (const Rate& r : kRates)
        if (r.speed == speed) return r.baud;
    return 0;
}

}  // namespace transport
