#include "register_device.h"

#include <gtest/gtest.h>

#include "register_frames.h"

using namespace sim;

namespace {

Bytes Ask(RegisterDevice& d, const protocol::Frame& f) {
    Bytes reply = d.Answer(f.data(), f.size);
    if (!reply.empty()) d.AfterReply();
    return reply;
}

RegisterDevice Make(AddressingMode mode) {
    RegisterDeviceConfig c;
    c.address = 5;
    c.baud = 9600;
    c.mode = mode;
    return RegisterDevice(c, {{1, 236}});
}

}  // namespace

TEST(RegisterDevice, EachModeAnswersOnlyItsOwnWayOfBeingFound) {
    const struct {
        AddressingMode mode;
        bool fd, at255, at0;
    } cases[] = {
        {AddressingMode::Frame, true, false, false},
        {AddressingMode::Broadcast, false, true, false},
        {AddressingMode::Zero, false, false, true},
    };
    for (const auto& c : cases) {
        RegisterDevice d = Make(c.mode);
        EXPECT_EQ(!Ask(d, protocol::BuildAddressFrame(0, 0)).empty(), c.fd);
        EXPECT_EQ(!Ask(d, protocol::BuildCommBlockRead(0xFF)).empty(), c.at255);
        EXPECT_EQ(!Ask(d, protocol::BuildCommBlockRead(0x00)).empty(), c.at0);
        EXPECT_FALSE(Ask(d, protocol::BuildReadRegisters(5, 1, 1)).empty());  // own address
        EXPECT_TRUE(Ask(d, protocol::BuildReadRegisters(6, 1, 1)).empty());
    }
}

TEST(RegisterDevice, AddressFrameChangesAddressAndBaudAfterTheReply) {
    RegisterDevice d = Make(AddressingMode::Frame);
    const Bytes query = Ask(d, protocol::BuildAddressFrame(0, 0));
    protocol::AddressInfo info;
    ASSERT_TRUE(protocol::ParseAddressFrameReply(query.data(), query.size(), &info));
    EXPECT_EQ(info.address, 5);
    EXPECT_EQ(info.Baud(), 9600u);

    const protocol::Frame setBaud = protocol::BuildAddressFrame(1, 0);
    const Bytes reply = d.Answer(setBaud.data(), setBaud.size);
    EXPECT_EQ(d.Baud(), 9600u);  // the reply still goes out at the old rate
    d.AfterReply();
    EXPECT_EQ(d.Baud(), 2400u);
    ASSERT_TRUE(protocol::ParseAddressFrameReply(reply.data(), reply.size(), &info));
    EXPECT_EQ(info.Baud(), 2400u);

    Ask(d, protocol::BuildAddressFrame(0, 9));
    EXPECT_EQ(d.Address(), 9);
}

TEST(RegisterDevice, NamesItsRateInTheFdReplyAndTheCommBlockAtAnyRate) {
    const struct {
        std::uint32_t baud;
        int code;
    } rates[] = {{1200, 0},  {2400, 1},  {4800, 2},     {9600, 3},
                 {19200, 4}, {38400, 5}, {57600, 0xFF}, {115200, 0xFF}};
    for (const auto& r : rates) {
        SCOPED_TRACE(r.baud);
        RegisterDevice frame({.address = 5, .baud = r.baud, .mode = AddressingMode::Frame});
        const Bytes fd = Ask(frame, protocol::BuildAddressFrame(0, 0));
        ASSERT_EQ(fd.size(), 7u);
        EXPECT_EQ(fd[3], r.code);
        RegisterDevice block({.address = 5, .baud = r.baud, .mode = AddressingMode::Broadcast});
        const Bytes comm = Ask(block, protocol::BuildCommBlockRead(0xFF));
        ASSERT_EQ(comm.size(), 15u);
        EXPECT_EQ(comm[6], r.code);
    }
}

TEST(RegisterDevice, CommBlockReadAndWrite) {
    RegisterDevice d = Make(AddressingMode::Broadcast);
    d.SetCommBlock(2, 1, 1);
    const Bytes read = Ask(d, protocol::BuildCommBlockRead(0xFF));
    protocol::CommBlock block;
    ASSERT_TRUE(protocol::ParseCommBlockReply(read.data(), read.size(), &block));
    EXPECT_EQ(block.address, 5);
    EXPECT_EQ(block.Baud(), 9600u);
    EXPECT_EQ(block.parity, 2);
    EXPECT_EQ(block.stop1, 1);

    Bytes echo{0xFF, 0x10, 0x02, 0x00, 0x00, 0x05};
    AppendCrc(echo);
    EXPECT_EQ(Ask(d, protocol::BuildCommBlockWrite(0xFF, {12, 2, 0, 0, 1})), echo);
    EXPECT_EQ(d.Address(), 12);
    EXPECT_EQ(d.Baud(), 4800u);

    // A device that answers from its own (new) address.
    RegisterDeviceConfig c;
    c.address = 5;
    c.mode = AddressingMode::Zero;
    c.answerWritesFromOwnAddress = true;
    RegisterDevice own(c);
    Bytes fromOwn{9, 0x10, 0x02, 0x00, 0x00, 0x05};
    AppendCrc(fromOwn);
    EXPECT_EQ(Ask(own, protocol::BuildCommBlockWrite(0x00, {9, 3, 0, 0, 1})), fromOwn);
}

TEST(RegisterDevice, RegisterFunctionsAndExceptions) {
    RegisterDevice d = Make(AddressingMode::Frame);
    const protocol::Frame write = protocol::BuildWriteRegister(5, 1, 300);
    EXPECT_EQ(Ask(d, write), Bytes(write.data(), write.data() + write.size));
    EXPECT_EQ(d.Register(1), 300);
    const Bytes unknown = Ask(d, protocol::BuildReadRegisters(5, 0x40, 1));
    ASSERT_EQ(unknown.size(), 5u);
    EXPECT_EQ(unknown[1], 0x83);
    EXPECT_EQ(unknown[2], 0x02);
    protocol::Frame badFunction{5, 0x04, 0, 1, 0, 1};
    badFunction.AppendCrc();
    const Bytes illegal = Ask(d, badFunction);
    ASSERT_EQ(illegal.size(), 5u);
    EXPECT_EQ(illegal[1], 0x84);
    protocol::Frame badCrc = protocol::BuildReadRegisters(5, 1, 1);
    badCrc.bytes[7] ^= 1;
    EXPECT_TRUE(Ask(d, badCrc).empty());
}
