// The address and baud-rate commands in both modes: frames on the wire, refused entries,
// the re-open at the new rate, and their boxes.
#include <cstdio>

#include "quillet_fixture.h"
#include "register_frames.h"

using namespace quillettest;
using ui::BoxIcon;

namespace {

Bytes CommBlockWrite(std::uint8_t address, std::uint8_t code) {
    return ToBytes(protocol::BuildCommBlockWrite(0xFF, {address, code, 0, 0, 0}));
}

}  // namespace

TEST_F(QuilletTest, RefusedAddressAndBaudEntriesSendNothing) {
    StartFound(FrameDevice());
    const QString range = "地址超出范围(1-255)";
    const struct {
        int edit, set;
        QString text, box, caption;
        BoxIcon icon;
    } cases[] = {
        {1012, 1003, "0", "地址不能为0", "Quillet", BoxIcon::None},
        {1012, 1003, "0.5", "地址不能为0", "Quillet", BoxIcon::None},
        {1012, 1003, "256", range, "警告", BoxIcon::Warning},
        {1012, 1003, "300", range, "警告", BoxIcon::Warning},  // once address 44
        {1012, 1003, "-1", range, "警告", BoxIcon::Warning},
        {1012, 1003, "abc", "请输入数字", "警告", BoxIcon::Warning},
        {1012, 1003, "+-5", "请输入数字", "警告", BoxIcon::Warning},
        {1013, 1004, "19200", "波特率错误", "Quillet", BoxIcon::None},
        {1013, 1004, "1200", "波特率错误", "Quillet", BoxIcon::None},
        {1013, 1004, "4800.5", "波特率错误", "Quillet", BoxIcon::None},
        {1013, 1004, "-9600", "波特率错误", "Quillet", BoxIcon::None},
        {1013, 1004, "99999999999", "波特率错误", "Quillet", BoxIcon::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        boxes_.Clear();
        SetText(c.edit, c.text);
        Click(c.set);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, c.box);
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_TRUE(TakeSent().empty());
    }
}

TEST_F(QuilletTest, AddressSetByTheFdFrame) {
    StartFound(FrameDevice(2400, 7));
    const struct {
        QString text;
        std::uint8_t sent;
    } cases[] = {{"9", 9}, {"255", 255}, {" 12", 12}, {"1.9", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        boxes_.Clear();
        SetText(1012, c.text);
        Click(1003);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildAddressFrame(0, c.sent))});
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, "地址设置成功");
        EXPECT_EQ(box.caption, "Quillet");
        EXPECT_EQ(device_->Registers().Address(), c.sent);
        EXPECT_EQ(dialog_->Client().Address(), c.sent);
    }
}

TEST_F(QuilletTest, AddressSetInBroadcastModeKeepsTheReportedBaudCode) {
    // The device reports 19200 (code 4): a new address must not turn that into 4800.
    sim::TransmitterConfig config = BroadcastDevice(3);
    config.link.reportedBaudCode = 4;
    StartFound(config);
    EXPECT_EQ(Text(1013), "19200");
    SetText(1012, "12");
    Click(1003);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{CommBlockWrite(12, 4)});
    EXPECT_EQ(boxes_.Only().text, "地址设置成功");
    EXPECT_EQ(device_->Registers().Address(), 12);
}

// The comm block write may come back from the device's new address instead of 0xFF.
TEST_F(QuilletTest, AddressSetInBroadcastModeAnsweredFromTheNewAddress) {
    sim::TransmitterConfig config = BroadcastDevice(3);
    config.link.answerWritesFromOwnAddress = true;
    StartFound(config);
    SetText(1012, "12");
    Click(1003);
    EXPECT_EQ(boxes_.Only().text, "地址设置成功");
    EXPECT_EQ(dialog_->Client().Address(), 12);
}

TEST_F(QuilletTest, FailedSetsSayWhichOnceAndKeepThePort) {
    const struct {
        const char* name;
        bool broadcast;
        int edit, set;
        QString text, box;
        sim::Fault fault;
        int param;
    } cases[] = {
        {"address, silence", false, 1012, 1003, "9", "地址设置失败", sim::Fault::Silence, 0},
        {"address, bad crc", false, 1012, 1003, "9", "地址设置失败", sim::Fault::BadCrc, 0},
        {"baud, three bytes", false, 1013, 1004, "9600", "波特率设置失败", sim::Fault::Truncate, 3},
        {"baud, short fd reply", false, 1013, 1004, "9600", "波特率设置失败",
         sim::Fault::ShortValid, 4},
        {"broadcast address, bad crc", true, 1012, 1003, "9", "地址设置失败", sim::Fault::BadCrc,
         0},
        {"broadcast baud, bad crc", true, 1013, 1004, "4800", "波特率设置失败", sim::Fault::BadCrc,
         0},
        // The FD reply reports another rate (code 3 -> 2) or another address (9 -> 8).
        {"baud, other code", false, 1013, 1004, "9600", "波特率设置失败", sim::Fault::WrongFunction,
         3},
        {"address, other address", false, 1012, 1003, "9", "地址设置失败",
         sim::Fault::WrongFunction, 4},
        // FF 10 + CRC: valid, but it names no block.
        {"broadcast address, short reply", true, 1012, 1003, "9", "地址设置失败",
         sim::Fault::ShortValid, 2},
        {"broadcast baud, register cut", true, 1013, 1004, "4800", "波特率设置失败",
         sim::Fault::ShortValid, 4},
        {"broadcast address, other register", true, 1012, 1003, "9", "地址设置失败",
         sim::Fault::WrongFunction, 3},
        {"broadcast address, twice", true, 1012, 1003, "9", "地址设置失败", sim::Fault::DoubleReply,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialog_.reset();
        StartFound(c.broadcast ? BroadcastDevice() : FrameDevice());
        const std::uint32_t baud = dialog_->Link().Port().Baud();
        const std::uint8_t address = dialog_->Client().Address();
        const std::uint32_t deviceBaud = dialog_->Client().Baud();
        line_->SetFault(c.fault, 1, c.param);
        SetText(c.edit, c.text);
        Click(c.set);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, c.box);
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, BoxIcon::Question);
        EXPECT_EQ(dialog_->Link().Port().Baud(), baud);
        EXPECT_TRUE(dialog_->Link().IsOpen());
        EXPECT_EQ(TakeSent().size(), 1u);
        // What the dialog knows of the device stays as it was.
        EXPECT_EQ(dialog_->Client().Address(), address);
        EXPECT_EQ(dialog_->Client().Baud(), deviceBaud);
    }
}

TEST_F(QuilletTest, BaudSetReopensTheFoundPortAtTheNewRate) {
    // A second port in the list, selected after the scan: the re-open must not take it.
    const std::string other = ::testing::TempDir() + "no-such-port";
    Start(FrameDevice(2400, 7), {other});
    Click(1001);
    ASSERT_TRUE(CommandsEnabled());
    boxes_.Clear();
    TakeSent();
    List(1000)->setCurrentIndex(1);
    const struct {
        QString text;
        std::uint8_t code;
        std::uint32_t baud;
    } cases[] = {{"9600", 3, 9600}, {"4800", 2, 4800}, {"2400", 1, 2400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baud);
        boxes_.Clear();
        SetText(1013, c.text);
        Click(1004);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildAddressFrame(c.code, 0))});
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, "波特率设置成功");
        EXPECT_EQ(box.caption, "Quillet");
        EXPECT_EQ(dialog_->Link().Port().Path(), line_->Path());
        EXPECT_EQ(dialog_->Link().Port().Baud(), c.baud);
        EXPECT_EQ(device_->Baud(), c.baud);
        // The device answers at the new rate.
        Query(1008);
        EXPECT_EQ(Text(1012), "7");
        EXPECT_EQ(Text(1013), QString::number(c.baud));
        TakeSent();
    }
}

TEST_F(QuilletTest, AFailedReopenAfterABaudChangeIsReported) {
    Start(FrameDevice(2400, 7));
    // Find the device through a path of our own, then take that path away.
    List(1000)->addItem("link", QString::fromStdString(LinkToPty()));
    List(1000)->setCurrentIndex(1);
    Click(1001);
    ASSERT_TRUE(CommandsEnabled());
    boxes_.Clear();
    std::remove(linkPath_.c_str());
    SetText(1013, "9600");
    Click(1004);
    ASSERT_EQ(boxes_.Boxes().size(), 2u) << boxes_.Texts().toStdString();
    EXPECT_EQ(boxes_.Boxes()[0].text, "波特率设置成功");
    EXPECT_EQ(boxes_.Boxes()[1].text, "串口打开失败\n串口不存在");
    EXPECT_EQ(boxes_.Boxes()[1].caption, "串口提示");
    EXPECT_EQ(boxes_.Boxes()[1].icon, BoxIcon::Stop);
    EXPECT_FALSE(dialog_->Link().IsOpen());
}

TEST_F(QuilletTest, BaudSetInBroadcastModeWritesTheCommBlockAndKeepsThePort) {
    StartFound(BroadcastDevice(3));
    SetText(1013, "4800");
    Click(1004);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{CommBlockWrite(3, 2)});
    EXPECT_EQ(boxes_.Only().text, "波特率设置成功");
    EXPECT_EQ(dialog_->Link().Port().Baud(), 9600u);
    EXPECT_EQ(device_->Baud(), 4800u);
    // A later address change keeps the new rate.
    boxes_.Clear();
    SetText(1012, "5");
    Click(1003);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{CommBlockWrite(5, 2)});
}

TEST_F(QuilletTest, AddressQueryInEachMode) {
    const struct {
        bool broadcast;
        Bytes request;
        QString address, baud;
    } cases[] = {
        {false, ToBytes(protocol::BuildAddressFrame(0, 0)), "7", "2400"},
        {true, ToBytes(protocol::BuildCommBlockRead(0xFF)), "3", "9600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.broadcast);
        dialog_.reset();
        StartFound(c.broadcast ? BroadcastDevice(3) : FrameDevice(2400, 7));
        for (int id : {1007, 1008}) {
            SetText(1012, "x");
            SetText(1013, "x");
            Query(id);
            EXPECT_EQ(TakeSent(), std::vector<Bytes>{c.request});
            EXPECT_EQ(Text(1012), c.address);
            EXPECT_EQ(Text(1013), c.baud);
        }
        // A failed query leaves both fields empty, silently.
        line_->SetFault(sim::Fault::BadCrc, 1);
        Query(1007);
        EXPECT_EQ(Text(1012), "");
        EXPECT_EQ(Text(1013), "");
        EXPECT_TRUE(boxes_.Boxes().empty());
    }
}
