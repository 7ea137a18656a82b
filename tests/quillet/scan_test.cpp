// Start-up and the baud-rate scan in both of its modes, against the simulated transmitter.
#include <QAction>
#include <QLabel>

#include "quillet_fixture.h"
#include "register_frames.h"

using namespace quillettest;
using ui::BoxIcon;

namespace {

const Bytes kFdQuery = ToBytes(protocol::BuildAddressFrame(0, 0));
const Bytes kCommBlockQuery = {0xFF, 0x03, 0x02, 0x00, 0x00, 0x05, 0x91, 0xAF};

}  // namespace

TEST_F(QuilletTest, StartsOnTheFirstPortAt4800WithEveryCommandOff) {
    Start(FrameDevice());
    EXPECT_EQ(dialog_->windowTitle(), "QuilletV2.1");
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
    EXPECT_TRUE(dialog_->Link().IsOpen());
    EXPECT_EQ(dialog_->Link().Port().Baud(), 4800u);
    EXPECT_EQ(dialog_->Link().Port().Path(), line_->Path());
    EXPECT_TRUE(CommandsDisabled());
    EXPECT_TRUE(Button(1001)->isEnabled());
    EXPECT_TRUE(List(1000)->isEnabled());
    // The current and voltage rows exist but are never shown or usable.
    for (int id : {1028, 1018, 1029, 1019}) {
        auto* w = testsupport::Find<QWidget>(dialog_.get(), QString::number(id));
        ASSERT_NE(w, nullptr) << id;
        EXPECT_TRUE(w->isHidden()) << id;
        EXPECT_FALSE(w->isEnabled()) << id;
    }
    auto* about = testsupport::Find<QAction>(dialog_.get(), "about-action");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "关于 Quillet(&A)...");
    EXPECT_EQ(List(1066)->currentIndex(), -1);
    EXPECT_TRUE(TakeSent().empty());  // nothing goes out before a scan
}

// The current and voltage queries are never shown, yet they come and go with the command
// group; their fields stay off.
TEST_F(QuilletTest, HiddenQueriesFollowTheCommandGroup) {
    Start(FrameDevice());
    for (bool scanned : {false, true}) {
        SCOPED_TRACE(scanned ? "after a scan" : "at start");
        if (scanned) Click(1001);
        for (int id : {1018, 1019}) {
            EXPECT_TRUE(Button(id)->isHidden()) << id;
            EXPECT_EQ(Button(id)->isEnabled(), scanned) << id;
        }
        for (int id : {1028, 1029}) {
            EXPECT_TRUE(Edit(id)->isHidden()) << id;
            EXPECT_FALSE(Edit(id)->isEnabled()) << id;
        }
    }
    dialog_->EnableCommands(false);
    EXPECT_FALSE(Button(1018)->isEnabled());
}

// A port named on the command line is the one opened at start, wherever the list puts it.
TEST_F(QuilletTest, OpensTheSelectedPortAtStartNotTheFirstListed) {
    Start(FrameDevice());
    dialog_.reset();
    TakeSent();
    const std::string missing = ::testing::TempDir() + "no-such-port";
    dialog_ = std::make_unique<quillet::TransmitterDialog>(
        std::vector<transport::PortEntry>{{missing, "", transport::PortAccess::Openable},
                                          {line_->Path(), "", transport::PortAccess::Openable}},
        line_->Path());
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
    EXPECT_EQ(dialog_->Link().Port().Path(), line_->Path());
    EXPECT_EQ(line_->LineBaud(), 4800u);
    EXPECT_EQ(dialog_->SelectedPath(), line_->Path());
    Click(1001);  // the scan probes the same line and finds the device there
    EXPECT_EQ(boxes_.Only().text, "设备地址：7  波特率：2400");
}

TEST_F(QuilletTest, AFailedFirstOpenSaysSoInItsOwnBox) {
    const std::string missing = ::testing::TempDir() + "no-such-port";
    dialog_ = std::make_unique<quillet::TransmitterDialog>(
        std::vector<transport::PortEntry>{{missing, "", transport::PortAccess::Openable}});
    const ui::BoxRequest box = boxes_.Only();
    EXPECT_EQ(box.text, "串口打开失败\n串口不存在");
    EXPECT_EQ(box.caption, "串口提示");
    EXPECT_EQ(box.icon, BoxIcon::Stop);
    EXPECT_FALSE(dialog_->Link().IsOpen());

    boxes_.Clear();
    Click(1001);  // the scan cannot open it either
    const ui::BoxRequest scan = boxes_.Only();
    EXPECT_EQ(scan.text, "串口打开失败\n串口不存在");
    EXPECT_EQ(scan.caption, "警告");
    EXPECT_EQ(scan.icon, BoxIcon::Question);
    EXPECT_TRUE(Button(1001)->isEnabled());
    EXPECT_TRUE(List(1000)->isEnabled());
    EXPECT_TRUE(CommandsDisabled());
}

TEST_F(QuilletTest, ScanFindsTheDeviceByTheFdFrameAtEachRate) {
    const struct {
        std::uint32_t baud;
        std::uint8_t address;
        std::size_t probes;
    } cases[] = {{2400, 7, 1}, {4800, 1, 2}, {9600, 200, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baud);
        dialog_.reset();
        boxes_.Clear();
        Start(FrameDevice(c.baud, c.address));
        Click(1001);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, QString("设备地址：%1  波特率：%2").arg(c.address).arg(c.baud));
        EXPECT_EQ(box.caption, "测试结果");
        EXPECT_EQ(box.icon, BoxIcon::None);
        EXPECT_EQ(Text(1012), QString::number(c.address));
        EXPECT_EQ(Text(1013), QString::number(c.baud));
        EXPECT_EQ(TakeSent(), std::vector<Bytes>(c.probes, kFdQuery));
        EXPECT_EQ(dialog_->Link().Port().Baud(), c.baud);
        EXPECT_FALSE(dialog_->Client().Broadcast());
        EXPECT_TRUE(CommandsEnabled());
        EXPECT_TRUE(Button(1001)->isEnabled());
        EXPECT_TRUE(List(1000)->isEnabled());
    }
}

TEST_F(QuilletTest, ScanFallsBackToTheCommBlockAndReportsParityAndStopBits) {
    const struct {
        std::uint8_t parity, stop1, stop2;
        QString text, caption;
        BoxIcon icon;
    } cases[] = {
        {0, 0, 0, "土壤水分变送器\r\n地址：3  波特率：9600\r\n无校验", "测试结果", BoxIcon::None},
        {1, 0, 0, "土壤水分变送器\r\n地址：3  波特率：9600\r\n奇校验", "测试结果", BoxIcon::None},
        {2, 0, 1,
         "土壤水分变送器\r\n地址：3  波特率：9600\r\n偶校验\r\n停止位异常,请重新配置地址或波特率",
         "测试结果异常", BoxIcon::Question},
        {7, 1, 0,
         "土壤水分变送器\r\n地址：3  波特率：9600\r\n错误校验\r\n停止位异常,请重新配置地址或波特率",
         "测试结果异常", BoxIcon::Question},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        dialog_.reset();
        boxes_.Clear();
        Start(BroadcastDevice(3, c.parity, c.stop1, c.stop2));
        Click(1001);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(Text(1012), "3");
        EXPECT_EQ(Text(1013), "9600");
        EXPECT_EQ(TakeSent(), (std::vector<Bytes>{kFdQuery, kFdQuery, kFdQuery, kCommBlockQuery}));
        EXPECT_TRUE(dialog_->Client().Broadcast());
        EXPECT_TRUE(CommandsEnabled());
    }
}

TEST_F(QuilletTest, AScanWithoutAnswerLeavesTheCommandsOffAndThePortAt9600) {
    const struct {
        const char* name;
        sim::Fault fault;
        int param;
    } cases[] = {
        {"silence", sim::Fault::Silence, 0},
        {"bad crc", sim::Fault::BadCrc, 0},
        {"three bytes", sim::Fault::Truncate, 3},
        // A comm block reply cut before its last register: no values from beyond it.
        {"short comm block", sim::Fault::ShortValid, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialog_.reset();
        boxes_.Clear();
        Start(BroadcastDevice());
        line_->SetFault(c.fault, -1, c.param);
        Click(1001);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, "测试结束 未知波特率");
        EXPECT_EQ(box.caption, "测试结果");
        EXPECT_TRUE(CommandsDisabled());
        EXPECT_TRUE(Button(1001)->isEnabled());
        EXPECT_EQ(Text(1012), "");
        EXPECT_TRUE(dialog_->Link().IsOpen());
        EXPECT_EQ(dialog_->Link().Port().Baud(), 9600u);
        EXPECT_FALSE(dialog_->Client().Broadcast());
    }
}

TEST_F(QuilletTest, ARescanClearsBroadcastModeFirst) {
    StartFound(BroadcastDevice());
    ASSERT_TRUE(dialog_->Client().Broadcast());
    line_->SetFault(sim::Fault::Silence);
    Click(1001);
    EXPECT_FALSE(dialog_->Client().Broadcast());
    // The commands stay as the earlier scan left them.
    EXPECT_TRUE(CommandsEnabled());
}

TEST_F(QuilletTest, TheReaderThreadEndsWithTheDialogWhileTheLineStillTalks) {
    StartFound(FrameDevice());
    for (int i = 0; i < 5; ++i) {
        line_->Inject(Bytes(200, 0x55));
        dialog_ = std::make_unique<quillet::TransmitterDialog>(std::vector<transport::PortEntry>{
            {line_->Path(), "", transport::PortAccess::Openable}});
    }
    line_->Inject(Bytes(200, 0x55));
    dialog_.reset();
    SUCCEED();  // the sanitizers watch for a reader touching a destroyed link
}
