// The temperature/humidity and alarm pages against a simulated device: register maps, the
// field helpers' boxes for every status, and the real-time variants.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "alarm_pages.h"
#include "register_device.h"
#include "simulated_line.h"
#include "temp_humidity_pages.h"
#include "ui_test_support.h"

using testsupport::Find;

namespace {

class PageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::RegisterDeviceConfig config;
        config.address = 3;
        config.baud = 9600;
        device = std::make_shared<sim::RegisterDevice>(config, sim::RegisterMap{{0, 553},
                                                                                {1, 236},
                                                                                {2, 1},
                                                                                {3, 0},
                                                                                {48, 350},
                                                                                {49, 50},
                                                                                {50, 10},
                                                                                {53, 800},
                                                                                {54, 200},
                                                                                {55, 30},
                                                                                {80, 0},
                                                                                {81, 0}});
        line = std::make_unique<sim::SimulatedLine>(device);
        ASSERT_EQ(link.Reopen(line->Path(), 9600), 1);
        link.SetDeviceAddress(3);
    }

    testsupport::BoxRecorder boxes;
    std::shared_ptr<sim::RegisterDevice> device;
    std::unique_ptr<sim::SimulatedLine> line;
    transport::SerialLink link;
};

template <class P>
std::unique_ptr<P> Open(transport::SerialLink& link) {
    return std::make_unique<P>(link);
}

}  // namespace

TEST_F(PageTest, QueriesShowEachRegisterAsItsPageSays) {
    pages::TemperaturePage temperature(link);
    pages::TempHumidityPage th(link);
    pages::TempHumidityBoardPage board(link);
    pages::WaterLeakPage leak(link);
    pages::SmokePage smoke(link);
    pages::IntrusionPage intrusion(link);
    const struct {
        QWidget* page;
        const char* query;
        const char* edit;
        std::uint16_t reg;
        std::uint16_t value;
        const char* text;
    } rows[] = {
        {&temperature, "1010", "1009", 1, 0xFF9C, "-10.0"},
        {&th, "1010", "1014", 1, 236, "23.6"},
        {&th, "1013", "1012", 0, 553, "55.3"},
        {&board, "1410", "1407", 1, 0x8000, "-3276.8"},
        {&board, "1348", "1054", 0, 1000, "100.0"},
        {&board, "1411", "1408", 48, 355, "35.5"},
        {&board, "1058", "1057", 49, 0xFFCE, "-5.0"},
        {&board, "1060", "1059", 50, 15, "1.5"},
        {&board, "1062", "1409", 53, 800, "80.0"},
        {&board, "1064", "1063", 54, 200, "20.0"},
        {&board, "1066", "1065", 55, 30, "3.0"},
        {&board, "1068", "1067", 80, 0xFFFF, "-0.1"},
        {&board, "1070", "1069", 81, 12, "1.2"},
        {&leak, "1029", "1028", 2, 1, "正常"},
        {&leak, "1029", "1028", 2, 2, "警告"},
        {&leak, "1029", "1028", 2, 0, "err"},
        {&smoke, "1020", "1019", 3, 0, "正常"},
        {&smoke, "1020", "1019", 3, 1, "警告"},
        {&smoke, "1020", "1019", 3, 2, "err"},
        {&intrusion, "1026", "1025", 3, 1, "警告"},
        {&intrusion, "1026", "1025", 3, 0xFFFF, "err"},
    };
    for (const auto& r : rows) {
        device->SetRegister(r.reg, r.value);
        line->ClearReceived();
        Find<QPushButton>(r.page, r.query)->click();
        EXPECT_EQ(Find<QLineEdit>(r.page, r.edit)->text(), r.text) << r.query;
        ASSERT_EQ(line->Received().size(), 1u) << r.query;
        const protocol::Frame expected = protocol::BuildReadRegisters(3, r.reg, 1);
        EXPECT_EQ(line->Received()[0], sim::Bytes(expected.data(), expected.data() + expected.size))
            << r.query;
    }
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();
}

TEST_F(PageTest, BoardSetsWriteTenthsToTheirRegisters) {
    pages::TempHumidityBoardPage board(link);
    const struct {
        const char* set;
        const char* edit;
        const char* entry;
        std::uint16_t reg;
        std::uint16_t value;            // the register afterwards
        const char* refused = nullptr;  // the box of an entry that cannot go out
    } rows[] = {
        {"1399", "1408", "35.5", 48, 355},
        {"1400", "1057", "-5.5", 49, 65481},
        {"1401", "1059", "2.3", 50, 23},
        {"1402", "1409", "4.35", 53, 43},
        {"1403", "1063", "", 54, 200, "请输入数字"},
        {"1404", "1065", "abc", 55, 30, "请输入数字"},
        {"1405", "1067", "-1.5", 80, 0xFFF1},
        {"1406", "1069", "1e30", 81, 0, "数值超出范围"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.set) + " '" + r.entry + "'");
        boxes.Clear();
        line->ClearReceived();
        Find<QLineEdit>(&board, r.edit)->setText(r.entry);
        Find<QPushButton>(&board, r.set)->click();
        EXPECT_EQ(device->Register(r.reg), r.value);
        const ui::BoxRequest box = boxes.Only();
        if (r.refused) {
            EXPECT_TRUE(line->Received().empty());
            EXPECT_EQ(box.text, r.refused);
            EXPECT_EQ(box.caption, "警告");
            EXPECT_EQ(box.icon, ui::BoxIcon::Warning);
            continue;
        }
        EXPECT_EQ(box.text, "写入成功");
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.icon, ui::BoxIcon::Information);
    }
}

TEST_F(PageTest, EveryStatusHasItsBox) {
    pages::TempHumidityBoardPage board(link);
    auto* edit = Find<QLineEdit>(&board, "1408");
    const struct {
        sim::Fault fault;
        bool closed;
        const char* readText;
        const char* writeText;
    } cases[] = {
        {sim::Fault::None, true, "串口未打开", "串口未打开"},
        {sim::Fault::Silence, false, "读取格式错误", "返回值错误或设备未响应"},
        {sim::Fault::WrongAddress, false, "读取格式错误", "接收与发送数据不一致"},
        {sim::Fault::BadCrc, false, "设备校验值错误", "接收与发送数据不一致"},
        {sim::Fault::ShortValid, false, "读取格式错误", "接收与发送数据不一致"},
    };
    for (const auto& c : cases) {
        if (c.closed)
            link.Port().Close();
        else
            ASSERT_EQ(link.Reopen(line->Path(), 9600), 1);
        line->SetFault(c.fault);
        boxes.Clear();
        edit->setText("12.5");
        Find<QPushButton>(&board, "1411")->click();
        EXPECT_EQ(edit->text(), "") << c.readText;  // a failed query leaves the field empty
        EXPECT_EQ(boxes.Only().text, c.readText);
        EXPECT_EQ(boxes.Only().caption, "警告");
        EXPECT_EQ(boxes.Only().icon, ui::BoxIcon::Warning);
        boxes.Clear();
        edit->setText("12.5");
        Find<QPushButton>(&board, "1399")->click();
        EXPECT_EQ(boxes.Only().text, c.writeText);
        EXPECT_EQ(boxes.Only().caption, "警告");
    }
}

TEST_F(PageTest, BoardRealtimeLocksEveryButtonAndPollsTheLiveValuesOnly) {
    pages::TempHumidityBoardPage board(link);
    Find<QCheckBox>(&board, "1398")->click();
    for (const char* id : {"1410", "1348", "1411", "1058", "1060", "1062", "1064", "1066", "1068",
                           "1070", "1399", "1400", "1401", "1402", "1403", "1404", "1405", "1406"})
        EXPECT_FALSE(Find<QPushButton>(&board, id)->isEnabled()) << id;
    line->ClearReceived();
    board.Poll();
    ASSERT_EQ(line->Received().size(), 2u);
    EXPECT_EQ(line->Received()[0][3], 1);  // temperature first, then humidity
    EXPECT_EQ(line->Received()[1][3], 0);
    EXPECT_EQ(Find<QLineEdit>(&board, "1407")->text(), "23.6");
    EXPECT_EQ(Find<QLineEdit>(&board, "1054")->text(), "55.3");
    Find<QCheckBox>(&board, "1398")->click();
    EXPECT_TRUE(Find<QPushButton>(&board, "1399")->isEnabled());
}

TEST_F(PageTest, PollWithThePortClosedEmptiesTheFieldsSilently) {
    pages::TempHumidityPage th(link);
    pages::SmokePage smoke(link);
    Find<QLineEdit>(&th, "1014")->setText("old");
    Find<QLineEdit>(&smoke, "1019")->setText("old");
    link.Port().Close();
    th.Poll();
    smoke.Poll();
    EXPECT_EQ(Find<QLineEdit>(&th, "1014")->text(), "");
    EXPECT_EQ(Find<QLineEdit>(&th, "1012")->text(), "");
    EXPECT_EQ(Find<QLineEdit>(&smoke, "1019")->text(), "");
    EXPECT_TRUE(boxes.Boxes().empty());
}
