#pragma once
#include <cstdint>

namespace protocol {

enum class ExchangeStatus : std::uint8_t { Ok = 0, PortClosed = 1, NoReply = 2, CheckFailed = 3 };

}  // namespace protocol
