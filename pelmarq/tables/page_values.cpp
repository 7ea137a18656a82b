#include "page_values.h"

#include <bit>
#include <cmath>
#include <map>

#include "field_format.h"

namespace pages {

RowScale ScaleOf(const Row& r, Encoding encoding) {
    switch (encoding) {
        case Encoding::Tenths:
            return {0.1, 1, 10};
        case Encoding::Hundredths:
            return {0.01, 2, 100};
        case Encoding::Whole:
            return {1.0, 0, 1};
        case Encoding::Scaled:
            return {r.factor, r.decimals, r.multiplier};
        case Encoding::UInt32:
        case Encoding::UIntTrunc:
            return {1.0, 0, r.multiplier};
        default:
            return {1.0, 0, 1};
    }
}

std::pair<const char*, const char*> StatusTexts(const Row& r) {
    if (r.items.size() == 2) return {r.items[0], r.items[1]};
    return {"正常", "警告"};
}

std::uint8_t RegisterCount(Encoding encoding) {
    return encoding == Encoding::UInt32 || encoding == Encoding::Float ? 2 : 1;
}

namespace {

std::uint32_t Pair(const std::uint16_t* words) {
    return std::uint32_t{words[0]} << 16 | words[1];
}

float FloatOf(const std::uint16_t* words) {
    return std::bit_cast<float>(Pair(words));
}

}  // namespace

std::string RowText(const Row& r, Encoding encoding, const std::uint16_t* words) {
    const std::uint16_t raw = words[0];
    switch (encoding) {
        case Encoding::Tenths:
        case Encoding::Hundredths:
        case Encoding::Whole:
        case Encoding::Scaled: {
            const RowScale s = ScaleOf(r, encoding);
            return fields::FormatScaled(raw, s.factor, s.decimals);
        }
        case Encoding::Status: {
            const auto [normal, alarm] = StatusTexts(r);
            return fields::FormatStatus(raw, r.normal, r.alarm, normal, alarm);
        }
        case Encoding::UInt32:
            return fields::FormatUInt32(Pair(words));
        case Encoding::Float:
            return fields::FormatFloat(FloatOf(words), r.decimals ? r.decimals : 6);
        case Encoding::Version:
            return fields::FormatVersion(raw);
        case Encoding::Choice: {
            const int index = static_cast<int>(raw) - r.itemBase;
            if (index >= 0 && index < static_cast<int>(r.items.size())) return r.items[index];
            return {};
        }
        default:
            return fields::FormatUInt(raw);
    }
}

double RowNumber(const Row& r, Encoding encoding, const std::uint16_t* words) {
    const std::uint16_t raw = words[0];
    switch (encoding) {
        case Encoding::Tenths:
        case Encoding::Hundredths:
        case Encoding::Whole:
        case Encoding::Scaled:
            return static_cast<std::int16_t>(raw) * ScaleOf(r, encoding).factor;
        case Encoding::UInt32:
            return Pair(words);
        case Encoding::Float:
            return FloatOf(words);
        default:
            return raw;
    }
}

WriteRule WriteRuleOf(const Row& r, Encoding encoding) {
    const std::int32_t multiplier = ScaleOf(r, encoding).multiplier;
    if (encoding == Encoding::Choice) return {protocol::EntryRange::Unsigned16, 1, false, true};
    if (encoding == Encoding::Bool01 || (r.flags & kOnly01))
        return {protocol::EntryRange::Unsigned16, multiplier, true};
    switch (encoding) {
        case Encoding::Float:
            return {protocol::EntryRange::Float, 1};
        case Encoding::UInt32:
            return {protocol::EntryRange::Unsigned32, multiplier};
        case Encoding::UInt:
        case Encoding::Int:
        case Encoding::Status:
        case Encoding::Version:
        case Encoding::UIntTrunc:
            return {protocol::EntryRange::Unsigned16, multiplier};
        default:
            return {protocol::EntryRange::Signed16, multiplier};
    }
}

namespace {

RowEntryError ErrorOf(protocol::EntryError e) {
    switch (e) {
        case protocol::EntryError::None:
            return RowEntryError::None;
        case protocol::EntryError::OutOfRange:
            return RowEntryError::OutOfRange;
        case protocol::EntryError::NotANumber:
            break;
    }
    return RowEntryError::NotANumber;
}

}  // namespace

RowEntry ConvertRowEntry(const Row& r, Encoding encoding, std::string_view text) {
    const WriteRule rule = WriteRuleOf(r, encoding);
    if (rule.choice) {
        for (std::size_t i = 0; i < r.items.size(); ++i)
            if (text == r.items[i])
                return {RowEntryError::None, static_cast<std::uint32_t>(i + r.itemBase)};
        const std::optional<double> number = protocol::ParseEntryNumber(text);
        if (!number) return {RowEntryError::NotInList};
        const double index = *number - r.itemBase;
        if (index >= 0 && index < static_cast<double>(r.items.size()) && index == std::trunc(index))
            return {RowEntryError::None, static_cast<std::uint32_t>(*number)};
        return {RowEntryError::NotInList};
    }
    if (rule.only01) {
        const std::optional<double> entry = protocol::ParseEntryNumber(text);
        if (!entry) return {RowEntryError::NotANumber};
        const double value = std::trunc(*entry);
        if (value != 0 && value != 1) return {RowEntryError::NotZeroOrOne};
        // The value that passed the check is the one written (0.5 is 0, not 5 tenths).
        const protocol::EntryValue word =
            protocol::ConvertEntry(value, rule.multiplier, rule.range);
        return {ErrorOf(word.error), word.bits};
    }
    const protocol::EntryValue v = protocol::ConvertEntryText(text, rule.range, rule.multiplier);
    return {ErrorOf(v.error), v.bits};
}

std::vector<std::string> RowCaptions(const PageSpec& spec) {
    std::vector<std::string> out;
    std::map<std::string, int> seen;
    for (const Row& r : spec.rows) {
        std::string caption = r.label;
        for (;;) {
            if (caption.ends_with("："))
                caption.resize(caption.size() - std::string_view("：").size());
            else if (caption.ends_with(':'))
                caption.pop_back();
            else
                break;
        }
        const int count = ++seen[caption];
        out.push_back(count > 1 ? caption + "#" + std::to_string(count) : caption);
    }
    return out;
}

std::string ControlName(int id, const std::string& caption, const char* role) {
    return id ? std::to_string(id) : caption + ":" + role;
}

std::string ValueControlName(const PageSpec& spec, std::size_t row) {
    const Row& r = spec.rows.at(row);
    const std::string caption = RowCaptions(spec).at(row);
    if (r.encoding == Encoding::Choice) return ControlName(r.edit, caption, "combo");
    if (r.flags & kNoEdit) return ControlName(r.set, caption, "set");
    return ControlName(r.edit, caption, "edit");
}

}  // namespace pages
