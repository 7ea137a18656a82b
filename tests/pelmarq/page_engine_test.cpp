// The page engine on a page made up for the test: control names, the sensor-type switch,
// validated fields, two-register values and hidden rows, against a simulated device.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "device_page.h"
#include "register_device.h"
#include "simulated_line.h"
#include "ui_test_support.h"

using namespace pages;
using testsupport::Find;

namespace {

PageSpec TestSpec() {
    Row scaled{"系数", "", 0, 0, 0, 0x20, Encoding::Scaled, Access::ReadWrite, kPolled};
    scaled.factor = 0.0205;
    scaled.decimals = 2;
    scaled.multiplier = 100;
    return {.rows = {{"温度", "℃", 0, 0, 0, 0x01, Encoding::Tenths, Access::Read,
                      kPolled | kTempHumidity},
                     {"湿度：", "%RH", 0, 0, 0, 0x00, Encoding::Tenths, Access::ReadWrite,
                      kPolled | kTempHumidity},
                     {"CO2", "ppm", 0, 0, 0, 0x02, Encoding::UInt, Access::Read, kPolled},
                     scaled,
                     {"RegEn", "", 0, 0, 0, 0x10, Encoding::Bool01, Access::ReadWrite, kHidden},
                     {"累计", "", 0, 0, 0, 0x11, Encoding::UInt32, Access::ReadWrite},
                     {"系数A", "", 0, 0, 0, 0x13, Encoding::Float, Access::ReadWrite},
                     {"CO2", "ppm", 0, 0, 0, 0x15, Encoding::Int, Access::ReadWrite}},
            .realtime = {0, "实时"},
            .sensorType = true};
}

class PageEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::RegisterDeviceConfig config;
        config.address = 1;
        device = std::make_shared<sim::RegisterDevice>(config, sim::RegisterMap{{0, 500},
                                                                                {1, 200},
                                                                                {2, 450},
                                                                                {0x10, 0},
                                                                                {0x11, 0},
                                                                                {0x12, 0},
                                                                                {0x13, 0},
                                                                                {0x14, 0},
                                                                                {0x15, 9},
                                                                                {0x20, 1000}});
        line = std::make_unique<sim::SimulatedLine>(device);
        ASSERT_EQ(link.Reopen(line->Path(), 9600), 1);
        link.SetDeviceAddress(1);
        page = std::make_unique<DevicePage>(link, TestSpec());
        page->SetSensorTypes({"单二氧化碳浓度", "二氧化碳温湿度一体"}, 1);
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(page.get(), name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(page.get(), name); }

    testsupport::BoxRecorder boxes;
    std::shared_ptr<sim::RegisterDevice> device;
    std::unique_ptr<sim::SimulatedLine> line;
    transport::SerialLink link;
    std::unique_ptr<DevicePage> page;
};

}  // namespace

TEST_F(PageEngineTest, ControlsWithoutIdsAreNamedByCaptionAndRole) {
    for (const char* name : {"温度:edit", "温度:query", "湿度:edit", "湿度:set", "CO2:edit",
                             "CO2#2:edit", "CO2#2:set", "RegEn:set", "系数A:set"})
        EXPECT_NE(page->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_NE(Find<QCheckBox>(page.get(), "实时"), nullptr);
    EXPECT_NE(Find<QComboBox>(page.get(), "传感器类型:combo"), nullptr);
    EXPECT_EQ(Button("温度:set"), nullptr);  // read-only rows have no set button
}

TEST_F(PageEngineTest, GasOnlyTypeBlanksAndDisablesTheTempHumidityRows) {
    auto* combo = Find<QComboBox>(page.get(), "传感器类型:combo");
    Edit("温度:edit")->setText("20.0");
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(Edit("温度:edit")->text(), " ");
    EXPECT_EQ(Edit("湿度:edit")->text(), " ");
    EXPECT_FALSE(Button("温度:query")->isEnabled());
    EXPECT_FALSE(Button("湿度:set")->isEnabled());
    EXPECT_TRUE(Button("CO2:query")->isEnabled());
    page->Poll();
    ASSERT_EQ(line->Received().size(), 2u);  // CO2 and the coefficient only
    EXPECT_EQ(Edit("CO2:edit")->text(), "450");
    EXPECT_EQ(Edit("系数:edit")->text(), "20.50");
    // Back to the type with temperature/humidity: enabled again, not cleared.
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_TRUE(Button("温度:query")->isEnabled());
    EXPECT_EQ(Edit("温度:edit")->text(), " ");
    // Real time locks the polled queries and the type, not the sets.
    Find<QCheckBox>(page.get(), "实时")->click();
    EXPECT_FALSE(Button("温度:query")->isEnabled());
    EXPECT_FALSE(combo->isEnabled());
    EXPECT_TRUE(Button("湿度:set")->isEnabled());
    EXPECT_TRUE(Button("累计:query")->isEnabled());
}

TEST_F(PageEngineTest, ValidatedFieldsTakeZeroOrOneOnly) {
    const struct {
        const char* entry;
        const char* box;
        int value;  // written; -1: nothing sent
    } cases[] = {
        {"1", "写入成功", 1},      {"0", "写入成功", 0},   {"1.5", "写入成功", 1},
        {"-0.5", "写入成功", 0},   {"2", "非法输入", -1},  {"-1", "非法输入", -1},
        {"1e999", "非法输入", -1}, {"", "请输入数字", -1}, {"x", "请输入数字", -1},
        {"1 1", "请输入数字", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        boxes.Clear();
        line->ClearReceived();
        device->SetRegister(0x10, 7);
        Edit("RegEn:edit")->setText(c.entry);
        Button("RegEn:set")->click();
        EXPECT_EQ(boxes.Only().text, c.box);
        if (c.value >= 0) {
            EXPECT_EQ(line->Received().size(), 1u);
            EXPECT_EQ(device->Register(0x10), c.value);
        } else {
            EXPECT_TRUE(line->Received().empty());
            EXPECT_EQ(boxes.Only().caption, "警告");
            EXPECT_EQ(boxes.Only().icon, ui::BoxIcon::Warning);
        }
    }
    EXPECT_FALSE(Edit("RegEn:edit")->isVisible());
}

TEST_F(PageEngineTest, TwoRegisterValuesGoOutHighWordFirstWithFunction16) {
    Edit("系数A:edit")->setText("0.95");
    Button("系数A:set")->click();
    const sim::Bytes frame = line->Received().back();
    EXPECT_EQ(sim::Bytes(frame.begin() + 7, frame.begin() + 11),
              (sim::Bytes{0x3F, 0x73, 0x33, 0x33}));
    EXPECT_EQ(frame[1], 0x10);
    EXPECT_EQ(boxes.Only().icon,
              ui::BoxIcon::Warning);  // a float write succeeds with a warning icon
    Button("系数A:query")->click();
    EXPECT_EQ(Edit("系数A:edit")->text(), "0.950000");

    boxes.Clear();
    Edit("累计:edit")->setText("4294967295");
    Button("累计:set")->click();
    EXPECT_EQ(device->Register(0x11), 0xFFFF);
    EXPECT_EQ(device->Register(0x12), 0xFFFF);
    device->SetRegister(0x11, 0x8000);
    device->SetRegister(0x12, 0x0001);
    Button("累计:query")->click();
    EXPECT_EQ(Edit("累计:edit")->text(), "2147483649");
}

// A refused entry sends nothing; a write counts only when the device's reply names it.
TEST_F(PageEngineTest, TwoRegisterWritesSendOnlyWhatWasTypedAndNeedTheFullReply) {
    const struct {
        const char* row;
        const char* entry;
        sim::Fault fault;
        int param;
        const char* box;
        bool sent;
    } cases[] = {
        {"累计", "4294967296", sim::Fault::None, 0, "数值超出范围", false},
        {"累计", "-1", sim::Fault::None, 0, "数值超出范围", false},
        {"累计", "12,5", sim::Fault::None, 0, "请输入数字", false},
        {"系数A", "1e39", sim::Fault::None, 0, "数值超出范围", false},
        {"系数A", "nan", sim::Fault::None, 0, "请输入数字", false},
        {"系数A", "", sim::Fault::None, 0, "请输入数字", false},
        {"系数A", "1.5", sim::Fault::ShortValid, 2, "返回值错误或设备未响应", true},  // 01 10 CRC
        {"系数A", "1.5", sim::Fault::ShortValid, 4, "返回值错误或设备未响应", true},
        {"累计", "7", sim::Fault::WrongFunction, 3, "返回值错误或设备未响应", true},  // register
        {"累计", "7", sim::Fault::WrongFunction, 5, "返回值错误或设备未响应", true},  // quantity
        {"累计", "7", sim::Fault::DoubleReply, 0, "接收与发送数据不一致", true},
        {"累计", "7", sim::Fault::None, 0, "写入成功", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " '" + c.entry + "'");
        boxes.Clear();
        line->ClearReceived();
        line->SetFault(c.fault, 1, c.param);
        const std::string name(c.row);
        Edit((name + ":edit").c_str())->setText(c.entry);
        Button((name + ":set").c_str())->click();
        EXPECT_EQ(line->Received().size(), c.sent ? 1u : 0u);
        EXPECT_EQ(boxes.Only().text, c.box);
        EXPECT_EQ(boxes.Only().caption, c.sent && c.fault == sim::Fault::None ? "" : "警告");
        line->ClearFault();
    }
    // A write the device refuses with an exception reply is a failure too.
    boxes.Clear();
    auto other = std::make_unique<DevicePage>(
        link, PageSpec{.rows = {{"缺", "", 0, 0, 0, 0x40, Encoding::Float, Access::ReadWrite}}});
    Find<QLineEdit>(other.get(), "缺:edit")->setText("1");
    Find<QPushButton>(other.get(), "缺:set")->click();
    EXPECT_EQ(boxes.Only().text, "返回值错误或设备未响应");
}

TEST_F(PageEngineTest, IntFieldKeepsItsTextOnAFailedQuery) {
    Edit("CO2#2:edit")->setText("keep");
    line->SetFault(sim::Fault::Silence);
    Button("CO2#2:query")->click();
    EXPECT_EQ(Edit("CO2#2:edit")->text(), "keep");
    EXPECT_EQ(boxes.Only().text, "读取格式错误");
    line->ClearFault();
    Button("CO2#2:query")->click();
    EXPECT_EQ(Edit("CO2#2:edit")->text(), "9");
}
