#include "number_text.h"

#include <charconv>

namespace protocol {

std::string FormatFixed(double value, int decimals) {
    char buffer[400];
    const auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return {};
    return std::string(buffer, ptr);
}

}  // namespace protocol
