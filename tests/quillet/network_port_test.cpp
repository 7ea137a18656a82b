// Quillet on a bus behind a serial device server: Debian's ser2net on 127.0.0.1 serving the
// simulated transmitter's pseudo-terminal with RFC 2217 and with raw TCP, and a server that
// turns the connection away.
#include <QLabel>
#include <QSettings>

#include "config_frames.h"
#include "port_selector.h"
#include "pty_line.h"
#include "quillet_fixture.h"
#include "remote_port_history.h"
#include "ser2net_process.h"

using namespace quillettest;
using nettest::Ser2netProcess;
using Kind = Ser2netProcess::Kind;

namespace {

const Bytes kFdQuery = ToBytes(protocol::BuildAddressFrame(0, 0));
const Bytes kBlockAtFF = ToBytes(protocol::BuildCommBlockRead(0xFF));

class QuilletNetworkTest : public QuilletTest {
  protected:
    void SetUp() override {
        if (Ser2netProcess::Program().empty())
            GTEST_SKIP() << "ser2net is not installed (scripts/setup installs it)";
        QSettings(ui::kSettingsOrganisation, "quillet").clear();
    }
    void TearDown() override { QSettings(ui::kSettingsOrganisation, "quillet").clear(); }

    // The transmitter on a pseudo-terminal that ser2net serves at `serverBaud`; the window
    // lists the server's port first (and opens it at start), then `morePorts`.
    void Serve(const sim::TransmitterConfig& config, Kind kind, std::uint32_t serverBaud,
               const std::vector<std::string>& morePorts = {}) {
        ui::SetDefaultCaption("Quillet");
        device_ =
            std::make_shared<sim::TransmitterDevice>(config, sim::RegisterMap{{0, 553}, {1, 236}},
                                                     sim::TransmitterDevice::DefaultParameters());
        line_ = std::make_unique<sim::SimulatedLine>(device_);
        ASSERT_TRUE(line_->Ok());
        server_ = std::make_unique<Ser2netProcess>(
            std::vector<Ser2netProcess::Served>{{line_->Path(), kind, serverBaud}});
        ASSERT_EQ(server_->Error(), "");
        OpenWindow(server_->PortName(0), morePorts);
    }
    void OpenWindow(const std::string& first, const std::vector<std::string>& more = {}) {
        std::vector<transport::PortEntry> ports{{first, "", transport::PortAccess::Openable}};
        for (const std::string& p : more) ports.push_back({p, "", transport::PortAccess::Openable});
        dialog_ = std::make_unique<quillet::TransmitterDialog>(ports);
        dialog_->show();
    }
    QLabel* Status() const { return testsupport::Find<QLabel>(dialog_.get(), "status"); }

    std::unique_ptr<Ser2netProcess> server_;
};

// The rates reach the remote line: the 4800 device is found at 4800, a parameter write and
// a baud change work as on a local port.
TEST_F(QuilletNetworkTest, Rfc2217ScanParameterWriteAndBaudChange) {
    Serve(FrameDevice(4800, 7), Kind::Rfc2217, 9600);
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
    Click(1001);
    EXPECT_EQ(boxes_.Only().text, "设备地址：7  波特率：4800");
    EXPECT_EQ(line_->LineBaud(), 4800u);
    boxes_.Clear();
    TakeSent();

    SetText(1037, "-0.5");  // temperature deviation
    Click(1027);
    EXPECT_EQ(boxes_.Only().text, "设置成功");
    EXPECT_EQ(device_->Parameter(1), std::optional<std::uint16_t>(0x8005));
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildConfigWrite(1, 0x8005))});
    SetText(1037, "");
    Query(1044);
    EXPECT_EQ(Text(1037), "-0.5");

    boxes_.Clear();
    SetText(1013, "9600");
    Click(1004);
    EXPECT_EQ(boxes_.Only().text, "波特率设置成功");
    EXPECT_EQ(line_->LineBaud(), 9600u);
    Query(1005);
    EXPECT_EQ(Text(1014), "23.6");
}

// Raw TCP: one pass at the server's rate, the FD frame and then the comm block once each;
// the rate shown is the device's own.
TEST_F(QuilletNetworkTest, TcpScanIsOnePassAtTheServersRate) {
    sim::TransmitterConfig broadcastAt2400 = BroadcastDevice(3);
    broadcastAt2400.link.baud = 2400;
    const struct {
        const char* what;
        sim::TransmitterConfig device;
        bool silent;
        std::uint32_t serverBaud;
        std::vector<Bytes> sent;
        QString box;
    } cases[] = {
        {"FD device", FrameDevice(9600, 7), false, 9600, {kFdQuery}, "设备地址：7  波特率：9600"},
        {"comm block device at 2400",
         broadcastAt2400,
         false,
         2400,
         {kFdQuery, kBlockAtFF},
         "土壤水分变送器\r\n地址：3  波特率：2400\r\n无校验"},
        {"nothing answers",
         FrameDevice(4800, 7),
         true,
         4800,
         {kFdQuery, kBlockAtFF},
         "测试结束 未知波特率"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes_.Clear();
        dialog_.reset();
        server_.reset();
        Serve(c.device, Kind::RawTcp, c.serverBaud);
        if (c.silent) line_->SetFault(sim::Fault::Silence);
        Click(1001);
        EXPECT_EQ(boxes_.Only().text, c.box);
        EXPECT_EQ(TakeSent(), c.sent);
        EXPECT_EQ(line_->LineBaud(), c.serverBaud);
        EXPECT_EQ(CommandsEnabled(), !c.silent);
        if (c.silent) continue;
        Query(1005);
        EXPECT_EQ(Text(1014), "23.6");
    }
}

// Over raw TCP a baud set in either mode is refused before anything goes out.
TEST_F(QuilletNetworkTest, TcpBaudSetIsRefusedInBothModes) {
    for (const sim::TransmitterConfig& config : {FrameDevice(9600, 7), BroadcastDevice(3)}) {
        SCOPED_TRACE(static_cast<int>(config.link.mode));
        boxes_.Clear();
        dialog_.reset();
        server_.reset();
        Serve(config, Kind::RawTcp, 9600);
        Click(1001);
        ASSERT_TRUE(CommandsEnabled()) << boxes_.Texts().toStdString();
        boxes_.Clear();
        TakeSent();
        SetText(1013, "4800");
        Click(1004);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, "网络串口不能修改波特率");
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, ui::BoxIcon::Warning);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{});
        EXPECT_EQ(device_->Baud(), 9600u);
    }
}

// The server goes away: the status line says the port is lost, a query stays empty and a
// set fails as on a closed port.
TEST_F(QuilletNetworkTest, ADroppedConnectionIsALostPort) {
    Serve(FrameDevice(9600, 7), Kind::RawTcp, 9600);
    Click(1001);
    ASSERT_TRUE(CommandsEnabled()) << boxes_.Texts().toStdString();
    boxes_.Clear();
    server_->Stop();
    ASSERT_TRUE(testsupport::WaitFor([&] { return Status()->text() == "串口已断开"; }));
    Query(1005);
    EXPECT_EQ(Text(1014), "");
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
    SetText(1037, "1.5");
    Click(1027);
    EXPECT_EQ(boxes_.Only().text, "设置失败");
    EXPECT_EQ(Status()->text(), "串口已断开");
}

// A network port Quillet opened is offered by its next window after the local ports; the
// local port stays the one opened at start.
TEST_F(QuilletNetworkTest, RemotePortsUsedBeforeAreListedAgain) {
    Serve(FrameDevice(9600, 7), Kind::RawTcp, 9600);
    const std::string used = server_->PortName(0);
    Click(1001);
    ASSERT_EQ(boxes_.Only().text, "设备地址：7  波特率：9600");

    sim::PtyLine local;
    OpenWindow(local.SlavePath());
    ui::PortSelector* ports = testsupport::Find<ui::PortSelector>(dialog_.get(), "1000");
    ASSERT_EQ(ports->count(), 2);
    EXPECT_EQ(ports->itemData(1).toString().toStdString(), used);
    EXPECT_EQ(ports->SelectedPath(), local.SlavePath());
    EXPECT_EQ(dialog_->Link().Port().Path(), local.SlavePath());
}

// Refused at start and at the scan: the box names the reason on its second line.
TEST(QuilletNetworkFailures, ARefusedConnectionSaysWhy) {
    testsupport::BoxRecorder boxes;
    ui::SetDefaultCaption("Quillet");
    const std::string port = "tcp://127.0.0.1:" + std::to_string(nettest::FreeLoopbackPort());
    quillet::TransmitterDialog dialog({{port, "", transport::PortAccess::Openable}});
    const ui::BoxRequest atStart = boxes.Only();
    EXPECT_EQ(atStart.text, "串口打开失败\n网络串口拒绝连接");
    EXPECT_EQ(atStart.caption, "串口提示");
    EXPECT_EQ(atStart.icon, ui::BoxIcon::Stop);
    boxes.Clear();
    testsupport::Find<QPushButton>(&dialog, "1001")->click();
    const ui::BoxRequest atScan = boxes.Only();
    EXPECT_EQ(atScan.text, "串口打开失败\n网络串口拒绝连接");
    EXPECT_EQ(atScan.caption, "警告");
    EXPECT_EQ(atScan.icon, ui::BoxIcon::Question);
}

}  // namespace
