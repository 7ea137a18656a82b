// CrcMatches and ModbusCrc16 against a CRC computed from its definition.
#include "fuzz_support.h"
#include "modbus_crc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Bytes bytes(data, data + size);
    const fuzz::Reply frame(bytes);
    FUZZ_EXPECT(protocol::ModbusCrc16(frame.data(), frame.size()) ==
                fuzz::ReferenceCrc(frame.data(), frame.size()));
    FUZZ_EXPECT(protocol::CrcMatches(frame.data(), frame.size()) == fuzz::EndsInCrc(frame));

    const fuzz::Reply sealed(fuzz::WithCrc(bytes));
    FUZZ_EXPECT(protocol::CrcMatches(sealed.data(), sealed.size()));
    return 0;
}
