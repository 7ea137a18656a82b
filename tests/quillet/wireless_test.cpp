// The wireless dialog against the simulated gateway: node buttons and their bitmap, the
// relay block of a configure reply, tabs, sleep time, channel, temperature/humidity and the
// relay page, with the frames on the wire and the boxes shown.
#include <QTabWidget>
#include <optional>

#include "colour_slot_button.h"
#include "quillet_fixture.h"
#include "wireless_dialog.h"
#include "wireless_network_page.h"

using namespace quillettest;
using protocol::GatewayState;
using quillet::WirelessDialog;
using quillet::WirelessNetworkPage;
using testsupport::Find;
using ui::BoxAnswer;
using ui::BoxIcon;

namespace {

// A gateway on the FD frame with node 3 configured and a channel its list cannot show.
sim::TransmitterConfig Gateway(bool relay) {
    sim::TransmitterConfig c = FrameDevice();
    c.relaySupport = relay;
    c.gateway.sleepTime = 60;
    c.gateway.SetNode(3, true);
    c.gateway.relaySupport = relay;
    c.gateway.relayChannel = 4;
    c.gateway.airRate = 2;
    c.channel = 70;
    return c;
}

void ClickIn(QWidget* scope, int id) {
    auto* button = Find<QAbstractButton>(scope, QString::number(id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

// The texts of the boxes shown, in order, joined by " | ".
QString BoxTexts(const testsupport::BoxRecorder& boxes) {
    QStringList texts;
    for (const ui::BoxRequest& b : boxes.Boxes()) texts << b.text;
    return texts.join(" | ");
}

QColor NodeColour(QWidget* scope, int address) {
    auto* node = Find<controls::ColourSlotButton>(scope, QString::number(1138 + address));
    return node ? node->SlotColour(2) : QColor();
}

}  // namespace

TEST_F(QuilletTest, NodeButtonsConfigureAndClearAndRepaintTheBitmap) {
    StartFound(Gateway(false));
    const struct {
        const char* name;
        int address;
        std::optional<BoxAnswer> answer;
        sim::Fault fault;
        int param;
        std::vector<Bytes> sent;
        QString texts, caption;
        BoxIcon icon;
        bool configured;
    } cases[] = {
        {"configure node 1",
         1,
         {},
         sim::Fault::None,
         0,
         {ToBytes(protocol::BuildConfigureNode(0))},
         "配置成功",
         "提示",
         BoxIcon::None,
         true},
        {"configure node 200",
         200,
         {},
         sim::Fault::None,
         0,
         {ToBytes(protocol::BuildConfigureNode(199))},
         "配置成功",
         "提示",
         BoxIcon::None,
         true},
        {"否 keeps node 200",
         200,
         BoxAnswer::No,
         sim::Fault::None,
         0,
         {},
         "是否清除本设备？",
         "提示",
         BoxIcon::None,
         true},
        {"是 clears node 200",
         200,
         BoxAnswer::Yes,
         sim::Fault::None,
         0,
         {ToBytes(protocol::BuildClearNode(199))},
         "是否清除本设备？ | 清除配置成功",
         "提示",
         BoxIcon::None,
         false},
        {"configure unanswered",
         5,
         {},
         sim::Fault::Silence,
         0,
         {ToBytes(protocol::BuildConfigureNode(4))},
         "配置失败，请重新配置",
         "警告",
         BoxIcon::Question,
         false},
        // A valid CRC, but the reply ends inside the bitmap: nothing taken from it.
        {"configure reply cut inside the bitmap",
         6,
         {},
         sim::Fault::ShortValid,
         31,
         {ToBytes(protocol::BuildConfigureNode(5))},
         "配置失败，请重新配置",
         "警告",
         BoxIcon::Question,
         false},
        {"clear with a bad crc",
         3,
         BoxAnswer::Yes,
         sim::Fault::BadCrc,
         0,
         {ToBytes(protocol::BuildClearNode(2))},
         "是否清除本设备？ | 清除配置失败，请重新配置",
         "警告",
         BoxIcon::Question,
         true},
    };
    const int shown = Inside<WirelessDialog>(1038, [&](WirelessDialog* d) {
        EXPECT_EQ(d->Tabs()->count(), 1);  // no relay support
        EXPECT_EQ(d->RelayPage(), nullptr);
        EXPECT_EQ(NodeColour(d, 3), WirelessNetworkPage::kConfigured);
        EXPECT_EQ(NodeColour(d, 4), WirelessNetworkPage::kUnconfigured);
        // Node 77 joins the device's table behind the program's back: the next configure
        // reply brings it, and every button is repainted from that bitmap.
        GatewayState behind = device_->Gateway();
        behind.SetNode(77, true);
        device_->SetGateway(behind);
        TakeSent();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            boxes_.Clear();
            if (c.answer) boxes_.QueueAnswer(*c.answer);
            line_->SetFault(c.fault, 1, c.param);
            ClickIn(d, 1138 + c.address);
            line_->ClearFault();
            EXPECT_EQ(TakeSent(), c.sent);
            EXPECT_EQ(BoxTexts(boxes_), c.texts);
            ASSERT_FALSE(boxes_.Boxes().empty());
            EXPECT_EQ(boxes_.Boxes().back().caption, c.caption);
            EXPECT_EQ(boxes_.Boxes().back().icon, c.icon);
            if (c.answer) {
                EXPECT_EQ(boxes_.Boxes().front().buttons, ui::BoxButtons::YesNo);
            }
            EXPECT_EQ(dialog_->Gateway().NodeConfigured(c.address), c.configured);
            EXPECT_EQ(NodeColour(d, c.address), c.configured ? WirelessNetworkPage::kConfigured
                                                             : WirelessNetworkPage::kUnconfigured);
        }
        EXPECT_EQ(NodeColour(d, 77), WirelessNetworkPage::kConfigured);
        EXPECT_FALSE(device_->Gateway().NodeConfigured(200));
        EXPECT_TRUE(device_->Gateway().NodeConfigured(1));
    });
    EXPECT_EQ(shown, 1);
}

TEST_F(QuilletTest, ConfigureReplyTakesTheRelayBlockOnlyWhenItIsWhole) {
    StartFound(Gateway(true));
    const struct {
        const char* name;
        sim::Fault fault;
        int param;
        bool accepted, relayTaken;
    } cases[] = {
        {"marker and block", sim::Fault::None, 0, true, true},
        {"no marker", sim::Fault::ShortValid, 39, true, false},
        {"block cut before the air rate", sim::Fault::ShortValid, 44, true, false},
        {"cut inside the bitmap", sim::Fault::ShortValid, 31, false, false},
    };
    Inside<WirelessDialog>(1038, [&](WirelessDialog* d) {
        int address = 10;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            const std::uint8_t before = dialog_->Gateway().relayChannel;
            GatewayState behind = device_->Gateway();
            behind.relayChannel = static_cast<std::uint8_t>(before + 1);
            device_->SetGateway(behind);
            line_->SetFault(c.fault, 1, c.param);
            ClickIn(d, 1138 + ++address);
            EXPECT_EQ(dialog_->Gateway().NodeConfigured(address), c.accepted);
            EXPECT_EQ(dialog_->Gateway().relayChannel, c.relayTaken ? before + 1 : before);
            // The relay page shows what is stored.
            EXPECT_EQ(Find<QComboBox>(d, "1075")->currentIndex(), dialog_->Gateway().relayChannel);
        }
    });
}

TEST_F(QuilletTest, TabsFollowRelaySupportAndTheStoredRelayMode) {
    StartFound(Gateway(true));
    const struct {
        const char* name;
        std::uint8_t support;
        int tabs, current;
        bool networkEnabled;
        bool becomeMaster;  // choose "中继主站" and set it
    } cases[] = {
        {"support flag 0", 0, 1, 0, true, false},
        {"relay slave", 1, 2, 0, true, true},
        {"relay master opens on the relay tab", 1, 2, 1, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GatewayState behind = device_->Gateway();
        behind.relaySupport = c.support;
        device_->SetGateway(behind);
        boxes_.Clear();
        const int shown = Inside<WirelessDialog>(1038, [&](WirelessDialog* d) {
            EXPECT_EQ(d->Tabs()->count(), c.tabs);
            EXPECT_EQ(d->Tabs()->tabText(0), "无线组网参数  ");
            if (c.tabs == 2) {
                EXPECT_EQ(d->Tabs()->tabText(1), "无线中继参数  ");
            }
            EXPECT_EQ(d->Tabs()->currentIndex(), c.current);
            EXPECT_EQ(d->NetworkPage()->isEnabled(), c.networkEnabled);
            if (!c.becomeMaster) return;
            auto* mode = Find<QComboBox>(d, "1076");
            mode->setCurrentIndex(1);
            emit mode->activated(1);  // as a user's choice
            EXPECT_FALSE(d->NetworkPage()->isEnabled());
            EXPECT_EQ(dialog_->Gateway().relayMode, 1);
            ClickIn(d, 1079);
        });
        EXPECT_EQ(shown, 1);
    }
    EXPECT_EQ(device_->Gateway().relayMode, 1);
}

TEST_F(QuilletTest, RelayPageReadsAndSendsStoredValuesBackUnchanged) {
    StartFound(Gateway(true));
    Inside<WirelessDialog>(1038, [&](WirelessDialog* d) {
        auto* mode = Find<QComboBox>(d, "1076");
        auto* channel = Find<QComboBox>(d, "1075");
        auto* rate = Find<QComboBox>(d, "1077");
        EXPECT_EQ(channel->currentText(), "信道5");  // index 4
        EXPECT_EQ(rate->currentText(), "9600");
        // The device holds a channel beyond the list's 32.
        GatewayState behind = device_->Gateway();
        behind.relayMode = 1;
        behind.relayChannel = 40;
        device_->SetGateway(behind);
        TakeSent();
        boxes_.Clear();
        ClickIn(d, 1078);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildReadRelay())});
        EXPECT_TRUE(boxes_.Boxes().empty());
        EXPECT_EQ(mode->currentText(), "中继主站");
        EXPECT_EQ(channel->currentIndex(), -1);
        EXPECT_FALSE(d->NetworkPage()->isEnabled());
        ClickIn(d, 1079);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildWriteRelay(1, 40, 2))});
        EXPECT_EQ(boxes_.Only().text, "配置无线中继参数成功");
        EXPECT_EQ(boxes_.Only().caption, "提示");

        const struct {
            const char* name;
            int button;
            sim::Fault fault;
            int param;
            QString text;
        } failures[] = {
            {"read: command byte not 8", 1078, sim::Fault::WrongFunction, 3,
             "读取无线中继参数失败，请重新读取"},
            {"read: bad crc", 1078, sim::Fault::BadCrc, 0, "读取无线中继参数失败，请重新读取"},
            {"read: cut before the air rate", 1078, sim::Fault::ShortValid, 7,
             "读取无线中继参数失败，请重新读取"},
            {"set: silence", 1079, sim::Fault::Silence, 0, "配置无线中继参数失败，请重新配置"},
        };
        for (const auto& f : failures) {
            SCOPED_TRACE(f.name);
            boxes_.Clear();
            line_->SetFault(f.fault, 1, f.param);
            ClickIn(d, f.button);
            const ui::BoxRequest box = boxes_.Only();
            EXPECT_EQ(box.text, f.text);
            EXPECT_EQ(box.caption, "警告");
            EXPECT_EQ(box.icon, BoxIcon::Question);
            EXPECT_EQ(channel->currentIndex(), -1);
            EXPECT_EQ(dialog_->Gateway().relayChannel, 40);
        }
    });
}

TEST_F(QuilletTest, NetworkPageSleepTimeChannelAndClimate) {
    StartFound(Gateway(false));
    device_->Registers().Freeze();
    device_->Registers().SetRegister(1, 0xFFEC);
    device_->Registers().SetRegister(0, 550);
    const struct {
        const char* name;
        int button;
        const char* entry;  // typed into 1048 first
        int select;         // chosen in 1049 first (-2: no choice)
        sim::Fault fault;
        std::vector<Bytes> sent;
        QString box;  // "" for none
        int field;
        QString shown;
    } cases[] = {
        {"sleep time read",
         1091,
         nullptr,
         -2,
         sim::Fault::None,
         {ToBytes(protocol::BuildReadSleepTime())},
         "",
         1048,
         "60"},
        {"sleep time 70000 goes out as 4464",
         1093,
         "70000",
         -2,
         sim::Fault::None,
         {ToBytes(protocol::BuildWriteSleepTime(4464))},
         "配置休眠时间成功",
         1048,
         "70000"},
        {"sleep time beyond 32 bits",
         1093,
         "99999999999",
         -2,
         sim::Fault::None,
         {},
         "参数错误",
         1048,
         "99999999999"},
        {"sleep time read back",
         1091,
         nullptr,
         -2,
         sim::Fault::None,
         {ToBytes(protocol::BuildReadSleepTime())},
         "",
         1048,
         "4464"},
        {"sleep time read fails",
         1091,
         nullptr,
         -2,
         sim::Fault::BadCrc,
         {ToBytes(protocol::BuildReadSleepTime())},
         "读取休眠失败，请重新读取",
         1048,
         "4464"},
        {"sleep time set fails",
         1093,
         "30",
         -2,
         sim::Fault::Silence,
         {ToBytes(protocol::BuildWriteSleepTime(30))},
         "配置休眠时间失败，请重新配置",
         1048,
         "30"},
        {"channel read fails",
         1090,
         nullptr,
         -2,
         sim::Fault::Silence,
         {ToBytes(protocol::BuildReadChannel())},
         "读取信道失败，请重新读取",
         1052,
         ""},
        // Channel 70 is beyond the list: none selected, and a set sends nothing.
        {"channel outside the list",
         1090,
         nullptr,
         -2,
         sim::Fault::None,
         {ToBytes(protocol::BuildReadChannel())},
         "",
         1052,
         ""},
        {"channel set without a choice",
         1092,
         nullptr,
         -2,
         sim::Fault::None,
         {},
         "参数错误",
         1052,
         ""},
        {"channel 12 set",
         1092,
         nullptr,
         12,
         sim::Fault::None,
         {ToBytes(protocol::BuildWriteChannel(12))},
         "配置信道成功",
         1052,
         ""},
        {"channel set fails",
         1092,
         nullptr,
         12,
         sim::Fault::BadCrc,
         {ToBytes(protocol::BuildWriteChannel(12))},
         "配置信道失败，请重新配置",
         1052,
         ""},
        {"climate",
         1051,
         nullptr,
         -2,
         sim::Fault::None,
         {ToBytes(protocol::BuildReadClimate())},
         "",
         1052,
         "-2.0℃  55.0 %RH"},
        {"climate cut before humidity",
         1051,
         nullptr,
         -2,
         sim::Fault::ShortValid,
         {ToBytes(protocol::BuildReadClimate())},
         "",
         1052,
         ""},
    };
    Inside<WirelessDialog>(1038, [&](WirelessDialog* d) {
        auto* channel = Find<QComboBox>(d, "1049");
        EXPECT_EQ(channel->count(), 64);
        EXPECT_EQ(channel->itemText(63), "通道63");
        EXPECT_EQ(channel->currentIndex(), -1);
        EXPECT_FALSE(channel->isEnabled());
        EXPECT_FALSE(Find<QWidget>(d, "1092")->isEnabled());
        auto* guard = Find<QTimer>(d, "timer2");
        TakeSent();
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            boxes_.Clear();
            if (c.entry) Find<QLineEdit>(d, "1048")->setText(c.entry);
            if (c.select != -2) channel->setCurrentIndex(c.select);
            ASSERT_TRUE(testsupport::WaitFor([&] { return !guard->isActive(); }));
            line_->SetFault(c.fault, 1, c.fault == sim::Fault::ShortValid ? 8 : 0);
            ClickIn(d, c.button);
            line_->ClearFault();
            EXPECT_EQ(TakeSent(), c.sent);
            EXPECT_EQ(BoxTexts(boxes_), c.box);
            if (!c.box.isEmpty()) {
                const bool ok = c.box.endsWith("成功");
                EXPECT_EQ(boxes_.Only().caption, ok ? "提示" : "警告");
                EXPECT_EQ(boxes_.Only().icon, ok ? BoxIcon::None : BoxIcon::Question);
            }
            EXPECT_EQ(Find<QLineEdit>(d, QString::number(c.field))->text(), c.shown);
        }
        EXPECT_TRUE(channel->isEnabled());
        EXPECT_EQ(device_->Channel(), 12);
        EXPECT_EQ(dialog_->Gateway().sleepTime, 30);
        // The climate button acts once per 600 ms.
        ASSERT_TRUE(testsupport::WaitFor([&] { return !guard->isActive(); }));
        ClickIn(d, 1051);
        ClickIn(d, 1051);
        EXPECT_EQ(TakeSent().size(), 1u);
    });
}
