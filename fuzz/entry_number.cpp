// ParseEntryNumber against the entry grammar: the same texts are numbers, with the value the
// C library reads from them in the "C" locale.
#include "entry_grammar.h"
#include "entry_text.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Reply entry(fuzz::Bytes(data, data + size));
    const std::optional<double> parsed = protocol::ParseEntryNumber(entry.Text());
    const auto number = fuzz::EntryNumber(entry.Text());
    FUZZ_EXPECT(parsed.has_value() == number.has_value());
    if (parsed) FUZZ_EXPECT(*parsed == fuzz::ReferenceValue(*number));
    return 0;
}
