#pragma once
// Baud rates as numbers and as the termios speed codes of POSIX serial lines.
#include <termios.h>

#include <cstdint>

namespace transport {

// False when the platform has no code for the rate.
bool SpeedFor(std::uint32_t baud, speed_t* out);
// 0 when the code is none of the rates above.
std::uint32_t BaudOf(speed_t speed);

}  // namespace transport
