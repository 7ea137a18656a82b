#pragma once
// Modbus RTU register frames (functions 3, 6, 16), the comm block at the fixed addresses
// and the address-less FD frame, with the checks their replies must pass. Pure functions.
//
// Every check reads a reply only within its received length `n`: a reply too short to hold
// the bytes a check takes is rejected, never read past its end.
#include <array>
#include <cstddef>
#include <cstdint>

#include "exchange_status.h"
#include "frame.h"

namespace protocol {

inline constexpr std::uint8_t kReadHolding = 0x03;
inline constexpr std::uint8_t kWriteSingle = 0x06;
inline constexpr std::uint8_t kWriteMultiple = 0x10;
inline constexpr std::uint8_t kBroadcastAddress = 0xFF;
inline constexpr std::uint8_t kZeroAddress = 0x00;
inline constexpr std::uint16_t kCommBlockRegister = 0x0200;
inline constexpr std::uint8_t kCommBlockCount = 5;

Frame BuildReadRegisters(std::uint8_t address, std::uint16_t reg, std::uint8_t count);
Frame BuildWriteRegister(std::uint8_t address, std::uint16_t reg, std::uint16_t value);
Frame BuildWriteRegisterPair(std::uint8_t address, std::uint16_t reg, std::uint32_t value);
Frame BuildCommBlockRead(std::uint8_t address);
Frame BuildCommBlockWrite(std::uint8_t address, const std::array<std::uint16_t, 5>& regs);
// FD FD FD code address CRC. Query: code 0, address 0; set baud: code 1..3, address 0;
// set address: code 0, the new address.
Frame BuildAddressFrame(std::uint8_t code, std::uint8_t address);

// Reply to a read of `count` registers. Byte 0 must be `address` and byte 1 0x03 (else
// NoReply, before the CRC is computed), then the CRC must match (else CheckFailed), then the
// reply must hold all `count` registers (else NoReply). The byte-count byte is not examined.
// On Ok the registers are stored in `out` (which must hold `count` values).
ExchangeStatus CheckReadReply(std::uint8_t address, std::uint8_t count, const std::uint8_t* reply,
                              std::size_t n, std::uint16_t* out);
// Reply to a single write: the first 8 bytes must echo the request.
ExchangeStatus CheckWriteReply(const Frame& request, const std::uint8_t* reply, std::size_t n);
// Reply to a two-register write (function 16): CRC over the received bytes first
// (CheckFailed), then Ok only for 8 bytes whose first six echo the request's address,
// function, register and quantity; any other length or content (an exception reply, a
// CRC-valid fragment) is NoReply.
ExchangeStatus CheckWritePairReply(const Frame& request, const std::uint8_t* reply, std::size_t n);

// Baud rate of a comm block baud code (0 = 1200 ... 5 = 38400; others 0).
std::uint32_t CommBlockBaud(unsigned code);
// Comm block code written for a rate: 2400 -> 1, 4800 -> 2, 9600 -> 3, anything else -> 2.
std::uint8_t CommBlockCodeFor(std::uint32_t baud);
// Baud rate of an FD frame code (1 = 2400, 2 = 4800, 3 = 9600; others 0).
std::uint32_t AddressFrameBaud(unsigned code);
// FD frame code of a rate (0 when the rate has none).
std::uint8_t AddressFrameCodeFor(std::uint32_t baud);

struct CommBlock {
    std::uint8_t address = 0;
    std::uint8_t baudCode = 0;
    std::uint8_t parity = 0;
    std::uint8_t stop1 = 0;
    std::uint8_t stop2 = 0;
    std::uint32_t Baud() const { return CommBlockBaud(baudCode); }
};

// Comm block read reply: any address and function byte but an exception, a matching CRC,
// and all five registers received (15 bytes).
bool ParseCommBlockReply(const std::uint8_t* reply, std::size_t n, CommBlock* out);
// Comm block write reply: exactly 8 bytes with a matching CRC, bytes 1-5 those of the
// request (10 02 00 00 05), byte 0 the address written to (0xFF or 0x00) or the device's own:
// `deviceAddress` (the one it last reported) or the new address the write itself sets.
bool CheckCommBlockWriteReply(const Frame& request, std::uint8_t deviceAddress,
                              const std::uint8_t* reply, std::size_t n);

struct AddressInfo {
    std::uint8_t baudCode = 0;
    std::uint8_t address = 0;
    std::uint32_t Baud() const { return AddressFrameBaud(baudCode); }
};

// FD frame reply: FD FD FD, code 1..3, address, matching CRC (7 bytes at least).
bool ParseAddressFrameReply(const std::uint8_t* reply, std::size_t n, AddressInfo* out);
// The reply to an FD frame `request`, parsed as above, that also reports what was asked: the
// new address of an address set, the requested code of a baud set. The query (code 0,
// address 0) needs the parse only. `out` is untouched on a refusal.
bool CheckAddressFrameSetReply(const Frame& request, const std::uint8_t* reply, std::size_t n,
                               AddressInfo* out);

// Parity text of a comm block parity code.
const char* ParityText(unsigned code);

}  // namespace protocol
