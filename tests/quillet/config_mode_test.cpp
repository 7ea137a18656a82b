// The wireless configuration button: enter the mode, show the wireless dialog, leave the mode,
// and the two failure boxes.
#include <QTimer>
#include <functional>

#include "quillet_fixture.h"
#include "wireless_dialog.h"

using namespace quillettest;
using ui::BoxIcon;

namespace {

// Watches for the wireless dialog; when it shows, runs `onShown` and closes it.
class WirelessWatcher {
  public:
    WirelessWatcher(QWidget* owner, std::function<void(quillet::WirelessDialog*)> onShown)
        : onShown_(std::move(onShown)) {
        QObject::connect(&timer_, &QTimer::timeout, [this, owner] {
            auto* wireless = owner->findChild<quillet::WirelessDialog*>();
            if (!wireless || !wireless->isVisible()) return;
            ++shown_;
            caption_ = wireless->windowTitle();
            onShown_(wireless);
            wireless->reject();
        });
        timer_.start(10);
    }
    int Shown() const { return shown_; }
    QString Caption() const { return caption_; }

  private:
    QTimer timer_;
    std::function<void(quillet::WirelessDialog*)> onShown_;
    int shown_ = 0;
    QString caption_;
};

const Bytes kEnter = ToBytes(protocol::BuildEnterConfigMode());
const Bytes kExit = ToBytes(protocol::BuildExitConfigMode());

}  // namespace

TEST_F(QuilletTest, ConfigurationModeIsEnteredForTheDialogAndLeftAfterIt) {
    sim::TransmitterConfig config = BroadcastDevice();
    config.relaySupport = true;
    config.gateway.sleepTime = 300;
    config.gateway.SetNode(5, true);
    config.gateway.relaySupport = 1;
    config.gateway.relayChannel = 9;
    StartFound(config);
    bool disabledMeanwhile = false;
    bool inModeMeanwhile = false;
    WirelessWatcher watcher(dialog_.get(), [&](quillet::WirelessDialog*) {
        disabledMeanwhile = CommandsDisabled();
        inModeMeanwhile = device_->InConfigMode();
    });
    Click(1038);
    EXPECT_EQ(watcher.Shown(), 1);
    EXPECT_EQ(watcher.Caption(), "无线参数设置");
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(inModeMeanwhile);
    EXPECT_FALSE(device_->InConfigMode());
    EXPECT_EQ(TakeSent(), (std::vector<Bytes>{kEnter, kExit}));
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
    EXPECT_TRUE(CommandsEnabled());
    const protocol::GatewayState& gateway = dialog_->Gateway();
    EXPECT_EQ(gateway.sleepTime, 300);
    EXPECT_TRUE(gateway.NodeConfigured(5));
    EXPECT_FALSE(gateway.NodeConfigured(6));
    EXPECT_EQ(gateway.relaySupport, 1);
    EXPECT_EQ(gateway.relayChannel, 9);
    // The dialog is built for each opening and gone after it.
    EXPECT_EQ(dialog_->findChild<quillet::WirelessDialog*>(), nullptr);
}

TEST_F(QuilletTest, EnteringFailsWithItsBoxAndNoDialog) {
    const struct {
        const char* name;
        sim::Fault fault;
        int param;
    } cases[] = {
        {"bad crc", sim::Fault::BadCrc, 0},
        // A valid CRC, but the reply ends inside the node bitmap.
        {"cut inside the bitmap", sim::Fault::ShortValid, 31},
        {"three bytes", sim::Fault::Truncate, 3},
    };
    StartFound(FrameDevice());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.Clear();
        WirelessWatcher watcher(dialog_.get(), [](quillet::WirelessDialog*) {});
        line_->SetFault(c.fault, 1, c.param);
        Click(1038);
        EXPECT_EQ(watcher.Shown(), 0);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, "无线设备进入配置模式失败，请检查连接");
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, BoxIcon::Question);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{kEnter});  // no exit without an entry
        EXPECT_TRUE(CommandsEnabled());
    }
}

TEST_F(QuilletTest, LeavingFailsWithItsBox) {
    const struct {
        const char* name;
        sim::Fault fault;
        int param;
    } cases[] = {
        {"bad crc", sim::Fault::BadCrc, 0},
        {"another command byte", sim::Fault::WrongFunction, 3},  // 02 -> 03
        {"markers only", sim::Fault::ShortValid, 3},
    };
    StartFound(FrameDevice());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.Clear();
        WirelessWatcher watcher(dialog_.get(), [&](quillet::WirelessDialog*) {
            line_->SetFault(c.fault, 1, c.param);  // the exit reply
        });
        Click(1038);
        EXPECT_EQ(watcher.Shown(), 1);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, "退出配置模式失败，请给设备重新上电");
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, BoxIcon::Question);
        EXPECT_EQ(TakeSent(), (std::vector<Bytes>{kEnter, kExit}));
        EXPECT_TRUE(CommandsEnabled());
    }
}
