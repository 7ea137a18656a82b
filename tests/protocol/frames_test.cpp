#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_bytes.h"
#include "modbus_crc.h"
#include "register_frames.h"

using namespace protocol;
using namespace framebytes;

namespace {

Bytes Twice(const Bytes& b) {
    Bytes two = b;
    two.insert(two.end(), b.begin(), b.end());
    return two;
}

}  // namespace

TEST(ModbusCrc16, KnownVectorsLowByteFirst) {
    const struct {
        Bytes data;
        std::uint8_t lo, hi;
    } cases[] = {
        {{0xFF, 0x03, 0x02, 0x00, 0x00, 0x05}, 0x91, 0xAF},
        {{0x00, 0x03, 0x02, 0x00, 0x00, 0x05}, 0x85, 0xA0},
        {{0xFD, 0xFD, 0xFD, 0x00, 0x00}, 0xE9, 0x88},
        {{'a', 'b', 'c'}, 0x49, 0x57},
        {{}, 0xFF, 0xFF},
        {{'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 0x37, 0x4B},  // check value 0x4B37
    };
    for (const auto& c : cases) {
        const std::uint16_t crc = ModbusCrc16(c.data.data(), c.data.size());
        EXPECT_EQ(crc & 0xFF, c.lo);
        EXPECT_EQ(crc >> 8, c.hi);
    }
}

TEST(RegisterFrames, BuildersLayOutEveryFrame) {
    const struct {
        std::string name;
        Frame frame;
        Bytes expected;
    } cases[] = {
        {"read 1", BuildReadRegisters(0x01, 0x0001, 1),
         WithCrc({0x01, 0x03, 0x00, 0x01, 0x00, 0x01})},
        {"read 19", BuildReadRegisters(0x07, 0x0010, 19),
         WithCrc({0x07, 0x03, 0x00, 0x10, 0x00, 0x13})},
        {"write", BuildWriteRegister(0x01, 0x0030, 355),
         WithCrc({0x01, 0x06, 0x00, 0x30, 0x01, 0x63})},
        {"write pair", BuildWriteRegisterPair(0x02, 0x0100, 0x3F733333),
         WithCrc({0x02, 0x10, 0x01, 0x00, 0x00, 0x02, 0x04, 0x3F, 0x73, 0x33, 0x33})},
        {"comm read FF",
         BuildCommBlockRead(0xFF),
         {0xFF, 0x03, 0x02, 0x00, 0x00, 0x05, 0x91, 0xAF}},
        {"comm read 00",
         BuildCommBlockRead(0x00),
         {0x00, 0x03, 0x02, 0x00, 0x00, 0x05, 0x85, 0xA0}},
        {"comm write", BuildCommBlockWrite(0x00, {9, 3, 0, 0, 1}),
         WithCrc({0x00, 0x10, 0x02, 0x00, 0x00, 0x05, 0x0A, 0, 9, 0, 3, 0, 0, 0, 0, 0, 1})},
        {"fd query", BuildAddressFrame(0, 0), {0xFD, 0xFD, 0xFD, 0x00, 0x00, 0xE9, 0x88}},
        {"fd baud", BuildAddressFrame(2, 0), WithCrc({0xFD, 0xFD, 0xFD, 0x02, 0x00})},
        {"fd address", BuildAddressFrame(0, 7), WithCrc({0xFD, 0xFD, 0xFD, 0x00, 0x07})},
    };
    for (const auto& c : cases) EXPECT_EQ(ToBytes(c.frame), c.expected) << c.name;
    EXPECT_EQ(BuildCommBlockWrite(0xFF, {1, 2, 0, 0, 0}).size, 19u);
    EXPECT_EQ(BuildWriteRegisterPair(1, 0, 0).size, 13u);
}

TEST(RegisterFrames, ReadReplyChecksInTheirOrder) {
    std::uint16_t out[2] = {0xDEAD, 0xDEAD};
    const struct {
        std::string name;
        std::uint8_t count;
        Bytes reply;
        ExchangeStatus status;
    } cases[] = {
        {"ok", 1, WithCrc({0x01, 0x03, 0x02, 0x01, 0x02}), ExchangeStatus::Ok},
        {"three bytes", 1, {0x01, 0x03, 0x02}, ExchangeStatus::NoReply},
        {"other slave, bad crc too",
         1,
         {0x02, 0x03, 0x02, 0x01, 0x02, 0, 0},
         ExchangeStatus::NoReply},
        {"other function", 1, WithCrc({0x01, 0x04, 0x02, 0x01, 0x02}), ExchangeStatus::NoReply},
        {"exception", 1, WithCrc({0x01, 0x83, 0x02}), ExchangeStatus::NoReply},
        {"bad crc", 1, {0x01, 0x03, 0x02, 0x01, 0x02, 0x00, 0x00}, ExchangeStatus::CheckFailed},
        {"wrong byte count accepted", 1, WithCrc({0x01, 0x03, 0x09, 0x01, 0x02}),
         ExchangeStatus::Ok},
        {"too short for the register", 1, WithCrc({0x01, 0x03, 0x02}), ExchangeStatus::NoReply},
        {"more registers than asked", 1, WithCrc({0x01, 0x03, 0x04, 0x01, 0x02, 0x03, 0x04}),
         ExchangeStatus::NoReply},
        {"the request's own echo", 1, ToBytes(BuildReadRegisters(0x01, 0x0001, 1)),
         ExchangeStatus::NoReply},
        {"too short for a pair", 2, WithCrc({0x01, 0x03, 0x04, 0x01, 0x02}),
         ExchangeStatus::NoReply},
        {"two replies back to back", 1,
         [] {
             Bytes one = WithCrc({0x01, 0x03, 0x02, 0x01, 0x02});
             Bytes two = one;
             two.insert(two.end(), one.begin(), one.end());
             return two;
         }(),
         ExchangeStatus::CheckFailed},
    };
    for (const auto& c : cases) {
        out[0] = 0xDEAD;
        EXPECT_EQ(CheckReadReply(0x01, c.count, c.reply.data(), c.reply.size(), out), c.status)
            << c.name;
        if (c.status != ExchangeStatus::Ok) {
            EXPECT_EQ(out[0], 0xDEAD) << c.name;
        }
    }
    const Bytes pair = WithCrc({0x01, 0x03, 0x04, 0x12, 0x34, 0x56, 0x78});
    ASSERT_EQ(CheckReadReply(0x01, 2, pair.data(), pair.size(), out), ExchangeStatus::Ok);
    EXPECT_EQ(out[0], 0x1234);
    EXPECT_EQ(out[1], 0x5678);
}

TEST(RegisterFrames, WriteRepliesAreEchoes) {
    const Frame single = BuildWriteRegister(0x01, 0x0030, 355);
    const Bytes echo = ToBytes(single);
    Bytes changed = echo;
    changed[5] ^= 1;
    const Bytes exception = WithCrc({0x01, 0x86, 0x02});
    EXPECT_EQ(CheckWriteReply(single, echo.data(), echo.size()), ExchangeStatus::Ok);
    EXPECT_EQ(CheckWriteReply(single, changed.data(), changed.size()), ExchangeStatus::CheckFailed);
    EXPECT_EQ(CheckWriteReply(single, exception.data(), exception.size()),
              ExchangeStatus::CheckFailed);
    EXPECT_EQ(CheckWriteReply(single, echo.data(), 3), ExchangeStatus::NoReply);
}

// A function-16 write is confirmed only by the 8-byte reply that names what was written.
TEST(RegisterFrames, WritePairReplyMustEchoAddressFunctionRegisterAndQuantity) {
    const Frame pair = BuildWriteRegisterPair(0x01, 0x0100, 0x3F733333);
    const Bytes ok = WithCrc({0x01, 0x10, 0x01, 0x00, 0x00, 0x02});
    const Bytes request = ToBytes(pair);
    const struct {
        std::string name;
        Bytes reply;
        ExchangeStatus status;
    } cases[] = {
        {"echo", ok, ExchangeStatus::Ok},
        {"bad crc", Corrupt(ok), ExchangeStatus::CheckFailed},
        {"address and function only", WithCrc({0x01, 0x10}), ExchangeStatus::NoReply},
        {"register, no quantity", WithCrc({0x01, 0x10, 0x01, 0x00}), ExchangeStatus::NoReply},
        {"other address", WithCrc({0x02, 0x10, 0x01, 0x00, 0x00, 0x02}), ExchangeStatus::NoReply},
        {"other function", WithCrc({0x01, 0x06, 0x01, 0x00, 0x00, 0x02}), ExchangeStatus::NoReply},
        {"other register", WithCrc({0x01, 0x10, 0x01, 0x02, 0x00, 0x02}), ExchangeStatus::NoReply},
        {"other quantity", WithCrc({0x01, 0x10, 0x01, 0x00, 0x00, 0x01}), ExchangeStatus::NoReply},
        {"exception", WithCrc({0x01, 0x90, 0x02}), ExchangeStatus::NoReply},
        {"exception padded to 8", WithCrc({0x01, 0x90, 0x01, 0x00, 0x00, 0x02}),
         ExchangeStatus::NoReply},
        {"the request itself", request, ExchangeStatus::NoReply},
        {"two replies", Twice(ok), ExchangeStatus::CheckFailed},
        {"a byte more", WithCrc({0x01, 0x10, 0x01, 0x00, 0x00, 0x02, 0x00}),
         ExchangeStatus::NoReply},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckWritePairReply(pair, c.reply.data(), c.reply.size()), c.status) << c.name;
    for (std::size_t n = 0; n <= 3; ++n)
        EXPECT_EQ(CheckWritePairReply(pair, ok.data(), n), ExchangeStatus::NoReply) << n;
}

TEST(RegisterFrames, CommBlockReplies) {
    CommBlock block;
    const Bytes reply = WithCrc({0x22, 0x44, 0x0A, 0, 9, 0, 7, 0, 2, 0, 0, 0, 1});
    ASSERT_TRUE(ParseCommBlockReply(reply.data(), reply.size(), &block));  // any address/function
    EXPECT_EQ(block.address, 9);
    EXPECT_EQ(block.Baud(), 0u);  // code 7 has no rate
    EXPECT_STREQ(ParityText(block.parity), "偶校验");
    EXPECT_EQ(block.stop1, 0);
    EXPECT_EQ(block.stop2, 1);
    Bytes bad = reply;
    bad[4] ^= 1;
    EXPECT_FALSE(ParseCommBlockReply(bad.data(), bad.size(), &block));
    const Bytes shortValid = WithCrc({0xFF, 0x03, 0x0A, 0, 9});
    EXPECT_FALSE(ParseCommBlockReply(shortValid.data(), shortValid.size(), &block));
    const Bytes exception = WithCrc({0xFF, 0x83, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(ParseCommBlockReply(exception.data(), exception.size(), &block));

    EXPECT_STREQ(ParityText(0), "无校验");
    EXPECT_STREQ(ParityText(1), "奇校验");
    EXPECT_STREQ(ParityText(3), "错误校验");
}

// The comm block write at 0xFF (or 0) that gives the device at 9 the address 12: confirmed
// by 8 bytes naming the block, from the address written to or from the device itself.
TEST(RegisterFrames, CommBlockWriteReplyMustNameTheBlock) {
    const Frame broadcast = BuildCommBlockWrite(0xFF, {12, 3, 0, 0, 0});
    const Frame zero = BuildCommBlockWrite(0x00, {12, 3, 0, 0, 1});
    const std::uint8_t kDevice = 9;
    auto reply = [](std::uint8_t from) { return WithCrc({from, 0x10, 0x02, 0x00, 0x00, 0x05}); };
    const struct {
        std::string name;
        const Frame* request;
        Bytes reply;
        bool ok;
    } cases[] = {
        {"from 0xFF", &broadcast, reply(0xFF), true},
        {"from 0", &zero, reply(0x00), true},
        {"from the device's address", &broadcast, reply(kDevice), true},
        {"from the new address", &broadcast, reply(12), true},
        {"from the new address, zero mode", &zero, reply(12), true},
        {"from another address", &broadcast, reply(13), false},
        {"0 answering a write to 0xFF", &broadcast, reply(0x00), false},
        {"four bytes", &broadcast, WithCrc({0xFF, 0x10}), false},
        {"FF 10 41 8C", &broadcast, {0xFF, 0x10, 0x41, 0x8C}, false},
        {"address, function, register", &broadcast, WithCrc({0xFF, 0x10, 0x02, 0x00}), false},
        {"exception", &broadcast, WithCrc({0xFF, 0x90, 0x02}), false},
        {"exception padded to 8", &broadcast, WithCrc({0xFF, 0x90, 0x02, 0x00, 0x00, 0x05}), false},
        {"other register", &broadcast, WithCrc({0xFF, 0x10, 0x02, 0x01, 0x00, 0x05}), false},
        {"other quantity", &broadcast, WithCrc({0xFF, 0x10, 0x02, 0x00, 0x00, 0x04}), false},
        {"bad crc", &broadcast, Corrupt(reply(0xFF)), false},
        {"two replies", &broadcast, Twice(reply(0xFF)), false},
        {"a byte more", &broadcast, WithCrc({0xFF, 0x10, 0x02, 0x00, 0x00, 0x05, 0x0A}), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckCommBlockWriteReply(*c.request, kDevice, c.reply.data(), c.reply.size()),
                  c.ok)
            << c.name;
    const Bytes ok = reply(0xFF);
    for (std::size_t n = 0; n <= 3; ++n)
        EXPECT_FALSE(CheckCommBlockWriteReply(broadcast, kDevice, ok.data(), n)) << n;
}

// An FD set is done only when the reply reports what it set; the query takes any FD reply.
TEST(RegisterFrames, AddressFrameSetReplyMustReportWhatWasSet) {
    const Frame query = BuildAddressFrame(0, 0);
    const Frame setAddress = BuildAddressFrame(0, 12);
    const Frame setBaud = BuildAddressFrame(3, 0);
    auto reply = [](std::uint8_t code, std::uint8_t address) {
        return WithCrc({0xFD, 0xFD, 0xFD, code, address});
    };
    const struct {
        std::string name;
        const Frame* request;
        Bytes reply;
        bool ok;
    } cases[] = {
        {"query", &query, reply(2, 7), true},
        {"address set", &setAddress, reply(2, 12), true},
        {"address set answered with the old address", &setAddress, reply(2, 7), false},
        {"baud set", &setBaud, reply(3, 7), true},
        {"baud set answered with 2400", &setBaud, reply(1, 7), false},
        {"baud set answered with 4800", &setBaud, reply(2, 7), false},
        {"baud code 0", &setBaud, reply(0, 7), false},
        {"short, valid crc", &setBaud, WithCrc({0xFD, 0xFD, 0xFD}), false},
        {"bad crc", &setAddress, Corrupt(reply(2, 12)), false},
        {"two replies", &setBaud, Twice(reply(3, 7)), false},
        {"modbus exception", &setAddress, WithCrc({0xFD, 0x83, 0x02, 0x00, 0x0C}), false},
    };
    for (const auto& c : cases) {
        AddressInfo info{0xEE, 0xEE};
        const bool ok =
            CheckAddressFrameSetReply(*c.request, c.reply.data(), c.reply.size(), &info);
        EXPECT_EQ(ok, c.ok) << c.name;
        if (ok) {
            EXPECT_EQ(info.baudCode, c.reply[3]) << c.name;
            EXPECT_EQ(info.address, c.reply[4]) << c.name;
        } else {
            EXPECT_EQ(info.baudCode, 0xEE) << c.name;  // untouched
            EXPECT_EQ(info.address, 0xEE) << c.name;
        }
    }
    const Bytes ok = reply(3, 7);
    AddressInfo info;
    for (std::size_t n = 0; n <= 6; ++n)
        EXPECT_FALSE(CheckAddressFrameSetReply(setBaud, ok.data(), n, &info)) << n;
}

TEST(RegisterFrames, AddressFrameRepliesNeedABaudCodeFrom1To3) {
    AddressInfo info;
    for (std::uint8_t code = 0; code < 6; ++code) {
        const Bytes reply = WithCrc({0xFD, 0xFD, 0xFD, code, 0x07});
        EXPECT_EQ(ParseAddressFrameReply(reply.data(), reply.size(), &info), code >= 1 && code <= 3)
            << int(code);
    }
    const Bytes ok = WithCrc({0xFD, 0xFD, 0xFD, 0x02, 0x07});
    ASSERT_TRUE(ParseAddressFrameReply(ok.data(), ok.size(), &info));
    EXPECT_EQ(info.address, 7);
    EXPECT_EQ(info.Baud(), 4800u);
    const Bytes wrongMarker = WithCrc({0xFD, 0xFC, 0xFD, 0x02, 0x07});
    EXPECT_FALSE(ParseAddressFrameReply(wrongMarker.data(), wrongMarker.size(), &info));
    const Bytes shortValid = WithCrc({0xFD, 0xFD, 0xFD});
    EXPECT_FALSE(ParseAddressFrameReply(shortValid.data(), shortValid.size(), &info));
}

TEST(RegisterFrames, BaudCodes) {
    EXPECT_EQ(CommBlockBaud(0), 1200u);
    EXPECT_EQ(CommBlockBaud(5), 38400u);
    EXPECT_EQ(CommBlockBaud(6), 0u);
    EXPECT_EQ(CommBlockCodeFor(9600), 3);
    EXPECT_EQ(CommBlockCodeFor(19200), 2);  // any other rate writes 4800's code
    EXPECT_EQ(AddressFrameCodeFor(2400), 1);
    EXPECT_EQ(AddressFrameCodeFor(19200), 0);
}
