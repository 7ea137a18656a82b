// The main window on a bus behind a serial device server: Debian's ser2net on 127.0.0.1
// serving a simulated device's pseudo-terminal with RFC 2217 (the program sets the rate) and
// with raw TCP (the server keeps its rate), and servers that refuse or never answer.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QLabel>
#include <QSettings>

#include "pelmarq_fixture.h"
#include "port_selector.h"
#include "pty_line.h"
#include "remote_port_history.h"
#include "ser2net_process.h"
#include "status_line_log.h"

using namespace pelmarqtest;
using nettest::Ser2netProcess;
using sim::AddressingMode;
using testsupport::StatusLineLog;
using Kind = Ser2netProcess::Kind;

namespace {

const sim::Bytes kFdQuery = Bytes(protocol::BuildAddressFrame(0, 0));
const sim::Bytes kBlockAtFF = Bytes(protocol::BuildCommBlockRead(0xFF));
const sim::Bytes kBlockAt00 = Bytes(protocol::BuildCommBlockRead(0x00));

void ForgetRemotePorts() {
    QSettings(ui::kSettingsOrganisation, "pelmarq").clear();
}

class NetworkWindowTest : public MainWindowTest {
  protected:
    void SetUp() override {
        if (Ser2netProcess::Program().empty())
            GTEST_SKIP() << "ser2net is not installed (scripts/setup installs it)";
    }
    // A device on a pseudo-terminal that ser2net serves at `serverBaud`; the window lists
    // only the server's port, selected.
    void Serve(sim::RegisterDeviceConfig config, Kind kind, std::uint32_t serverBaud) {
        device = std::make_shared<sim::RegisterDevice>(config, sim::RegisterMap{{1, 236}});
        line = std::make_unique<sim::SimulatedLine>(device);
        ASSERT_TRUE(line->Ok());
        server = std::make_unique<Ser2netProcess>(
            std::vector<Ser2netProcess::Served>{{line->Path(), kind, serverBaud}});
        ASSERT_EQ(server->Error(), "");
        OpenWindow(server->PortName(0));
    }
    void OpenWindow(const std::string& port) {
        dialog = std::make_unique<app::MainDialog>(std::vector<app::PortChoice>{{port, port}}, port,
                                                   QString());
    }
    ui::PortSelector* Ports() { return Find<ui::PortSelector>(dialog.get(), "1000"); }
    QLabel* Status() { return Find<QLabel>(dialog.get(), "status"); }
    // The temperature/humidity page's humidity query (register 1 = 236).
    QString ReadHumidity() {
        pages::DevicePage* page = ShowPage(0, 0);
        Find<QPushButton>(page, "1010")->click();
        return Find<QLineEdit>(page, "1009")->text();
    }

    std::unique_ptr<Ser2netProcess> server;
};

// The rates of the scan and of a baud change reach the remote line: the device that answers
// only at 4800 is found at 4800, and after the change to 9600 the line runs at 9600.
TEST_F(NetworkWindowTest, Rfc2217WorksAsALocalPort) {
    Serve(Device(7, 4800), Kind::Rfc2217, 9600);
    Button("1001")->click();
    EXPECT_EQ(boxes.Only().text, "设备地址：7  波特率：4800");
    EXPECT_EQ(line->LineBaud(), 4800u);
    EXPECT_EQ(ReadHumidity(), "23.6");

    boxes.Clear();
    Field("1003")->setText("9600");
    Button("1007")->click();
    EXPECT_EQ(boxes.Only().text, "波特率设置成功");
    EXPECT_EQ(device->Baud(), 9600u);
    EXPECT_EQ(line->LineBaud(), 9600u);
    EXPECT_EQ(ReadHumidity(), "23.6");
}

// Raw TCP: one connection, each probe once at the server's rate, the rate shown is the one
// the device's reply reports, and the status line names no rate.
TEST_F(NetworkWindowTest, TcpScanAsksEachProbeOnceAtTheServersRate) {
    const struct {
        const char* what;
        sim::RegisterDeviceConfig device;
        int reportedBaudCode;  // the comm block's, -1: the device's own
        bool silent;
        std::uint32_t serverBaud;
        std::vector<sim::Bytes> sent;
        QString box;
        QString baudField;
    } cases[] = {
        {"FD device",
         Device(7, 4800),
         -1,
         false,
         4800,
         {kFdQuery},
         "设备地址：7  波特率：4800",
         "4800"},
        {"comm block at 0xFF, 2400",
         Device(5, 2400, AddressingMode::Broadcast),
         -1,
         false,
         2400,
         {kFdQuery, kBlockAtFF},
         "土壤变送器\r\n地址：5  波特率：2400\r\n无校验",
         "2400"},
        {"comm block at 0, reports 4800 at 9600",
         Device(5, 9600, AddressingMode::Zero),
         2,
         false,
         9600,
         {kFdQuery, kBlockAtFF, kBlockAt00},
         "土壤变送器\r\n地址：5  波特率：4800\r\n无校验",
         "4800"},
        {"nothing answers",
         Device(7, 4800),
         -1,
         true,
         4800,
         {kFdQuery, kBlockAtFF, kBlockAt00},
         "测试结束 未知波特率",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.Clear();
        dialog.reset();
        server.reset();
        Serve(c.device, Kind::RawTcp, c.serverBaud);
        device->SetCommBlock(0, 0, 1, c.reportedBaudCode);
        if (c.silent) line->SetFault(sim::Fault::Silence);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        {
            StatusLineLog log(Status(), *line);
            Button("1001")->click();
            std::vector<StatusLineLog::Entry> painted;
            for (std::size_t i = 0; i < c.sent.size(); ++i)
                painted.push_back({"正在测试网络串口…", i});
            EXPECT_EQ(log.Entries(), painted);
        }
        EXPECT_EQ(boxes.Only().text, c.box);
        EXPECT_EQ(line->Received(), c.sent);
        EXPECT_EQ(line->LineBaud(), c.serverBaud);
        if (c.silent) continue;
        EXPECT_EQ(Field("1003")->text(), c.baudField);
        EXPECT_EQ(ReadHumidity(), "23.6");
    }
}

// Over raw TCP the device's rate cannot follow: in every addressing mode a baud set is
// refused before anything goes out, and the device and line keep their rate.
TEST_F(NetworkWindowTest, TcpBaudSetIsRefusedInEveryModeAndNothingIsSent) {
    for (const AddressingMode mode :
         {AddressingMode::Frame, AddressingMode::Broadcast, AddressingMode::Zero}) {
        SCOPED_TRACE(static_cast<int>(mode));
        boxes.Clear();
        dialog.reset();
        server.reset();
        Serve(Device(5, 4800, mode), Kind::RawTcp, 4800);
        device->SetCommBlock(0, 0, 1);
        Button("1001")->click();
        ASSERT_TRUE(Button("1007")->isEnabled()) << boxes.Texts().toStdString();
        line->ClearReceived();
        boxes.Clear();
        for (const char* rate : {"9600", "4800", "abc"}) {
            Field("1003")->setText(rate);
            Button("1007")->click();
            const ui::BoxRequest box = boxes.Only();
            EXPECT_EQ(box.text, "网络串口不能修改波特率");
            EXPECT_EQ(box.caption, "警告");
            EXPECT_EQ(box.icon, ui::BoxIcon::Warning);
            boxes.Clear();
        }
        EXPECT_EQ(line->Received(), std::vector<sim::Bytes>{});
        EXPECT_EQ(device->Baud(), 4800u);
        EXPECT_EQ(line->LineBaud(), 4800u);
        EXPECT_EQ(ReadHumidity(), "23.6");
    }
}

// The server goes away under the open connection: a lost port, as a pulled adapter is.
TEST_F(NetworkWindowTest, ADroppedConnectionIsALostPort) {
    Serve(Device(7, 4800), Kind::RawTcp, 4800);
    Button("1001")->click();
    ASSERT_EQ(boxes.Only().text, "设备地址：7  波特率：4800");
    boxes.Clear();
    server->Stop();
    ASSERT_TRUE(testsupport::WaitFor([&] { return Status()->text() == "串口已断开"; }));
    EXPECT_FALSE(dialog->Link().IsOpen());

    EXPECT_EQ(ReadHumidity(), "");
    EXPECT_EQ(boxes.Only().text, "串口未打开");
    boxes.Clear();
    Button("1004")->click();
    EXPECT_EQ(Field("1002")->text(), " ");
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();
    // Nothing listens there any more: the next scan's connection is refused.
    Button("1001")->click();
    EXPECT_EQ(boxes.Only().text, "串口打开失败\n网络串口拒绝连接");
    EXPECT_EQ(Status()->text(), "串口已断开");
}

// A network port the window opened is offered again by the next window, after the local
// ports and without taking their selection; one that never opened is not.
TEST_F(NetworkWindowTest, RemotePortsUsedBeforeAreListedAgain) {
    ForgetRemotePorts();
    Serve(Device(7, 4800), Kind::RawTcp, 4800);
    const std::string used = server->PortName(0);
    const std::string refused = "tcp://127.0.0.1:" + std::to_string(nettest::FreeLoopbackPort());
    dialog = std::make_unique<app::MainDialog>(std::vector<app::PortChoice>{}, "", QString());
    for (const std::string& port : {refused, used}) {
        testsupport::TypePath(Ports(), port);
        Button("1001")->click();
    }
    EXPECT_EQ(boxes.Texts().toStdString(),
              "警告: 串口打开失败\n网络串口拒绝连接 | 测试结果: 设备地址：7  波特率：4800");

    sim::PtyLine local;
    OpenWindow(local.SlavePath());
    ASSERT_EQ(Ports()->count(), 2);
    EXPECT_EQ(Ports()->itemData(0).toString().toStdString(), local.SlavePath());
    EXPECT_EQ(Ports()->itemData(1).toString().toStdString(), used);
    EXPECT_EQ(Ports()->SelectedPath(), local.SlavePath());
    // The list read again keeps it.
    Ports()->Refresh();
    EXPECT_GE(Ports()->findData(QString::fromStdString(used)), 0);
    ForgetRemotePorts();
}

// Servers that turn the connection away or never answer the line settings: the scan's open
// fails with the reason on the box's second line, and the scan can be pressed again.
TEST(NetworkWindowFailures, TheOpenFailureSaysWhy) {
    // Accepts connections (the system completes them) but never says a word.
    const int silent = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(::listen(silent, 4), 0);
    ASSERT_EQ(::getsockname(silent, reinterpret_cast<sockaddr*>(&address), &size), 0);
    const std::string quiet = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const std::string nobody = "127.0.0.1:" + std::to_string(nettest::FreeLoopbackPort());

    const struct {
        std::string port;
        QString text;
    } cases[] = {
        {"tcp://" + nobody, "串口打开失败\n网络串口拒绝连接"},
        {"rfc2217://" + nobody, "串口打开失败\n网络串口拒绝连接"},
        {"rfc2217://" + quiet, "串口打开失败\n网络串口无应答"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        testsupport::BoxRecorder boxes;
        app::MainDialog dialog({{c.port, c.port}}, c.port, QString());
        Find<QPushButton>(&dialog, "1001")->click();
        const ui::BoxRequest box = boxes.Only();
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, ui::BoxIcon::Question);
        EXPECT_TRUE(Find<QPushButton>(&dialog, "1001")->isEnabled());
        EXPECT_FALSE(Find<QPushButton>(&dialog, "1004")->isEnabled());
    }
    ::close(silent);
}

}  // namespace
