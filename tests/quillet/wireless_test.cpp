// The wireless dialog against the simulated gateway: node buttons and their bitmap, the
// relay block of a configure reply, tabs, sleep time, channel, temperature/humidity and the
// relay page, with the frames on the wire and the boxes shown.
#include <QMessageBox>
#include <QTabWidget>
#include <functional>
#include <optional>

#include "clear_device_dialog.h"
#include "colour_slot_button.h"
#include "quillet_fixture.h"
#include "wireless_dialog.h"
#include "wireless_network_page.h"

using namespace quillettest;
using namespace protocol;
using quillet::WirelessDialog;
using quillet::WirelessNetworkPage;
using sim::Fault;
using testsupport::Find;
using ui::BoxAnswer;

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

QColor NodeColour(QWidget* scope, int address) {
    auto* node = Find<controls::ColourSlotButton>(scope, QString::number(1138 + address));
    return node ? node->SlotColour(2) : QColor();
}

// The texts of the boxes shown, joined by " | ". Each box must carry its kind's caption and
// icon: "提示" and none for successes and the clear question, "警告" and the question icon
// for failures.
QString CheckedBoxes(const testsupport::BoxRecorder& boxes) {
    QStringList texts;
    for (const ui::BoxRequest& b : boxes.Boxes()) {
        const bool plain = b.text.endsWith("成功") || b.text == "是否清除本设备？";
        const bool refused = b.text == "请输入数字" || b.text == "数值超出范围";
        EXPECT_EQ(b.caption, plain ? "提示" : "警告") << b.text.toStdString();
        EXPECT_EQ(b.icon, plain     ? ui::BoxIcon::None
                          : refused ? ui::BoxIcon::Warning
                                    : ui::BoxIcon::Question);
        EXPECT_EQ(b.buttons == ui::BoxButtons::YesNo, b.text == "是否清除本设备？");
        texts << b.text;
    }
    return texts.join(" | ");
}

Bytes Configure(int address) {
    return ToBytes(BuildConfigureNode(static_cast<std::uint8_t>(address - 1)));
}

Bytes Clear(int address) {
    return ToBytes(BuildClearNode(static_cast<std::uint8_t>(address - 1)));
}

}  // namespace

TEST_F(QuilletTest, NodeButtonsConfigureAndClearAndRepaintTheBitmap) {
    StartFound(Gateway(true));
    const struct {
        const char* name;
        int address;
        std::optional<BoxAnswer> answer;
        Fault fault;
        int param;
        std::vector<Bytes> sent;
        QString texts;
        bool configured, relayTaken;
    } cases[] = {
        // clang-format off
        {"configure node 1", 1, {}, Fault::None, 0, {Configure(1)}, "配置成功", true, true},
        {"configure node 200", 200, {}, Fault::None, 0, {Configure(200)}, "配置成功", true, true},
        {"否 keeps node 200", 200, BoxAnswer::No, Fault::None, 0, {}, "是否清除本设备？", true, false},
        {"是 clears node 200", 200, BoxAnswer::Yes, Fault::None, 0, {Clear(200)},
         "是否清除本设备？ | 清除配置成功", false, false},
        {"configure unanswered", 5, {}, Fault::Silence, 0, {Configure(5)}, "配置失败，请重新配置", false, false},
        // Valid CRCs, cut to so many bytes: without the 55 AA marker, inside the relay block,
        // inside the bitmap (nothing is taken from that one).
        {"configure reply without marker", 6, {}, Fault::ShortValid, 39, {Configure(6)}, "配置成功", true, false},
        {"configure reply cut in the block", 7, {}, Fault::ShortValid, 44, {Configure(7)}, "配置成功", true, false},
        {"configure reply cut in the bitmap", 8, {}, Fault::ShortValid, 31, {Configure(8)},
         "配置失败，请重新配置", false, false},
        {"clear with a bad crc", 3, BoxAnswer::Yes, Fault::BadCrc, 0, {Clear(3)},
         "是否清除本设备？ | 清除配置失败，请重新配置", true, false},
        // A reply with another command byte (06 -> 07) does not confirm the clearing.
        {"clear answered for another command", 3, BoxAnswer::Yes, Fault::WrongFunction, 3,
         {Clear(3)}, "是否清除本设备？ | 清除配置失败，请重新配置", true, false},
        // clang-format on
    };
    const int shown = Inside<WirelessDialog>(1038, [&](WirelessDialog* d) {
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
            // The device's relay channel moves on; a reply carries it only with a whole block.
            const std::uint8_t before = dialog_->Gateway().relayChannel;
            behind = device_->Gateway();
            behind.relayChannel = static_cast<std::uint8_t>(before + 1);
            device_->SetGateway(behind);
            boxes_.Clear();
            if (c.answer) boxes_.QueueAnswer(*c.answer);
            line_->SetFault(c.fault, 1, c.param);
            ClickIn(d, 1138 + c.address);
            line_->ClearFault();
            EXPECT_EQ(TakeSent(), c.sent);
            EXPECT_EQ(CheckedBoxes(boxes_), c.texts);
            EXPECT_EQ(dialog_->Gateway().NodeConfigured(c.address), c.configured);
            EXPECT_EQ(NodeColour(d, c.address), c.configured ? WirelessNetworkPage::kConfigured
                                                             : WirelessNetworkPage::kUnconfigured);
            EXPECT_EQ(dialog_->Gateway().relayChannel, c.relayTaken ? before + 1 : before);
            // A configure reply changes the stored values only: the relay page's list keeps
            // what it showed.
            EXPECT_EQ(Find<QComboBox>(d, "1075")->currentIndex(), 4);
        }
        EXPECT_EQ(NodeColour(d, 77), WirelessNetworkPage::kConfigured);
        EXPECT_FALSE(device_->Gateway().NodeConfigured(200));
    });
    EXPECT_EQ(shown, 1);
}

TEST_F(QuilletTest, TabsFollowRelaySupportAndModeAndTheRelayPageSendsStoredValues) {
    StartFound(Gateway(true));
    const struct {
        const char* name;
        std::uint8_t support;
        int tabs, current;
        bool networkEnabled;
    } openings[] = {
        {"support flag 0", 0, 1, 0, true},
        {"relay slave", 1, 2, 0, true},  // becomes a relay master here
        {"relay master opens on the relay tab", 1, 2, 1, false},
    };
    const struct {
        const char* name;
        int button;
        Fault fault;
        int param;
        std::vector<Bytes> sent;
        QString texts;
    } relayCases[] = {
        // clang-format off
        // The device's channel, beyond the list's 32, is read, stored and sent back as it came.
        {"read", 1078, Fault::None, 0, {ToBytes(BuildReadRelay())}, ""},
        {"set", 1079, Fault::None, 0, {ToBytes(BuildWriteRelay(1, 41, 2))}, "配置无线中继参数成功"},
        {"read: command byte not 8", 1078, Fault::WrongFunction, 3, {ToBytes(BuildReadRelay())},
         "读取无线中继参数失败，请重新读取"},
        {"read: cut before the air rate", 1078, Fault::ShortValid, 7, {ToBytes(BuildReadRelay())},
         "读取无线中继参数失败，请重新读取"},
        {"set: silence", 1079, Fault::Silence, 0, {ToBytes(BuildWriteRelay(1, 41, 2))},
         "配置无线中继参数失败，请重新配置"},
        {"set: command byte not 8", 1079, Fault::WrongFunction, 3,
         {ToBytes(BuildWriteRelay(1, 41, 2))}, "配置无线中继参数失败，请重新配置"},
        {"set: markers only", 1079, Fault::ShortValid, 3, {ToBytes(BuildWriteRelay(1, 41, 2))},
         "配置无线中继参数失败，请重新配置"},
        // clang-format on
    };
    for (const auto& o : openings) {
        SCOPED_TRACE(o.name);
        GatewayState behind = device_->Gateway();
        behind.relaySupport = o.support;
        device_->SetGateway(behind);
        const int shown = Inside<WirelessDialog>(1038, [&](WirelessDialog* d) {
            EXPECT_EQ(d->Tabs()->count(), o.tabs);
            EXPECT_EQ(d->Tabs()->tabText(o.tabs - 1),
                      o.tabs == 2 ? "无线中继参数  " : "无线组网参数  ");
            EXPECT_EQ(d->Tabs()->currentIndex(), o.current);
            EXPECT_EQ(d->NetworkPage()->isEnabled(), o.networkEnabled);
            if (o.tabs == 1) return;
            auto* mode = Find<QComboBox>(d, "1076");
            auto* channel = Find<QComboBox>(d, "1075");
            if (o.current == 0) {
                EXPECT_EQ(channel->currentText(), "信道5");  // index 4
                EXPECT_EQ(Find<QComboBox>(d, "1077")->currentText(), "9600");
                mode->setCurrentIndex(1);
                emit mode->activated(1);  // as a user's choice
                EXPECT_FALSE(d->NetworkPage()->isEnabled());
                ClickIn(d, 1079);
                behind = device_->Gateway();
                behind.relayChannel = 40;
                device_->SetGateway(behind);
                return;
            }
            behind = device_->Gateway();
            behind.relayChannel = 41;
            device_->SetGateway(behind);
            TakeSent();
            for (const auto& c : relayCases) {
                SCOPED_TRACE(c.name);
                boxes_.Clear();
                line_->SetFault(c.fault, 1, c.param);
                ClickIn(d, c.button);
                EXPECT_EQ(TakeSent(), c.sent);
                EXPECT_EQ(CheckedBoxes(boxes_), c.texts);
                EXPECT_EQ(mode->currentText(), "中继主站");
                EXPECT_EQ(channel->currentIndex(), -1);
            }
        });
        EXPECT_EQ(shown, 1);
    }
    EXPECT_EQ(device_->Gateway().relayMode, 1);
}

// Only the user's own choice of relay mode switches the network page: a relay read stores and
// shows the device's values, a configure-node reply stores them, and neither touches the page.
TEST_F(QuilletTest, OnlyTheUsersModeChoiceSwitchesTheNetworkPage) {
    StartFound(Gateway(true));
    const int shown = Inside<WirelessDialog>(1038, [&](WirelessDialog* d) {
        auto* mode = Find<QComboBox>(d, "1076");
        auto* channel = Find<QComboBox>(d, "1075");
        auto* rate = Find<QComboBox>(d, "1077");
        ASSERT_TRUE(d->NetworkPage()->isEnabled());
        GatewayState behind = device_->Gateway();
        behind.relayMode = 1;  // the device is a relay master now
        behind.relayChannel = 9;
        behind.airRate = 0;
        device_->SetGateway(behind);

        ClickIn(d, 1078);
        EXPECT_EQ(mode->currentText(), "中继主站");
        EXPECT_EQ(channel->currentText(), "信道10");
        EXPECT_EQ(rate->currentText(), "2400");
        EXPECT_EQ(dialog_->Gateway().relayMode, 1);
        EXPECT_TRUE(d->NetworkPage()->isEnabled());
        EXPECT_EQ(d->Tabs()->currentIndex(), 0);

        const struct {
            int index;
            bool enabled;
        } choices[] = {{1, false}, {0, true}, {1, false}, {0, true}};
        for (const auto& c : choices) {
            mode->setCurrentIndex(c.index);
            emit mode->activated(c.index);  // as a user's choice
            EXPECT_EQ(d->NetworkPage()->isEnabled(), c.enabled) << c.index;
            EXPECT_EQ(dialog_->Gateway().relayMode, c.index);
        }

        behind = device_->Gateway();
        behind.relayChannel = 12;
        device_->SetGateway(behind);
        boxes_.Clear();
        ClickIn(d, 1139 + 9);  // configures node 10; the reply brings mode 1, channel 12
        EXPECT_EQ(boxes_.Texts(), "提示: 配置成功");
        EXPECT_EQ(dialog_->Gateway().relayMode, 1);
        EXPECT_EQ(dialog_->Gateway().relayChannel, 12);
        EXPECT_EQ(mode->currentText(), "中继从站");
        EXPECT_EQ(channel->currentText(), "信道10");
        EXPECT_TRUE(d->NetworkPage()->isEnabled());
    });
    EXPECT_EQ(shown, 1);
}

// The clear question as the user sees it: "是" (1050) and "否" (1051) by their ids; Esc, the
// close button and Return (its default button is "否") keep the node.
TEST(ClearDeviceDialog, OnlyYesClearsAndTheButtonsCarryTheirIds) {
    const struct {
        const char* name;
        std::function<void(QMessageBox*)> answer;
        std::uint8_t result;
    } cases[] = {
        {"是", [](QMessageBox* b) { Find<QPushButton>(b, "1050")->click(); }, 1},
        {"否", [](QMessageBox* b) { Find<QPushButton>(b, "1051")->click(); }, 0},
        {"Esc", [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, 0},
        {"Return", [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }, 0},
        {"close button", [](QMessageBox* b) { b->close(); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        QString yes, no, caption, text;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            poll.stop();
            auto* y = Find<QPushButton>(box, "1050");
            auto* n = Find<QPushButton>(box, "1051");
            yes = y ? y->text() : QString();
            no = n ? n->text() : QString();
            caption = box->windowTitle();
            text = box->text();
            if (y && n) c.answer(box);
        });
        poll.start(10);
        EXPECT_EQ(quillet::ClearDeviceDialog(&owner).Exec(), c.result);
        EXPECT_EQ(yes, "是");
        EXPECT_EQ(no, "否");
        EXPECT_EQ(caption, "提示");
        EXPECT_EQ(text, "是否清除本设备？");
    }
}

TEST_F(QuilletTest, NetworkPageSleepTimeChannelAndClimate) {
    StartFound(Gateway(false));
    device_->Registers().SetRegister(1, 0xFFEC);
    device_->Registers().SetRegister(0, 550);
    const struct {
        const char* name;
        int button;
        const char* entry;  // typed into 1048 first
        int select;         // chosen in 1049 first (-2: no choice)
        Fault fault;
        std::vector<Bytes> sent;
        QString texts;
        int field;
        QString shown;
    } cases[] = {
        // clang-format off
        {"sleep read", 1091, nullptr, -2, Fault::None, {ToBytes(BuildReadSleepTime())}, "", 1048, "60"},
        {"sleep 70000 refused", 1093, "70000", -2, Fault::None, {}, "数值超出范围", 1048, "70000"},
        {"sleep beyond 32 bits", 1093, "99999999999", -2, Fault::None, {}, "数值超出范围", 1048, "99999999999"},
        {"sleep not a number", 1093, "60s", -2, Fault::None, {}, "请输入数字", 1048, "60s"},
        {"sleep 65535", 1093, "65535", -2, Fault::None, {ToBytes(BuildWriteSleepTime(65535))},
         "配置休眠时间成功", 1048, "65535"},
        {"sleep read back", 1091, nullptr, -2, Fault::None, {ToBytes(BuildReadSleepTime())}, "", 1048, "65535"},
        {"sleep read fails", 1091, nullptr, -2, Fault::BadCrc, {ToBytes(BuildReadSleepTime())},
         "读取休眠失败，请重新读取", 1048, "65535"},
        {"sleep set answered for another command", 1093, "45", -2, Fault::WrongFunction,
         {ToBytes(BuildWriteSleepTime(45))}, "配置休眠时间失败，请重新配置", 1048, "45"},
        {"sleep set fails", 1093, "30", -2, Fault::Silence, {ToBytes(BuildWriteSleepTime(30))},
         "配置休眠时间失败，请重新配置", 1048, "30"},
        {"channel read fails", 1090, nullptr, -2, Fault::Silence, {ToBytes(BuildReadChannel())},
         "读取信道失败，请重新读取", 1052, ""},
        // Channel 70 is beyond the list: none selected, and a set sends nothing.
        {"channel outside the list", 1090, nullptr, -2, Fault::None, {ToBytes(BuildReadChannel())}, "", 1052, ""},
        {"channel set without a choice", 1092, nullptr, -2, Fault::None, {}, "参数错误", 1052, ""},
        {"channel 12", 1092, nullptr, 12, Fault::None, {ToBytes(BuildWriteChannel(12))}, "配置信道成功", 1052, ""},
        {"channel set fails", 1092, nullptr, 12, Fault::BadCrc, {ToBytes(BuildWriteChannel(12))},
         "配置信道失败，请重新配置", 1052, ""},
        {"channel set answered for another command", 1092, nullptr, 12, Fault::WrongFunction,
         {ToBytes(BuildWriteChannel(12))}, "配置信道失败，请重新配置", 1052, ""},
        {"climate", 1051, nullptr, -2, Fault::None, {ToBytes(BuildReadClimate())}, "", 1052, "-2.0℃  55.0 %RH"},
        {"climate cut before humidity", 1051, nullptr, -2, Fault::ShortValid, {ToBytes(BuildReadClimate())},
         "", 1052, ""},
        // clang-format on
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
            // A short reply is cut at 8 bytes; a wrong one has another command byte.
            const int param = c.fault == Fault::ShortValid      ? 8
                              : c.fault == Fault::WrongFunction ? 3
                                                                : 0;
            line_->SetFault(c.fault, 1, param);
            ClickIn(d, c.button);
            line_->ClearFault();
            EXPECT_EQ(TakeSent(), c.sent);
            EXPECT_EQ(CheckedBoxes(boxes_), c.texts);
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
