// The LCD/relay and light-threshold dialogs: frames on the wire, echo checks, the relay
// failure texts, the mode-4 enabling and the busy flag they share with the main dialog.
#include "config_frames.h"
#include "lcd_control_dialog.h"
#include "light_threshold_dialog.h"
#include "quillet_fixture.h"
#include "register_frames.h"

using namespace quillettest;
using quillet::LcdControlDialog;
using quillet::LightThresholdDialog;
using testsupport::Find;
using ui::BoxIcon;

namespace {

const std::vector<int> kRelayControls = {1058, 1060, 1062, 1063, 1064, 1065, 1066, 1067};
constexpr sim::Fault kOk = sim::Fault::None;
constexpr sim::Fault kSilent = sim::Fault::Silence;
constexpr sim::Fault kDiffers = sim::Fault::WrongFunction;  // valid CRC, one byte off

struct Box {
    QString text{};  // empty: no box at all
    QString caption{};
    BoxIcon icon = BoxIcon::None;
};

struct Step {
    const char* name = "";
    int button = 0;
    sim::Fault fault = kOk;
    int param = 0;  // of the fault
    std::vector<Bytes> sent{};
    Box box{};
    int field = 0;  // checked afterwards when nonzero
    QString shown{};
    const char* entry = nullptr;  // typed into `field` first
};

Box RelayFailure(const char* text) {
    return {text, "继电器控制", BoxIcon::Question};
}

Bytes Write(std::uint16_t reg, std::uint16_t value) {
    return ToBytes(protocol::BuildWriteRegister(7, reg, value));
}

Bytes Read(std::uint16_t reg) {
    return ToBytes(protocol::BuildReadRegisters(7, reg, 1));
}

Bytes ReadLight(std::uint8_t code) {
    return ToBytes(protocol::BuildConfigRead(code));
}

Bytes WriteLight(std::uint8_t code, std::uint16_t value) {
    return ToBytes(protocol::BuildConfigWrite(code, value));
}

}  // namespace

class SmallDialogTest : public QuilletTest {
  protected:
    // Runs each step in the open dialog `d`: waits for the busy flag, types, clicks, and
    // checks what went out, the one box (if any) and the field.
    void RunSteps(QWidget* d, const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            SCOPED_TRACE(s.name);
            boxes_.Clear();
            ASSERT_TRUE(testsupport::WaitFor([&] { return !dialog_->Busy().IsSet(); }));
            if (s.entry) Find<QLineEdit>(d, QString::number(s.field))->setText(s.entry);
            line_->SetFault(s.fault, 1, s.param);
            Find<QPushButton>(d, QString::number(s.button))->click();
            line_->ClearFault();
            EXPECT_EQ(TakeSent(), s.sent);
            if (s.box.text.isEmpty()) {
                EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
            } else {
                const ui::BoxRequest box = boxes_.Only();
                EXPECT_EQ(box.text, s.box.text);
                EXPECT_EQ(box.caption, s.box.caption);
                EXPECT_EQ(box.icon, s.box.icon);
            }
            if (s.field) {
                EXPECT_EQ(Find<QLineEdit>(d, QString::number(s.field))->text(), s.shown);
            }
        }
    }
};

TEST_F(SmallDialogTest, LcdDialogEnablesTheRelaysInMode4AndChecksEveryEcho) {
    StartFound(FrameDevice(2400, 7));
    const Box refused{"参数错误", "警告", BoxIcon::Question};
    // clang-format off
    const std::vector<Step> steps = {
        {"relay 1 on", 1062, kOk, 0, {Write(0x2F, 1)}},
        {"relay 1 reads closed", 1060, kOk, 0, {Read(0x2F)}, {}, 1058, "闭合"},
        {"relay 1 off", 1067, kOk, 0, {Write(0x2F, 0)}},
        {"relay 1 reads open", 1060, kOk, 0, {Read(0x2F)}, {}, 1058, "断开"},
        {"relay 1 off unanswered", 1067, kSilent, 0, {Write(0x2F, 0)}, RelayFailure("继电器控1制失败")},
        {"relay 1 off not echoed", 1067, kDiffers, 5, {Write(0x2F, 0)}, RelayFailure("继电器1控制失败")},
        {"relay 1 on unanswered", 1062, kSilent, 0, {Write(0x2F, 1)}, RelayFailure("继电器控制1失败")},
        {"relay 1 on not echoed", 1062, kDiffers, 0, {Write(0x2F, 1)}, RelayFailure("继电器控制1失败")},
        {"relay 2 on", 1065, kOk, 0, {Write(0x30, 1)}},
        {"relay 2 reads closed", 1064, kOk, 0, {Read(0x30)}, {}, 1063, "闭合"},
        {"relay 2 query unanswered", 1064, kSilent, 0, {Read(0x30)}, {}, 1063, " "},
        {"relay 2 off not echoed", 1066, kDiffers, 0, {Write(0x30, 0)}, RelayFailure("继电器2控制失败")},
        {"relay 2 on unanswered", 1065, kSilent, 0, {Write(0x30, 1)}, RelayFailure("继电器2控制失败")},
        {"mode 4", 1059, kOk, 0, {Write(0x2D, 4)}, {"模式下载成功", "下载工作模式"}},
        {"mode not echoed", 1059, kDiffers, 5, {Write(0x2D, 4)}, {"模式下载失败", "下载工作模式", BoxIcon::Question}},
    };
    // clang-format on
    const int shown = Inside<LcdControlDialog>(1052, [&](LcdControlDialog* d) {
        EXPECT_EQ(d->windowTitle(), "液晶控制");
        auto* mode = Find<QComboBox>(d, "1057");
        EXPECT_EQ(mode->currentIndex(), -1);
        RunSteps(d, {{"mode without a choice sends nothing", 1059, kOk, 0, {}, refused}});
        for (int index : {-1, 0, 1, 2, 3, 2, 3}) {
            mode->setCurrentIndex(index);
            for (int id : kRelayControls)
                EXPECT_EQ(Find<QWidget>(d, QString::number(id))->isEnabled(), index == 3)
                    << index << " " << id;
        }
        RunSteps(d, steps);
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(device_->Registers().Register(0x2D), 4);
    EXPECT_EQ(device_->Registers().Register(0x30), 1);
}

TEST_F(SmallDialogTest, LightThresholdsReadAndWriteWithAnEcho) {
    StartFound(FrameDevice(2400, 7));
    device_->SetParameter(13, 1234);
    const BoxIcon q = BoxIcon::Question;
    const BoxIcon w = BoxIcon::Warning;
    // clang-format off
    const std::vector<Step> steps = {
        {"upper read", 1073, kOk, 0, {ReadLight(13)}, {}, 1070, "1234"},
        {"upper 70000 refused", 1074, kOk, 0, {}, {"数值超出范围", "警告", w}, 1070, "70000", "70000"},
        {"upper 65535", 1074, kOk, 0, {WriteLight(13, 65535)}, {"光照度上限下载成功", "光照度上限设置"}, 1070, "65535", "65535"},
        {"upper read back", 1073, kOk, 0, {ReadLight(13)}, {}, 1070, "65535"},
        {"lower no number", 1076, kOk, 0, {}, {"请输入数字", "警告", w}, 1071, "12abc", "12abc"},
        {"lower read unanswered", 1075, kSilent, 0, {ReadLight(14)}, {}, 1071, " "},
        // Right CRC, one value byte off: not the echo.
        {"lower not echoed", 1076, kDiffers, 6, {WriteLight(14, 50)}, {"光照度下限下载失败", "光照度下限设置", q}, 1071, "50", "50"},
        {"hysteresis unanswered", 1078, kSilent, 0, {WriteLight(15, 7)}, {"光照度回差下载失败", "光照度回差设置", q}, 1072, "7", "7"},
        {"hysteresis", 1078, kOk, 0, {WriteLight(15, 7)}, {"光照度回差下载成功", "光照度回差设置"}, 1072, "7"},
        {"hysteresis beyond 16 bits", 1078, kOk, 0, {}, {"数值超出范围", "警告", w}, 1072, "99999999999", "99999999999"},
        {"hysteresis negative", 1078, kOk, 0, {}, {"数值超出范围", "警告", w}, 1072, "-1", "-1"},
    };
    // clang-format on
    const int shown = Inside<LightThresholdDialog>(1069, [&](LightThresholdDialog* d) {
        EXPECT_EQ(d->windowTitle(), "光照度参数设置");
        RunSteps(d, steps);
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(device_->Parameter(13), 65535);
    EXPECT_EQ(device_->Parameter(15), 7);
}

// The thresholds want the device's echo byte for byte; its 11-byte report is not one.
TEST_F(SmallDialogTest, LightThresholdAnsweredWithTheLongReportFails) {
    sim::TransmitterConfig config = FrameDevice(2400, 7);
    config.reportParameterWrites = true;
    StartFound(config);
    const std::vector<Step> steps = {{"upper",
                                      1074,
                                      kOk,
                                      0,
                                      {WriteLight(13, 500)},
                                      {"光照度上限下载失败", "光照度上限设置", BoxIcon::Question},
                                      1070,
                                      "500",
                                      "500"}};
    Inside<LightThresholdDialog>(1069, [&](LightThresholdDialog* d) { RunSteps(d, steps); });
}

TEST_F(SmallDialogTest, BusyFlagSpansTheMainAndTheSmallDialogs) {
    StartFound(FrameDevice(2400, 7));
    auto* clock = dialog_->findChild<QTimer*>("timer1");
    ASSERT_TRUE(testsupport::WaitFor([this] { return !dialog_->Busy().IsSet(); }));
    clock->stop();  // the flag now clears only when the test lets the clock run
    Click(1005);    // a query of the main dialog takes the flag
    EXPECT_EQ(TakeSent().size(), 1u);
    Inside<LcdControlDialog>(1052, [&](LcdControlDialog* d) {
        Find<QComboBox>(d, "1057")->setCurrentIndex(3);  // a choice sends nothing: not held back
        EXPECT_TRUE(Find<QWidget>(d, "1060")->isEnabled());
        for (int id : {1059, 1060, 1062, 1064, 1065, 1066, 1067})
            Find<QPushButton>(d, QString::number(id))->click();
    });
    Inside<LightThresholdDialog>(1069, [&](LightThresholdDialog* d) {
        for (int id : {1073, 1074, 1075, 1076, 1077, 1078})
            Find<QPushButton>(d, QString::number(id))->click();
    });
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();

    // One tick later a small dialog takes the flag, and the main dialog waits for it.
    clock->start();
    ASSERT_TRUE(testsupport::WaitFor([this] { return !dialog_->Busy().IsSet(); }));
    Inside<LightThresholdDialog>(1069, [&](LightThresholdDialog* d) {
        Find<QPushButton>(d, "1073")->click();
        clock->stop();
        Find<QPushButton>(d, "1075")->click();
    });
    Click(1005);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildConfigRead(13))});
}
