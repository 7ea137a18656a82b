#pragma once
// A number entry as the programs accept it, written as a small state machine to judge the
// entry parsers by: spaces and tabs around it, an optional sign, digits with at most one
// decimal point (at least one digit), an optional exponent (e or E, an optional sign, at
// least one digit). Nothing else is a number.
#include <locale.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz {

// The number without the blanks around it, or nullopt when the text is not a number.
inline std::optional<std::string_view> EntryNumber(std::string_view text) {
    enum State { Lead, Sign, Whole, LoneDot, Fraction, E, ESign, Exponent, Trail };
    State state = Lead;
    std::size_t begin = 0;
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool digit = c >= '0' && c <= '9';
        const bool blank = c == ' ' || c == '\t';
        const bool sign = c == '+' || c == '-';
        const bool e = c == 'e' || c == 'E';
        switch (state) {
            case Lead:
                if (blank) continue;
                begin = i;
                if (sign)
                    state = Sign;
                else if (digit)
                    state = Whole;
                else if (c == '.')
                    state = LoneDot;
                else
                    return std::nullopt;
                break;
            case Sign:
                if (digit)
                    state = Whole;
                else if (c == '.')
                    state = LoneDot;
                else
                    return std::nullopt;
                break;
            case Whole:
                if (digit) break;
                if (c == '.')
                    state = Fraction;
                else if (e)
                    state = E;
                else if (blank)
                    state = Trail;
                else
                    return std::nullopt;
                break;
            case LoneDot:
                if (digit)
                    state = Fraction;
                else
                    return std::nullopt;
                break;
            case Fraction:
                if (digit) break;
                if (e)
                    state = E;
                else if (blank)
                    state = Trail;
                else
                    return std::nullopt;
                break;
            case E:
                if (sign)
                    state = ESign;
                else if (digit)
                    state = Exponent;
                else
                    return std::nullopt;
                break;
            case ESign:
                if (digit)
                    state = Exponent;
                else
                    return std::nullopt;
                break;
            case Exponent:
                if (digit) break;
                if (blank)
                    state = Trail;
                else
                    return std::nullopt;
                break;
            case Trail:
                if (!blank) return std::nullopt;
                continue;
        }
        if (state != Trail) end = i + 1;
    }
    if (state != Whole && state != Fraction && state != Exponent && state != Trail)
        return std::nullopt;
    return text.substr(begin, end - begin);
}

// The value of a number the grammar accepts, read by the C library in the "C" locale whatever
// the process's locale is.
inline double ReferenceValue(std::string_view number) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string text(number);
    char* stop = nullptr;
    const double value = strtod_l(text.c_str(), &stop, c);
    // The grammar's numbers are a subset of what strtod reads; a shorter read is a fault here.
    if (stop != text.c_str() + text.size()) __builtin_trap();
    return value;
}

}  // namespace fuzz
